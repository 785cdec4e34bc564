#pragma once
// Writing a skin file: one member in a ZIP-layout archive, as
// skin/reader/skin_archive_layout.h describes it. The member is raw Deflate
// at the highest level; with a password it is protected by the traditional
// PKWARE encryption.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/bytes.h"

namespace mkskin {

struct ArchiveOptions {
  // Empty: the member is stored unencrypted.
  std::string password;
  // The 11 random bytes of the encryption header come from
  // std::random_device unless a seed is given (for files that must come
  // out byte for byte the same).
  std::optional<std::uint32_t> seed;
};

// Every skin file is dated 1980-01-01 00:00, the earliest DOS date, so
// that equal input gives equal files.
inline constexpr std::uint16_t kDosTime = 0x0000;
inline constexpr std::uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;

// The whole skin file. Throws base::Error when the member does not fit the
// 32-bit sizes of the layout, or when zlib fails.
base::Bytes WriteSkinArchive(std::string_view member_name, base::ByteView content,
                             const ArchiveOptions& options = {});

// Raw Deflate (no zlib header), level 9; what WriteSkinArchive stores.
base::Bytes DeflateRaw(base::ByteView data);

}  // namespace mkskin
