#pragma once
// Where the fields of a skin file's archive layout sit: a ZIP archive whose
// first two bytes are "SK", with one member, no archive comment and no
// extra fields or comments in its central headers. The reader and the
// writer of skin files both stand on these numbers.
#include <cstddef>
#include <cstdint>

namespace skin::reader::archive {

// The first two bytes of a skin file; the rest of the first local header's
// signature is not checked.
inline constexpr std::uint8_t kMagic[2] = {'S', 'K'};

// End of central directory record: exactly the file's last 22 bytes.
inline constexpr std::size_t kEndRecordSize = 22;
inline constexpr std::uint32_t kEndRecordSignature = 0x06054B50;
inline constexpr std::size_t kEndEntriesOnDisk = 8;     // u16
inline constexpr std::size_t kEndEntriesTotal = 10;     // u16
inline constexpr std::size_t kEndDirectorySize = 12;    // u32
inline constexpr std::size_t kEndDirectoryOffset = 16;  // u32
inline constexpr std::size_t kEndCommentLength = 20;    // u16, must be 0

// Central directory header: 46 fixed bytes, then the name; the next header
// follows the name directly.
inline constexpr std::size_t kCentralHeaderSize = 46;
inline constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50;
inline constexpr std::size_t kCentralVersionMadeBy = 4;       // u16
inline constexpr std::size_t kCentralVersionNeeded = 6;       // u16
inline constexpr std::size_t kCentralFlags = 8;               // u16
inline constexpr std::size_t kCentralMethod = 10;             // u16, not consulted
inline constexpr std::size_t kCentralTime = 12;               // u16
inline constexpr std::size_t kCentralDate = 14;               // u16
inline constexpr std::size_t kCentralCrc = 16;                // u32
inline constexpr std::size_t kCentralCompressedSize = 20;     // u32
inline constexpr std::size_t kCentralUncompressedSize = 24;   // u32
inline constexpr std::size_t kCentralNameLength = 28;         // u16
inline constexpr std::size_t kCentralExtraLength = 30;        // u16
inline constexpr std::size_t kCentralCommentLength = 32;      // u16
inline constexpr std::size_t kCentralLocalHeaderOffset = 42;  // u32

// Local header: 30 fixed bytes, then its name and extra field, then data.
inline constexpr std::size_t kLocalHeaderSize = 30;
inline constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;
inline constexpr std::size_t kLocalNameLength = 26;   // u16
inline constexpr std::size_t kLocalExtraLength = 28;  // u16

// General purpose flags.
inline constexpr std::uint16_t kFlagEncrypted = 1u << 0;
// With this flag the password check byte is the high byte of the
// modification time (the CRC is not known when the header is written).
inline constexpr std::uint16_t kFlagDataDescriptor = 1u << 3;

inline constexpr std::uint16_t kMethodDeflate = 8;

// The one member a skin file carries.
inline constexpr char kSkinDataMember[] = "SKINDATA.SK2";

}  // namespace skin::reader::archive
