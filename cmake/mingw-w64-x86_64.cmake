# Cross-build for 64-bit Windows with Debian's mingw-w64 (posix thread model, for std::thread and
# std::mutex), linked statically so the programs run without the compiler's DLLs:
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TELVIX_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TELVIX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TELVIX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TELVIX_MINGW_TRIPLET}-windres)

# Libraries and headers come from the cross root only; the host's /usr/include is never searched.
set(CMAKE_FIND_ROOT_PATH /usr/${TELVIX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under wine on the build machine.
find_program(TELVIX_WINE wine)
if(TELVIX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TELVIX_WINE})
endif()
