#pragma once
// RCDATA resources of a loaded module: the running executable by default,
// or another file loaded as data (tools and tests read built installers so).
#include "installer/resource_source.h"

struct HINSTANCE__;

namespace installer {

class ModuleResourceSource final : public ResourceSource {
public:
  // nullptr: the running executable.
  explicit ModuleResourceSource(HINSTANCE__* module = nullptr);
  std::optional<base::ByteView> FindRcData(const std::string& name) const override;

private:
  HINSTANCE__* module_;
};

}  // namespace installer
