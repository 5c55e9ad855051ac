# Run by CPack after it made the Debian package (CPACK_POST_BUILD_SCRIPTS).
#
# CPack gives a package with any shared library below /usr/lib a postinst
# and a postrm that run ldconfig, and offers no way to leave them out. The
# disc's engine lies in its own program folder, /usr/lib/velmora, where
# ldconfig never looks; and a postrm keeps the package on dpkg's books
# ("rc") after it was removed, until it is purged. The package is built
# again from its own contents without the two scripts.
find_program(VELMORA_DPKG_DEB dpkg-deb REQUIRED)
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  set(tree "${package}.tree")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND ${VELMORA_DPKG_DEB} --raw-extract "${package}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
  foreach(script postinst postrm)
    file(READ "${tree}/DEBIAN/${script}" text)
    if(NOT text MATCHES "^#!/bin/sh\n\nset -e\n\nif \\[ \"\\$1\" = \"(configure|remove)\" \\]; then\n\tldconfig\nfi\n$")
      message(FATAL_ERROR "CPack's ${script} does more than run ldconfig:\n${text}")
    endif()
    file(REMOVE "${tree}/DEBIAN/${script}")
  endforeach()
  execute_process(COMMAND ${VELMORA_DPKG_DEB} --root-owner-group --build "${tree}" "${package}"
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${tree}")
endforeach()
