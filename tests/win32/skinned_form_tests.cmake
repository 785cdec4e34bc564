# The skin library's stored windows, read from the built installer stub
# itself (loaded as data), so the test proves what the stub carries.
vanto_add_test(NAME stored_layouts_test SOURCES stored_layouts_test.cpp
  LIBS vanto_shell vanto_skin_controls vanto_theme_pictures)
# Wine sees the Linux file system as drive Z:; forward slashes do for it.
target_compile_definitions(stored_layouts_test PRIVATE
  VANTO_STUB_PATH=L"Z:$<TARGET_FILE:setup>")
add_dependencies(stored_layouts_test setup)
vanto_add_test(NAME menu_bar_test SOURCES menu_bar_test.cpp
  LIBS vanto_skin_menu_bar vanto_ui_input vanto_theme_pictures)
vanto_add_test(NAME skinned_form_test SOURCES skinned_form_test.cpp
  LIBS vanto_skin_form vanto_ui_input vanto_theme_pictures vanto_skin_writer)
