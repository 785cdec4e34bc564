#include "base/system_path_win.h"
#include "skin/sui_file_theme.h"

#include "base/win_api.h"

namespace skin {
namespace {

// A folder that has no GBK form (not even a short one) is left out of the
// search: looking in a look-alike folder could find another skin file.
std::string WithBackslash(std::wstring folder) {
  if (folder.empty()) return {};
  if (folder.back() != L'\\') folder += L'\\';
  return base::SystemPathToGbk(folder).value_or(std::string());
}

}  // namespace

TThemeFileFolders PlatformThemeFileFolders() {
  TThemeFileFolders folders;
  wchar_t buffer[MAX_PATH + 1];
  DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH + 1);
  if (n > 0 && n <= MAX_PATH) {
    std::wstring exe(buffer, n);
    const std::size_t slash = exe.rfind(L'\\');
    if (slash != std::wstring::npos) folders.executable = WithBackslash(exe.substr(0, slash));
  }
  UINT m = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
  if (m > 0 && m <= MAX_PATH) folders.windows = WithBackslash(std::wstring(buffer, m));
  m = GetSystemDirectoryW(buffer, MAX_PATH + 1);
  if (m > 0 && m <= MAX_PATH) folders.system = WithBackslash(std::wstring(buffer, m));
  return folders;
}

}  // namespace skin
