#include "skin/reader/skin_container.h"

#include <algorithm>
#include <unordered_set>

#include "base/error.h"

namespace skin::reader::container {
namespace {

[[noreturn]] void Damaged(const char* what) {
  throw base::Error(base::FormatText("Skin data damaged: %s", {what}));
}

bool Inside(base::ByteView container, std::uint64_t offset, std::uint64_t size) {
  return offset <= container.size() && size <= container.size() - offset;
}

}  // namespace

std::vector<TEntry> ParseContainer(base::ByteView container) {
  if (container.size() < kHeaderSize) Damaged("header");
  // The header names its own size; the reader needs only its first 24
  // bytes, so a larger header is fine and a smaller one lacks fields.
  if (base::GetU32(container.data() + kHeaderSizeField) < kHeaderSize) Damaged("header size");

  std::vector<TEntry> entries;
  std::unordered_set<std::uint32_t> visited;
  std::uint64_t data_total = 0;
  std::uint32_t record = base::GetU32(container.data() + kHeaderFirstRecordField);
  for (;;) {
    if (!Inside(container, record, kRecordSize)) Damaged("record offset");
    if (!visited.insert(record).second) Damaged("record chain loops");
    const std::uint8_t* r = container.data() + record;
    const std::uint32_t next = base::GetU32(r + kRecordNext);
    if (next == 0) break;  // the chain's last record carries no entry

    TEntry entry;
    const char* name = reinterpret_cast<const char*>(r);
    entry.name.assign(name, std::find(name, name + kNameSize, '\0'));
    entry.kind = r[kRecordKind];
    if (entry.kind <= static_cast<std::uint8_t>(TEntryKind::String)) {
      const std::uint32_t offset = base::GetU32(r + kRecordDataOffset);
      const std::uint32_t size = base::GetU32(r + kRecordDataSize);
      if (!Inside(container, offset, size)) Damaged("entry data offset");
      data_total += size;
      if (data_total > container.size()) Damaged("entries overlap");
      entry.data = container.subspan(offset, size);
    }
    entries.push_back(std::move(entry));
    record = next;
  }
  return entries;
}

std::int32_t IntegerValue(base::ByteView data) {
  std::uint8_t bytes[4] = {0, 0, 0, 0};
  std::copy_n(data.begin(), std::min<std::size_t>(data.size(), 4), bytes);
  return static_cast<std::int32_t>(base::GetU32(bytes));
}

std::uint8_t BooleanValue(base::ByteView data) { return data.empty() ? 0 : data[0]; }

}  // namespace skin::reader::container
