#include "tools/mksetup/installer_image.h"


#include "base/error.h"
#include "tools/pe/pe_headers.h"
#include "tools/pe/resource_reader.h"
#include "tools/pe/resource_writer.h"

namespace mksetup {

namespace fs = std::filesystem;

pe::ResourceTree ReadResources(const base::Bytes& file) {
  return pe::ReadResourceTree(file, pe::ParseHeaders(file));
}

base::Bytes EmbedPayload(const base::Bytes& stub, const PayloadResources& payload) {
  pe::ResourceTree tree = ReadResources(stub);
  const pe::ResourceId rcdata = pe::ResourceId::Number(pe::kRtRcData);
  auto put = [&](const char* name, const base::Bytes* bytes) {
    if (!bytes) return;
    pe::ResourceId id = pe::ResourceId::Name(name);
    tree.Remove(rcdata, id);  // one language only, so lookups cannot find a stale one
    tree.Set(rcdata, id, pe::kLangNeutral, pe::ResourceData{*bytes, 0});
  };
  put(installer::kSetupIniName, payload.setup_ini);
  put(installer::kSetupPackName, payload.setup_pack);
  put(installer::kProtocolName, payload.protocol);
  return pe::WriteResources(stub, tree);
}

std::optional<base::ByteView> TreeResourceSource::FindRcData(const std::string& name) const {
  const pe::ResourceData* data =
      tree_.Find(pe::ResourceId::Number(pe::kRtRcData), pe::ResourceId::Name(name));
  if (!data) return std::nullopt;
  return base::ByteView(data->bytes);
}

}  // namespace mksetup
