#include "tools/common/binary_file.h"

#include <fstream>

#include "base/error.h"

namespace tools {

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

}  // namespace tools
