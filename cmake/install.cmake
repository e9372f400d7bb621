# What `cmake --install` puts where: both programs, the desktop entry with its
# icon (so the program appears in the application menu), the AppStream file
# with the screenshot it shows and the example data sets.
include(GNUInstallDirs)

set(TARVEL_ID org.morvik.tarvel) # the desktop entry's and the AppStream id

# The AppStream file names the version: filled in here.
configure_file(${PROJECT_SOURCE_DIR}/assets/metainfo/${TARVEL_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/assets/${TARVEL_ID}.metainfo.xml @ONLY)

install(TARGETS tarvel tarvel-calc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/assets/desktop/${TARVEL_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/assets/desktop/tarvel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_BINARY_DIR}/assets/${TARVEL_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/assets/screenshots/main-window.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvel/screenshots)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvel/examples
        FILES_MATCHING PATTERN "*.txt")
