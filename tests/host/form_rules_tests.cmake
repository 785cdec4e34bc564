# The skinned form's portable rules; skin files for the file-theme cases
# are made by the skin tool's writer.
vanto_add_test(NAME form_rules_test SOURCES sui_form_rules_test.cpp
  LIBS vanto_skin_form_rules vanto_skin_writer)
