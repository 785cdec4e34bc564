#pragma once
// The file-system seam. Paths are GBK byte strings in Windows form; the
// Windows implementation converts them to UTF-16 and calls the wide API, the
// POSIX one (tools and native tests) passes them through. Tests substitute
// their own implementation to simulate failures.
#include <string>

#include "base/bytes.h"

namespace base {

class FileSystem {
public:
  virtual ~FileSystem() = default;

  virtual bool FileExists(const std::string& path) = 0;
  virtual bool DirectoryExists(const std::string& path) = 0;
  // Creates one folder level; false when it could not be made.
  virtual bool MakeDirectory(const std::string& path) = 0;
  // Removes one folder level, only when it is empty: false when it holds
  // anything, is in use or could not be removed (a missing one too).
  virtual bool RemoveEmptyDirectory(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // Throws "Cannot open file "%s". %s" when the file cannot be opened.
  virtual Bytes ReadWholeFile(const std::string& path) = 0;
  // Creates or truncates the file and writes data; throws
  // "Cannot create file "%s". %s" when it cannot be created.
  virtual void WriteWholeFile(const std::string& path, ByteView data) = 0;
};

// The implementation for the platform being built.
FileSystem& NativeFileSystem();

}  // namespace base
