# The packages CPack makes from the installation: on Linux a .deb, on Windows
# a per-user installer (NSIS) in the installed layout and a zip of the
# program folder. tools/package makes them all.
set(CPACK_PACKAGE_NAME ${VORLINDO_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR Qelmora)
set(CPACK_PACKAGE_CONTACT ${VORLINDO_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${VORLINDO_SUMMARY})
set(CPACK_PACKAGE_HOMEPAGE_URL ${VORLINDO_HOMEPAGE})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Qelmora Vorlindo")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
# One package with everything; the zip takes its own layout
# (package_kinds.cmake.in).
set(CPACK_MONOLITHIC_INSTALL ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                                GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# Per kind of package, read by cpack as it makes each.
configure_file(package_kinds.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/package_kinds.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/package_kinds.cmake)

if(WIN32)
  set(CPACK_GENERATOR NSIS ZIP)
else()
  set(CPACK_GENERATOR DEB)
endif()

# Debian: the libraries the programs link give the dependencies.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION
    "Every sub-folder of the Favorites folder becomes a category of the page: a
coloured header followed by one link per Internet Shortcut file in it, in
three page columns, framed by a header and a footer template in colours and
texts of your own. The desktop program shows the page as you set it up; it
and vorlindo-import bring in the bookmarks of Firefox, Chrome, Chromium, Edge
and Brave. vorlindo-build builds the page without windows, once or at every
change.")
if(TARGET vorlindo)
  # Links in the page and the maker's web site open in the user's browser;
  # Qt's own dialogs and buttons speak Dutch with Qt's translations.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
endif()

# Windows: an installer that needs no administrator rights (its own
# template, windows/NSIS.template.in).
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_SOURCE_DIR}/windows)
set(CPACK_NSIS_PACKAGE_NAME "Qelmora Vorlindo")
set(CPACK_NSIS_DISPLAY_NAME "Qelmora Vorlindo")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Qelmora Vorlindo")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/app/vorlindo.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/src/app/vorlindo.ico)
set(CPACK_NSIS_UNINSTALL_NAME Uninstall)
set(CPACK_NSIS_URL_INFO_ABOUT ${VORLINDO_HOMEPAGE})
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")

include(CPack)
