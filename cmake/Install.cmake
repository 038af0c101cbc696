# Installing and packaging. The game reads data/... relative to its working
# directory: its data goes under share/kov, the game itself under libexec/kov,
# and the launcher kov-play on the PATH changes into share/kov and starts it.
include(GNUInstallDirs)

set(KOV_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/kov)
set(KOV_INSTALL_LIBEXECDIR ${CMAKE_INSTALL_LIBEXECDIR}/kov)

install(TARGETS kov RUNTIME DESTINATION ${KOV_INSTALL_LIBEXECDIR})
install(DIRECTORY data/ DESTINATION ${KOV_INSTALL_DATADIR}/data)
if(TARGET kov-level-check)
  install(TARGETS kov-level-check RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The launcher finds the game relative to itself, so any prefix works.
file(RELATIVE_PATH KOV_BIN_TO_DATADIR /${CMAKE_INSTALL_BINDIR} /${KOV_INSTALL_DATADIR})
file(RELATIVE_PATH KOV_DATADIR_TO_GAME /${KOV_INSTALL_DATADIR} /${KOV_INSTALL_LIBEXECDIR}/kov)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kov-play.in ${CMAKE_CURRENT_BINARY_DIR}/kov-play @ONLY)
install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/kov-play DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR} OPTIONAL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kov)
set(CPACK_PACKAGE_VENDOR "KOV Arbeit")
set(CPACK_PACKAGE_CONTACT "KOV Arbeit maintainers <maintainers@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY kov)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tilt a wooden labyrinth and roll a ball over it, in front of a sky of\n stars; also a small workbench for OpenGL lights, shading and projection.")
# The shared libraries the binaries link decide the dependencies; without a
# GPU driver Mesa's software renderer draws the game.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
include(CPack)
