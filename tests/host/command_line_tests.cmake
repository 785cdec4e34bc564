vanto_add_test(NAME command_line_test SOURCES command_line_test.cpp LIBS vanto_payload)
