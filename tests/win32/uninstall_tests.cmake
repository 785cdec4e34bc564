# The uninstaller under Wine: its clean-up batch run by the real command
# interpreter, with names it could misread; and the example's Uninstall.exe
# removing what the wizard installed.
vanto_add_test(NAME cleanup_batch_test SOURCES cleanup_batch_test.cpp
  LIBS vanto_uninstall_win vanto_test_folders)
if(VANTO_MKSETUP)
  vanto_add_wizard_test(uninstall_test vanto_uninstall vanto_test_folders)
endif()
