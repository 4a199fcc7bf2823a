# Cross build for 64-bit Windows with mingw-w64. The -posix compilers carry
# std::thread and std::mutex, which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs the Windows test programs through Wine. Debian's wine64 package
# keeps its loader under /usr/lib/wine; the `wine` package adds it to PATH.
find_program(TUNEBRIDGE_WINE NAMES wine wine64 wine-stable PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TUNEBRIDGE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TUNEBRIDGE_WINE})
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR wine)
endif()
