#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/error.h"
#include "base/file_system.h"

namespace base {
namespace {

class PosixFileSystem final : public FileSystem {
public:
  bool FileExists(const std::string& path) override {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
  }
  bool DirectoryExists(const std::string& path) override {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  bool MakeDirectory(const std::string& path) override { return ::mkdir(path.c_str(), 0777) == 0; }
  bool RemoveEmptyDirectory(const std::string& path) override { return ::rmdir(path.c_str()) == 0; }
  bool RemoveFile(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

  Bytes ReadWholeFile(const std::string& path) override {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) throw Error(FormatText("Cannot open file \"%s\". %s", {path, std::strerror(errno)}));
    Bytes data;
    std::uint8_t chunk[1 << 16];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) data.insert(data.end(), chunk, chunk + n);
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) throw Error(FormatText("Cannot read file \"%s\". %s", {path, std::strerror(EIO)}));
    return data;
  }

  void WriteWholeFile(const std::string& path, ByteView data) override {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw Error(FormatText("Cannot create file \"%s\". %s", {path, std::strerror(errno)}));
    bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), f) == data.size();
    int err = errno;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) throw Error(FormatText("Cannot write file \"%s\". %s", {path, std::strerror(err)}));
  }
};

}  // namespace

FileSystem& NativeFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

}  // namespace base
