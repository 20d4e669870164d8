# freeglut's solid shapes on their own, as GLUT::GLUT for the desktop build: fg_geometry.c from
# Debian's freeglut 3.4 source, built unchanged, with the little of freeglut's state it reads
# (freeglut-state.c). The ball is glutSolidSphere, the same triangles as the whole freeglut draws;
# the rest of freeglut is not needed, and its glutInit wants an X display, which a Wayland desktop
# need not have. The source is fetched once into the build folder (scripts/fetch-freeglut), or given.
set(BRICKS_FREEGLUT_SOURCE "" CACHE PATH
    "Unpacked freeglut 3.4 source; empty: fetched from Debian into the build folder")
set(freeglut_source ${BRICKS_FREEGLUT_SOURCE})
if(NOT freeglut_source)
    set(freeglut_source ${CMAKE_BINARY_DIR}/deps/freeglut)
    if(NOT EXISTS ${freeglut_source}/src/fg_geometry.c)
        execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/fetch-freeglut ${freeglut_source}
            RESULT_VARIABLE fetch_failed)
        if(fetch_failed)
            message(FATAL_ERROR "freeglut's source could not be fetched: give BRICKS_FREEGLUT_SOURCE")
        endif()
    endif()
endif()
if(NOT EXISTS ${freeglut_source}/src/fg_geometry.c OR NOT EXISTS ${freeglut_source}/include/GL/freeglut.h)
    message(FATAL_ERROR "'${freeglut_source}' is not freeglut's source (no src/fg_geometry.c)")
endif()

add_library(freeglut_shapes STATIC ${freeglut_source}/src/fg_geometry.c
    ${CMAKE_CURRENT_LIST_DIR}/freeglut-state.c)
target_include_directories(freeglut_shapes SYSTEM PUBLIC ${freeglut_source}/include)
target_include_directories(freeglut_shapes PRIVATE ${freeglut_source}/src)
target_compile_definitions(freeglut_shapes PRIVATE HAVE_STDBOOL_H=1)
# Their code, as freeglut ships it: its warnings are not ours to fix.
target_compile_options(freeglut_shapes PRIVATE -w)
target_link_libraries(freeglut_shapes PUBLIC OpenGL::GL m)
add_library(GLUT::GLUT ALIAS freeglut_shapes)
