# The game itself, linked from the subsystem libraries; it runs from the build directory.
if(EXISTS ${PROJECT_SOURCE_DIR}/game/shaderapp.cpp AND EXISTS ${PROJECT_SOURCE_DIR}/input/directinput.cpp)
    add_executable(bricks3d WIN32 shell/winmain.cpp)
    target_link_libraries(bricks3d PRIVATE input game shell image math platform platform_main)
endif()
