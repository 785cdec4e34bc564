# Size budgets of the programs that travel in every installer: the stub and
# the uninstaller, per architecture. They hold the sizes reached so far with
# a small margin; lower them as the programs shrink, never raise them
# without a reason in the commit.
# The i686 stub's budget is its goal, 600,000 bytes; the aim beyond it is
# 400,000.
if(VANTO_MACHINE STREQUAL "x86")
  set(STUB_BUDGET 600000)
  set(UNINSTALLER_BUDGET 222000)
else()
  set(STUB_BUDGET 626000)
  set(UNINSTALLER_BUDGET 210000)
endif()
foreach(entry "setup;${STUB_BUDGET}" "vanto_uninstaller;${UNINSTALLER_BUDGET}")
  list(GET entry 0 target)
  list(GET entry 1 budget)
  add_test(NAME size_budget_${target}
    COMMAND ${CMAKE_COMMAND} -DFILE=$<TARGET_FILE:${target}> -DBUDGET=${budget}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/size/check_size.cmake)
  set_tests_properties(size_budget_${target} PROPERTIES LABELS native)
endforeach()
