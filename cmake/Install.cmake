# What `cmake --install` puts where: both programs, the desktop entry, the icon in the hicolor
# theme, the AppStream metainfo, the exchange file's MIME type, man pages, bash completion and
# the user guide.

include(GNUInstallDirs)

set(TRAWLIX_APP_ID com.quillmoor.Trawlix)
set(TRAWLIX_DATA ${PROJECT_SOURCE_DIR}/data)

foreach(program trawlix trawlix-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(FILES ${TRAWLIX_DATA}/${TRAWLIX_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${TRAWLIX_DATA}/${TRAWLIX_APP_ID}.metainfo.xml
  ${PROJECT_BINARY_DIR}/data/${TRAWLIX_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/data/${TRAWLIX_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${TRAWLIX_DATA}/${TRAWLIX_APP_ID}.mime.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${TRAWLIX_APP_ID}.xml)

install(FILES ${PROJECT_SOURCE_DIR}/src/ui/icons/application.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${TRAWLIX_APP_ID}.svg)
foreach(size 16 22 24 32 48 64 128 256 512)
  install(FILES ${TRAWLIX_DATA}/icons/trawlix-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${TRAWLIX_APP_ID}.png)
endforeach()

# Man pages carry the version and are installed compressed, as Debian wants them.
set(man_pages)
foreach(page trawlix.1 trawlix-cli.1)
  configure_file(${PROJECT_SOURCE_DIR}/man/${page} ${PROJECT_BINARY_DIR}/man/${page} @ONLY)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/${page}.gz
    COMMAND gzip -9 -n -c ${PROJECT_BINARY_DIR}/man/${page} > ${PROJECT_BINARY_DIR}/man/${page}.gz
    DEPENDS ${PROJECT_BINARY_DIR}/man/${page}
    VERBATIM)
  list(APPEND man_pages ${PROJECT_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(trawlix_man ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${TRAWLIX_DATA}/trawlix-cli.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME trawlix-cli)
install(FILES ${TRAWLIX_DATA}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/trawlix)

# The user guide, opened by the Help menu and F1; its pictures keep their place beside it.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/guide/ DESTINATION ${CMAKE_INSTALL_DATADIR}/trawlix/guide
  FILES_MATCHING PATTERN "*.html" PATTERN "*.css")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/screenshots/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/trawlix/screenshots FILES_MATCHING PATTERN "*.png")
