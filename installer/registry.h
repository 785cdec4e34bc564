#pragma once
// The registry as the installation writes it. Registry and RegistryKey are
// the seam (the Windows adapter talks to advapi32, tests record); they only
// open keys and store values, and report failures as results.
// RegistryWriter holds the rules on top: which key a path is taken from, and
// which failures are errors. Keeping them here, away from the adapter,
// lets the native tests pin them.
#include <cstdint>
#include <memory>
#include <string>

#include "installer/install_log.h"

namespace installer {

enum class RegistryRoot { kLocalMachine, kCurrentUser };

// An open key; destroying it closes it. Names and texts are GBK.
class RegistryKey {
public:
  virtual ~RegistryKey() = default;
  // Opens the key at path below this one, creating whatever is missing; an
  // empty path opens this key again. nullptr when it can be neither opened
  // nor created.
  virtual std::unique_ptr<RegistryKey> CreateKey(const std::string& path) = 0;
  // Stores a string (REG_SZ) or a 32-bit integer (REG_DWORD); false when
  // the value could not be set.
  virtual bool WriteString(const std::string& name, const std::string& value) = 0;
  virtual bool WriteInteger(const std::string& name, std::int32_t value) = 0;
};

class Registry {
public:
  virtual ~Registry() = default;
  // As RegistryKey::CreateKey, below the root key itself.
  virtual std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, const std::string& path) = 0;
};

// Writes values through one current key at a time, the way the installation
// walks its keys: a path with a leading backslash is taken from the root
// key, one without from the current key when there is one (so an entry can
// name a key below the one before it), else from the root key too.
//
// With a log, every key opened and every value stored (or not) is reported
// with its full path: "HKLM\Software\Vanto\VANTO-X".
class RegistryWriter {
public:
  explicit RegistryWriter(Registry& registry, InstallLog* log = nullptr)
      : registry_(registry), log_(log) {}

  // Later opens start from root. A root other than the one selected before
  // closes the current key, which belongs to the old root.
  void SelectRoot(RegistryRoot root);
  RegistryRoot root() const { return root_; }

  // Opens or creates path and makes it the current key (the one before it
  // is closed). False when it can be neither; the current key then stays.
  bool OpenKey(const std::string& path);
  bool HasCurrentKey() const { return current_ != nullptr; }

  // Store into the current key. Throw base::Error "Failed to set data for
  // '<name>'" when the value cannot be set, and also when no key is open:
  // a key that could not be created thus surfaces at its first value.
  void WriteString(const std::string& name, const std::string& value);
  void WriteInteger(const std::string& name, std::int32_t value);

  void CloseKey() {
    current_.reset();
    current_path_.clear();
  }

  // The current key's path below its root ("Software\Vanto"), as the opens
  // so far composed it; "" when no key is open.
  const std::string& CurrentPath() const { return current_path_; }

  // The path below the root that OpenKey(path) opens when the current key
  // is current_path ("" for none).
  static std::string ResolvePath(const std::string& current_path, const std::string& path);

private:
  std::string Where(const std::string& name) const;

  Registry& registry_;
  InstallLog* log_;
  RegistryRoot root_ = RegistryRoot::kLocalMachine;
  std::unique_ptr<RegistryKey> current_;
  std::string current_path_;
};

// "HKLM" or "HKCU", as logs and messages name the roots.
const char* RootName(RegistryRoot root);

}  // namespace installer
