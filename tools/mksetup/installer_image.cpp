#include "tools/mksetup/installer_image.h"

#include <fstream>

#include "base/error.h"
#include "tools/pe/pe_headers.h"
#include "tools/pe/resource_reader.h"
#include "tools/pe/resource_writer.h"

namespace mksetup {

namespace fs = std::filesystem;

base::Bytes ReadBinaryFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw base::Error("cannot open " + path.string());
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  in.seekg(0);
  base::Bytes bytes(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size))
    throw base::Error("cannot read " + path.string());
  return bytes;
}

void WriteBinaryFile(const fs::path& path, base::ByteView bytes) {
  fs::path temp = path;
  temp += ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw base::Error("cannot create " + temp.string());
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      fs::remove(temp, ignored);
      throw base::Error("cannot write " + temp.string());
    }
  }
  fs::rename(temp, path);
}

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
