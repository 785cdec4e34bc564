# The builder's parallel compressor; the builder exists in the host tree only.
if(NOT WIN32)
  vanto_add_test(NAME parallel_zlib_test SOURCES parallel_zlib_test.cpp LIBS vanto_mksetup)
endif()
