#pragma once
// Writing a skin data container: named entries in, the bytes of a skin
// file's member out, laid out as skin/reader/skin_container.h describes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "skin/reader/skin_container.h"

namespace mkskin {

using skin::reader::container::TEntryKind;

// One entry as it is stored: the name in the program's 8-bit encoding
// (GBK), the data exactly as it goes into the container.
struct SkinEntry {
  std::string name;
  TEntryKind kind = TEntryKind::Integer;
  base::Bytes data;
};

SkinEntry BitmapEntry(std::string name, base::Bytes bmp_file);
SkinEntry IntegerEntry(std::string name, std::int32_t value);
SkinEntry BooleanEntry(std::string name, std::uint8_t value);
SkinEntry StringEntry(std::string name, std::string_view value);

// What this writer puts into the header bytes the reader leaves free, so
// that a container made here can be told from others.
inline constexpr char kContainerTag[12] = {'V', 'A', 'N', 'T', 'O', ' ',
                                           'S', 'K', 'I', 'N', '\0', '\0'};
inline constexpr std::size_t kContainerVersionField = 16;  // u32
inline constexpr std::uint32_t kContainerVersion = 1;

// The header, then the n + 1 records of the chain back to back (the last
// one, which ends the chain, all zeros), then the entries' data in entry
// order. Throws base::Error for an empty name, a name longer than 64 bytes
// or holding a NUL, and a container that 32-bit offsets cannot address.
base::Bytes WriteContainer(const std::vector<SkinEntry>& entries);

// Where entry number index's record sits in a container of WriteContainer.
constexpr std::size_t RecordOffset(std::size_t index) {
  return skin::reader::container::kHeaderSize + index * skin::reader::container::kRecordSize;
}

}  // namespace mkskin
