#include "tools/mkskin/skin_archive_writer.h"

#include <zlib.h>

#include <cstring>
#include <limits>
#include <random>

#include "base/error.h"
#include "skin/reader/pkware_cipher.h"
#include "skin/reader/skin_archive_layout.h"

namespace mkskin {

namespace archive = skin::reader::archive;

namespace {

// 2.0: the version that brought Deflate and the traditional encryption.
// The high byte 0 says MS-DOS attributes, so the external attributes are 0.
constexpr std::uint16_t kVersion = 20;
// Bits 1-2 of the flags tell the Deflate level; 01 is "maximum".
constexpr std::uint16_t kFlagMaximumCompression = 1u << 1;

// The local header's fields the reader takes from the central header
// instead (skin_archive_layout.h names only the ones it reads).
constexpr std::size_t kLocalVersionNeeded = 4;      // u16
constexpr std::size_t kLocalFlags = 6;              // u16
constexpr std::size_t kLocalMethod = 8;             // u16
constexpr std::size_t kLocalTime = 10;              // u16
constexpr std::size_t kLocalDate = 12;              // u16
constexpr std::size_t kLocalCrc = 14;               // u32
constexpr std::size_t kLocalCompressedSize = 18;    // u32
constexpr std::size_t kLocalUncompressedSize = 22;  // u32

base::Bytes EncryptionHeader(const ArchiveOptions& options, std::uint32_t crc) {
  base::Bytes header(skin::reader::kEncryptionHeaderSize);
  auto fill = [&](auto& source) {
    for (std::size_t i = 0; i + 1 < header.size(); ++i)
      header[i] = static_cast<std::uint8_t>(source());
  };
  if (options.seed) {
    std::mt19937 seeded(*options.seed);
    fill(seeded);
  } else {
    std::random_device device;
    fill(device);
  }
  // Without a data descriptor the reader checks the password against the
  // CRC's high byte.
  header.back() = static_cast<std::uint8_t>(crc >> 24);
  return header;
}

std::uint32_t Size32(std::size_t size, const char* what) {
  if (size > std::numeric_limits<std::uint32_t>::max())
    throw base::Error(std::string(what) + " is too large for a skin file");
  return static_cast<std::uint32_t>(size);
}

}  // namespace

base::Bytes DeflateRaw(base::ByteView data) {
  z_stream z{};
  if (deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
    throw base::Error("zlib cannot start a Deflate stream");
  base::Bytes out(deflateBound(&z, static_cast<uLong>(data.size())));
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  // deflateBound leaves room for the worst case, so one call finishes.
  const int status = deflate(&z, Z_FINISH);
  const std::size_t written = z.total_out;
  deflateEnd(&z);
  if (status != Z_STREAM_END) throw base::Error("zlib failed to deflate the skin data");
  out.resize(written);
  return out;
}

base::Bytes WriteSkinArchive(std::string_view member_name, base::ByteView content,
                             const ArchiveOptions& options) {
  const std::uint32_t crc = skin::reader::Crc32(content.data(), content.size());
  const std::uint32_t size = Size32(content.size(), "the skin data");
  base::Bytes data = DeflateRaw(content);
  std::uint16_t flags = kFlagMaximumCompression;
  if (!options.password.empty()) {
    flags |= archive::kFlagEncrypted;
    base::Bytes header = EncryptionHeader(options, crc);
    data.insert(data.begin(), header.begin(), header.end());
    skin::reader::TPkwareKeys keys(options.password);
    keys.Encrypt(data.data(), data.size());
  }
  const std::uint32_t stored = Size32(data.size(), "the packed skin data");
  if (member_name.empty() || member_name.size() > std::numeric_limits<std::uint16_t>::max())
    throw base::Error("a member name is 1 to 65535 bytes");
  const auto name_length = static_cast<std::uint16_t>(member_name.size());

  const std::size_t local_size = archive::kLocalHeaderSize + member_name.size();
  const std::size_t central_at = local_size + data.size();
  const std::size_t central_size = archive::kCentralHeaderSize + member_name.size();
  const std::size_t end_at = central_at + central_size;
  Size32(end_at, "the skin file");
  base::Bytes out(end_at + archive::kEndRecordSize, 0);

  std::uint8_t* local = out.data();
  base::PutU32(local, archive::kLocalHeaderSignature);
  base::PutU16(local + kLocalVersionNeeded, kVersion);
  base::PutU16(local + kLocalFlags, flags);
  base::PutU16(local + kLocalMethod, archive::kMethodDeflate);
  base::PutU16(local + kLocalTime, kDosTime);
  base::PutU16(local + kLocalDate, kDosDate);
  base::PutU32(local + kLocalCrc, crc);
  base::PutU32(local + kLocalCompressedSize, stored);
  base::PutU32(local + kLocalUncompressedSize, size);
  base::PutU16(local + archive::kLocalNameLength, name_length);
  base::PutU16(local + archive::kLocalExtraLength, 0);
  std::memcpy(local + archive::kLocalHeaderSize, member_name.data(), member_name.size());
  std::memcpy(out.data() + local_size, data.data(), data.size());

  std::uint8_t* central = out.data() + central_at;
  base::PutU32(central, archive::kCentralHeaderSignature);
  base::PutU16(central + archive::kCentralVersionMadeBy, kVersion);
  base::PutU16(central + archive::kCentralVersionNeeded, kVersion);
  base::PutU16(central + archive::kCentralFlags, flags);
  base::PutU16(central + archive::kCentralMethod, archive::kMethodDeflate);
  base::PutU16(central + archive::kCentralTime, kDosTime);
  base::PutU16(central + archive::kCentralDate, kDosDate);
  base::PutU32(central + archive::kCentralCrc, crc);
  base::PutU32(central + archive::kCentralCompressedSize, stored);
  base::PutU32(central + archive::kCentralUncompressedSize, size);
  base::PutU16(central + archive::kCentralNameLength, name_length);
  // Extra field, comment, disk number and attributes stay 0: the reader
  // expects the next header right behind the name.
  base::PutU32(central + archive::kCentralLocalHeaderOffset, 0);
  std::memcpy(central + archive::kCentralHeaderSize, member_name.data(), member_name.size());

  std::uint8_t* end = out.data() + end_at;
  base::PutU32(end, archive::kEndRecordSignature);
  base::PutU16(end + archive::kEndEntriesOnDisk, 1);
  base::PutU16(end + archive::kEndEntriesTotal, 1);
  base::PutU32(end + archive::kEndDirectorySize, static_cast<std::uint32_t>(central_size));
  base::PutU32(end + archive::kEndDirectoryOffset, static_cast<std::uint32_t>(central_at));
  base::PutU16(end + archive::kEndCommentLength, 0);

  out[0] = archive::kMagic[0];
  out[1] = archive::kMagic[1];
  return out;
}

}  // namespace mkskin
