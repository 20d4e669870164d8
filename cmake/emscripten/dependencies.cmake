# The browser build's libraries, under the names the desktop builds find: Emscripten's WebGL with its
# legacy GL emulation (immediate mode and the matrix stack need it), its GLUT (the canvas's context
# only) and its GLEW emulation, and the real GLU and freeglut's shapes, which scripts/build-web builds
# with emcc into BRICKS_WEB_DEPS together with GoogleTest.
set(BRICKS_WEB_DEPS "$ENV{BRICKS_WEB_DEPS}" CACHE PATH
    "Prefix of the emcc-built GLU, freeglut shapes and GoogleTest")
if(NOT EXISTS ${BRICKS_WEB_DEPS}/lib/libGLU.a OR NOT EXISTS ${BRICKS_WEB_DEPS}/lib/libfreeglut-shapes.a)
    message(FATAL_ERROR
        "BRICKS_WEB_DEPS ('${BRICKS_WEB_DEPS}') lacks GLU and freeglut's shapes: run scripts/build-web")
endif()
# find_package (GoogleTest) looks in the prefix as well as in Emscripten's sysroot.
list(PREPEND CMAKE_FIND_ROOT_PATH ${BRICKS_WEB_DEPS})

add_library(OpenGL::GL INTERFACE IMPORTED)
# The game asks for no WebGL extension, so none is turned on for it: each costs the page a round trip
# to the GPU process as the game starts. Its largest draw, the ball, is a few kilobytes of vertices,
# so the emulation's scratch buffers need not be the 2 MB it fills at start by default:
# 64 KB holds many times that.
target_link_options(OpenGL::GL INTERFACE -sLEGACY_GL_EMULATION=1 -sGL_SUPPORT_AUTOMATIC_ENABLE_EXTENSIONS=0
    -sGL_MAX_TEMP_BUFFER_SIZE=65536 -lGL)

add_library(OpenGL::GLU STATIC IMPORTED)
set_target_properties(OpenGL::GLU PROPERTIES
    IMPORTED_LOCATION ${BRICKS_WEB_DEPS}/lib/libGLU.a
    INTERFACE_INCLUDE_DIRECTORIES ${BRICKS_WEB_DEPS}/include
    INTERFACE_LINK_LIBRARIES OpenGL::GL)

add_library(GLUT::GLUT STATIC IMPORTED)
set_target_properties(GLUT::GLUT PROPERTIES
    IMPORTED_LOCATION ${BRICKS_WEB_DEPS}/lib/libfreeglut-shapes.a
    INTERFACE_INCLUDE_DIRECTORIES ${BRICKS_WEB_DEPS}/include
    INTERFACE_LINK_LIBRARIES OpenGL::GL
    INTERFACE_LINK_OPTIONS -lglut)

add_library(GLEW::GLEW INTERFACE IMPORTED)
target_link_libraries(GLEW::GLEW INTERFACE OpenGL::GL)
target_link_options(GLEW::GLEW INTERFACE -lGLEW)
# Emscripten's GLEW declares each entry point as a function, where GLEW loads a pointer that is null
# when the driver lacks it; WebGL always has the texture units, so a check for one is rightly true.
target_compile_options(GLEW::GLEW INTERFACE -Wno-pointer-bool-conversion)
