#include "tests/win32/support/folders.h"

#include <algorithm>
#include <stdexcept>

#include "base/com_ptr_win.h"
#include "base/text_codec.h"
#include "base/win_api.h"

#include <shlobj.h>
#include <shobjidl.h>

namespace testing_support {

void Require(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error("test set-up failed: " + what);
}

Names ListNames(const std::wstring& folder) {
  Names names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

void RemoveTree(const std::wstring& path) {
  for (const std::wstring& name : ListNames(path)) {
    std::wstring child = path + L"\\" + name;
    SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
    DWORD a = GetFileAttributesW(child.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY))
      RemoveTree(child);
    else
      DeleteFileW(child.c_str());
  }
  RemoveDirectoryW(path.c_str());
}

void MakeFolder(const std::wstring& path) {
  Require(CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS,
          "create folder " + base::WideToGbkLossy(path));
}

LinkInfo ReadLink(const std::wstring& file) {
  LinkInfo info;
  base::ComApartment apartment;
  Require(apartment.entered(), "CoInitialize");
  base::ComPtr<IShellLinkW> link;
  Require(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     __uuidof(IShellLinkW), link.PutVoid())),
          "CoCreateInstance(ShellLink)");
  base::ComPtr<IPersistFile> persist;
  Require(SUCCEEDED(link.As(persist)), "IPersistFile");
  if (FAILED(persist->Load(file.c_str(), STGM_READ))) return info;
  info.loaded = true;
  wchar_t text[INFOTIPSIZE];
  if (SUCCEEDED(link->GetPath(text, INFOTIPSIZE, nullptr, SLGP_RAWPATH))) info.path = text;
  PIDLIST_ABSOLUTE id_list = nullptr;
  if (link->GetIDList(&id_list) == S_OK && id_list) {
    if (SHGetPathFromIDListW(id_list, text)) info.id_list_path = text;
    CoTaskMemFree(id_list);
  }
  if (SUCCEEDED(link->GetArguments(text, INFOTIPSIZE))) info.arguments = text;
  if (SUCCEEDED(link->GetWorkingDirectory(text, INFOTIPSIZE))) info.working_directory = text;
  if (SUCCEEDED(link->GetIconLocation(text, INFOTIPSIZE, &info.icon_index))) info.icon_path = text;
  return info;
}

}  // namespace testing_support
