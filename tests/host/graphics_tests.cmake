# The toolkit's graphics and the skin library's themes and drawing helpers.
# jpeg_codec_test makes its pictures with libjpeg's compressor.
find_package(JPEG REQUIRED)
vanto_add_test(NAME graphics_bitmap_test SOURCES graphics_bitmap_test.cpp LIBS vanto_graphics)
vanto_add_test(NAME bmp_codec_test SOURCES bmp_codec_test.cpp LIBS vanto_graphics)
# png_codec_test writes its pictures with zlib's deflate.
vanto_add_test(NAME png_codec_test SOURCES png_codec_test.cpp LIBS vanto_graphics ZLIB::ZLIB)
vanto_add_test(NAME jpeg_codec_test SOURCES jpeg_codec_test.cpp LIBS vanto_graphics JPEG::JPEG)
vanto_add_test(NAME canvas_test SOURCES canvas_test.cpp LIBS vanto_graphics)
vanto_add_test(NAME image_list_test SOURCES image_list_test.cpp LIBS vanto_graphics)
vanto_add_test(NAME skin_draw_test SOURCES skin_draw_test.cpp LIBS vanto_skin)
vanto_add_test(NAME sui_themes_test SOURCES sui_themes_test.cpp LIBS vanto_skin)
vanto_add_test(NAME sui_check_rules_test SOURCES sui_check_rules_test.cpp LIBS vanto_skin)
