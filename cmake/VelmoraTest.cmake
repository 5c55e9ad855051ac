# Declaring a test program is one call:
#
#   velmora_add_test(<name>
#     SOURCES <file>...            the program's own sources
#     LIBRARIES <target>...        what it tests
#     EMBED <file>...              files it reads as embedded resources
#     DEFINITIONS <NAME=value>...  compile definitions, such as paths of tools
#     DEPENDS <target>...          what must be built before it runs
#     ENVIRONMENT <VAR=value>...   set for every case it runs
#     LABELS <label>...            e.g. e2e for those that need an X server
#     ASSETS)                      it checks the assets and their makers
#
# A GoogleTest program linked with the test support library (tests/support),
# each of its cases a test of its own, labelled `unit`. `cmake --build <dir>
# --target unit-tests` builds every test program but those of the assets
# (labelled `assets`, built by `asset-tests`): the songs, the skin, the mix
# and the module writer reproduce their files the same with or without
# sanitizers, so the sanitized builds don't have them at all.
include(GoogleTest)
add_custom_target(unit-tests)
add_custom_target(asset-tests)

function(velmora_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "ASSETS" "" "SOURCES;LIBRARIES;EMBED;DEFINITIONS;DEPENDS;ENVIRONMENT;LABELS")
  if(arg_ASSETS AND VELMORA_SANITIZE)
    return()
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} velmora_test_support GTest::gmock GTest::gtest_main)
  if(arg_EMBED)
    set(embedded "")
    foreach(file IN LISTS arg_EMBED)
      get_filename_component(file ${file} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
      list(APPEND embedded ${file})
    endforeach()
    embed_files(${name} FILES ${embedded})
  endif()
  if(arg_DEFINITIONS)
    target_compile_definitions(${name} PRIVATE ${arg_DEFINITIONS})
  endif()
  if(arg_DEPENDS)
    add_dependencies(${name} ${arg_DEPENDS})
  endif()
  if(arg_ASSETS)
    add_dependencies(asset-tests ${name})
    list(APPEND arg_LABELS assets)
  else()
    add_dependencies(unit-tests ${name})
    if(NOT arg_LABELS)
      set(arg_LABELS unit)
    endif()
  endif()
  # An empty ENVIRONMENT would take the next word as its value.
  set(properties LABELS "${arg_LABELS}")
  if(arg_ENVIRONMENT)
    list(APPEND properties ENVIRONMENT "${arg_ENVIRONMENT}")
  endif()
  if(CMAKE_CROSSCOMPILING)
    # Under wine each start of a program costs a good part of a second: a
    # cross-built test program runs all its cases as one test.
    # Windows finds a program's DLLs beside it; the faces come from the
    # program folder, as the disc's own do.
    set(dlls $<TARGET_RUNTIME_DLLS:${name}>)
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND "$<IF:$<BOOL:${dlls}>,${CMAKE_COMMAND};-E;copy_if_different;${dlls};$<TARGET_FILE_DIR:${name}>,${CMAKE_COMMAND};-E;true>"
      COMMAND_EXPAND_LISTS)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "${arg_ENVIRONMENT};VELMORA_FONT_DIR=Z:${VELMORA_DISC_DIR}/fonts" LABELS "${arg_LABELS}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
  endif()
endfunction()
