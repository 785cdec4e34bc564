# Stored layouts as the Windows programs carry them: each NAME.layout (a
# path from the CMakeLists' folder) compiled and packed into
# NAME.layout.packed in the binary folder by mklayout
# (framework/core/stored_layout.h), which a Windows tree builds natively on
# the side (cmake/HostTools.cmake).
# vanto_packed_layouts(<var> <name.layout>...): sets <var> to the packed files.
function(vanto_packed_layouts var)
  set(result)
  foreach(layout IN LISTS ARGN)
    get_filename_component(name ${layout} NAME)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${name}.packed)
    add_custom_command(OUTPUT ${out}
      COMMAND ${VANTO_MKLAYOUT} ${CMAKE_CURRENT_SOURCE_DIR}/${layout} ${out}
      DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${layout} vanto_host_tools ${VANTO_MKLAYOUT}
      VERBATIM)
    list(APPEND result ${out})
  endforeach()
  set(${var} ${result} PARENT_SCOPE)
endfunction()
