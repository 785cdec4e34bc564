#include "installer/resource_source.h"

#include "base/error.h"

namespace installer {

base::ByteView OpenResource(const ResourceSource& source, const std::string& name) {
  std::optional<base::ByteView> bytes = source.FindRcData(name);
  if (!bytes) throw base::Error(base::FormatText("Resource %s not found", {name}));
  return *bytes;
}

std::optional<base::ByteView> MemoryResourceSource::FindRcData(const std::string& name) const {
  auto it = resources_.find(name);
  if (it == resources_.end()) return std::nullopt;
  return base::ByteView(it->second);
}

}  // namespace installer
