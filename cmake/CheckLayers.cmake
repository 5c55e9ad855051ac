# Fails when a file includes a header of a layer above its own: each folder
# below may include only what its line names (and headers beside itself).
# Run as a test: cmake -DSOURCE_DIR=<repository> -P CheckLayers.cmake
set(layers
  "toolkit/graphics:toolkit/graphics"
  "toolkit/windowing:toolkit/graphics,toolkit/windowing"
  "engine:engine"
  "sound:sound,engine/Midas.h,toolkit"
  "player:player,sound,toolkit"
  "controls:controls,toolkit"
  "desktop:desktop,player,sound,toolkit"
  "options:options,controls,player,sound,toolkit"
  "app:app,options,desktop,controls,player,sound,toolkit"
  "tools/modwriter:tools/modwriter"
  "tools/composer:tools/composer,tools/modwriter,engine/Midas.h,engine/MidasTesting.h"
  "tools/skinpainter:tools/skinpainter,toolkit/graphics"
  "tools/screen:toolkit/graphics"
  "tools/listen:tools/listen"
  "tools/xdnd:tools/xdnd")

set(problems "")
foreach(layer IN LISTS layers)
  string(REPLACE ":" ";" parts "${layer}")
  list(GET parts 0 folder)
  list(GET parts 1 allowed)
  string(REPLACE "," ";" allowed "${allowed}")
  file(GLOB_RECURSE sources ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^#include \"[^\"]*/[^\"]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([^\"]*)\".*" "\\1" header "${line}")
      set(fits FALSE)
      foreach(prefix IN LISTS allowed)
        if(header MATCHES "^${prefix}")
          set(fits TRUE)
        endif()
      endforeach()
      if(NOT fits)
        file(RELATIVE_PATH where ${SOURCE_DIR} ${source})
        string(APPEND problems "  ${where} includes ${header}, above its layer\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "Layers crossed:\n${problems}")
endif()
