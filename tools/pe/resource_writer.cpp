#include "tools/pe/resource_writer.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "base/error.h"
#include "tools/pe/base_relocations.h"
#include "tools/pe/import_reader.h"
#include "tools/pe/pe_checksum.h"
#include "tools/pe/pe_format.h"
#include "tools/pe/pe_headers.h"
#include "tools/pe/resource_section.h"

namespace pe {
namespace {

namespace f = format;

constexpr std::uint64_t kMaxU32 = 0xFFFFFFFFu;
constexpr char kSectionName[f::kSectionNameSize] = ".rsrc";
// Exactly eight characters: a section name needs no terminating NUL.
constexpr char kRetiredSectionName[f::kSectionNameSize + 1] = ".oldrsrc";

std::uint64_t AlignUp(std::uint64_t value, std::uint64_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

// A half-open range of RVAs; 64-bit so that no sum wraps.
struct RvaRange {
  std::uint64_t begin = 0;
  std::uint64_t end = 0;

  bool Overlaps(const RvaRange& other) const { return begin < other.end && other.begin < end; }
};

// What a section occupies once mapped: the loader rounds it up to the section alignment.
RvaRange Extent(const PeHeaders& h, const Section& s) {
  return {s.virtual_address, s.virtual_address + AlignUp(s.MappedSize(), h.section_alignment)};
}

// Indexes of the data directories that reach into `s`. The certificate table is left out: its
// "RVA" is a file offset.
std::vector<std::size_t> DirectoriesInto(const PeHeaders& h, const Section& s) {
  std::vector<std::size_t> found;
  const RvaRange extent = Extent(h, s);
  for (std::size_t i = 0; i < h.data_directories.size(); ++i) {
    const DataDirectory& d = h.data_directories[i];
    if (i == f::kDirectorySecurity || d.rva == 0) continue;
    // An entry with size 0 still names a place.
    const RvaRange range{d.rva, std::uint64_t{d.rva} + std::max<std::uint32_t>(d.size, 1)};
    if (range.Overlaps(extent)) found.push_back(i);
  }
  return found;
}

// Bytes an entry of the base relocation table patches; unknown (machine-specific) types are
// given the widest so that the check below errs towards refusing.
std::uint64_t FixupWidth(unsigned type) {
  switch (type) {
    case f::kRelBasedHigh:
    case f::kRelBasedLow:
    case f::kRelBasedHighAdj:
      return 2;
    case f::kRelBasedHighLow:
      return 4;
    default:
      return 8;
  }
}

// Whether the base relocation table is well-formed and patches nothing in `range`. A fix-up
// there is an absolute address stored in the range: it would be wrong once the range moves,
// and in a rewritten resource section the loader would patch resource data. An image without
// relocations passes.
bool RelocationsSpare(base::ByteView file, const PeHeaders& h, const RvaRange& range) {
  std::vector<BaseRelocation> relocations;
  try {
    relocations = ReadBaseRelocations(file, h);
  } catch (const base::Error&) {
    return false;
  }
  return std::none_of(relocations.begin(), relocations.end(), [&](const BaseRelocation& r) {
    return range.Overlaps({r.rva, r.rva + FixupWidth(r.type)});
  });
}

// Whether no imported DLL's name lies in `range`. Linkers put import tables in their own
// section, but nothing in the format forbids a name inside the resource section, which a
// rewrite in place would overwrite. An image whose import table cannot be read is rewritten
// as before: it has no name to keep.
bool ImportNamesSpare(base::ByteView file, const RvaRange& range) {
  ImageImports imports;
  try {
    imports = ReadImports(file);
  } catch (const base::Error&) {
    return true;
  }
  return std::none_of(imports.dlls.begin(), imports.dlls.end(), [&](const ImportedDll& dll) {
    return range.Overlaps({dll.name_rva, std::uint64_t{dll.name_rva} + dll.name.size() + 1});
  });
}

// A section may follow the resources to a new place only when it is the base relocation table
// and nothing else: its blocks name the pages they fix, not their own place, and only the data
// directory refers to it. Any other directory in it might hold absolute addresses of its own
// place (the debug directory holds file offsets, too), and any other content might be reached
// from code.
bool HoldsOnlyRelocations(const PeHeaders& h, const Section& s) {
  const DataDirectory relocations = h.Directory(f::kDirectoryBaseReloc);
  return s.raw_size != 0 && relocations.rva == s.virtual_address &&
         relocations.size >= s.FileBackedSize() &&
         DirectoriesInto(h, s) == std::vector<std::size_t>{f::kDirectoryBaseReloc};
}

// The index of the resource section when it can be rewritten where it is: it and the sections
// after it are the end of the image, in memory and in the file; it holds nothing but the
// resource directory and its data leaves the headers alone; every section after it can move;
// and no relocation patches any of them.
std::optional<std::size_t> RewritableSection(const PeHeaders& h, base::ByteView file,
                                             std::size_t data_end) {
  const DataDirectory directory = h.Directory(f::kDirectoryResource);
  if (directory.rva == 0) return std::nullopt;
  const std::optional<std::size_t> index = h.SectionIndexAt(directory.rva);
  if (!index) return std::nullopt;
  const Section& s = h.sections[*index];
  if (directory.rva != s.virtual_address || s.raw_size == 0 || s.raw_offset < h.SectionTableEnd() ||
      DirectoriesInto(h, s) != std::vector<std::size_t>{f::kDirectoryResource}) {
    return std::nullopt;
  }
  for (std::size_t i = 0; i < *index; ++i) {
    const Section& other = h.sections[i];
    if (other.raw_size != 0 && std::uint64_t{other.raw_offset} + other.raw_size > s.raw_offset) {
      return std::nullopt;
    }
  }
  std::uint64_t raw_end = std::uint64_t{s.raw_offset} + s.raw_size;
  for (std::size_t i = *index + 1; i < h.sections.size(); ++i) {
    const Section& follower = h.sections[i];
    if (!HoldsOnlyRelocations(h, follower) || follower.raw_offset < raw_end) return std::nullopt;
    raw_end = std::uint64_t{follower.raw_offset} + follower.raw_size;
  }
  if (raw_end != data_end) return std::nullopt;
  const RvaRange tail{s.virtual_address, Extent(h, h.sections.back()).end};
  if (!RelocationsSpare(file, h, tail) || !ImportNamesSpare(file, tail)) return std::nullopt;
  return index;
}

// The overlay's range in the original file.
struct Overlay {
  std::size_t begin = 0;
  std::size_t end = 0;
};

// An Authenticode signature at the end is cut off with the directory entry: it signs the old
// bytes and would only make the new image fail verification.
Overlay FindOverlay(const PeHeaders& h, std::size_t file_size, std::size_t data_end) {
  Overlay overlay{data_end, file_size};
  const DataDirectory certificate = h.Directory(f::kDirectorySecurity);
  if (certificate.size != 0 && certificate.rva >= data_end &&
      std::uint64_t{certificate.rva} + certificate.size == file_size) {
    overlay.end = certificate.rva;
  }
  return overlay;
}

// The new file's section table and the header values that follow from it.
struct Layout {
  bool appended = false;
  std::size_t resource_index = 0;  // In `sections`.
  std::vector<Section> sections;
  // Sections after the resources that move with them; the same index in both tables.
  std::vector<std::size_t> moved;
  // Bytes at the start of the original that are copied as they are.
  std::size_t copied_prefix = 0;
  std::int64_t initialized_data = 0;
  std::uint32_t size_of_headers = 0;
  std::uint64_t overlay_start = 0;

  const Section& Resources() const { return sections[resource_index]; }
};

std::uint32_t CheckedU32(std::uint64_t value, const char* message) {
  if (value > kMaxU32) throw base::Error(message);
  return static_cast<std::uint32_t>(value);
}

// The resource section keeps its place and grows or shrinks there; the relocation section
// after it, if any, moves to just after its new end, in memory and in the file.
Layout RewriteInPlace(const PeHeaders& h, std::size_t index, std::uint32_t section_size) {
  Layout layout;
  layout.resource_index = index;
  layout.sections = h.sections;
  layout.initialized_data = h.size_of_initialized_data;
  layout.size_of_headers = h.size_of_headers;
  Section& resources = layout.sections[index];
  layout.copied_prefix = resources.raw_offset;
  if (resources.characteristics & f::kScnCntInitializedData) {
    layout.initialized_data -= resources.raw_size;
  }
  resources.virtual_size = section_size;
  resources.raw_size =
      CheckedU32(AlignUp(section_size, h.file_alignment), "PE file would exceed 4 GiB");
  if (resources.characteristics & f::kScnCntInitializedData) {
    layout.initialized_data += resources.raw_size;
  }

  std::uint64_t memory_end = std::uint64_t{resources.virtual_address} + resources.MappedSize();
  std::uint64_t file_end = std::uint64_t{resources.raw_offset} + resources.raw_size;
  for (std::size_t i = index + 1; i < layout.sections.size(); ++i) {
    Section& s = layout.sections[i];
    s.virtual_address =
        CheckedU32(AlignUp(memory_end, h.section_alignment), "PE image would exceed 4 GiB");
    s.raw_offset = CheckedU32(AlignUp(file_end, h.file_alignment), "PE file would exceed 4 GiB");
    memory_end = std::uint64_t{s.virtual_address} + s.MappedSize();
    file_end = std::uint64_t{s.raw_offset} + s.raw_size;
    layout.moved.push_back(i);
  }
  layout.overlay_start = file_end;
  return layout;
}

// A new section after the last one, in memory and in the file. Its header goes right after the
// section table, which needs 40 unused bytes before the first section's data.
Layout Append(const PeHeaders& h, base::ByteView file, std::size_t data_end,
              std::uint32_t section_size) {
  const std::size_t table_end = h.SectionTableEnd();
  const std::size_t new_table_end = table_end + f::kSectionHeaderSize;
  std::uint64_t first_raw = data_end;
  std::uint64_t first_rva = kMaxU32;
  std::uint64_t image_end = 0;
  for (const Section& s : h.sections) {
    if (s.raw_size != 0) first_raw = std::min<std::uint64_t>(first_raw, s.raw_offset);
    first_rva = std::min<std::uint64_t>(first_rva, s.virtual_address);
    image_end =
        std::max<std::uint64_t>(image_end, std::uint64_t{s.virtual_address} + s.MappedSize());
  }
  const std::uint64_t size_of_headers =
      std::max<std::uint64_t>(h.size_of_headers, AlignUp(new_table_end, h.file_alignment));
  const bool unused = new_table_end <= first_raw &&
                      std::all_of(file.begin() + table_end, file.begin() + new_table_end,
                                  [](std::uint8_t b) { return b == 0; });
  if (h.sections.size() >= 0xFFFF || !unused || size_of_headers > first_raw ||
      size_of_headers > first_rva) {
    throw base::Error(
        "PE file has no room for another section header, and its resource section cannot be "
        "rewritten where it is");
  }

  Layout layout;
  layout.appended = true;
  layout.sections = h.sections;
  layout.resource_index = h.sections.size();
  layout.copied_prefix = data_end;
  layout.initialized_data = h.size_of_initialized_data;
  layout.size_of_headers = static_cast<std::uint32_t>(size_of_headers);
  const std::uint64_t rva =
      AlignUp(std::max<std::uint64_t>(image_end, size_of_headers), h.section_alignment);
  const std::uint64_t raw_offset = AlignUp(data_end, h.file_alignment);
  const std::uint64_t raw_size = AlignUp(section_size, h.file_alignment);
  if (rva > kMaxU32 || raw_offset > kMaxU32) throw base::Error("PE image is too large");
  layout.overlay_start = raw_offset + raw_size;
  if (layout.overlay_start > kMaxU32) throw base::Error("PE file would exceed 4 GiB");
  layout.sections.push_back({kSectionName, section_size, static_cast<std::uint32_t>(rva),
                             static_cast<std::uint32_t>(raw_size),
                             static_cast<std::uint32_t>(raw_offset),
                             f::kScnCntInitializedData | f::kScnMemRead});
  layout.initialized_data += raw_size;
  return layout;
}

void PutSectionHeader(std::uint8_t* header, const Section& s) {
  std::memset(header, 0, f::kSectionHeaderSize);
  std::memcpy(header, kSectionName, f::kSectionNameSize);
  base::PutU32(header + f::kSecVirtualSize, s.virtual_size);
  base::PutU32(header + f::kSecVirtualAddress, s.virtual_address);
  base::PutU32(header + f::kSecSizeOfRawData, s.raw_size);
  base::PutU32(header + f::kSecPointerToRawData, s.raw_offset);
  base::PutU32(header + f::kSecCharacteristics, s.characteristics);
}

std::uint32_t SizeOfImage(const std::vector<Section>& sections, std::uint32_t alignment) {
  std::uint64_t end = 0;
  for (const Section& s : sections) {
    end = std::max<std::uint64_t>(
        end, AlignUp(std::uint64_t{s.virtual_address} + s.MappedSize(), alignment));
  }
  return CheckedU32(end, "PE image would exceed 4 GiB");
}

std::uint32_t ClampToU32(std::int64_t value) {
  return static_cast<std::uint32_t>(std::clamp<std::int64_t>(value, 0, kMaxU32));
}

void PatchHeaders(base::Bytes& out, const PeHeaders& h, const Layout& layout,
                  const Overlay& overlay) {
  std::uint8_t* coff = out.data() + h.coff_header_offset;
  std::uint8_t* optional = out.data() + h.optional_header_offset;
  const Section& resources = layout.Resources();
  if (layout.appended) {
    // The old resource section stays mapped but unused. Renaming it leaves one ".rsrc" in the
    // file: tools that find resources by section name rather than by the data directory (Wine's
    // UpdateResource does) would otherwise read the stale one and lose the new resources.
    for (std::size_t i = 0; i < h.sections.size(); ++i) {
      if (h.sections[i].name != kSectionName) continue;
      std::memcpy(out.data() + h.SectionHeaderOffset(i), kRetiredSectionName, f::kSectionNameSize);
    }
    PutSectionHeader(out.data() + h.SectionTableEnd(), resources);
    base::PutU16(coff + f::kCoffNumberOfSections,
                 static_cast<std::uint16_t>(layout.sections.size()));
    base::PutU32(optional + f::kOptSizeOfHeaders, layout.size_of_headers);
  } else {
    std::uint8_t* header = out.data() + h.SectionHeaderOffset(layout.resource_index);
    base::PutU32(header + f::kSecVirtualSize, resources.virtual_size);
    base::PutU32(header + f::kSecSizeOfRawData, resources.raw_size);
  }
  for (std::size_t i : layout.moved) {
    const Section& before = h.sections[i];
    const Section& after = layout.sections[i];
    std::uint8_t* header = out.data() + h.SectionHeaderOffset(i);
    base::PutU32(header + f::kSecVirtualAddress, after.virtual_address);
    base::PutU32(header + f::kSecPointerToRawData, after.raw_offset);
    // Only the base relocation entry can point here (HoldsOnlyRelocations), and it keeps its
    // place within the section.
    for (std::size_t d : DirectoriesInto(h, before)) {
      const std::uint32_t rva = h.data_directories[d].rva;
      base::PutU32(out.data() + h.DataDirectoryOffset(d),
                   rva - before.virtual_address + after.virtual_address);
    }
  }
  base::PutU32(optional + f::kOptSizeOfImage, SizeOfImage(layout.sections, h.section_alignment));
  base::PutU32(optional + f::kOptSizeOfInitializedData, ClampToU32(layout.initialized_data));

  std::uint8_t* directory = out.data() + h.DataDirectoryOffset(f::kDirectoryResource);
  base::PutU32(directory, resources.virtual_address);
  base::PutU32(directory + 4, resources.virtual_size);
  if (h.data_directories.size() > f::kDirectorySecurity) {
    std::memset(out.data() + h.DataDirectoryOffset(f::kDirectorySecurity), 0,
                f::kDataDirectorySize);
  }

  const std::uint32_t symbols = h.pointer_to_symbol_table;
  if (symbols >= overlay.begin && symbols < overlay.end) {
    base::PutU32(coff + f::kCoffPointerToSymbolTable,
                 static_cast<std::uint32_t>(symbols - overlay.begin + layout.overlay_start));
  }

  base::PutU32(out.data() + h.CheckSumOffset(), ComputeChecksum(out, h.CheckSumOffset()));
}

}  // namespace

base::Bytes WriteResources(base::ByteView original_pe, const ResourceTree& tree) {
  const PeHeaders h = ParseHeaders(original_pe);
  if (h.data_directories.size() <= f::kDirectoryResource) {
    throw base::Error("PE optional header has no resource directory entry");
  }
  const std::size_t data_end = h.DataEnd(original_pe.size());
  const ResourceSectionBuilder builder(tree);
  const std::optional<std::size_t> rewritable = RewritableSection(h, original_pe, data_end);
  const Layout layout = rewritable ? RewriteInPlace(h, *rewritable, builder.Size())
                                   : Append(h, original_pe, data_end, builder.Size());
  const Overlay overlay = FindOverlay(h, original_pe.size(), data_end);

  const std::uint64_t file_size = layout.overlay_start + (overlay.end - overlay.begin);
  if (file_size > kMaxU32) throw base::Error("PE file would exceed 4 GiB");
  // One allocation and one copy of everything: payloads run to hundreds of megabytes.
  base::Bytes out(static_cast<std::size_t>(file_size));
  std::memcpy(out.data(), original_pe.data(), layout.copied_prefix);
  const Section& resources = layout.Resources();
  builder.Write(resources.virtual_address,
                std::span(out).subspan(resources.raw_offset, builder.Size()));
  for (std::size_t i : layout.moved) {
    std::memcpy(out.data() + layout.sections[i].raw_offset,
                original_pe.data() + h.sections[i].raw_offset, h.sections[i].raw_size);
  }
  std::memcpy(out.data() + layout.overlay_start, original_pe.data() + overlay.begin,
              overlay.end - overlay.begin);
  PatchHeaders(out, h, layout, overlay);
  return out;
}

}  // namespace pe
