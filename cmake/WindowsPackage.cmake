# The Windows packages, a portable zip and an installer, of one folder: the
# three programs, data/, the README and the copyright text. The game reads
# data/ relative to its working directory; Explorer starts a program in its
# own folder, and the Start-menu entry starts the game there too.
include(cmake/Package.cmake)
kov_add_launcher(Windows . . .)
install(TARGETS kov kov-level-check kov-play-Windows RUNTIME DESTINATION .)
# Windows has no links for the packages to make: each file goes in as the
# file that it links to.
file(GLOB_RECURSE KOV_DATA_FILES CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR} data/*)
foreach(FILE ${KOV_DATA_FILES})
  get_filename_component(DIR ${FILE} DIRECTORY)
  get_filename_component(NAME ${FILE} NAME)
  file(REAL_PATH ${FILE} TARGET)
  install(FILES ${TARGET} DESTINATION ${DIR} RENAME ${NAME})
endforeach()
# With Windows line ends, which every Windows editor shows.
configure_file(README.md ${KOV_GENERATED}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(packaging/debian/copyright ${KOV_GENERATED}/COPYRIGHT.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${KOV_GENERATED}/README.txt ${KOV_GENERATED}/COPYRIGHT.txt DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)
# The installer's name says what it is; CPack reads this file per generator.
configure_file(cmake/WindowsPackageNames.cmake.in ${KOV_GENERATED}/WindowsPackageNames.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${KOV_GENERATED}/WindowsPackageNames.cmake)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "${KOV_TITLE}")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "${KOV_TITLE}")
set(CPACK_NSIS_PACKAGE_NAME "${KOV_TITLE}")
set(CPACK_NSIS_DISPLAY_NAME "${KOV_TITLE}")
# Per machine, into Program Files; a second install replaces the first.
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MUI_ICON ${KOV_ICO})
set(CPACK_NSIS_MUI_UNIICON ${KOV_ICO})
set(CPACK_NSIS_INSTALLED_ICON_NAME kov.exe)
# The entry starts the game in its folder: a shortcut's working directory is
# the output path. It does not start minimised: Windows gives a shortcut's
# show state to the first window that the program shows, the game's own.
set(CPACK_NSIS_CREATE_ICONS_EXTRA "SetOutPath \"$INSTDIR\"
  CreateShortCut \"$SMPROGRAMS\\$STARTMENU_FOLDER\\${KOV_TITLE}.lnk\" \"$INSTDIR\\kov.exe\" \"\" \"$INSTDIR\\kov.exe\" 0")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "Delete \"$SMPROGRAMS\\$MUI_TEMP\\${KOV_TITLE}.lnk\"")
# A 64-bit installer for the 64-bit game, which writes the 64-bit registry;
# FileFunc gives the size in the list of installed programs, which the
# template leaves out.
set(CPACK_NSIS_DEFINES "Target amd64-unicode
  !include FileFunc.nsh")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "\${GetSize} \"$INSTDIR\" \"/S=0K\" $0 $1 $2
  IntFmt $0 \"0x%08X\" $0
  WriteRegDWORD SHCTX \"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}\" \"EstimatedSize\" \"$0\"")
set(CPACK_VERBATIM_VARIABLES ON)  # the NSIS lines hold quotes, $ and backslashes
include(CPack)

# build-windows/kov-VERSION-win64.zip and kov-VERSION-win64-setup.exe.
add_custom_target(kov_packages COMMAND ${CMAKE_CPACK_COMMAND} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
                  WORKING_DIRECTORY ${CMAKE_BINARY_DIR} DEPENDS kov kov-level-check kov-play-Windows VERBATIM)
