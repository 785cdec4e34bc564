#pragma once
// The validated header layout of a PE image: where the headers sit in the file, the values the
// resource reader and writer depend on, and the section table. Parsing only looks at bytes, so
// the writer can use it on a caller's buffer without copying the file.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/bytes.h"

namespace pe {

struct Section {
  std::string name;  // The raw 8-byte field without its NUL padding.
  std::uint32_t virtual_size = 0;
  std::uint32_t virtual_address = 0;
  std::uint32_t raw_size = 0;
  std::uint32_t raw_offset = 0;
  std::uint32_t characteristics = 0;

  // Linkers may leave VirtualSize 0 and let the raw size stand for it.
  std::uint32_t MappedSize() const { return virtual_size != 0 ? virtual_size : raw_size; }
  // The part of the section that the file backs; the rest of it is zero-filled on load.
  std::uint32_t FileBackedSize() const { return raw_size < MappedSize() ? raw_size : MappedSize(); }
};

struct DataDirectory {
  std::uint32_t rva = 0;
  std::uint32_t size = 0;
};

struct PeHeaders {
  bool pe32_plus = false;
  std::uint16_t machine = 0;  // The COFF header's Machine: 0x14C for x86, 0x8664 for x64.
  std::uint64_t image_base = 0;
  std::size_t coff_header_offset = 0;
  std::size_t optional_header_offset = 0;
  std::size_t data_directories_offset = 0;
  std::size_t section_table_offset = 0;
  std::uint32_t section_alignment = 0;
  std::uint32_t file_alignment = 0;
  std::uint32_t size_of_headers = 0;
  std::uint32_t size_of_initialized_data = 0;
  std::uint32_t pointer_to_symbol_table = 0;
  // Only the entries the optional header really has, at most 16.
  std::vector<DataDirectory> data_directories;
  std::vector<Section> sections;

  std::size_t SectionTableEnd() const;
  std::size_t SectionHeaderOffset(std::size_t index) const;
  std::size_t DataDirectoryOffset(std::size_t index) const;
  std::size_t CheckSumOffset() const;
  DataDirectory Directory(std::size_t index) const;
  // Whether the security directory names a certificate table, i.e. the image carries an
  // Authenticode signature. Any change to the image invalidates it.
  bool Signed() const;
  // Index of the section whose address range holds `rva`.
  std::optional<std::size_t> SectionIndexAt(std::uint32_t rva) const;
  // File offset of [rva, rva + size) when one section's file data holds all of it.
  std::optional<std::size_t> RvaToFileOffset(std::uint32_t rva, std::uint32_t size) const;
  // Where the headers and section data end; whatever follows is overlay.
  std::size_t DataEnd(std::size_t file_size) const;
};

// Validates the DOS, COFF and optional headers and the section table; throws base::Error on
// anything malformed.
PeHeaders ParseHeaders(base::ByteView file);

// A section's whole name. Names longer than eight bytes are kept in the COFF string table,
// the field holding "/" and the name's offset there, in images that keep their symbols; when
// that cannot be read the field is returned as it stands.
std::string FullSectionName(base::ByteView file, const PeHeaders& headers, const Section& section);

// ParseHeaders(file).Signed(); throws like ParseHeaders.
bool IsSigned(base::ByteView file);

}  // namespace pe
