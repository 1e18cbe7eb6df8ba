# The Debian package of the program, made with `cpack` from a build of the program.
include_guard(GLOBAL)

set(CPACK_PACKAGE_NAME tervanel)
set(CPACK_PACKAGE_VENDOR "Orvalis - Quendra")
set(CPACK_PACKAGE_CONTACT "Tervanel developers <dev@tervanel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "coil spring stiffness and natural frequency calculator (Spanish)")
set(CPACK_PACKAGE_DESCRIPTION
    "Tervanel computes the stiffness of the coil spring of a car's front suspension from its\n\
material, end type, number of coils and diameters, and from the mass on the front axle its\n\
natural frequency in hertz. Its interface is in Spanish.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tervanel.org")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The shared libraries come from the binary itself; Qt's platform plugins are loaded at run
# time, so no library names them, and without them the window cannot open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, fonts-dejavu-extra")
include(CPack)
