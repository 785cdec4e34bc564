#include "tools/pe/pe_headers.h"

#include <algorithm>

#include "base/error.h"
#include "tools/pe/pe_format.h"

namespace pe {
namespace {

namespace f = format;

// Windows accepts FileAlignment between 512 and 64K (less only for images whose sections are
// not page aligned); the cap also bounds the padding the writer allocates.
constexpr std::uint32_t kMaxFileAlignment = 0x10000;

bool IsPowerOfTwo(std::uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

// Fails unless [offset, offset + size) lies inside the file; 64-bit so that no input can wrap.
void Require(base::ByteView file, std::uint64_t offset, std::uint64_t size, const char* what) {
  if (offset > file.size() || size > file.size() - offset) {
    throw base::Error(
        base::FormatText("PE file is truncated: %s lies past the end of the file", {what}));
  }
}

Section ReadSection(base::ByteView file, std::size_t offset) {
  const std::uint8_t* p = file.data() + offset;
  Section s;
  for (std::size_t i = 0; i < f::kSectionNameSize && p[i] != 0; ++i) {
    s.name += static_cast<char>(p[i]);
  }
  s.virtual_size = base::GetU32(p + f::kSecVirtualSize);
  s.virtual_address = base::GetU32(p + f::kSecVirtualAddress);
  s.raw_size = base::GetU32(p + f::kSecSizeOfRawData);
  s.raw_offset = base::GetU32(p + f::kSecPointerToRawData);
  s.characteristics = base::GetU32(p + f::kSecCharacteristics);
  return s;
}

void ValidateSection(base::ByteView file, const Section& s) {
  if (s.raw_size != 0 && (s.raw_offset > file.size() || s.raw_size > file.size() - s.raw_offset)) {
    throw base::Error(
        base::FormatText("PE section \"%s\" has raw data past the end of the file", {s.name}));
  }
  if (std::uint64_t{s.virtual_address} + s.MappedSize() > 0xFFFFFFFFu) {
    throw base::Error(base::FormatText("PE section \"%s\" extends past 4 GiB", {s.name}));
  }
}

}  // namespace

std::size_t PeHeaders::SectionTableEnd() const {
  return section_table_offset + sections.size() * f::kSectionHeaderSize;
}

std::size_t PeHeaders::SectionHeaderOffset(std::size_t index) const {
  return section_table_offset + index * f::kSectionHeaderSize;
}

std::size_t PeHeaders::DataDirectoryOffset(std::size_t index) const {
  return data_directories_offset + index * f::kDataDirectorySize;
}

std::size_t PeHeaders::CheckSumOffset() const { return optional_header_offset + f::kOptCheckSum; }

DataDirectory PeHeaders::Directory(std::size_t index) const {
  return index < data_directories.size() ? data_directories[index] : DataDirectory{};
}

// Only the size is looked at: the writer drops any non-empty entry, wherever it points, and the
// builder says so whenever it does.
bool PeHeaders::Signed() const { return Directory(f::kDirectorySecurity).size != 0; }

std::optional<std::size_t> PeHeaders::SectionIndexAt(std::uint32_t rva) const {
  for (std::size_t i = 0; i < sections.size(); ++i) {
    const Section& s = sections[i];
    if (rva >= s.virtual_address && rva - s.virtual_address < s.MappedSize()) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> PeHeaders::RvaToFileOffset(std::uint32_t rva, std::uint32_t size) const {
  for (const Section& s : sections) {
    if (rva < s.virtual_address || s.raw_size == 0) continue;
    std::uint64_t start = rva - s.virtual_address;
    if (start + size <= s.FileBackedSize()) return s.raw_offset + start;
  }
  return std::nullopt;
}

std::size_t PeHeaders::DataEnd(std::size_t file_size) const {
  std::size_t end =
      std::max<std::size_t>(SectionTableEnd(), std::min<std::size_t>(size_of_headers, file_size));
  for (const Section& s : sections) {
    if (s.raw_size != 0) end = std::max<std::size_t>(end, std::size_t{s.raw_offset} + s.raw_size);
  }
  return end;
}

PeHeaders ParseHeaders(base::ByteView file) {
  Require(file, 0, f::kDosHeaderSize, "the DOS header");
  if (base::GetU16(file.data()) != f::kDosMagic) throw base::Error("Not a PE file: no MZ header");
  const std::uint32_t pe_offset = base::GetU32(file.data() + f::kDosPeOffsetField);
  Require(file, pe_offset, f::kPeSignatureSize + f::kCoffHeaderSize, "the PE header");
  if (base::GetU32(file.data() + pe_offset) != f::kPeSignature) {
    throw base::Error("Not a PE file: no PE signature");
  }

  PeHeaders h;
  h.coff_header_offset = pe_offset + f::kPeSignatureSize;
  const std::uint8_t* coff = file.data() + h.coff_header_offset;
  const std::uint16_t section_count = base::GetU16(coff + f::kCoffNumberOfSections);
  const std::uint16_t optional_size = base::GetU16(coff + f::kCoffSizeOfOptionalHeader);
  h.pointer_to_symbol_table = base::GetU32(coff + f::kCoffPointerToSymbolTable);
  h.machine = base::GetU16(coff + f::kCoffMachine);

  h.optional_header_offset = h.coff_header_offset + f::kCoffHeaderSize;
  Require(file, h.optional_header_offset, optional_size, "the optional header");
  const std::uint8_t* opt = file.data() + h.optional_header_offset;
  if (optional_size < 2) throw base::Error("PE optional header is missing");
  const std::uint16_t magic = base::GetU16(opt + f::kOptMagic);
  if (magic != f::kMagicPe32 && magic != f::kMagicPe32Plus) {
    throw base::Error("PE optional header has an unknown magic number");
  }
  h.pe32_plus = magic == f::kMagicPe32Plus;
  const std::size_t count_field =
      h.pe32_plus ? f::kOptNumberOfRvaAndSizesPe32Plus : f::kOptNumberOfRvaAndSizesPe32;
  const std::size_t directories =
      h.pe32_plus ? f::kOptDataDirectoriesPe32Plus : f::kOptDataDirectoriesPe32;
  if (optional_size < directories) throw base::Error("PE optional header is too small");

  h.size_of_initialized_data = base::GetU32(opt + f::kOptSizeOfInitializedData);
  h.image_base = h.pe32_plus ? base::GetU32(opt + f::kOptImageBasePe32Plus) |
                                   std::uint64_t{base::GetU32(opt + f::kOptImageBasePe32Plus + 4)}
                                       << 32
                             : base::GetU32(opt + f::kOptImageBasePe32);
  h.section_alignment = base::GetU32(opt + f::kOptSectionAlignment);
  h.file_alignment = base::GetU32(opt + f::kOptFileAlignment);
  h.size_of_headers = base::GetU32(opt + f::kOptSizeOfHeaders);
  if (!IsPowerOfTwo(h.file_alignment) || h.file_alignment > kMaxFileAlignment ||
      !IsPowerOfTwo(h.section_alignment) || h.section_alignment < h.file_alignment) {
    throw base::Error("PE optional header has invalid section or file alignment");
  }

  // Windows itself looks at no more than 16 directories, whatever the count says.
  const std::uint32_t directory_count =
      std::min<std::uint32_t>(base::GetU32(opt + count_field), f::kMaxDataDirectories);
  if (directories + std::size_t{directory_count} * f::kDataDirectorySize > optional_size) {
    throw base::Error("PE data directories do not fit in the optional header");
  }
  h.data_directories_offset = h.optional_header_offset + directories;
  for (std::uint32_t i = 0; i < directory_count; ++i) {
    const std::uint8_t* d = file.data() + h.DataDirectoryOffset(i);
    h.data_directories.push_back({base::GetU32(d), base::GetU32(d + 4)});
  }

  h.section_table_offset = h.optional_header_offset + optional_size;
  Require(file, h.section_table_offset, std::uint64_t{section_count} * f::kSectionHeaderSize,
          "the section table");
  h.sections.reserve(section_count);
  for (std::size_t i = 0; i < section_count; ++i) {
    h.sections.push_back(ReadSection(file, h.SectionHeaderOffset(i)));
    const Section& s = h.sections.back();
    ValidateSection(file, s);
    // Windows refuses images whose sections overlap or are out of order; for us it would make
    // an RVA mean two places in the file.
    if (i > 0) {
      const Section& previous = h.sections[i - 1];
      if (s.virtual_address < std::uint64_t{previous.virtual_address} + previous.MappedSize()) {
        throw base::Error(base::FormatText(
            "PE section \"%s\" overlaps or precedes the section before it", {s.name}));
      }
    }
  }
  return h;
}

bool IsSigned(base::ByteView file) { return ParseHeaders(file).Signed(); }

std::string FullSectionName(base::ByteView file, const PeHeaders& h, const Section& s) {
  if (s.name.size() < 2 || s.name[0] != '/' || h.pointer_to_symbol_table == 0) return s.name;
  std::uint64_t offset = 0;
  for (std::size_t i = 1; i < s.name.size(); ++i) {
    if (s.name[i] < '0' || s.name[i] > '9') return s.name;
    offset = offset * 10 + static_cast<unsigned>(s.name[i] - '0');
  }
  const std::uint64_t symbols =
      base::GetU32(file.data() + h.coff_header_offset + f::kCoffNumberOfSymbols);
  const std::uint64_t at = h.pointer_to_symbol_table + symbols * f::kCoffSymbolSize + offset;
  if (at >= file.size()) return s.name;
  std::string name;
  for (std::size_t i = static_cast<std::size_t>(at); i < file.size() && file[i] != 0; ++i) {
    name += static_cast<char>(file[i]);
  }
  return name;
}

}  // namespace pe
