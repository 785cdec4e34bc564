#pragma once
// The file names of one installation, gathered one by one, to find two that
// cannot both be written: names Windows takes for the same file
// (FileNameKey), or a file where another name needs a folder ("\a" and
// "\a\b.txt"). Either way one entry would overwrite or block the other.
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace installer {

struct FileNameClash {
  enum Kind {
    kSameFile,        // both name one file
    kIsOthersFolder,  // the other lies below the new name, which must be a folder
    kInOthersFile,    // the new name lies below the other, which is a file
  };
  Kind kind;
  int other;  // the earlier entry
};

class FileNameSet {
public:
  // Adds name, a valid file name (FileNameProblem), as entry index, or
  // tells why it clashes with an earlier one; a clashing name is not added.
  std::optional<FileNameClash> Add(std::string_view name, int index);

  // The entry whose name Windows takes for name, if any.
  std::optional<int> Find(std::string_view name) const;

private:
  std::map<std::string, int> files_;    // by FileNameKey
  std::map<std::string, int> folders_;  // every folder above a file, by key: its first entry
};

}  // namespace installer
