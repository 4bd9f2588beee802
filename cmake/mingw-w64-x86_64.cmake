# Cross-builds for 64-bit Windows with Debian's mingw-w64 (the posix thread model, which gives
# std::thread and std::mutex), and runs what it builds through Wine: scripts/build-windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CORSARO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${CORSARO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CORSARO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${CORSARO_MINGW_TRIPLE}-windres)
set(CMAKE_ASM_COMPILER ${CORSARO_MINGW_TRIPLE}-gcc-posix)

# Libraries and headers come from the cross tree only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${CORSARO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows ships no C++ runtime, no winpthread and no zlib: all are linked in, so that an .exe
# imports system DLLs only. (Wine carries a zlib1.dll that Windows does not.)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(ZLIB_USE_STATIC_LIBS ON)

# Test programs and the tool run under Wine (wine64 is not on PATH on every Debian).
find_program(CORSARO_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(CORSARO_WINE AND EXISTS "${CORSARO_WINE}")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CORSARO_WINE})
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/windows/no_wine.sh)
endif()
