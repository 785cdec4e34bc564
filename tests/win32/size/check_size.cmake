# Fails when FILE is larger than BUDGET bytes: the programs every user of a
# product downloads must not grow unnoticed.
#   cmake -DFILE=path -DBUDGET=bytes -P check_size.cmake
file(SIZE "${FILE}" size)
math(EXPR percent "${size} * 100 / ${BUDGET}")
if(size GREATER BUDGET)
  message(FATAL_ERROR "${FILE} is ${size} bytes, over its budget of ${BUDGET} (${percent}%)")
endif()
message(STATUS "${FILE}: ${size} bytes, ${percent}% of its budget of ${BUDGET}")
