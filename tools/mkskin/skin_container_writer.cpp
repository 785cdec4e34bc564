#include "tools/mkskin/skin_container_writer.h"

#include <cstring>
#include <limits>

#include "base/error.h"

namespace mkskin {

namespace container = skin::reader::container;

SkinEntry BitmapEntry(std::string name, base::Bytes bmp_file) {
  return {std::move(name), TEntryKind::Bitmap, std::move(bmp_file)};
}

SkinEntry IntegerEntry(std::string name, std::int32_t value) {
  base::Bytes data(4);
  base::PutU32(data.data(), static_cast<std::uint32_t>(value));
  return {std::move(name), TEntryKind::Integer, std::move(data)};
}

SkinEntry BooleanEntry(std::string name, std::uint8_t value) {
  return {std::move(name), TEntryKind::Boolean, base::Bytes{value}};
}

SkinEntry StringEntry(std::string name, std::string_view value) {
  base::ByteView bytes = base::AsBytes(value);
  return {std::move(name), TEntryKind::String, base::Bytes(bytes.begin(), bytes.end())};
}

namespace {

void CheckName(const std::string& name) {
  if (name.empty()) throw base::Error("an entry needs a name");
  // A reader takes the name up to its first NUL, so a NUL inside would
  // store a different name than the one asked for.
  if (name.find('\0') != std::string::npos)
    throw base::Error("entry name \"" + name.substr(0, name.find('\0')) + "...\" holds a NUL");
  if (name.size() > container::kNameSize)
    throw base::Error("entry name \"" + name + "\" is " + std::to_string(name.size()) +
                      " bytes; a container holds at most " +
                      std::to_string(container::kNameSize));
}

std::uint32_t Offset32(std::uint64_t offset) {
  if (offset > std::numeric_limits<std::uint32_t>::max())
    throw base::Error("the skin data does not fit the 32-bit offsets of a container");
  return static_cast<std::uint32_t>(offset);
}

}  // namespace

base::Bytes WriteContainer(const std::vector<SkinEntry>& entries) {
  for (const SkinEntry& e : entries) CheckName(e.name);

  const std::uint64_t data_start = RecordOffset(entries.size() + 1);
  std::uint64_t total = data_start;
  for (const SkinEntry& e : entries) total += e.data.size();
  Offset32(total);

  base::Bytes out(static_cast<std::size_t>(total), 0);
  std::memcpy(out.data(), kContainerTag, sizeof kContainerTag);
  base::PutU32(&out[container::kHeaderSizeField], container::kHeaderSize);
  base::PutU32(&out[kContainerVersionField], kContainerVersion);
  base::PutU32(&out[container::kHeaderFirstRecordField], Offset32(RecordOffset(0)));

  std::uint64_t data_at = data_start;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const SkinEntry& e = entries[i];
    std::uint8_t* record = &out[RecordOffset(i)];
    std::memcpy(record, e.name.data(), e.name.size());  // the rest stays NUL
    record[container::kRecordKind] = static_cast<std::uint8_t>(e.kind);
    base::PutU32(record + container::kRecordDataOffset, Offset32(data_at));
    base::PutU32(record + container::kRecordDataSize, Offset32(e.data.size()));
    base::PutU32(record + container::kRecordNext, Offset32(RecordOffset(i + 1)));
    if (!e.data.empty()) std::memcpy(&out[static_cast<std::size_t>(data_at)], e.data.data(),
                                     e.data.size());
    data_at += e.data.size();
  }
  // The chain's last record stays all zeros: next offset 0 ends it.
  return out;
}

}  // namespace mkskin
