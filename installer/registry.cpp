#include "installer/registry.h"

#include "base/error.h"

namespace installer {
namespace {

[[noreturn]] void ThrowSetDataFailed(const std::string& name) {
  throw base::Error(base::FormatText("Failed to set data for '%s'", {name}));
}

}  // namespace

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
  if (!key) return false;
  current_ = std::move(key);
  return true;
}

void RegistryWriter::WriteString(const std::string& name, const std::string& value) {
  if (!current_ || !current_->WriteString(name, value)) ThrowSetDataFailed(name);
}

void RegistryWriter::WriteInteger(const std::string& name, std::int32_t value) {
  if (!current_ || !current_->WriteInteger(name, value)) ThrowSetDataFailed(name);
}

}  // namespace installer
