# 64-bit Windows programs built on Debian with MinGW-w64 (g++-mingw-w64-x86-64-posix: the POSIX thread model,
# which std::thread and std::mutex need). The programs are linked statically, so they run under Wine or on
# Windows without any DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GROVEX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GROVEX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GROVEX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GROVEX_MINGW_TRIPLE}-windres)

# Libraries, headers and CMake packages come from the MinGW-w64 tree only; programs (ccache, Wine) from the
# build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${GROVEX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
