vanto_add_test(NAME pe_resources_test SOURCES pe_resources_test.cpp LIBS vanto_pe)
vanto_add_test(NAME pe_imports_test SOURCES pe_imports_test.cpp LIBS vanto_pe)
vanto_add_test(NAME unwind_table_test SOURCES unwind_table_test.cpp LIBS vanto_pe)
