# What `cmake --install` puts where: both programs, the desktop entry with its
# icon (so the program appears in the application menu), the AppStream file
# with the screenshot it shows, the manual pages, the example data sets and
# the copyright file and changelog.
include(GNUInstallDirs)

# Folders created by the install are rwxr-xr-x whatever the umask (the package
# holds them so).
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

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
# The package's changelog (a native package's, in Debian's format), compressed alike.
set(TARVEL_CHANGELOG ${PROJECT_BINARY_DIR}/assets/changelog.gz)
add_custom_command(OUTPUT ${TARVEL_CHANGELOG}
  COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/assets/changelog > ${TARVEL_CHANGELOG}
  DEPENDS ${PROJECT_SOURCE_DIR}/assets/changelog
  COMMENT "Compressing the changelog")
add_custom_target(tarvel_man_pages ALL DEPENDS ${TARVEL_MAN_PAGES} ${TARVEL_CHANGELOG})

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
install(FILES ${PROJECT_SOURCE_DIR}/assets/copyright ${TARVEL_CHANGELOG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarvel)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvel/examples
        FILES_MATCHING PATTERN "*.txt")
