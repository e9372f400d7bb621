# The Debian package, built by scripts/package.sh with `cpack -G DEB`: the
# files that `cmake --install` puts under /usr, its version from project(),
# its dependencies worked out by dpkg-shlibdeps from the libraries the
# programs link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "model the radiogenic daughter a mineral grain keeps as it cools")

execute_process(COMMAND dpkg --print-architecture
                OUTPUT_VARIABLE TARVEL_DEB_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE
                ERROR_QUIET)
if(TARVEL_DEB_ARCHITECTURE)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${TARVEL_DEB_ARCHITECTURE})
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # tarvel_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER
    "Tarvel maintainers <maintainers@users.noreply.c-seed-1677f204.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The long description; the summary above is its first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tarvel models how much of a radiogenic daughter a spherical mineral grain
holds over time. The daughter is made at a constant rate in a shell of the
grain, ejected a fixed distance from its parent and lost outside the grain;
inside it diffuses, faster the hotter the grain is, along a thermal history
drawn on a graph. For every point of the history Tarvel gives the calculated
time: how long production alone would have needed for the daughter held then.

The package holds the desktop program tarvel, with a wizard for the first
start, and the command-line calculator tarvel-calc for scripts and batches
of many histories.")

include(CPack)
