# Shared part of the mingw-w64 toolchains. The including file sets
# PIGMO_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR first.
#
# The posix thread model: GCC 12's win32 model has no std::mutex, which
# GoogleTest needs. The program itself starts no threads; winpthread is
# linked statically, so it costs no DLL. Either model has the C++20
# library the code needs, <charconv> floating-point from_chars included.
set(CMAKE_SYSTEM_NAME Windows)

foreach(_pigmo_tool C:gcc CXX:g++)
  string(REPLACE ":" ";" _pigmo_pair "${_pigmo_tool}")
  list(GET _pigmo_pair 0 _pigmo_lang)
  list(GET _pigmo_pair 1 _pigmo_name)
  find_program(CMAKE_${_pigmo_lang}_COMPILER
    NAMES ${PIGMO_MINGW_TRIPLE}-${_pigmo_name}-posix ${PIGMO_MINGW_TRIPLE}-${_pigmo_name}
    REQUIRED)
endforeach()
find_program(CMAKE_RC_COMPILER NAMES ${PIGMO_MINGW_TRIPLE}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${PIGMO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program links the C and C++ runtimes statically, so it needs no DLL
# beyond those that come with Windows. Optimised builds are stripped.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")

