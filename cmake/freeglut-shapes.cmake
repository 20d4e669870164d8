# freeglut's solid shapes on their own, as GLUT::GLUT for the desktop build: fg_geometry.c from
# freeglut 3.4's source, built unchanged, with the little of freeglut's state it reads
# (freeglut-state.c). The ball is glutSolidSphere, the same triangles as the whole freeglut draws;
# the rest of freeglut is not needed, and its glutInit wants an X display, which a Wayland desktop
# need not have. The source is the tarball pinned in cmake/pins, which the developer commands fetch
# into the download cache before they configure, or a folder or tarball given here (the Debian source
# package gives its freeglut/). Configuring never downloads.
set(BRICKS_FREEGLUT_SOURCE "" CACHE PATH
    "freeglut 3.4's source, a folder or a tarball; empty: the pinned tarball in the download cache")
set(freeglut_source ${BRICKS_FREEGLUT_SOURCE})
if(NOT freeglut_source)
    file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/pins pin REGEX "^freeglut ")
    string(REPLACE " " ";" pin "${pin}")
    list(GET pin 1 pin_version)
    list(GET pin 2 pin_sha256)
    list(GET pin 3 pin_path)
    # The cache of scripts/lib/pins.sh.
    if(NOT "$ENV{BRICKS_DOWNLOADS}" STREQUAL "")
        set(downloads $ENV{BRICKS_DOWNLOADS})
    elseif(NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
        set(downloads $ENV{XDG_CACHE_HOME}/bricks3d/downloads)
    else()
        set(downloads $ENV{HOME}/.cache/bricks3d/downloads)
    endif()
    get_filename_component(freeglut_source ${downloads}/${pin_path} NAME)
    set(freeglut_source ${downloads}/${freeglut_source})
    if(NOT EXISTS ${freeglut_source})
        message(FATAL_ERROR "No freeglut ${pin_version} source in ${downloads}: run scripts/fetch freeglut, "
                            "or give BRICKS_FREEGLUT_SOURCE")
    endif()
    file(SHA256 ${freeglut_source} sum)
    if(NOT sum STREQUAL pin_sha256)
        message(FATAL_ERROR "${freeglut_source}: SHA-256 ${sum}, but cmake/pins wants ${pin_sha256}")
    endif()
endif()
if(EXISTS ${freeglut_source} AND NOT IS_DIRECTORY ${freeglut_source})
    # A tarball: unpacked into the build folder, whole or not at all, and again when it changes.
    file(SHA256 ${freeglut_source} sum)
    string(SUBSTRING ${sum} 0 16 sum)
    set(unpacked ${CMAKE_BINARY_DIR}/deps/freeglut-${sum})
    if(NOT EXISTS ${unpacked})
        file(REMOVE_RECURSE ${unpacked}.part)
        file(ARCHIVE_EXTRACT INPUT ${freeglut_source} DESTINATION ${unpacked}.part)
        file(GLOB top LIST_DIRECTORIES true ${unpacked}.part/*)
        list(LENGTH top count)
        if(NOT count EQUAL 1)
            message(FATAL_ERROR "'${freeglut_source}' does not hold one folder, as freeglut's tarball does")
        endif()
        file(RENAME ${top} ${unpacked})
        file(REMOVE_RECURSE ${unpacked}.part)
    endif()
    set(freeglut_source ${unpacked})
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
