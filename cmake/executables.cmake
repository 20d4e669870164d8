# The game itself, linked from the subsystem libraries; it runs from the build directory.
add_executable(bricks3d WIN32 shell/winmain.cpp)
target_link_libraries(bricks3d PRIVATE input game shell image math platform platform_main)

if(PLATFORM STREQUAL "emscripten")
    # A page's first visit waits for bricks3d.js. Debian's Emscripten leaves its names long (its own
    # minifier needs a newer compiler than Debian has), so Debian's terser shortens them and drops dead
    # code: a third smaller, a fifth gzipped. `Module` is the page's name for the game, so it stays.
    find_program(BRICKS_TERSER terser REQUIRED)
    add_custom_command(TARGET bricks3d POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E env "NODE_PATH=/usr/share/nodejs:$ENV{NODE_PATH}"
            ${BRICKS_TERSER} $<TARGET_FILE:bricks3d> --compress --mangle reserved=[Module] --toplevel
            -o $<TARGET_FILE:bricks3d>
        VERBATIM)
endif()
