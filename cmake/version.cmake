# What the programs say about themselves: the project's version and licence,
# in a generated header for the code (target tarvel_version) and in the
# variables the AppStream file and the package use.
set(TARVEL_LICENSE "MIT")
# The day the version in project() was released, for the AppStream release entry.
set(TARVEL_RELEASE_DATE "2026-12-07")
# The project's web page; the package's screenshot is published under
# screenshots/ there, which software centres fetch.
set(TARVEL_HOMEPAGE "https://tarvel.morvik.example"
    CACHE STRING "The project's web page, with the published screenshots under screenshots/")

configure_file(${CMAKE_CURRENT_LIST_DIR}/tarvelversion.h.in
               ${CMAKE_BINARY_DIR}/generated/tarvelversion.h @ONLY)
add_library(tarvel_version INTERFACE)
target_include_directories(tarvel_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
