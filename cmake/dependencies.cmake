# Third-party libraries, from the system's packages (or, for the Windows cross-build, from the
# static builds that scripts/build-windows prepares and points CMAKE_PREFIX_PATH at; for the browser,
# from Emscripten and the builds that scripts/build-web prepares).
if(PLATFORM STREQUAL "emscripten")
    include(${CMAKE_CURRENT_LIST_DIR}/emscripten/dependencies.cmake)
    return()
endif()
find_package(OpenGL REQUIRED)
find_package(GLEW REQUIRED)
if(PLATFORM STREQUAL "sdl2")
    find_package(SDL2 REQUIRED)
    find_package(X11 REQUIRED)
    include(${CMAKE_CURRENT_LIST_DIR}/freeglut-shapes.cmake)
else()
    find_package(GLUT REQUIRED)
endif()
