# Cross-builds for 64-bit Windows with Debian's mingw-w64 (posix threads, which
# the C++ standard library's threads need).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KOV_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KOV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KOV_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KOV_MINGW_TRIPLET}-windres)

# Headers and libraries of the target only; programs of the build host.
# Extra roots (-DCMAKE_FIND_ROOT_PATH=...) hold libraries built for the target.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${KOV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Nothing beside the programs: the C++ runtime, libgcc and winpthread go inside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
