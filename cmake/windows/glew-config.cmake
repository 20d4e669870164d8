# GLEW built as a static library for Windows by scripts/build-windows, installed into the
# dependency prefix beside lib/ and include/. Users get GLEW_STATIC so the header does not ask
# for DLL imports.
get_filename_component(_glew_prefix "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
if(NOT TARGET GLEW::GLEW)
    add_library(GLEW::GLEW STATIC IMPORTED)
    set_target_properties(GLEW::GLEW PROPERTIES
        IMPORTED_LOCATION "${_glew_prefix}/lib/libglew32s.a"
        INTERFACE_INCLUDE_DIRECTORIES "${_glew_prefix}/include"
        INTERFACE_COMPILE_DEFINITIONS GLEW_STATIC
        INTERFACE_LINK_LIBRARIES opengl32)
endif()
set(GLEW_VERSION @GLEW_VERSION@)
unset(_glew_prefix)
