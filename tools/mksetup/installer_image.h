#pragma once
// An installer executable as the builder sees it: a PE file whose RCDATA
// resources carry the payload.
#include <filesystem>

#include "base/bytes.h"
#include "installer/resource_source.h"
#include "tools/pe/resource_tree.h"

namespace mksetup {

// The resources of a PE file; throws base::Error when it is not a valid PE.
pe::ResourceTree ReadResources(const base::Bytes& file);

// Payload resources to put into a stub; absent ones are left as they are.
struct PayloadResources {
  const base::Bytes* setup_ini = nullptr;
  const base::Bytes* setup_pack = nullptr;
  const base::Bytes* protocol = nullptr;
};

// A copy of stub with the payload resources added or replaced; every other
// resource of the stub is kept.
base::Bytes EmbedPayload(const base::Bytes& stub, const PayloadResources& payload);

// The RCDATA resources of a tree, for the installer's own payload code.
class TreeResourceSource final : public installer::ResourceSource {
public:
  explicit TreeResourceSource(const pe::ResourceTree& tree) : tree_(tree) {}
  std::optional<base::ByteView> FindRcData(const std::string& name) const override;

private:
  const pe::ResourceTree& tree_;
};

}  // namespace mksetup
