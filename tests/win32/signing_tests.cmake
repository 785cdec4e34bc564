# Authenticode signing of the example installer with a throw-away certificate: signed, verified
# with osslsigncode, still read by mksetup, broken by one changed package byte; a signed stub's
# signature dropped with a note. A native test (Linux, any machine); it skips when osslsigncode
# or openssl is missing, which scripts/bootstrap.sh installs.
if(VANTO_MKSETUP)
  # Built as the example installer is (example_tests.cmake).
  set(signing_uninstaller)
  if(TARGET vanto_uninstaller)
    set(signing_uninstaller --uninstaller $<TARGET_FILE:vanto_uninstaller>)
  endif()
  add_test(NAME signing_test
    COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/signing/signing_test.py
            --mksetup ${VANTO_MKSETUP} --stub $<TARGET_FILE:setup>
            --manifest ${CMAKE_BINARY_DIR}/examples/vanto-x/stage/setup.toml
            ${signing_uninstaller})
  set_tests_properties(signing_test PROPERTIES LABELS native SKIP_RETURN_CODE 77 TIMEOUT 300)
endif()
