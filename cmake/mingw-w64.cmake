# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64).
# BRICKS_WIN_DEPS names the prefix holding the static GLEW, freeglut and GoogleTest built for
# Windows by scripts/build-windows; find_package looks there and in the compiler's own sysroot only.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BRICKS_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BRICKS_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRICKS_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${BRICKS_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${BRICKS_MINGW_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${BRICKS_MINGW_TRIPLE}-ranlib CACHE FILEPATH "")

if(NOT BRICKS_WIN_DEPS AND DEFINED ENV{BRICKS_WIN_DEPS})
    set(BRICKS_WIN_DEPS $ENV{BRICKS_WIN_DEPS})
endif()
# try_compile projects read this file again; hand them the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES BRICKS_WIN_DEPS)

set(CMAKE_FIND_ROOT_PATH /usr/${BRICKS_MINGW_TRIPLE})
if(BRICKS_WIN_DEPS)
    list(PREPEND CMAKE_FIND_ROOT_PATH ${BRICKS_WIN_DEPS})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Only the static runtime: the programs need no DLL beyond those Windows itself ships. No link time
# in the programs' headers, so the same source always makes the same programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")

# Tests and build-time tools of the cross build run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/windows/wine-run)
