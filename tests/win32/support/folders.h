#pragma once
// Folder and shell-link helpers of the Windows tests: making and removing
// folder trees through the wide API, and reading a .lnk back as the shell
// sees it.
#include <string>
#include <vector>

namespace testing_support {

using Names = std::vector<std::wstring>;

// Test set-up that fails throws; GoogleTest reports it as the test's failure.
void Require(bool ok, const std::string& what);

// The names in a folder as the file system reports them, sorted.
Names ListNames(const std::wstring& folder);
// Removes a folder and everything below it, read-only files included.
void RemoveTree(const std::wstring& path);
// Makes one folder level (an existing one is fine).
void MakeFolder(const std::wstring& path);

// A link file as the shell reads it back. id_list_path is the target as the
// link's item ID list names it (what starts it: Wine keeps the plain path
// in the ANSI code page only).
struct LinkInfo {
  bool loaded = false;
  std::wstring path, id_list_path, arguments, working_directory, icon_path;
  int icon_index = -1;
};
LinkInfo ReadLink(const std::wstring& file);

}  // namespace testing_support
