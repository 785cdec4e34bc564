# The toolkit's portable core: components, published properties, layouts.
vanto_add_test(NAME component_test SOURCES component_test.cpp LIBS vanto_framework_core)
vanto_add_test(NAME rtti_test SOURCES rtti_test.cpp LIBS vanto_framework_core)
vanto_add_test(NAME layout_parser_test SOURCES layout_parser_test.cpp LIBS vanto_framework_core)
vanto_add_test(NAME layout_loader_test SOURCES layout_loader_test.cpp LIBS vanto_framework_core)
# stored_layout_test packs its layouts with zlib, as the build does.
vanto_add_test(NAME stored_layout_test SOURCES stored_layout_test.cpp
  LIBS vanto_framework_core ZLIB::ZLIB)
vanto_add_test(NAME string_list_align_test SOURCES string_list_align_test.cpp
  LIBS vanto_framework_core)
# compiled_layout_test reads the programs' stored layouts from the sources
# (under Wine the Linux file system is drive Z:).
vanto_add_test(NAME compiled_layout_test SOURCES compiled_layout_test.cpp
  LIBS vanto_framework_core vanto_payload)
set(source_dir ${CMAKE_SOURCE_DIR})
if(WIN32)
  set(source_dir Z:${source_dir})
endif()
target_compile_definitions(compiled_layout_test PRIVATE VANTO_SOURCE_DIR="${source_dir}")
