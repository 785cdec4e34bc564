# The uninstaller's portable core: its plan against odd records, its run
# against the installation engine it undoes, its reading of the record copy,
# its switches and its clean-up batch's text.
vanto_add_test(NAME uninstaller_test
  SOURCES uninstall_plan_test.cpp uninstall_run_test.cpp installed_record_test.cpp
          uninstall_switches_test.cpp
  LIBS vanto_uninstall)
