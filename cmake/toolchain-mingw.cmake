# Cross-compiling for Windows with MinGW-w64. Included by the per-architecture
# toolchain files after they set VANTO_MINGW_TRIPLET (i686-w64-mingw32 or
# x86_64-w64-mingw32) and CMAKE_SYSTEM_PROCESSOR. The -posix variants are used
# because the win32 thread model has no std::mutex (GoogleTest needs it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VANTO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANTO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VANTO_MINGW_TRIPLET}-windres)

# Libraries that Debian does not package for MinGW (libjpeg, GoogleTest) are
# cross-built by scripts/bootstrap.sh, one prefix per architecture.
if(NOT DEFINED VANTO_MINGW_PREFIX)
  if(DEFINED ENV{MINGW_DEPS_PREFIX})
    set(VANTO_MINGW_PREFIX $ENV{MINGW_DEPS_PREFIX}/${VANTO_MINGW_TRIPLET})
  else()
    set(VANTO_MINGW_PREFIX /opt/vanto-mingw/${VANTO_MINGW_TRIPLET})
  endif()
endif()
set(VANTO_MINGW_PREFIX ${VANTO_MINGW_PREFIX} CACHE PATH "Cross-built MinGW libraries")

set(CMAKE_FIND_ROOT_PATH /usr/${VANTO_MINGW_TRIPLET} ${VANTO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
