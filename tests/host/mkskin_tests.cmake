# The skin file writer and mkskin's library: portable, so they also run as
# Windows programs.
vanto_add_test(NAME skin_writer_test SOURCES skin_writer_test.cpp LIBS vanto_skin_writer)
vanto_add_test(NAME mkskin_test SOURCES mkskin_test.cpp LIBS vanto_mkskin)

# The command and Info-ZIP exist in the host tree only.
if(NOT WIN32)
  vanto_add_test(NAME mkskin_tool_test SOURCES mkskin_tool_test.cpp LIBS vanto_graphics)
  target_compile_definitions(mkskin_tool_test PRIVATE MKSKIN_PATH="$<TARGET_FILE:mkskin>")
  add_dependencies(mkskin_tool_test mkskin)

  vanto_add_test(NAME skin_zip_interop_test SOURCES skin_zip_interop_test.cpp LIBS vanto_mkskin)
endif()
