# Installs Glyphwell in the places of the Linux folder standard, and packages the same
# tree as a Debian package with CPack.
include(GNUInstallDirs)

set(DESKTOP_DIR "${PROJECT_SOURCE_DIR}/resources/desktop")
set(ICON_DIR "${PROJECT_SOURCE_DIR}/resources/icons")

# Debian wants manual pages and changelogs compressed, without time stamps.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(MAN_PAGE_GZ "${PROJECT_BINARY_DIR}/glyphwell.1.gz")
set(CHANGELOG_GZ "${PROJECT_BINARY_DIR}/changelog.gz")
add_custom_command(OUTPUT "${MAN_PAGE_GZ}"
  COMMAND ${GZIP_PROGRAM} -9nc "${DESKTOP_DIR}/glyphwell.1" > "${MAN_PAGE_GZ}"
  DEPENDS "${DESKTOP_DIR}/glyphwell.1" VERBATIM)
add_custom_command(OUTPUT "${CHANGELOG_GZ}"
  COMMAND ${GZIP_PROGRAM} -9nc "${DESKTOP_DIR}/changelog" > "${CHANGELOG_GZ}"
  DEPENDS "${DESKTOP_DIR}/changelog" VERBATIM)
add_custom_target(glyphwell_desktop_files ALL DEPENDS "${MAN_PAGE_GZ}" "${CHANGELOG_GZ}")
add_dependencies(glyphwell glyphwell_desktop_files)

install(TARGETS glyphwell RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES "${HELP_PAGE}" DESTINATION ${CMAKE_INSTALL_DATADIR}/glyphwell)
install(FILES "${DESKTOP_DIR}/${GLYPHWELL_APP_ID}.desktop" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${DESKTOP_DIR}/${GLYPHWELL_APP_ID}.metainfo.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES "${ICON_DIR}/${GLYPHWELL_APP_ID}.svg"
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size ${ICON_SIZES})
  install(FILES "${ICON_DIR}/glyphwell-${size}.png"
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${GLYPHWELL_APP_ID}.png)
endforeach()
install(FILES "${MAN_PAGE_GZ}" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES "${CHANGELOG_GZ}" "${DESKTOP_DIR}/copyright" DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/glyphwell)

# cpack -G DEB in the build folder.
set(CPACK_PACKAGE_NAME glyphwell)
set(CPACK_PACKAGE_VENDOR "The Glyphwell developers")
set(CPACK_PACKAGE_CONTACT "The Glyphwell developers <glyphwell@users.noreply.github.com>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "font manager: preview, install, back up and print fonts")
# The long description, in lines a package manager shows as they are.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Glyphwell lists every installed font and previews a chosen face with your own"
  "sample text at any size, style and colour. It shows the face's character sets,"
  "its font files and a character map whose cells zoom, and browses the font files"
  "of your font folder."
  "."
  "It installs fonts opened from the file manager or dropped on its window,"
  "uninstalls and backs up font files, and prints a specimen sheet of one face or"
  "a catalogue of every face. TrueType, OpenType, collections, web fonts and"
  "Windows raster fonts are read through fontconfig and FreeType.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://glyphwell.github.io/")
# Depends: the libraries the binary links, found by dpkg-shlibdeps (Qt's X11 platform
# and JPEG plugins come with libqt6gui6). The help page opens through xdg-open; a
# Wayland session wants Qt's Wayland platform.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
