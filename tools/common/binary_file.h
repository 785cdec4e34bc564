#pragma once
// Whole files in and out for the builder tools.
#include <filesystem>

#include "base/bytes.h"

namespace tools {

// Throws base::Error "cannot open PATH" / "cannot read PATH".
base::Bytes ReadBinaryFile(const std::filesystem::path& path);
// Writes through a temporary file beside the target and renames it, so a
// failed write never leaves half a file behind. Throws base::Error.
void WriteBinaryFile(const std::filesystem::path& path, base::ByteView bytes);

}  // namespace tools
