# The PNG reader (and the BI_PNG DIBs of the BMP reader) on arbitrary bytes.
vanto_add_fuzzer(NAME png SOURCES png_fuzz.cpp LIBS vanto_graphics ZLIB::ZLIB)
