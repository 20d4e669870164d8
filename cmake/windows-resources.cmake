# Windows resources, compiled by windres: version information in bricks3d.exe and dibcheck.exe, and
# the game's icon (made by the asset generator) in bricks3d.exe, which Explorer shows. The window
# class still asks for the standard application icon, as the game always has.
enable_language(RC)

set(windows_resources ${CMAKE_BINARY_DIR}/packaging/windows)
set(icon_file ${CMAKE_BINARY_DIR}/icons/bricks3d.ico)
set(version_template ${PROJECT_SOURCE_DIR}/packaging/windows/version.rc.in)

if(TARGET bricks3d)
    set(BRICKS_FILE_NAME bricks3d)
    set(BRICKS_FILE_DESCRIPTION "Bricks 3D, a brick-breaking game")
    set(BRICKS_ICON_LINE "1 ICON \"${icon_file}\"")
    configure_file(${version_template} ${windows_resources}/bricks3d.rc @ONLY)
    target_sources(bricks3d PRIVATE ${windows_resources}/bricks3d.rc)
    set_source_files_properties(${windows_resources}/bricks3d.rc PROPERTIES OBJECT_DEPENDS ${icon_file})
    add_dependencies(bricks3d assets)
endif()

if(TARGET dibcheck)
    set(BRICKS_FILE_NAME dibcheck)
    set(BRICKS_FILE_DESCRIPTION "Checks a picture for the Bricks 3D sky box")
    set(BRICKS_ICON_LINE "")
    configure_file(${version_template} ${windows_resources}/dibcheck.rc @ONLY)
    target_sources(dibcheck PRIVATE ${windows_resources}/dibcheck.rc)
endif()
