# The same sources for 64-bit Windows (MinGW-w64 x86_64): the tree whose
# tests run on machines that cannot execute 32-bit code.
set(VANTO_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
