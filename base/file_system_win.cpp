#include <windows.h>

#include "base/error.h"
#include "base/file_system.h"
#include "base/text_codec.h"
#include "base/win_error.h"

namespace base {
namespace {

// Owns a Win32 file handle.
class FileHandle {
public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (valid()) CloseHandle(h_);
  }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }
  // Closes now, reporting failure (a delayed write error shows up here).
  bool Close() {
    HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return CloseHandle(h) != 0;
  }

private:
  HANDLE h_;
};

DWORD Attributes(const std::string& path) { return GetFileAttributesW(GbkToWide(path).c_str()); }

class WinFileSystem final : public FileSystem {
public:
  bool FileExists(const std::string& path) override {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool DirectoryExists(const std::string& path) override {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool MakeDirectory(const std::string& path) override {
    return CreateDirectoryW(GbkToWide(path).c_str(), nullptr) != 0;
  }
  // RemoveDirectoryW itself refuses a folder that is not empty.
  bool RemoveEmptyDirectory(const std::string& path) override {
    return RemoveDirectoryW(GbkToWide(path).c_str()) != 0;
  }
  bool RemoveFile(const std::string& path) override {
    return DeleteFileW(GbkToWide(path).c_str()) != 0;
  }

  Bytes ReadWholeFile(const std::string& path) override {
    FileHandle f(CreateFileW(GbkToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.valid())
      throw Error(FormatText("Cannot open file \"%s\". %s", {path, SystemErrorText(GetLastError())}));
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.get(), &size) || size.QuadPart > 0x7FFFFFFF)
      throw Error(FormatText("Cannot read file \"%s\". %s", {path, SystemErrorText(GetLastError())}));
    Bytes data(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < data.size()) {
      DWORD got = 0;
      if (!::ReadFile(f.get(), data.data() + done, static_cast<DWORD>(data.size() - done), &got,
                      nullptr) ||
          got == 0)
        throw Error("Stream read error");
      done += got;
    }
    return data;
  }

  void WriteWholeFile(const std::string& path, ByteView data) override {
    const std::wstring wide = GbkToWide(path);
    FileHandle f(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.valid())
      throw Error(
          FormatText("Cannot create file \"%s\". %s", {path, SystemErrorText(GetLastError())}));
    // A file that could not be written whole (a full disk, a lost network
    // drive) is removed: a truncated program or document is worse than a
    // missing one, since nobody can tell it apart by its name.
    auto fail = [&](DWORD code) {
      if (f.valid()) f.Close();
      DeleteFileW(wide.c_str());
      throw Error(FormatText("Cannot write file \"%s\". %s", {path, SystemErrorText(code)}));
    };
    size_t done = 0;
    while (done < data.size()) {
      DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 24));
      DWORD put = 0;
      if (!::WriteFile(f.get(), data.data() + done, chunk, &put, nullptr))
        fail(GetLastError());
      if (put == 0) fail(ERROR_WRITE_FAULT);
      done += put;
    }
    if (!f.Close()) fail(GetLastError());
  }
};

}  // namespace

FileSystem& NativeFileSystem() {
  static WinFileSystem fs;
  return fs;
}

}  // namespace base
