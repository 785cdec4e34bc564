# The product manifest's parser (mksetup is built in the native trees only).
vanto_add_fuzzer(NAME manifest SOURCES manifest_fuzz.cpp LIBS vanto_mksetup)
