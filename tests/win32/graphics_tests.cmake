# The graphics layer against GDI: text drawn into DIB sections, and the
# built-in theme pictures read from the executable's BITMAP resources.
set(GRAPHICS_BMP_DIR ${CMAKE_CURRENT_BINARY_DIR}/graphics_bitmaps)
add_custom_command(
  OUTPUT ${GRAPHICS_BMP_DIR}/winxp_button.bmp ${GRAPHICS_BMP_DIR}/palette.bmp
  COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/make_graphics_test_bitmaps.py ${GRAPHICS_BMP_DIR}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/make_graphics_test_bitmaps.py
  VERBATIM)
configure_file(graphics_win_test.rc.in ${CMAKE_CURRENT_BINARY_DIR}/graphics_win_test.rc @ONLY)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/graphics_win_test.rc PROPERTIES
  OBJECT_DEPENDS "${GRAPHICS_BMP_DIR}/winxp_button.bmp;${GRAPHICS_BMP_DIR}/palette.bmp")

vanto_add_test(NAME graphics_win_test
  SOURCES graphics_win_test.cpp ${CMAKE_CURRENT_BINARY_DIR}/graphics_win_test.rc
  LIBS vanto_skin)
