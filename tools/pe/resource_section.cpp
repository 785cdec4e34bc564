#include "tools/pe/resource_section.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "base/error.h"
#include "tools/pe/pe_format.h"

namespace pe {
namespace {

namespace f = format;

// The largest section a 32-bit process could map, and far beyond any installer's payload.
constexpr std::uint64_t kMaxSectionSize = std::uint64_t{1} << 31;
constexpr std::uint64_t kBlobAlignment = 8;
constexpr std::uint64_t kDataEntryAlignment = 4;

std::uint64_t AlignUp(std::uint64_t value, std::uint64_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

std::uint64_t TableSize(std::size_t entries) {
  return f::kResDirectorySize + std::uint64_t{entries} * f::kResEntrySize;
}

void RequireSize(std::uint64_t size) {
  if (size > kMaxSectionSize) throw base::Error("Resources exceed 2 GiB");
}

struct EntryCounts {
  std::uint16_t named;
  std::uint16_t numbered;
};

// A table counts its named and numbered entries in 16 bits each; a language table holds
// numbers only.
template <typename Map>
EntryCounts CountEntries(const Map& entries) {
  std::size_t named = 0;
  if constexpr (std::is_same_v<typename Map::key_type, ResourceId>) {
    named = std::count_if(entries.begin(), entries.end(),
                          [](const auto& e) { return !e.first.IsNumber(); });
  }
  const std::size_t numbered = entries.size() - named;
  if (named > 0xFFFF || numbered > 0xFFFF) {
    throw base::Error("A resource directory has more than 65535 entries of one kind");
  }
  return {static_cast<std::uint16_t>(named), static_cast<std::uint16_t>(numbered)};
}

template <typename Map>
void PutTableHeader(std::uint8_t* table, const Map& entries) {
  const EntryCounts counts = CountEntries(entries);
  std::memset(table, 0, f::kResDirectorySize);
  base::PutU16(table + f::kResDirNumberOfNamedEntries, counts.named);
  base::PutU16(table + f::kResDirNumberOfIdEntries, counts.numbered);
}

void PutEntry(std::uint8_t* table, std::size_t index, std::uint32_t id, std::uint32_t target) {
  std::uint8_t* entry = table + f::kResDirectorySize + index * f::kResEntrySize;
  base::PutU32(entry, id);
  base::PutU32(entry + 4, target);
}

}  // namespace

ResourceSectionBuilder::ResourceSectionBuilder(const ResourceTree& tree) : tree_(tree) {
  CountEntries(tree.Types());
  std::uint64_t offset = TableSize(tree.Types().size());
  for (const auto& [type, names] : tree.Types()) {
    CountEntries(names);
    name_tables_.push_back(static_cast<std::uint32_t>(offset));
    offset += TableSize(names.size());
    RequireSize(offset);
  }
  for (const auto& [type, names] : tree.Types()) {
    for (const auto& [name, languages] : names) {
      CountEntries(languages);
      language_tables_.push_back(static_cast<std::uint32_t>(offset));
      offset += TableSize(languages.size());
      RequireSize(offset);
    }
  }

  auto add_string = [&](const ResourceId& id) {
    if (id.IsNumber() || strings_.count(id.AsName()) != 0) return;
    if (id.AsName().size() > 0xFFFF) throw base::Error("A resource name exceeds 65535 characters");
    strings_.emplace(id.AsName(), static_cast<std::uint32_t>(offset));
    offset += 2 + 2 * id.AsName().size();
    RequireSize(offset);
  };
  for (const auto& [type, names] : tree.Types()) {
    add_string(type);
    for (const auto& [name, languages] : names) add_string(name);
  }

  strings_end_ = static_cast<std::uint32_t>(offset);
  offset = AlignUp(offset, kDataEntryAlignment);
  data_entries_ = static_cast<std::uint32_t>(offset);
  const std::vector<ResourceTree::Entry> entries = tree.Entries();
  offset += std::uint64_t{entries.size()} * f::kResDataEntrySize;
  RequireSize(offset);
  for (const ResourceTree::Entry& entry : entries) {
    offset = AlignUp(offset, kBlobAlignment);
    blobs_.push_back(static_cast<std::uint32_t>(offset));
    offset += entry.data.bytes.size();
    RequireSize(offset);
  }
  size_ = static_cast<std::uint32_t>(offset);
}

std::uint32_t ResourceSectionBuilder::IdField(const ResourceId& id) const {
  return id.IsNumber() ? id.AsNumber() : f::kResHighBit | strings_.at(id.AsName());
}

void ResourceSectionBuilder::Write(std::uint32_t section_rva, std::span<std::uint8_t> out) const {
  if (out.size() != size_) throw base::Error("Resource section buffer has the wrong size");
  if (std::uint64_t{section_rva} + size_ > 0xFFFFFFFFu) {
    throw base::Error("Resource section would extend past 4 GiB");
  }
  std::uint8_t* base = out.data();

  PutTableHeader(base, tree_.Types());
  std::size_t type_index = 0;
  std::size_t name_index = 0;
  std::size_t resource_index = 0;
  for (const auto& [type, names] : tree_.Types()) {
    PutEntry(base, type_index, IdField(type), f::kResHighBit | name_tables_[type_index]);
    std::uint8_t* name_table = base + name_tables_[type_index++];
    PutTableHeader(name_table, names);
    std::size_t i = 0;
    for (const auto& [name, languages] : names) {
      PutEntry(name_table, i++, IdField(name), f::kResHighBit | language_tables_[name_index]);
      std::uint8_t* language_table = base + language_tables_[name_index++];
      PutTableHeader(language_table, languages);
      std::size_t j = 0;
      for (const auto& language : languages) {
        const std::uint32_t data_entry =
            data_entries_ + static_cast<std::uint32_t>(resource_index++ * f::kResDataEntrySize);
        PutEntry(language_table, j++, language.first, data_entry);
      }
    }
  }

  for (const auto& [name, offset] : strings_) {
    base::PutU16(base + offset, static_cast<std::uint16_t>(name.size()));
    for (std::size_t i = 0; i < name.size(); ++i) base::PutU16(base + offset + 2 + 2 * i, name[i]);
  }
  std::memset(base + strings_end_, 0, data_entries_ - strings_end_);

  std::size_t index = 0;
  std::size_t previous_end = data_entries_ + tree_.Count() * f::kResDataEntrySize;
  for (const ResourceTree::Entry& entry : tree_.Entries()) {
    std::uint8_t* data_entry = base + data_entries_ + index * f::kResDataEntrySize;
    const std::uint32_t blob = blobs_[index++];
    const std::uint32_t size = static_cast<std::uint32_t>(entry.data.bytes.size());
    base::PutU32(data_entry + f::kResDataRva, section_rva + blob);
    base::PutU32(data_entry + f::kResDataSize, size);
    base::PutU32(data_entry + f::kResDataCodePage, entry.data.codepage);
    base::PutU32(data_entry + f::kResDataReserved, 0);
    std::memset(base + previous_end, 0, blob - previous_end);
    if (size != 0) std::memcpy(base + blob, entry.data.bytes.data(), size);
    previous_end = blob + size;
  }
}

}  // namespace pe
