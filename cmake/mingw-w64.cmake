# Cross-builds the Windows program on Linux with the mingw-w64 toolchain (64-bit). The runtime is
# linked in statically, so terrova.exe runs on any Windows (and under wine) without extra DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TERROVA_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model of the compiler, when installed, is the one whose libstdc++ has
# std::thread and std::mutex; the plain name is the fallback.
find_program(CMAKE_CXX_COMPILER NAMES ${TERROVA_MINGW_PREFIX}-g++-posix ${TERROVA_MINGW_PREFIX}-g++
             REQUIRED)
# The C compiler builds the SQLite amalgamation.
find_program(CMAKE_C_COMPILER NAMES ${TERROVA_MINGW_PREFIX}-gcc-posix ${TERROVA_MINGW_PREFIX}-gcc)
find_program(CMAKE_RC_COMPILER NAMES ${TERROVA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TERROVA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
