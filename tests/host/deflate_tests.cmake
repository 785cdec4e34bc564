vanto_add_test(NAME deflate_test SOURCES deflate_test.cpp LIBS vanto_skin_deflate ZLIB::ZLIB)
