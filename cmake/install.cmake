# What `cmake --install` puts where: both programs, the desktop entry with its
# icon (so the program appears in the application menu) and the example data sets.
include(GNUInstallDirs)

install(TARGETS tarvel tarvel-calc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/assets/desktop/tarvel.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/assets/desktop/tarvel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvel/examples
        FILES_MATCHING PATTERN "*.txt")
