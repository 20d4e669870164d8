# The game itself, linked from the subsystem libraries; it runs from the build directory.
add_executable(bricks3d WIN32 shell/winmain.cpp)
target_link_libraries(bricks3d PRIVATE input game shell image math platform platform_main)
