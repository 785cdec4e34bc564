# Menus: the toolkit's menu model, and the skinned menus' rules and classes.
# Skin files for the file-theme cases are made by the skin tool's writer.
vanto_add_test(NAME menus_test SOURCES menus_test.cpp sui_menu_test.cpp
  LIBS vanto_skin_menus vanto_skin_writer)
