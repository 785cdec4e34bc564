#pragma once
// Path helpers of the shell layer that need no Windows API: finding the last
// separator, shortening a path for display, and walking a path folder by
// folder to create it. Paths are GBK byte strings with backslashes.
#include <cstddef>
#include <string>
#include <string_view>

#include "base/file_system.h"

namespace installer {

// 1-based position of the last occurrence of sub in text, 0 when there is
// none. Only character starts count, so a backslash that is the second byte
// of a Chinese character is never found.
std::size_t RPos(std::string_view sub, std::string_view text);

// The path as it is when it has at most limit bytes; otherwise its first
// three bytes (the drive, "D:\"), "...\" and at most 40 bytes of its last
// component. The 40 holds whatever the limit is.
std::string ShortenPath(std::string_view path, std::size_t limit);

// Makes sure every folder along path exists, creating missing ones one level
// at a time from the root down. Stops at the first folder that cannot be
// made; folders created before it stay. An empty path is true.
bool ForceFolders(base::FileSystem& fs, std::string_view path);

// folder with a backslash at its end ("C:\" stays as it is).
std::string IncludeTrailingBackslash(std::string_view folder);

// The path up to and including its last backslash ("" when it has none).
std::string ExtractFilePath(std::string_view path);

// The path after its last backslash.
std::string ExtractFileName(std::string_view path);

}  // namespace installer
