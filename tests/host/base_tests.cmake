# The portable foundations. crc32_test checks ours against zlib's.
vanto_add_test(NAME crc32_test SOURCES crc32_test.cpp LIBS vanto_base ZLIB::ZLIB)
