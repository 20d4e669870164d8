# Installing the game (cmake --install) in the layout Debian uses for games:
#   games/bricks3d                      the command players type: a launcher (packaging/bricks3d.in)
#   lib/games/bricks3d/bricks3d         the game itself, started by the launcher in a folder with its files
#   share/games/bricks3d/               the skybox pictures and the hit sound
#   games/dibcheck                      the bitmap checker, a user command beside the game
# plus the menu entry, AppStream metadata, hicolor icons and manual pages. The launcher finds the game
# and its files relative to itself, so any prefix works. The Windows build is a zip instead.

# The version, for the scripts that name the package and the zip after it.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/packaging/version CONTENT "${PROJECT_VERSION}\n")

if(WIN32)
    include(cmake/windows-resources.cmake)
    return()
endif()

include(GNUInstallDirs)

set(BRICKS_INSTALL_GAMESDIR games
    CACHE STRING "Where the bricks3d and dibcheck commands go, under the prefix")
set(BRICKS_INSTALL_GAMELIBDIR lib/games/bricks3d
    CACHE STRING "Where the game program goes, under the prefix")
set(BRICKS_INSTALL_GAMEDATADIR ${CMAKE_INSTALL_DATADIR}/games/bricks3d
    CACHE STRING "Where the game's pictures and sound go, under the prefix")
set(BRICKS_APP_ID org.example.bricks3d
    CACHE STRING "Desktop and AppStream id (reverse DNS); also the icon's name")
set(BRICKS_HOMEPAGE "https://bricks3d.example.org/"
    CACHE STRING "Home page, ending in /, with screenshot.png")

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${CMAKE_BINARY_DIR}/packaging)

# The metainfo's newest release and the package's changelog (as version-revision) must name this version.
file(READ ${packaging}/bricks3d.metainfo.xml.in metainfo)
file(READ ${PROJECT_SOURCE_DIR}/debian/changelog changelog)
if(NOT metainfo MATCHES "<release version=\"${PROJECT_VERSION}\"" OR
   NOT changelog MATCHES "^bricks3d \\(${PROJECT_VERSION}-[^)]+\\)")
    message(FATAL_ERROR "packaging/bricks3d.metainfo.xml.in and debian/changelog need an entry for "
                        "${PROJECT_VERSION} first")
endif()

file(RELATIVE_PATH BRICKS_LAUNCHER_TO_GAME ${CMAKE_INSTALL_PREFIX}/${BRICKS_INSTALL_GAMESDIR}
     ${CMAKE_INSTALL_PREFIX}/${BRICKS_INSTALL_GAMELIBDIR}/bricks3d)
file(RELATIVE_PATH BRICKS_LAUNCHER_TO_DATA ${CMAKE_INSTALL_PREFIX}/${BRICKS_INSTALL_GAMESDIR}
     ${CMAKE_INSTALL_PREFIX}/${BRICKS_INSTALL_GAMEDATADIR})
set(BRICKS_FULL_LAUNCHER ${CMAKE_INSTALL_PREFIX}/${BRICKS_INSTALL_GAMESDIR}/bricks3d)
set(BRICKS_FULL_GAMEDATADIR ${CMAKE_INSTALL_PREFIX}/${BRICKS_INSTALL_GAMEDATADIR})
configure_file(${packaging}/bricks3d.in ${generated}/bricks3d @ONLY)
configure_file(${packaging}/bricks3d.desktop.in ${generated}/${BRICKS_APP_ID}.desktop @ONLY)
configure_file(${packaging}/bricks3d.metainfo.xml.in ${generated}/${BRICKS_APP_ID}.metainfo.xml @ONLY)
configure_file(${packaging}/bricks3d.6.in ${generated}/bricks3d.6 @ONLY)
configure_file(${packaging}/dibcheck.1.in ${generated}/dibcheck.1 @ONLY)

if(TARGET bricks3d)
    install(TARGETS bricks3d RUNTIME DESTINATION ${BRICKS_INSTALL_GAMELIBDIR})
    install(PROGRAMS ${generated}/bricks3d DESTINATION ${BRICKS_INSTALL_GAMESDIR})
endif()
if(TARGET dibcheck)
    install(TARGETS dibcheck RUNTIME DESTINATION ${BRICKS_INSTALL_GAMESDIR})
endif()
install(DIRECTORY ${CMAKE_BINARY_DIR}/skybox DESTINATION ${BRICKS_INSTALL_GAMEDATADIR})
install(FILES ${CMAKE_BINARY_DIR}/PRES4YA.wav DESTINATION ${BRICKS_INSTALL_GAMEDATADIR})

install(FILES ${generated}/${BRICKS_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated}/${BRICKS_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 48 128 256)
    install(FILES ${CMAKE_BINARY_DIR}/icons/bricks3d-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${BRICKS_APP_ID}.png)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/icons/bricks3d.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${BRICKS_APP_ID}.svg)
install(FILES ${generated}/bricks3d.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${generated}/dibcheck.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
