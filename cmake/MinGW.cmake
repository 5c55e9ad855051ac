# Cross-compiles for 64-bit Windows with Debian's MinGW-w64, against the
# libraries scripts/windows/build-deps puts in a prefix of its own:
#
#   prefix=$(scripts/windows/build-deps)
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW.cmake \
#         -DVELMORA_WINDOWS_PREFIX="$prefix"
#
# The -posix compilers, because only their libstdc++ has std::thread and
# std::mutex, which the engine's decoder thread needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELMORA_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELMORA_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMORA_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMORA_MINGW_HOST}-windres)

# try_compile() projects read this file again without the cache, so the
# prefix has to be handed on to them.
if(NOT VELMORA_WINDOWS_PREFIX AND DEFINED ENV{VELMORA_WINDOWS_PREFIX})
  set(VELMORA_WINDOWS_PREFIX "$ENV{VELMORA_WINDOWS_PREFIX}")
endif()
if(NOT VELMORA_WINDOWS_PREFIX)
  message(FATAL_ERROR
    "Set VELMORA_WINDOWS_PREFIX to the folder scripts/windows/build-deps prints.")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELMORA_WINDOWS_PREFIX)

# Headers, libraries and packages come from the MinGW runtime and our prefix
# only: one from the build machine would be a Linux one.
set(CMAKE_FIND_ROOT_PATH /usr/${VELMORA_MINGW_HOST} "${VELMORA_WINDOWS_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The same for pkg-config, which CMake runs from the build machine: without
# this it answers with the Linux freetype2 and libopenmpt.
set(ENV{PKG_CONFIG_LIBDIR} "${VELMORA_WINDOWS_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# libgcc, libstdc++ and winpthread go into each executable and DLL, so that
# the program folder needs no MinGW runtime DLLs beside it. Libraries named by
# a full path, as SDL2's import library is, stay dynamic. The engine DLL and
# the program then each hold a runtime of their own, which is safe because
# only C types cross between them.
#
# A DLL exports nothing it takes from a static library: where a DLL marks no
# function dllexport, ld exports every symbol it holds, all of libopenmpt and
# libgcc with the engine's own.
# A release keeps no symbols: they would double the folder's size.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_SHARED_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -Wl,--exclude-libs,ALL")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -Wl,--exclude-libs,ALL")

# ctest and try_run() start the .exe files under wine. SDL2.dll is found in
# the prefix through WINEPATH, so a test need not have it copied beside it.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(VELMORA_WINE NAMES wine)
  if(VELMORA_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_COMMAND} -E env "WINEPATH=Z:${VELMORA_WINDOWS_PREFIX}/bin" ${VELMORA_WINE})
  endif()
endif()
