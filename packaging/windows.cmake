# SPDX-License-Identifier: MIT
# The Windows packages, made by `cpack` in a MinGW-w64 build folder: the two programs with the
# README, the licence and the template robot profile as kestrova-editor-<version>-win64.zip, and
# the same as an NSIS installer (Debian's `nsis`) with a Start-menu entry, the icon and an
# uninstaller.
install(TARGETS kestrova-editor kestrova-board RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
  ${CMAKE_CURRENT_SOURCE_DIR}/template.kprofile.json DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME kestrova-editor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Kestrova)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "motion page editor for the Kestrova 22-servo robot")
set(CPACK_PACKAGE_FILE_NAME kestrova-editor-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Kestrova Editor")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Kestrova Editor")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
# The Start-menu entry: the program and its caption.
set(CPACK_PACKAGE_EXECUTABLES kestrova-editor "Kestrova motion editor")

set(CPACK_NSIS_DISPLAY_NAME "Kestrova motion editor")
set(CPACK_NSIS_PACKAGE_NAME "Kestrova motion editor")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/app_icon.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/app_icon.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME kestrova-editor.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit installer (Debian's nsis has the amd64 stubs) for a 64-bit program: it installs under
# "Program Files" and runs where only 64-bit programs run, such as a 64-bit-only Wine.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
include(CPack)
