# The Windows program folder beside velmora.exe and velmora.dll: SDL2.dll,
# the faces the windows are drawn with (Liberation Sans and DejaVu Sans,
# from the Debian packages setup installs) and the licences of everything
# that comes with it; and the folder packed as a zip:
#   cmake --build build-windows --target windows-zip
set(VELMORA_FONT_FILES
  /usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf
  /usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf
  /usr/share/fonts/truetype/liberation2/LiberationSans-Italic.ttf
  /usr/share/fonts/truetype/liberation2/LiberationSans-BoldItalic.ttf
  /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
  /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf)
set(disc_fonts ${VELMORA_DISC_DIR}/fonts)
set(disc_licences ${VELMORA_DISC_DIR}/licences)
find_file(VELMORA_SDL2_DLL SDL2.dll PATHS ${VELMORA_WINDOWS_PREFIX}/bin NO_DEFAULT_PATH REQUIRED)

add_custom_target(velmora_windows_folder ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${disc_fonts} ${disc_licences}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VELMORA_SDL2_DLL} ${VELMORA_DISC_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VELMORA_FONT_FILES} ${disc_fonts}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different
    /usr/share/doc/fonts-liberation2/copyright ${disc_licences}/LiberationSans.txt
  COMMAND ${CMAKE_COMMAND} -E copy_if_different
    /usr/share/doc/fonts-dejavu-core/copyright ${disc_licences}/DejaVuSans.txt
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${VELMORA_WINDOWS_PREFIX}/share/licenses ${disc_licences}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/packaging/copyright ${disc_licences}/Velmora.txt
  COMMENT "Laying out the Windows program folder"
  VERBATIM)

set(VELMORA_WINDOWS_ZIP ${CMAKE_BINARY_DIR}/velmora-${PROJECT_VERSION}-windows-x64.zip)
add_custom_target(windows-zip
  COMMAND ${CMAKE_COMMAND} -E rm -f ${VELMORA_WINDOWS_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${VELMORA_WINDOWS_ZIP} --format=zip disc
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS velmora_program velmora_engine velmora_windows_folder
  COMMENT "Packing ${VELMORA_WINDOWS_ZIP}"
  VERBATIM)
