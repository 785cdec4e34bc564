#pragma once
// The tests look at HKEY_LOCAL_MACHINE through the installer's one registry
// view (kProductRegistryView), so the same checks hold for the i686 and the
// x86_64 build: a 64-bit process would otherwise see another tree.
#include <windows.h>

#include <string>

#include "installer/registry_win.h"

namespace testing_support {

// Removes a key and everything below it in the product's view; a missing
// key is fine.
inline void DeleteProductTree(HKEY root, const std::wstring& path) {
  const std::size_t cut = path.rfind(L'\\');
  const std::wstring parent = cut == std::wstring::npos ? L"" : path.substr(0, cut);
  const std::wstring leaf = cut == std::wstring::npos ? path : path.substr(cut + 1);
  HKEY key;
  if (RegOpenKeyExW(root, parent.c_str(), 0, KEY_ALL_ACCESS | installer::kProductRegistryView,
                    &key) != ERROR_SUCCESS)
    return;
  RegDeleteTreeW(key, leaf.c_str());
  RegCloseKey(key);
}

// Removes one value in the product's view.
inline void DeleteProductValue(HKEY root, const std::wstring& path, const wchar_t* name) {
  HKEY key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE | installer::kProductRegistryView,
                    &key) != ERROR_SUCCESS)
    return;
  RegDeleteValueW(key, name);
  RegCloseKey(key);
}

// Whether the key exists in the view that is not the product's: for a 64-bit
// test, the native 64-bit view, where nothing of the product may appear.
// Always false for a 32-bit test, which has only the one view here.
inline bool KeyInOtherView(HKEY root, const std::wstring& path) {
  if (sizeof(void*) == 4) return false;
  HKEY key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) !=
      ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

}  // namespace testing_support
