#include "tools/pe/resource_reader.h"

#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "tools/pe/pe_format.h"

namespace pe {
namespace {

namespace f = format;

// Levels of the tree: type, name, language.
constexpr int kLevels = 3;

// Sharing one blob between a few languages is legitimate; much more than that would let a
// small file make us copy gigabytes.
constexpr std::uint64_t kMaxDataPerFileByte = 4;

struct RawEntry {
  ResourceId id;
  std::uint32_t target;  // Offset of a subdirectory or a data entry, flag bit cleared.
};

class DirectoryReader {
public:
  DirectoryReader(base::ByteView file, const PeHeaders& headers, base::ByteView directory)
      : file_(file),
        headers_(headers),
        directory_(directory),
        // Every distinct entry takes 8 bytes of the directory; visiting more means the
        // tables are shared or cyclic.
        entry_budget_(directory.size() / f::kResEntrySize),
        data_budget_(file.size() * kMaxDataPerFileByte) {}

  ResourceTree Read() {
    ResourceTree tree;
    for (const RawEntry& type : ReadTable(0, 1)) {
      for (const RawEntry& name : ReadTable(type.target, 2)) {
        for (const RawEntry& language : ReadTable(name.target, 3)) {
          if (!language.id.IsNumber()) {
            throw Malformed("a language is a name, not a number", type.id, name.id);
          }
          if (tree.Find(type.id, name.id, language.id.AsNumber()) != nullptr) {
            throw Malformed("the same resource appears twice", type.id, name.id);
          }
          tree.Set(type.id, name.id, language.id.AsNumber(),
                   ReadData(language.target, type.id, name.id));
        }
      }
    }
    return tree;
  }

private:
  static base::Error Malformed(std::string_view problem) {
    return base::Error(base::FormatText("PE resource directory is malformed: %s", {problem}));
  }
  static base::Error Malformed(std::string_view problem, const ResourceId& type,
                               const ResourceId& name) {
    return base::Error(base::FormatText("PE resource %s/%s is malformed: %s",
                                        {type.ToString(), name.ToString(), problem}));
  }

  void RequireInside(std::uint64_t offset, std::uint64_t size, std::string_view what) const {
    if (offset > directory_.size() || size > directory_.size() - offset) {
      throw Malformed(base::FormatText("%s lies outside the resource section", {what}));
    }
  }

  std::vector<RawEntry> ReadTable(std::uint32_t offset, int level) {
    RequireInside(offset, f::kResDirectorySize, "a directory table");
    const std::uint8_t* table = directory_.data() + offset;
    const std::uint32_t count =
        std::uint32_t{base::GetU16(table + f::kResDirNumberOfNamedEntries)} +
        base::GetU16(table + f::kResDirNumberOfIdEntries);
    RequireInside(std::uint64_t{offset} + f::kResDirectorySize,
                  std::uint64_t{count} * f::kResEntrySize, "a table's entry list");
    if (count > entry_budget_) throw Malformed("its tables are shared or cyclic");
    entry_budget_ -= count;

    std::vector<RawEntry> entries;
    entries.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint8_t* e = table + f::kResDirectorySize + i * f::kResEntrySize;
      const std::uint32_t name_field = base::GetU32(e);
      const std::uint32_t target_field = base::GetU32(e + 4);
      const bool is_directory = (target_field & f::kResHighBit) != 0;
      if (is_directory != (level < kLevels)) {
        throw Malformed(is_directory ? "it nests deeper than type, name and language"
                                     : "data appears where a directory belongs");
      }
      entries.push_back({ReadId(name_field), target_field & ~f::kResHighBit});
    }
    return entries;
  }

  ResourceId ReadId(std::uint32_t name_field) const {
    if ((name_field & f::kResHighBit) == 0) {
      if (name_field > 0xFFFF) throw Malformed("an entry's number exceeds 65535");
      return ResourceId::Number(static_cast<std::uint16_t>(name_field));
    }
    const std::uint32_t offset = name_field & ~f::kResHighBit;
    RequireInside(offset, 2, "a name");
    const std::uint16_t length = base::GetU16(directory_.data() + offset);
    RequireInside(std::uint64_t{offset} + 2, std::uint64_t{length} * 2, "a name");
    std::u16string name(length, u'\0');
    for (std::size_t i = 0; i < length; ++i) {
      name[i] = static_cast<char16_t>(base::GetU16(directory_.data() + offset + 2 + 2 * i));
    }
    return ResourceId::RawName(std::move(name));
  }

  ResourceData ReadData(std::uint32_t offset, const ResourceId& type, const ResourceId& name) {
    RequireInside(offset, f::kResDataEntrySize, "a data entry");
    const std::uint8_t* entry = directory_.data() + offset;
    const std::uint32_t rva = base::GetU32(entry + f::kResDataRva);
    const std::uint32_t size = base::GetU32(entry + f::kResDataSize);
    const auto file_offset = headers_.RvaToFileOffset(rva, size);
    if (!file_offset) throw Malformed("its data lies outside the image's sections", type, name);
    if (size > data_budget_) throw Malformed("its data entries share data excessively");
    data_budget_ -= size;
    const std::uint8_t* data = file_.data() + *file_offset;
    return {base::Bytes(data, data + size), base::GetU32(entry + f::kResDataCodePage)};
  }

  base::ByteView file_;
  const PeHeaders& headers_;
  base::ByteView directory_;
  std::uint64_t entry_budget_;
  std::uint64_t data_budget_;
};

}  // namespace

ResourceTree ReadResourceTree(base::ByteView file, const PeHeaders& headers) {
  const DataDirectory directory = headers.Directory(f::kDirectoryResource);
  if (directory.rva == 0) return {};
  // The directory's recorded size is not trusted (tools get it wrong); its tables may reach as
  // far as the section's file data does.
  for (const Section& section : headers.sections) {
    if (section.raw_size == 0 || directory.rva < section.virtual_address) continue;
    const std::uint32_t start = directory.rva - section.virtual_address;
    if (start >= section.FileBackedSize()) continue;
    const base::ByteView tables =
        file.subspan(section.raw_offset + start, section.FileBackedSize() - start);
    return DirectoryReader(file, headers, tables).Read();
  }
  throw base::Error("PE resource directory lies outside the image's sections");
}

}  // namespace pe
