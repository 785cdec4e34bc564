# Stored layouts as the Windows programs carry them: each NAME.layout (a
# path from the CMakeLists' folder) compiled and packed into
# NAME.layout.packed in the binary folder by mklayout
# (framework/core/stored_layout.h). A Windows tree's compiler makes Windows
# programs, so mklayout is built natively on the side from
# tools/mklayout/standalone, and again whenever its sources change.
# vanto_packed_layouts(<var> <name.layout>...): sets <var> to the packed files.
if(WIN32)
  include(ExternalProject)
  set(VANTO_MKLAYOUT_DIR ${CMAKE_BINARY_DIR}/mklayout-host)
  set(VANTO_MKLAYOUT ${VANTO_MKLAYOUT_DIR}/mklayout)
  ExternalProject_Add(mklayout_host
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/mklayout/standalone
    BINARY_DIR ${VANTO_MKLAYOUT_DIR}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    BUILD_BYPRODUCTS ${VANTO_MKLAYOUT}
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")
endif()

function(vanto_packed_layouts var)
  set(result)
  foreach(layout IN LISTS ARGN)
    get_filename_component(name ${layout} NAME)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${name}.packed)
    add_custom_command(OUTPUT ${out}
      COMMAND ${VANTO_MKLAYOUT} ${CMAKE_CURRENT_SOURCE_DIR}/${layout} ${out}
      DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${layout} mklayout_host ${VANTO_MKLAYOUT}
      VERBATIM)
    list(APPEND result ${out})
  endforeach()
  set(${var} ${result} PARENT_SCOPE)
endfunction()
