#pragma once
// A built program loaded as data, the way tools read another program's
// resources: nothing of it runs.
#include <windows.h>

#include <string>

namespace testing_support {

struct DataModule {
  HMODULE module;
  explicit DataModule(const std::wstring& path)
      : module(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~DataModule() {
    if (module) FreeLibrary(module);
  }
  DataModule(const DataModule&) = delete;
  DataModule& operator=(const DataModule&) = delete;
};

}  // namespace testing_support
