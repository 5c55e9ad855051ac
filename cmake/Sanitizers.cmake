# VELMORA_SANITIZE builds everything with the sanitizers it names, as
# -fsanitize takes them: "address,undefined" or "thread". Undefined behaviour
# stops the program at its first finding instead of printing and going on.
#
# VELMORA_FUZZ (clang only) adds libFuzzer's coverage instrumentation to all
# of our code and builds the harnesses in fuzz/.
set(VELMORA_SANITIZE "" CACHE STRING "Sanitizers to build with: address,undefined or thread (empty: none)")
option(VELMORA_FUZZ "Build the libFuzzer harnesses in fuzz/ (needs clang)" OFF)

if(VELMORA_SANITIZE)
  add_compile_options(-fsanitize=${VELMORA_SANITIZE} -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${VELMORA_SANITIZE})
  if(VELMORA_SANITIZE MATCHES "undefined")
    add_compile_options(-fno-sanitize-recover=undefined)
  endif()
endif()

if(VELMORA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VELMORA_FUZZ needs clang: configure with -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
