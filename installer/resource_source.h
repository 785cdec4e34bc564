#pragma once
// Where the installer's payload comes from: the RCDATA resources of its own
// executable on Windows, plain bytes in tests and tools.
#include <map>
#include <optional>
#include <string>

#include "base/bytes.h"

namespace installer {

inline constexpr const char* kSetupIniName = "SETUPINI";
inline constexpr const char* kSetupPackName = "SETUPPACK";
inline constexpr const char* kProtocolName = "PROTOCOL";

class ResourceSource {
public:
  virtual ~ResourceSource() = default;
  // The bytes of the RCDATA resource of that name, or nothing. The view
  // stays valid as long as the source.
  virtual std::optional<base::ByteView> FindRcData(const std::string& name) const = 0;
};

// The resource's bytes; throws "Resource %s not found" when it is missing.
base::ByteView OpenResource(const ResourceSource& source, const std::string& name);

// Resources held in memory, by name.
class MemoryResourceSource final : public ResourceSource {
public:
  void Set(const std::string& name, base::Bytes bytes) { resources_[name] = std::move(bytes); }
  std::optional<base::ByteView> FindRcData(const std::string& name) const override;

private:
  std::map<std::string, base::Bytes> resources_;
};

}  // namespace installer
