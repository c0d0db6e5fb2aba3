# Shared part of the MinGW-w64 toolchain files: cross-compiles a Windows
# console program that needs no DLL besides the system's, and runs the
# programs of the test suite under Wine. The including file sets
# ORDIMET_MINGW_TRIPLET and CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)

# The compilers of the POSIX thread model where there is a choice: only they
# have std::mutex, which GoogleTest needs. Its threads library is linked
# statically like the rest.
find_program(ORDIMET_MINGW_POSIX_CXX ${ORDIMET_MINGW_TRIPLET}-g++-posix)
if(ORDIMET_MINGW_POSIX_CXX)
    set(ORDIMET_MINGW_SUFFIX -posix)
endif()
set(CMAKE_C_COMPILER ${ORDIMET_MINGW_TRIPLET}-gcc${ORDIMET_MINGW_SUFFIX})
set(CMAKE_CXX_COMPILER ${ORDIMET_MINGW_TRIPLET}-g++${ORDIMET_MINGW_SUFFIX})
set(CMAKE_RC_COMPILER ${ORDIMET_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORDIMET_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C99-conforming printf family of MinGW-w64 instead of the system
# library's: "%f" prints every digit of a large double exactly as on Linux,
# and "%lld" and "%zu" work.
string(APPEND CMAKE_C_FLAGS_INIT " -D__USE_MINGW_ANSI_STDIO=1")
string(APPEND CMAKE_CXX_FLAGS_INIT " -D__USE_MINGW_ANSI_STDIO=1")
# The C++ and GCC runtimes linked in, so that the .exe runs on its own.
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -static -static-libgcc -static-libstdc++")

# Test programs run under Wine, in a Wine prefix of their own in the build tree.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${CMAKE_BINARY_DIR}/wine-prefix)
