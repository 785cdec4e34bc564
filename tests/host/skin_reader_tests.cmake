# The skin file reader and file themes (portable); skin files for them are
# made by the writer of the skin tool.
vanto_add_test(NAME skin_reader_test
  SOURCES skin_archive_test.cpp skin_container_test.cpp sui_file_theme_test.cpp
  LIBS vanto_skin_writer vanto_skin)
