# What `cmake --install` puts where: both programs, the desktop entry with its
# icon (so the program appears in the application menu), the AppStream file
# with the screenshot it shows, the manual pages and the example data sets.
include(GNUInstallDirs)

set(TARVEL_ID org.morvik.tarvel) # the desktop entry's and the AppStream id

# The AppStream file and the manual pages name the version: filled in here.
configure_file(${PROJECT_SOURCE_DIR}/assets/metainfo/${TARVEL_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/assets/${TARVEL_ID}.metainfo.xml @ONLY)
set(TARVEL_MAN_PAGES)
foreach(page tarvel tarvel-calc)
  set(source ${PROJECT_BINARY_DIR}/assets/man/${page}.1)
  configure_file(${PROJECT_SOURCE_DIR}/assets/man/${page}.1.in ${source} @ONLY)
  # -n: no name or time stamp in the archive, so a rebuild gives the same bytes.
  add_custom_command(OUTPUT ${source}.gz
    COMMAND gzip -9n -c ${source} > ${source}.gz
    DEPENDS ${source}
    COMMENT "Compressing the manual page ${page}(1)")
  list(APPEND TARVEL_MAN_PAGES ${source}.gz)
endforeach()
add_custom_target(tarvel_man_pages ALL DEPENDS ${TARVEL_MAN_PAGES})

install(TARGETS tarvel tarvel-calc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/assets/desktop/${TARVEL_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/assets/desktop/tarvel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_BINARY_DIR}/assets/${TARVEL_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/assets/screenshots/main-window.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvel/screenshots)
install(FILES ${TARVEL_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvel/examples
        FILES_MATCHING PATTERN "*.txt")
