# The PE resource reader and writer.
vanto_add_fuzzer(NAME pe_resources SOURCES pe_resources_fuzz.cpp LIBS vanto_pe)
