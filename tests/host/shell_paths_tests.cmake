vanto_add_test(NAME shell_paths_test SOURCES shell_paths_test.cpp LIBS vanto_payload)
