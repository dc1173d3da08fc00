# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 compilers. The
# "posix" flavour is the one whose libstdc++ has std::thread and std::mutex,
# which Qt needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(HUECODE_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${HUECODE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HUECODE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${HUECODE_MINGW_TRIPLET}-windres)

# Headers and libraries come from the MinGW tree (and the prefixes the caller
# adds), programs such as moc from the build machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${HUECODE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
