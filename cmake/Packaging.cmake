# The Debian package: `cpack -G DEB` in the build folder, or the `package`
# target, makes velmora_<version>_<arch>.deb from what cmake/Install.cmake
# installs, under /usr. Its Depends line is computed by dpkg-shlibdeps from
# the libraries the program and its engine link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velmora developers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velmora developers <dev@velmora.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "music disc of five tracker songs that also plays modules")
set(CPACK_PACKAGE_DESCRIPTION [[
Velmora is VYR's first music disc: a small skinned window that presents
five songs by one composer, plays them in a loop and shows credits and
greetings in a rotated, sunken caption. A gauge follows the playing song's
order position.

Any MOD, S3M or XM module opened with the disc, or dropped on its window,
plays instead of the songs. It can be paused, stopped, stepped through and
turned up or down with the mouse, the keyboard, the keyboard's media keys
or the desktop's media controls (MPRIS 2). A small options window sets the
mix rate, stereo, 16 bit output and the filter.]])

# No maintainer scripts: see the script.
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DropLdconfigCalls.cmake)

include(CPack)
