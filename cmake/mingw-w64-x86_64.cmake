# Cross build for 64-bit Windows with Debian's MinGW-w64 compiler in its POSIX-threads flavour
# (g++-mingw-w64-x86-64-posix), so that std::thread and std::atomic work as on Linux.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(mingw_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_prefix}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# zlib from libz-mingw-w64-dev, linked in rather than beside the program as a DLL.
set(ZLIB_USE_STATIC_LIBS ON)
# Test programs run under Wine (Debian's wine64 package keeps its loader in /usr/lib/wine).
find_program(DEMO_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(DEMO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${DEMO_WINE})
endif()
