vanto_add_test(NAME installation_test SOURCES installation_test.cpp LIBS vanto_payload)
