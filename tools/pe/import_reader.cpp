#include "tools/pe/import_reader.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "base/error.h"
#include "tools/pe/pe_format.h"
#include "tools/pe/pe_headers.h"

namespace pe {
namespace {

namespace f = format;

// LoadLibrary cannot open a longer name (MAX_PATH), and the cap keeps a table of many
// descriptors sharing one huge string from costing time and memory out of proportion.
constexpr std::size_t kMaxDllName = 260;

// The file bytes from `rva` to the end of the file data of the section that holds it. Headers
// are not looked into: linkers place import tables in sections.
std::optional<base::ByteView> FileDataFrom(base::ByteView file, const PeHeaders& h,
                                           std::uint32_t rva) {
  for (const Section& s : h.sections) {
    if (s.raw_size == 0 || rva < s.virtual_address) continue;
    const std::uint32_t start = rva - s.virtual_address;
    // ParseHeaders made sure that the raw data, and so its file-backed part, is in the file.
    if (start < s.FileBackedSize()) {
      return file.subspan(std::size_t{s.raw_offset} + start, s.FileBackedSize() - start);
    }
  }
  return std::nullopt;
}

// One of the two tables; `what` names it in messages.
struct Table {
  const char* what;
  std::size_t directory;
  std::size_t descriptor_size;
  std::size_t name_field;
};

constexpr Table kImports{"import directory", f::kDirectoryImport, f::kImportDescriptorSize,
                         f::kImportName};
constexpr Table kDelayImports{"delay-load import directory", f::kDirectoryDelayImport,
                              f::kDelayDescriptorSize, f::kDelayDllName};

[[noreturn]] void Malformed(const Table& table, const char* problem) {
  throw base::Error(base::FormatText("PE %s %s", {table.what, problem}));
}

std::string ReadName(base::ByteView file, const PeHeaders& h, const Table& table,
                     std::uint32_t rva) {
  const std::optional<base::ByteView> data = FileDataFrom(file, h, rva);
  if (!data) Malformed(table, "names a DLL outside the image's sections");
  const base::ByteView text = data->first(std::min(data->size(), kMaxDllName + 1));
  const auto nul = std::find(text.begin(), text.end(), std::uint8_t{0});
  if (nul == text.end()) {
    Malformed(table, text.size() > kMaxDllName ? "has a DLL name longer than 260 bytes"
                                               : "has a DLL name that runs past its section");
  }
  if (nul == text.begin()) Malformed(table, "has an empty DLL name");
  return std::string(text.begin(), nul);
}

// Descriptors from the directory's RVA up to the first one without a name, which names no DLL
// and ends the table even when the rest of a proper terminator is not zero. The directory's
// size is not a reliable bound (linkers disagree on whether it counts the terminator, or the
// rest of the section), so the section's data is.
void ReadTable(base::ByteView file, const PeHeaders& h, const Table& table,
               std::vector<ImportedDll>& dlls) {
  const DataDirectory d = h.Directory(table.directory);
  if (d.rva == 0 || d.size == 0) return;
  const std::optional<base::ByteView> data = FileDataFrom(file, h, d.rva);
  if (!data) Malformed(table, "lies outside the image's sections");
  const bool delay = table.directory == f::kDirectoryDelayImport;
  for (std::size_t at = 0;; at += table.descriptor_size) {
    if (data->size() - at < table.descriptor_size) {
      Malformed(table, "has no terminating entry within its section");
    }
    const std::uint8_t* descriptor = data->data() + at;
    std::uint64_t name = base::GetU32(descriptor + table.name_field);
    if (name == 0) return;
    if (delay && !(base::GetU32(descriptor + f::kDelayAttributes) & f::kDelayRvaBased)) {
      // The first delay-load format stores VAs: addresses in the image at its preferred base.
      if (name < h.image_base || name - h.image_base > 0xFFFFFFFFu) {
        Malformed(table, "names a DLL outside the image's sections");
      }
      name -= h.image_base;
    }
    const auto name_rva = static_cast<std::uint32_t>(name);
    dlls.push_back({ReadName(file, h, table, name_rva), delay, name_rva});
  }
}

}  // namespace

ImageImports ReadImports(base::ByteView file) {
  const PeHeaders h = ParseHeaders(file);
  ImageImports imports;
  imports.machine = h.machine;
  ReadTable(file, h, kImports, imports.dlls);
  ReadTable(file, h, kDelayImports, imports.dlls);
  return imports;
}

std::string MachineName(std::uint16_t machine) {
  if (machine == kMachineI386) return "x86";
  if (machine == kMachineAmd64) return "x64";
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%X", unsigned{machine});
  return hex;
}

}  // namespace pe
