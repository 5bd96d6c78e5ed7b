# Cross-compiles the Windows build (64-bit, MinGW-w64 with POSIX threads for
# std::thread) on Linux. Programs are linked statically, so the .exe files
# need no MinGW DLLs beside them; the tests run under Wine through
# scripts/wine-run, in a Wine prefix of the build tree.
#
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARNVALE_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TARNVALE_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARNVALE_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TARNVALE_MINGW}-windres)

# Target headers and libraries come only from the MinGW tree; programs
# (and header-only CMake packages, see the top-level CMakeLists.txt) from the
# host.
set(CMAKE_FIND_ROOT_PATH /usr/${TARNVALE_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run")
