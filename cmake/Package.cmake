# `cpack -G DEB` in a build folder makes trawlix_VERSION_ARCH.deb from what cmake/Install.cmake
# installs. The dependencies come from the libraries the programs actually link.

set(CPACK_PACKAGE_NAME trawlix)
set(CPACK_PACKAGE_VENDOR Quillmoor)
set(CPACK_PACKAGE_CONTACT "Quillmoor <support@quillmoor.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "photo harvester for web pages")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quillmoor.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Plug-ins Qt loads at run time, which no linked library names: the SVG icons.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Trawlix() PRO keeps projects: a start web page and further links, a\n\
destination folder, the photo formats wanted, filters and post-processing.\n\
A scan crawls a project's pages, downloads the photos that pass its\n\
filters, stores and processes them (renaming, resizing, conversion,\n\
thumbnails, mobile copies) and records the scan.\n\
.\n\
The package holds the desktop program and trawlix-cli, a command line\n\
program for the same projects, scans and exchange files.")

# Debian wants a compressed changelog beside the copyright.
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/data/changelog.gz
  COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/data/changelog > ${PROJECT_BINARY_DIR}/data/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/data/changelog
  VERBATIM)
add_custom_target(trawlix_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/data/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/data/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/trawlix)

include(CPack)
