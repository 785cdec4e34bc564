# The builder tool exists in the host tree only.
if(NOT WIN32)
  vanto_add_test(NAME mksetup_test SOURCES mksetup_test.cpp LIBS vanto_mksetup)
  target_compile_definitions(mksetup_test PRIVATE MKSETUP_PATH="$<TARGET_FILE:mksetup>")
  add_dependencies(mksetup_test mksetup)
endif()
