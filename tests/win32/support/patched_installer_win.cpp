#include "tests/win32/support/patched_installer.h"

#include <windows.h>

#include <filesystem>

#include "base/file_system.h"
#include "base/text_codec.h"
#include "tools/pe/pe_headers.h"
#include "tools/pe/resource_reader.h"
#include "tools/pe/resource_writer.h"

namespace testing_support {

std::wstring TempFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

std::wstring PatchedInstaller(const std::wstring& installer, const std::wstring& folder,
                              const char* resource, const std::optional<base::Bytes>& bytes) {
  std::wstring exe = folder + L"\\setup.exe";
  base::Bytes image = base::NativeFileSystem().ReadWholeFile(base::WideToGbkLossy(installer));
  if (resource) {
    pe::ResourceTree tree = pe::ReadResourceTree(image, pe::ParseHeaders(image));
    auto type = pe::ResourceId::Number(pe::kRtRcData);
    tree.Remove(type, pe::ResourceId::Name(resource));
    if (bytes) tree.Set(type, pe::ResourceId::Name(resource), pe::kLangNeutral, {*bytes, 0});
    image = pe::WriteResources(image, tree);
  }
  base::NativeFileSystem().WriteWholeFile(base::WideToGbkLossy(exe), image);
  return exe;
}

}  // namespace testing_support
