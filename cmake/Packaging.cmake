# The Debian package: `make package` (cpack -G DEB) turns the installed files
# into orla_<version>_amd64.deb. The dependencies on the Qt runtime are computed
# by dpkg-shlibdeps from the programs themselves.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orla/help)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orla)
set(CPACK_PACKAGE_VENDOR "ORLA")
set(CPACK_PACKAGE_CONTACT "ORLA developers <orla@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bridge club tournament director's program")
set(CPACK_PACKAGE_DESCRIPTION
"ORLA runs a bridge club's weekly duplicate pair tournaments: the movement
(Mitchell, Berger, Howell or a custom one), the pairs and every board's result,
scoring by matchpoints, IMPs or cross-IMPs, the ranking, the club's player
register and rating, and the results as text, HTML and print.
The package holds the program (orla), its command-line companion (orla-cli)
and the help pages.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The double-dummy solver is loaded when the first deal is analysed, not linked, so
# dpkg-shlibdeps cannot see it: its package is named here (libdds.so.0 is libdds0).
if(ORLA_WITH_DDS)
    string(REGEX REPLACE "^lib([^.]+)\\.so\\.(.*)$" "lib\\1\\2" dds_package "${ORLA_DDS_SONAME}")
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${dds_package}")
endif()
include(CPack)
