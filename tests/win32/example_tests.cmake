# Tests of the bundled example's installer. They need mksetup from the host
# tree (VANTO_MKSETUP), which scripts/test-all.sh builds first.
set(VANTO_MKSETUP "" CACHE FILEPATH "mksetup built by the host tree")
set(VANTO_BUILT_FILES_TEST "" CACHE FILEPATH "built_files_test built by the host tree")

add_library(vanto_test_driver STATIC support/process_driver_win.cpp)
target_link_libraries(vanto_test_driver PUBLIC vanto_options)
add_library(vanto_test_folders STATIC support/folders_win.cpp)
target_link_libraries(vanto_test_folders PUBLIC vanto_base ole32 uuid shell32)
add_library(vanto_wizard_driver STATIC support/wizard_driver_win.cpp)
target_link_libraries(vanto_wizard_driver PUBLIC vanto_test_driver vanto_payload GTest::gtest advapi32)
add_library(vanto_patched_installer STATIC support/patched_installer_win.cpp)
target_link_libraries(vanto_patched_installer PUBLIC vanto_pe vanto_base)
add_library(vanto_ui_input STATIC support/ui_input_win.cpp)
target_link_libraries(vanto_ui_input PUBLIC vanto_controls)

if(VANTO_MKSETUP)
  set(EXAMPLE_STAGE ${CMAKE_BINARY_DIR}/examples/vanto-x/stage)
  set(EXAMPLE_OUT ${CMAKE_CURRENT_BINARY_DIR}/example)
  add_custom_command(
    OUTPUT ${EXAMPLE_OUT}/VANTO-X-setup.exe ${EXAMPLE_OUT}/resources/SETUPPACK
    COMMAND ${VANTO_MKSETUP} build ${EXAMPLE_STAGE}/setup.toml -o ${EXAMPLE_OUT}/VANTO-X-setup.exe
            --stub $<TARGET_FILE:setup> --uninstaller $<TARGET_FILE:vanto_uninstaller>
            --save-resources ${EXAMPLE_OUT}/resources
    DEPENDS setup vanto_uninstaller vanto_x_stage ${VANTO_MKSETUP}
    VERBATIM)
  add_custom_target(example_installer ALL DEPENDS ${EXAMPLE_OUT}/VANTO-X-setup.exe)

  # Wine sees the Linux file system as drive Z:.
  function(wine_path out path)
    string(REPLACE "/" "\\\\" p "${path}")
    set(${out} "Z:${p}" PARENT_SCOPE)
  endfunction()
  wine_path(W_INSTALLER ${EXAMPLE_OUT}/VANTO-X-setup.exe)
  wine_path(W_RESOURCES ${EXAMPLE_OUT}/resources)
  wine_path(W_STAGE ${EXAMPLE_STAGE})
  wine_path(W_UNINSTALLER ${CMAKE_BINARY_DIR}/uninstaller/Uninstall.exe)

  vanto_add_test(NAME example_installer_test SOURCES example_installer_test.cpp
    LIBS vanto_shell vanto_pe vanto_wizard_driver vanto_patched_installer)
  target_compile_definitions(example_installer_test PRIVATE
    VANTO_EXAMPLE_INSTALLER=L"${W_INSTALLER}"
    VANTO_EXAMPLE_RESOURCES=L"${W_RESOURCES}"
    VANTO_EXAMPLE_STAGE=L"${W_STAGE}"
    VANTO_EXAMPLE_UNINSTALLER=L"${W_UNINSTALLER}")
  add_dependencies(example_installer_test example_installer)

  # Native: the built files as a clean Windows would load them (imports,
  # architecture, manifest, live sections, the pictures in their packed
  # forms), on every machine.
  if(VANTO_BUILT_FILES_TEST)
    add_test(NAME built_files_test
      COMMAND ${VANTO_BUILT_FILES_TEST} --machine ${VANTO_MACHINE}
              --stub $<TARGET_FILE:setup> --installer ${EXAMPLE_OUT}/VANTO-X-setup.exe
              --pictures $<TARGET_PROPERTY:theme_pictures,VANTO_PICTURES_DIR>
              --pictures $<TARGET_PROPERTY:wizard_pictures,VANTO_PICTURES_DIR>
              --program $<TARGET_FILE:vanto_x_demo> --program $<TARGET_FILE:vanto_uninstaller>
              --program $<TARGET_FILE:skin_gallery>)
    set_tests_properties(built_files_test PROPERTIES LABELS native)
  else()
    message(STATUS "VANTO_BUILT_FILES_TEST not set: the built files are not checked")
  endif()
else()
  message(STATUS "VANTO_MKSETUP not set: the example installer tests are left out")
endif()

if(VANTO_MKSETUP)
  # Tests that run the example installer through its wizard.
  function(vanto_add_wizard_test name)
    vanto_add_test(NAME ${name} SOURCES ${name}.cpp LIBS vanto_shell vanto_wizard_driver ${ARGN})
    target_compile_definitions(${name} PRIVATE
      VANTO_EXAMPLE_INSTALLER=L"${W_INSTALLER}"
      VANTO_EXAMPLE_RESOURCES=L"${W_RESOURCES}")
    add_dependencies(${name} example_installer idle_process)
  endfunction()
  vanto_add_wizard_test(wizard_test version)
  vanto_add_wizard_test(foreign_folders_test)
  vanto_add_wizard_test(fault_runs_test)
endif()
