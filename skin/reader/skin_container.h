#pragma once
// The skin data container: the content of a skin file's member, a header
// and a chain of named entries (bitmaps, integers, booleans, strings).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/bytes.h"

namespace skin::reader::container {

// File header: the reader uses its first 24 bytes.
inline constexpr std::size_t kHeaderSize = 24;
inline constexpr std::size_t kHeaderSizeField = 12;        // u32: size of the header
inline constexpr std::size_t kHeaderFirstRecordField = 20;  // u32: offset of the first record
// Bytes 0-11 and 16-19 are not read; writers fill them as they choose.

// Entry record, 77 bytes, packed.
inline constexpr std::size_t kRecordSize = 77;
inline constexpr std::size_t kNameSize = 64;      // 8-bit characters, NUL-ended or full
inline constexpr std::size_t kRecordKind = 64;    // u8
inline constexpr std::size_t kRecordDataOffset = 65;  // u32: absolute offset of the data
inline constexpr std::size_t kRecordDataSize = 69;    // u32: size of the data
inline constexpr std::size_t kRecordNext = 73;        // u32: next record; 0 ends the chain

enum class TEntryKind : std::uint8_t { Bitmap = 0, Integer = 1, Boolean = 2, String = 3 };

struct TEntry {
  std::string name;      // up to the first NUL, at most 64 characters
  std::uint8_t kind = 0;  // as stored; kinds above 3 are skipped by readers
  base::ByteView data;   // a view into the container
};

// The entries in chain order. The record whose next offset is 0 ends the
// chain and carries no entry; records of kinds above 3 are kept here (their
// data unchecked) for readers to skip. Throws base::Error when the header
// is shorter than 24 bytes, when a record or an entry's data lies outside
// the container, when the chain comes back to a record it has passed, or
// when the entries' data together is larger than the container (one stored
// picture named by thousands of records would otherwise be decoded
// thousands of times).
std::vector<TEntry> ParseContainer(base::ByteView container);

// An integer entry's value: 4 bytes, signed, little-endian. Other sizes are
// clamped: missing high bytes are 0, bytes past the fourth are ignored.
std::int32_t IntegerValue(base::ByteView data);
// A boolean entry's value: its first byte (0 for an empty entry).
std::uint8_t BooleanValue(base::ByteView data);

}  // namespace skin::reader::container
