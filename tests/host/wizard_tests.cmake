vanto_add_test(NAME wizard_rules_test SOURCES wizard_rules_test.cpp LIBS vanto_payload)
