# Cross-builds the core for 64-bit Windows with Debian's MinGW-w64 (POSIX
# threads flavour, for std::thread) and runs what it builds under Wine:
#   cmake --preset windows && cmake --build --preset windows && ctest --preset windows
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELMARIS_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELMARIS_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMARIS_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMARIS_MINGW_TRIPLE}-windres)

# Only the cross tree is searched for libraries and headers; programs run here.
set(CMAKE_FIND_ROOT_PATH /usr/${VELMARIS_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe each: no MinGW runtime DLLs to find under Wine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(VELMARIS_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(VELMARIS_WINE NAMES wine64 wine)
if(VELMARIS_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VELMARIS_WINE})
endif()
