#include "installer/registry.h"

#include "base/error.h"

namespace installer {
namespace {

[[noreturn]] void ThrowSetDataFailed(const std::string& name) {
  throw base::Error(base::FormatText("Failed to set data for '%s'", {name}));
}

}  // namespace

const char* RootName(RegistryRoot root) {
  return root == RegistryRoot::kCurrentUser ? "HKCU" : "HKLM";
}

std::string RegistryWriter::ResolvePath(const std::string& current_path, const std::string& path) {
  if (!path.empty() && path.front() == '\\') return path.substr(1);
  if (current_path.empty()) return path;
  return path.empty() ? current_path : current_path + "\\" + path;
}

std::string RegistryWriter::Where(const std::string& name) const {
  std::string where = std::string(RootName(root_)) + "\\" + current_path_;
  return name.empty() ? where : where + "\\" + name;
}

void RegistryWriter::SelectRoot(RegistryRoot root) {
  if (root == root_) return;
  root_ = root;
  CloseKey();
}

bool RegistryWriter::OpenKey(const std::string& path) {
  std::unique_ptr<RegistryKey> key;
  if (!path.empty() && path.front() == '\\')
    key = registry_.CreateKey(root_, path.substr(1));
  else if (current_)
    key = current_->CreateKey(path);
  else
    key = registry_.CreateKey(root_, path);
  const std::string resolved = ResolvePath(current_ ? current_path_ : std::string(), path);
  if (!key) {
    LogLine(log_, std::string("FAILED key ") + RootName(root_) + "\\" + resolved +
                      ": it can be neither opened nor created");
    return false;
  }
  current_ = std::move(key);
  current_path_ = resolved;
  LogLine(log_, "Key " + Where(""));
  return true;
}

void RegistryWriter::WriteString(const std::string& name, const std::string& value) {
  if (!current_ || !current_->WriteString(name, value)) {
    LogLine(log_, "FAILED value " + Where(name));
    ThrowSetDataFailed(name);
  }
  LogLine(log_, "Value " + Where(name) + " = \"" + value + "\"");
}

void RegistryWriter::WriteInteger(const std::string& name, std::int32_t value) {
  if (!current_ || !current_->WriteInteger(name, value)) {
    LogLine(log_, "FAILED value " + Where(name));
    ThrowSetDataFailed(name);
  }
  LogLine(log_, "Value " + Where(name) + " = " + std::to_string(value));
}

}  // namespace installer
