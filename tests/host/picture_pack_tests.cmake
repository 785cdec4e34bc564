# The pictures the programs carry: every packed form a resource script names
# decodes, through the programs' own reader, to exactly its 24-bit picture.
# Under Wine the Linux file system is drive Z:.
set(drive "")
if(WIN32)
  set(drive Z:)
endif()
vanto_add_test(NAME picture_pack_test SOURCES picture_pack_test.cpp LIBS vanto_graphics)
target_compile_definitions(picture_pack_test PRIVATE
  VANTO_THEME_PICTURES_DIR="${drive}$<TARGET_PROPERTY:theme_pictures,VANTO_PICTURES_DIR>"
  VANTO_WIZARD_PICTURES_DIR="${drive}$<TARGET_PROPERTY:wizard_pictures,VANTO_PICTURES_DIR>")
add_dependencies(picture_pack_test theme_pictures wizard_pictures)
