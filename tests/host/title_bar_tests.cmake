# The title bar: the toolkit's collections, the sections' and buttons'
# rules, layout and painting of the bar. Skin files for the file-theme cases
# are made by the skin tool's writer.
vanto_add_test(NAME sui_title_bar_test SOURCES sui_title_bar_test.cpp
  LIBS vanto_skin_title_bar vanto_skin_writer)
