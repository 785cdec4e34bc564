# The build machine's tools that a Windows tree runs while it builds. Its
# compiler makes Windows programs, so they are built natively on the side
# from tools/host (through ExternalProject), and again whenever their sources
# change. (The host tree builds the same tools as its own targets.)
#   VANTO_MKLAYOUT        compiles and packs stored layouts (StoredLayouts.cmake)
#   VANTO_COMPACT_UNWIND  compacts an i686 program's unwind tables (UnwindTables.cmake)
# Both come with the target vanto_host_tools to depend on.
if(WIN32)
  include(ExternalProject)
  set(VANTO_HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools)
  set(VANTO_MKLAYOUT ${VANTO_HOST_TOOLS_DIR}/mklayout)
  set(VANTO_COMPACT_UNWIND ${VANTO_HOST_TOOLS_DIR}/compact_unwind)
  ExternalProject_Add(vanto_host_tools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/host
    BINARY_DIR ${VANTO_HOST_TOOLS_DIR}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    BUILD_BYPRODUCTS ${VANTO_MKLAYOUT} ${VANTO_COMPACT_UNWIND}
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")
endif()
