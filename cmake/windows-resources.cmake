# Windows resources, compiled by windres: version information in bricks3d.exe and dibcheck.exe, and
# the game's icon (made by the asset generator) in bricks3d.exe, which Explorer shows. The window
# class still asks for the standard application icon, as the game always has.
enable_language(RC)

set(windows_resources ${CMAKE_BINARY_DIR}/packaging/windows)
set(icon_file ${CMAKE_BINARY_DIR}/icons/bricks3d.ico)
set(version_template ${PROJECT_SOURCE_DIR}/packaging/windows/version.rc.in)

# A program's version information (and, given one, its icon) from the one template.
function(bricks_add_windows_resources target description icon_line)
    set(BRICKS_FILE_NAME ${target})
    set(BRICKS_FILE_DESCRIPTION "${description}")
    set(BRICKS_ICON_LINE "${icon_line}")
    configure_file(${version_template} ${windows_resources}/${target}.rc @ONLY)
    target_sources(${target} PRIVATE ${windows_resources}/${target}.rc)
endfunction()

if(TARGET bricks3d)
    bricks_add_windows_resources(bricks3d "Bricks 3D, a brick-breaking game" "1 ICON \"${icon_file}\"")
    set_source_files_properties(${windows_resources}/bricks3d.rc PROPERTIES OBJECT_DEPENDS ${icon_file})
    add_dependencies(bricks3d assets)
endif()
if(TARGET dibcheck)
    bricks_add_windows_resources(dibcheck "Checks a picture for the Bricks 3D sky box" "")
endif()
