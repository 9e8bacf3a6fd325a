# Windows: both programs in one folder, with the licences and notices that shipping them with
# a static Qt requires, as an NSIS installer and a zip that runs from any folder.
install(TARGETS tolvane tolvane-cli RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
# Qt's LGPLv3 text and the notices of the code Qt links in, which tools/build-qt-windows.sh
# keeps beside the Qt it builds.
install(DIRECTORY ${QT6_INSTALL_PREFIX}/notices/ DESTINATION notices)
execute_process(COMMAND git -C ${PROJECT_SOURCE_DIR} rev-parse HEAD
                OUTPUT_VARIABLE TOLVANE_COMMIT OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
file(READ ${QT6_INSTALL_PREFIX}/notices/QT-SOURCE TOLVANE_QT_SOURCE)
configure_file(SOURCES.in SOURCES.txt @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/SOURCES.txt DESTINATION .)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_NAME Tolvane)
set(CPACK_PACKAGE_VENDOR "The Tolvane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for the server preferences of the game Tribes")
set(CPACK_SYSTEM_NAME win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tolvane)
# One key for every version, so that a new one replaces the old under Apps.
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Tolvane)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_EXECUTABLES tolvane Tolvane) # the Start menu entry, started in its folder
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME Tolvane)
set(CPACK_NSIS_PACKAGE_NAME Tolvane)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_MUI_ICON ${CMAKE_CURRENT_SOURCE_DIR}/tolvane.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_CURRENT_SOURCE_DIR}/tolvane.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME tolvane.exe)
set(CPACK_NSIS_MODIFY_PATH ON) # for admins who script tolvane-cli.exe
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit installer, which adds the install folder itself to PATH and takes /PATH=user or
# /PATH=all when silent: the project's copy of CPack's NSIS template, found first.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_SOURCE_DIR}/nsis)
include(CPack)
