# What an install puts under its prefix (/usr for the Debian package,
# cmake/Packaging.cmake): the program folder in lib/velmora with a launcher
# in bin, the desktop entry that offers the disc for modules, its icons, its
# AppStream description, its manual page and, in share/doc/velmora, the
# copyright notice and the changelog.

# Folders as the package's policy wants them, whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The program folder: the executable finds its engine through an rpath of
# $ORIGIN, and the songs beside itself.
install(TARGETS velmora_program velmora_engine
  RUNTIME DESTINATION lib/velmora
  LIBRARY DESTINATION lib/velmora)
file(GLOB velmora_songs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/song*.xm)
install(FILES ${velmora_songs} DESTINATION lib/velmora)
install(CODE [[
  file(MAKE_DIRECTORY "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin")
  file(CREATE_LINK ../lib/velmora/velmora "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin/velmora" SYMBOLIC)
]])

install(FILES ${PROJECT_SOURCE_DIR}/assets/velmora.desktop DESTINATION share/applications)
foreach(size 48 256)
  install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/velmora-${size}.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME velmora.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/assets/example.velmora.Velmora.metainfo.xml DESTINATION share/metainfo)

# Manual pages and changelogs are installed compressed, at gzip's best and
# without a name or time in the header, so the same source gives the same
# bytes.
find_program(VELMORA_GZIP gzip REQUIRED)
set(velmora_compressed "")
foreach(pair "docs/velmora.1|velmora.1.gz" "packaging/changelog|changelog.gz")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 source)
  list(GET pair 1 target)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/${target}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND ${VELMORA_GZIP} -9nc ${PROJECT_SOURCE_DIR}/${source} > ${CMAKE_BINARY_DIR}/packaging/${target}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source}
    VERBATIM)
  list(APPEND velmora_compressed ${CMAKE_BINARY_DIR}/packaging/${target})
endforeach()
add_custom_target(velmora_compressed_docs ALL DEPENDS ${velmora_compressed})
install(FILES ${CMAKE_BINARY_DIR}/packaging/velmora.1.gz DESTINATION share/man/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  DESTINATION share/doc/velmora)
