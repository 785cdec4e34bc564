# Test helpers. vanto_add_test() builds one GoogleTest program and registers
# it: natively in the host tree; in a Windows tree it runs under Wine through
# the rig that the wine_rig fixture starts once for the whole ctest run: a
# 32-bit rig for the i686 tree, a 64-bit one for the x86_64 tree.
# Tests labelled "native" run on the build machine without Wine (checks of
# the built files), so they run even where the tree's rig cannot.
if(WIN32)
  find_package(GTest REQUIRED CONFIG PATHS ${VANTO_MINGW_PREFIX} NO_DEFAULT_PATH)
  set(VANTO_WINE_RIG_DIR ${CMAKE_BINARY_DIR}/wine-rig)
  set(VANTO_WINE_EXEC ${CMAKE_SOURCE_DIR}/scripts/wine-exec.sh ${VANTO_WINE_RIG_DIR})
  add_test(NAME wine_rig_start
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-rig.sh start ${VANTO_WINE_RIG_DIR}
            --arch ${VANTO_WINE_ARCH})
  add_test(NAME wine_rig_stop
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-rig.sh stop ${VANTO_WINE_RIG_DIR})
  set_tests_properties(wine_rig_start PROPERTIES FIXTURES_SETUP wine_rig)
  set_tests_properties(wine_rig_stop PROPERTIES FIXTURES_CLEANUP wine_rig)
else()
  find_package(GTest REQUIRED)
endif()

# vanto_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [ARGS <args...>])
function(vanto_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;ARGS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main vanto_options)
  # Under Wine the Linux file system is drive Z:.
  set(data_dir ${CMAKE_SOURCE_DIR}/tests/data)
  if(WIN32)
    set(data_dir Z:${data_dir})
  endif()
  target_compile_definitions(${T_NAME} PRIVATE VANTO_TEST_DATA_DIR="${data_dir}")
  vanto_compact_unwind_tables(${T_NAME})
  if(WIN32)
    add_test(NAME ${T_NAME} COMMAND ${VANTO_WINE_EXEC} $<TARGET_FILE:${T_NAME}> ${T_ARGS})
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wine_rig TIMEOUT 300)
  else()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} ${T_ARGS})
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 300)
  endif()
endfunction()
