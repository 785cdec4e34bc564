# i686 programs unwind C++ exceptions by the DWARF tables the compiler writes
# (see ProjectOptions.cmake); the linker leaves them full of repeats on PE.
# Every i686 program has them compacted right after its link by
# compact_unwind (tools/pe/unwind_table_compaction.h), the tests too, so that
# every test under Wine runs on tables as the product ships them. A program
# the tool cannot rewrite safely fails its build. Relinked when the tool
# changes.
# vanto_compact_unwind_tables(<target>): does it for <target> in an i686 tree.
function(vanto_compact_unwind_tables target)
  if(NOT WIN32 OR NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    return()
  endif()
  add_dependencies(${target} vanto_host_tools)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${VANTO_COMPACT_UNWIND})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${VANTO_COMPACT_UNWIND} $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()
