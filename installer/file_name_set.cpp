#include "installer/file_name_set.h"

#include <vector>

#include "base/gbk_text.h"
#include "installer/file_name_rules.h"

namespace installer {
namespace {

// The keys of the folders above a file, outermost first: "\A\B\C" gives
// "\A" and "\A\B". Keys hold only '\' as separator, at character starts.
std::vector<std::string> FolderKeys(const std::string& key) {
  std::vector<std::string> out;
  base::ForEachGbkChar(key, [&](std::size_t i) {
    if (i > 0 && key[i] == '\\') out.push_back(key.substr(0, i));
    return true;
  });
  return out;
}

}  // namespace

std::optional<FileNameClash> FileNameSet::Add(std::string_view name, int index) {
  const std::string key = FileNameKey(name);
  if (auto it = files_.find(key); it != files_.end())
    return FileNameClash{FileNameClash::kSameFile, it->second};
  if (auto it = folders_.find(key); it != folders_.end())
    return FileNameClash{FileNameClash::kIsOthersFolder, it->second};
  const std::vector<std::string> folders = FolderKeys(key);
  for (const std::string& folder : folders)
    if (auto it = files_.find(folder); it != files_.end())
      return FileNameClash{FileNameClash::kInOthersFile, it->second};
  files_.emplace(key, index);
  for (const std::string& folder : folders) folders_.emplace(folder, index);
  return std::nullopt;
}

std::optional<int> FileNameSet::Find(std::string_view name) const {
  auto it = files_.find(FileNameKey(name));
  if (it == files_.end()) return std::nullopt;
  return it->second;
}

}  // namespace installer
