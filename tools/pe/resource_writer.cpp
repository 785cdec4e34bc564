#include "tools/pe/resource_writer.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "base/error.h"
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

// Where the resource section goes and what of the original precedes it.
struct Placement {
  std::uint32_t rva = 0;
  std::uint32_t raw_offset = 0;
  std::size_t copied_prefix = 0;
  std::uint32_t size_of_headers = 0;
};

// The overlay's range in the original file.
struct Overlay {
  std::size_t begin = 0;
  std::size_t end = 0;
};

bool OtherDirectoryPointsInto(const PeHeaders& h, const Section& s) {
  const std::uint64_t extent = AlignUp(s.MappedSize(), h.section_alignment);
  for (std::size_t i = 0; i < h.data_directories.size(); ++i) {
    if (i == f::kDirectoryResource || i == f::kDirectorySecurity) continue;
    const std::uint32_t rva = h.data_directories[i].rva;
    if (rva != 0 && rva >= s.virtual_address && rva - s.virtual_address < extent) return true;
  }
  return false;
}

// The resource section can grow in place only when nothing follows it, in memory or in the
// file, it holds nothing but the resource directory, and its data leaves the headers alone.
std::optional<std::size_t> RewritableSection(const PeHeaders& h, std::size_t data_end) {
  const DataDirectory directory = h.Directory(f::kDirectoryResource);
  if (directory.rva == 0 || h.sections.empty()) return std::nullopt;
  const std::size_t last = h.sections.size() - 1;
  const Section& s = h.sections[last];
  if (directory.rva != s.virtual_address || s.raw_size == 0 || s.raw_offset < h.SectionTableEnd() ||
      std::size_t{s.raw_offset} + s.raw_size != data_end || OtherDirectoryPointsInto(h, s)) {
    return std::nullopt;
  }
  for (std::size_t i = 0; i < last; ++i) {
    const Section& other = h.sections[i];
    if (other.virtual_address >= s.virtual_address) return std::nullopt;
    if (other.raw_size != 0 && std::uint64_t{other.raw_offset} + other.raw_size > s.raw_offset) {
      return std::nullopt;
    }
  }
  return last;
}

Placement RewriteInPlace(const PeHeaders& h, std::size_t index) {
  const Section& s = h.sections[index];
  return {s.virtual_address, s.raw_offset, s.raw_offset, h.size_of_headers};
}

// A new section after the last one, in memory and in the file. Its header goes right after the
// section table, which needs 40 unused bytes before the first section's data.
Placement Append(const PeHeaders& h, base::ByteView file, std::size_t data_end) {
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
        "PE file has no room for another section header, and its resource section is not the "
        "last section");
  }

  Placement p;
  const std::uint64_t rva =
      AlignUp(std::max<std::uint64_t>(image_end, size_of_headers), h.section_alignment);
  const std::uint64_t raw_offset = AlignUp(data_end, h.file_alignment);
  if (rva > kMaxU32 || raw_offset > kMaxU32) throw base::Error("PE image is too large");
  p.rva = static_cast<std::uint32_t>(rva);
  p.raw_offset = static_cast<std::uint32_t>(raw_offset);
  p.copied_prefix = data_end;
  p.size_of_headers = static_cast<std::uint32_t>(size_of_headers);
  return p;
}

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
  if (end > kMaxU32) throw base::Error("PE image would exceed 4 GiB");
  return static_cast<std::uint32_t>(end);
}

std::uint32_t ClampToU32(std::int64_t value) {
  return static_cast<std::uint32_t>(std::clamp<std::int64_t>(value, 0, kMaxU32));
}

// The new file's section table and the header values that follow from it.
struct Layout {
  std::optional<std::size_t> reused;  // Index of the section rewritten in place.
  Section resources;
  std::vector<Section> sections;
  std::int64_t initialized_data = 0;
  std::uint32_t size_of_headers = 0;
  std::uint64_t overlay_start = 0;
};

