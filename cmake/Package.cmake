# What the packages of both systems share: the names, the version (the
# project's) and where generated files go.
set(KOV_GENERATED ${CMAKE_BINARY_DIR}/install)
set(CPACK_PACKAGE_NAME kov)
set(CPACK_PACKAGE_VENDOR "${KOV_TITLE}")
set(CPACK_PACKAGE_CONTACT "${KOV_TITLE} maintainers <kov@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "wooden labyrinth game with a tilting board and a rolling ball")
set(CPACK_STRIP_FILES ON)
