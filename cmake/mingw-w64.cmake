# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64):
#   cmake -S . -B build-win --toolchain cmake/mingw-w64.cmake
# The programs are linked statically (libgcc, libstdc++, winpthread), so a bare Windows runs them
# without any mingw DLL beside them. Tests run the .exe files under wine64 when it is installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LPTLCD_MINGW_TRIPLE x86_64-w64-mingw32)
# The posix thread model: the win32 one has no std::mutex, which GoogleTest needs.
set(CMAKE_C_COMPILER ${LPTLCD_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LPTLCD_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LPTLCD_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LPTLCD_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# Debian's wine64 package installs the loader outside PATH. The wine prefix lives in the build
# tree, so the tests depend neither on HOME nor on what an earlier wine left there.
find_program(LPTLCD_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(LPTLCD_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEDEBUG=-all WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix ${LPTLCD_WINE64})
endif()
