# The example installer run without its wizard (/S, /D, /LOG) and the exit
# codes of both.
if(VANTO_MKSETUP)
  vanto_add_wizard_test(unattended_test vanto_patched_installer)
endif()
