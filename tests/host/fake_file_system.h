#pragma once
// An in-memory file system with Windows-style paths, for tests that need to
// see exactly which files and folders an operation touches, or to make
// creation fail.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/file_system.h"

namespace testing_support {

class FakeFileSystem final : public base::FileSystem {
public:
  std::map<std::string, base::Bytes> files;
  std::set<std::string> folders;
  std::set<std::string> read_only_folders;  // nothing can be created inside
  std::set<std::string> held_folders;       // in use (a process's current folder): never removed
  std::vector<std::string> calls;           // "exists X", "mkdir X", ... in order

  static std::string Parent(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    auto k = path.rfind('\\');
    return k == std::string::npos ? "" : path.substr(0, k + 1);
  }
  static std::string Canonical(std::string path) {
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
  }
  bool Writable(const std::string& path) const {
    std::string parent = Canonical(Parent(path));
    return folders.count(parent) && !read_only_folders.count(parent);
  }

  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  bool DirectoryExists(const std::string& path) override {
    calls.push_back("exists " + path);
    return folders.count(Canonical(path)) != 0;
  }
  bool MakeDirectory(const std::string& path) override {
    calls.push_back("mkdir " + path);
    if (!Writable(path) || folders.count(Canonical(path))) return false;
    folders.insert(Canonical(path));
    return true;
  }
  bool RemoveEmptyDirectory(const std::string& path) override {
    calls.push_back("rmdir " + path);
    const std::string folder = Canonical(path);
    if (!folders.count(folder) || held_folders.count(folder)) return false;
    const std::string inside = folder.back() == '\\' ? folder : folder + "\\";
    auto below = [&](const std::string& other) { return other.starts_with(inside); };
    for (const auto& [file, bytes] : files)
      if (below(file)) return false;
    for (const std::string& other : folders)
      if (below(other)) return false;
    folders.erase(folder);
    return true;
  }
  bool RemoveFile(const std::string& path) override {
    calls.push_back("delete " + path);
    return files.erase(path) != 0;
  }
  base::Bytes ReadWholeFile(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end())
      throw base::Error("Cannot open file \"" + path + "\". The system cannot find the file specified");
    return it->second;
  }
  void WriteWholeFile(const std::string& path, base::ByteView data) override {
    calls.push_back("write " + path);
    if (!Writable(path))
      throw base::Error("Cannot create file \"" + path + "\". Access is denied");
    files[path] = base::Bytes(data.begin(), data.end());
  }
};

}  // namespace testing_support
