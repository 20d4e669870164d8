# One static library per subsystem folder, from the folder's own sources. Includes are written
# from the repository root ("shell/zarnwindow.h").
function(bricks_add_subsystem name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LINK})
endfunction()

# The folder's .cpp files, for subsystems whose every source belongs in the library.
function(bricks_folder_sources out)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    set(${out} ${sources} PARENT_SCOPE)
endfunction()
