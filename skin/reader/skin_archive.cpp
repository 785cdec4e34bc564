#include "skin/reader/skin_archive.h"

#include <algorithm>
#include <optional>

#include "base/error.h"
#include "skin/deflate/inflate.h"
#include "skin/reader/pkware_cipher.h"
#include "skin/reader/skin_archive_layout.h"

namespace skin::reader {
namespace {

using namespace archive;

// The fields of the central header that extraction uses.
struct TCentralEntry {
  std::uint16_t flags = 0;
  std::uint16_t time = 0;
  std::uint32_t crc = 0;
  std::uint32_t uncompressed_size = 0;
  std::uint32_t local_header_offset = 0;
};

// Bounds-checked reads from the file's bytes: a field outside the file is
// a read error, which ends extraction as erFailed.
class TFileBytes {
public:
  explicit TFileBytes(base::ByteView bytes) : bytes_(bytes) {}
  std::size_t Size() const { return bytes_.size(); }
  bool Has(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }
  const std::uint8_t* At(std::size_t offset, std::size_t count) const {
    if (!Has(offset, count)) throw base::Error("Stream read error");
    return bytes_.data() + offset;
  }
  base::ByteView From(std::size_t offset) const { return bytes_.subspan(offset); }

private:
  base::ByteView bytes_;
};

// ZIP names compare in upper case, byte by byte (ASCII letters only, so a
// GBK trail byte is never a letter's other case).
std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

// Walks the central directory from its offset to the end record; the first
// header whose name matches wins. Entry counts are not trusted: the walk is
// bounded by the end record's position, and every header moves it forward.
std::optional<TCentralEntry> FindMember(const TFileBytes& file, std::size_t directory,
                                        std::size_t end_record, const std::string& member) {
  const std::string wanted = UpperAscii(member);
  std::size_t pos = directory;
  while (pos < end_record) {
    const std::uint8_t* h = file.At(pos, kCentralHeaderSize);
    const std::size_t name_length = base::GetU16(h + kCentralNameLength);
    const std::uint8_t* name = file.At(pos + kCentralHeaderSize, name_length);
    // Skin files carry no extra field or comment in their central headers:
    // the next header follows the name.
    pos += kCentralHeaderSize + name_length;
    const std::string_view name_text(reinterpret_cast<const char*>(name), name_length);
    if (UpperAscii(name_text) != wanted) continue;
    TCentralEntry entry;
    entry.flags = base::GetU16(h + kCentralFlags);
    entry.time = base::GetU16(h + kCentralTime);
    entry.crc = base::GetU32(h + kCentralCrc);
    entry.uncompressed_size = base::GetU32(h + kCentralUncompressedSize);
    entry.local_header_offset = base::GetU32(h + kCentralLocalHeaderOffset);
    return entry;
  }
  return std::nullopt;
}

// Decrypts from the member's data to the end of the file (the decoder stops
// at the final block, so what lies beyond the member is decrypted unused).
// None when the check byte says the password is wrong.
std::optional<base::Bytes> Decrypt(const TFileBytes& file, std::size_t data,
                                   const TCentralEntry& entry, const std::string& password) {
  TPkwareKeys keys(password);
  std::uint8_t header[kEncryptionHeaderSize];
  std::copy_n(file.At(data, kEncryptionHeaderSize), kEncryptionHeaderSize, header);
  keys.Decrypt(header, kEncryptionHeaderSize);
  const std::uint8_t check = (entry.flags & kFlagDataDescriptor)
                                 ? static_cast<std::uint8_t>(entry.time >> 8)
                                 : static_cast<std::uint8_t>(entry.crc >> 24);
  if (header[kEncryptionHeaderSize - 1] != check) return std::nullopt;
  const base::ByteView rest = file.From(data + kEncryptionHeaderSize);
  base::Bytes plain(rest.begin(), rest.end());
  keys.Decrypt(plain.data(), plain.size());
  return plain;
}

}  // namespace

TExtractResult ExtractArchiveMember(base::ByteView skin_file, const std::string& member,
                                    const std::string& password, base::Bytes& out,
                                    bool* created_target) {
  out.clear();
  if (created_target) *created_target = false;
  const TFileBytes file(skin_file);
  if (!file.Has(0, 2) || skin_file[0] != kMagic[0] || skin_file[1] != kMagic[1]) return erFailed;
  if (file.Size() < kEndRecordSize) return erFailed;
  const std::size_t end_record = file.Size() - kEndRecordSize;
  const std::uint8_t* end = file.At(end_record, kEndRecordSize);
  if (base::GetU32(end) != kEndRecordSignature || base::GetU16(end + kEndCommentLength) != 0) {
    return erFailed;
  }

  TExtractResult result = erFailed;
  std::optional<TCentralEntry> entry;
  // Whether the decoder produced more than the member's stated size: the
  // output is cut there, but the member is not the size it claims.
  bool too_long = false;
  try {
    entry = FindMember(file, base::GetU32(end + kEndDirectoryOffset), end_record, member);
    if (!entry) return erFailed;
    if (created_target) *created_target = true;

    const std::size_t local = entry->local_header_offset;
    const std::uint8_t* l = file.At(local, kLocalHeaderSize);
    const std::size_t data = local + kLocalHeaderSize + base::GetU16(l + kLocalNameLength) +
                             base::GetU16(l + kLocalExtraLength);
    if (!file.Has(data, 0)) throw base::Error("Stream read error");

    std::optional<base::Bytes> decrypted;
    base::ByteView stream = file.From(data);
    if (entry->flags & kFlagEncrypted) {
      if (password.empty()) {
        result = erRejected;
      } else {
        decrypted = Decrypt(file, data, *entry, password);
        if (!decrypted) result = erRejected;
      }
      if (result == erRejected) return erRejected;
      stream = *decrypted;
    }

    // The method field is not consulted: a skin file's member is always
    // raw Deflate. Output stops one byte past the stated size at most.
    deflate::TInflateFailure why{};
    if (deflate::InflateRaw(stream, entry->uncompressed_size, out, &why) ==
        deflate::TInflateResult::Done) {
      result = erDone;
    }
    too_long = why == deflate::TInflateFailure::OutputTooLong;
  } catch (const base::Error&) {
    result = erFailed;
  } catch (const std::bad_alloc&) {
    result = erFailed;
  }

  // The size check comes last, after a read error too: what was decoded
  // must be the member's stated size, and a member that decodes to nothing
  // is no skin data.
  if (entry) {
    if (out.empty() && result == erDone) {
      result = erFailed;
    } else if (too_long || out.size() != entry->uncompressed_size) {
      result = erRejected;
    }
  }
  return result;
}

TExtractResult ExtractArchiveEntry(const std::string& skin_file, const std::string& member,
                                   const std::string& target_file, const std::string& password,
                                   base::FileSystem& fs) {
  if (!fs.FileExists(skin_file)) return erFailed;
  base::Bytes content;
  TExtractResult result = erFailed;
  bool created = false;
  try {
    const base::Bytes bytes = fs.ReadWholeFile(skin_file);
    result = ExtractArchiveMember(bytes, member, password, content, &created);
  } catch (const base::Error&) {
    return erFailed;
  }
  if (result == erDone) {
    try {
      fs.WriteWholeFile(target_file, content);
    } catch (const base::Error&) {
      // A target that cannot be written is a failed extraction; leave
      // nothing half-written behind.
      if (fs.FileExists(target_file)) fs.RemoveFile(target_file);
      return erFailed;
    }
  } else if (created && fs.FileExists(target_file)) {
    // The target is created (replacing what was there) before the member
    // is decoded, and deleted again when decoding did not succeed.
    fs.RemoveFile(target_file);
  }
  return result;
}

}  // namespace skin::reader
