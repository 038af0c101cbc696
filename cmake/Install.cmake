# Installing and packaging. The game reads data/... relative to its working
# directory; its launcher kov-play finds the game and the data relative to
# itself, so any prefix works. Two layouts of the same files:
# - `cmake --install` (component Game): the programs in bin/, the game in
#   libexec/kov/, the data in share/kov/ -- under ~/.local as well as /usr/local;
# - the Debian package (component Debian, left out of a plain install) follows
#   the games policy: /usr/games, /usr/lib/games/kov, /usr/share/games/kov,
#   with the copyright file and the changelog.
include(GNUInstallDirs)
include(cmake/Package.cmake)

# The id names the menu entry, the icon and the metadata; the screenshots lie
# on the home page.
set(KOV_APP_ID org.example.kov CACHE STRING "Reverse-DNS id of the menu entry, icon and AppStream metadata")
set(KOV_HOMEPAGE https://kov.example.org CACHE STRING "Home page; the README's screenshots lie under docs/ there")
set(KOV_ICON_SIZES 48 64 128 256)

# Icons painted from the game's textures, and the files Debian wants compressed.
set(KOV_INSTALL_FILES)
foreach(SIZE ${KOV_ICON_SIZES})
  add_custom_command(OUTPUT ${KOV_GENERATED}/icon-${SIZE}.png
                     COMMAND make-icon ${SIZE} ${KOV_GENERATED}/icon-${SIZE}.png DEPENDS make-icon VERBATIM)
  list(APPEND KOV_INSTALL_FILES ${KOV_GENERATED}/icon-${SIZE}.png)
endforeach()
foreach(SOURCE docs/kov-play.6 docs/kov-level-check.6 packaging/debian/changelog)
  get_filename_component(NAME ${SOURCE} NAME)
  add_custom_command(OUTPUT ${KOV_GENERATED}/${NAME}.gz
                     COMMAND sh -c "gzip -9n <'${PROJECT_SOURCE_DIR}/${SOURCE}' >'${KOV_GENERATED}/${NAME}.gz'"
                     DEPENDS ${PROJECT_SOURCE_DIR}/${SOURCE} VERBATIM)
  list(APPEND KOV_INSTALL_FILES ${KOV_GENERATED}/${NAME}.gz)
endforeach()
add_custom_target(kov_install_files ALL DEPENDS ${KOV_INSTALL_FILES})
configure_file(docs/kov.desktop.in ${KOV_GENERATED}/${KOV_APP_ID}.desktop @ONLY)
configure_file(docs/kov.metainfo.xml.in ${KOV_GENERATED}/${KOV_APP_ID}.metainfo.xml @ONLY)

# Everything of one layout, as one component; ARGN may add EXCLUDE_FROM_ALL.
function(kov_install_layout COMPONENT BINDIR GAMEDIR DATADIR)
  set(IN_LAYOUT COMPONENT ${COMPONENT} ${ARGN})
  install(TARGETS kov RUNTIME DESTINATION ${GAMEDIR} ${IN_LAYOUT})
  install(TARGETS kov-level-check RUNTIME DESTINATION ${BINDIR} ${IN_LAYOUT})
  install(DIRECTORY data/ DESTINATION ${DATADIR}/data ${IN_LAYOUT})
  kov_add_launcher(${COMPONENT} ${BINDIR} ${GAMEDIR} ${DATADIR})
  install(TARGETS kov-play-${COMPONENT} RUNTIME DESTINATION ${BINDIR} ${IN_LAYOUT})
  install(FILES ${KOV_GENERATED}/${KOV_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications ${IN_LAYOUT})
  install(FILES ${KOV_GENERATED}/${KOV_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo ${IN_LAYOUT})
  foreach(SIZE ${KOV_ICON_SIZES})
    install(FILES ${KOV_GENERATED}/icon-${SIZE}.png RENAME ${KOV_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${SIZE}x${SIZE}/apps ${IN_LAYOUT})
  endforeach()
  install(FILES ${KOV_GENERATED}/kov-play.6.gz ${KOV_GENERATED}/kov-level-check.6.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 ${IN_LAYOUT})
  install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR} ${IN_LAYOUT})
  install(FILES docs/game.png docs/workbench.png docs/panel.png docs/lights.png docs/spiral.png DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs
          ${IN_LAYOUT})
endfunction()

kov_install_layout(Game ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_LIBEXECDIR}/kov ${CMAKE_INSTALL_DATADIR}/kov)
kov_install_layout(Debian games lib/games/kov share/games/kov EXCLUDE_FROM_ALL)
install(FILES packaging/debian/copyright ${KOV_GENERATED}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR}
        COMPONENT Debian EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};kov;Debian;/")
set(CPACK_PACKAGE_INSTALL_DIRECTORY kov)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The long description; CPack puts the summary above it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[A wooden labyrinth board lies in a wooden box under a sky of stars. Tilt
it with the arrow keys or the mouse and the ball rolls: it bounces off the
rim and the walls, drops through holes back to the last save cell, and
every save cell it rolls over becomes the new place to start from.

Seven levels come with it, from a small first board to a maze of 100 by
100 cells, and kov-play plays any level file; kov-level-check tells a
level's author what the game will make of it. The game is also a small
workbench for OpenGL lighting, shading and projection.]=])
# The shared libraries the binaries link decide the dependencies; without a
# GPU driver Mesa's software renderer draws the game.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
include(CPack)
