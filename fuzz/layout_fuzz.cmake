# The layout parser and loader.
vanto_add_fuzzer(NAME layout SOURCES layout_fuzz.cpp LIBS vanto_framework_core)