Layout LayOut(const PeHeaders& h, std::optional<std::size_t> reused, const Placement& place,
              std::uint32_t section_size) {
  Layout layout;
  layout.reused = reused;
  const std::uint64_t raw_size = AlignUp(section_size, h.file_alignment);
  layout.overlay_start = place.raw_offset + raw_size;
  if (layout.overlay_start > kMaxU32) throw base::Error("PE file would exceed 4 GiB");
  layout.resources = {kSectionName,     section_size,
                      place.rva,        static_cast<std::uint32_t>(raw_size),
                      place.raw_offset, f::kScnCntInitializedData | f::kScnMemRead};
  layout.sections = h.sections;
  layout.initialized_data = h.size_of_initialized_data;
  layout.size_of_headers = place.size_of_headers;
  if (reused) {
    Section& old = layout.sections[*reused];
    layout.resources.name = old.name;
    layout.resources.characteristics = old.characteristics;
    if (old.characteristics & f::kScnCntInitializedData) layout.initialized_data -= old.raw_size;
    old = layout.resources;
  } else {
    layout.sections.push_back(layout.resources);
  }
  if (layout.resources.characteristics & f::kScnCntInitializedData) {
    layout.initialized_data += raw_size;
  }
  return layout;
}

void PatchHeaders(base::Bytes& out, const PeHeaders& h, const Layout& layout,
                  const Overlay& overlay) {
  std::uint8_t* coff = out.data() + h.coff_header_offset;
  std::uint8_t* optional = out.data() + h.optional_header_offset;
  if (layout.reused) {
    std::uint8_t* header = out.data() + h.SectionHeaderOffset(*layout.reused);
    base::PutU32(header + f::kSecVirtualSize, layout.resources.virtual_size);
    base::PutU32(header + f::kSecSizeOfRawData, layout.resources.raw_size);
  } else {
    // The old resource section stays mapped but unused. Renaming it leaves one ".rsrc" in the
    // file: tools that find resources by section name rather than by the data directory (Wine's
    // UpdateResource does) would otherwise read the stale one and lose the new resources.
    for (std::size_t i = 0; i < h.sections.size(); ++i) {
      if (h.sections[i].name != kSectionName) continue;
      std::memcpy(out.data() + h.SectionHeaderOffset(i), kRetiredSectionName, f::kSectionNameSize);
    }
    PutSectionHeader(out.data() + h.SectionTableEnd(), layout.resources);
    base::PutU16(coff + f::kCoffNumberOfSections,
                 static_cast<std::uint16_t>(layout.sections.size()));
    base::PutU32(optional + f::kOptSizeOfHeaders, layout.size_of_headers);
  }
  base::PutU32(optional + f::kOptSizeOfImage, SizeOfImage(layout.sections, h.section_alignment));
  base::PutU32(optional + f::kOptSizeOfInitializedData, ClampToU32(layout.initialized_data));

  std::uint8_t* directory = out.data() + h.DataDirectoryOffset(f::kDirectoryResource);
  base::PutU32(directory, layout.resources.virtual_address);
  base::PutU32(directory + 4, layout.resources.virtual_size);
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
  const std::optional<std::size_t> reused = RewritableSection(h, data_end);
  const Placement place = reused ? RewriteInPlace(h, *reused) : Append(h, original_pe, data_end);
  const Overlay overlay = FindOverlay(h, original_pe.size(), data_end);
  const Layout layout = LayOut(h, reused, place, builder.Size());

  const std::uint64_t file_size = layout.overlay_start + (overlay.end - overlay.begin);
  if (file_size > kMaxU32) throw base::Error("PE file would exceed 4 GiB");
  // One allocation and one copy of everything: payloads run to hundreds of megabytes.
  base::Bytes out(static_cast<std::size_t>(file_size));
  std::memcpy(out.data(), original_pe.data(), place.copied_prefix);
  builder.Write(place.rva, std::span(out).subspan(place.raw_offset, builder.Size()));
  std::memcpy(out.data() + layout.overlay_start, original_pe.data() + overlay.begin,
              overlay.end - overlay.begin);
  PatchHeaders(out, h, layout, overlay);
  return out;
}

}  // namespace pe
