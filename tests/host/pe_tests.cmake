vanto_add_test(NAME pe_resources_test SOURCES pe_resources_test.cpp LIBS vanto_pe)
