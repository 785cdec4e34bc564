# The skin file reader as a whole (archive, decryption, Deflate, container,
# BMP pictures), and its Deflate decoder alone against zlib.
vanto_add_fuzzer(NAME skin_reader SOURCES skin_reader_fuzz.cpp LIBS vanto_skin)
vanto_add_fuzzer(NAME skin_inflate SOURCES skin_inflate_fuzz.cpp
  LIBS vanto_skin_deflate ZLIB::ZLIB)

# Writes both targets' seeds (see docs/fuzzing.md).
add_executable(skin_reader_seeds skin_reader_seeds.cpp)
target_link_libraries(skin_reader_seeds PRIVATE vanto_skin_writer ZLIB::ZLIB)
