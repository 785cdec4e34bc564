#include "tools/pe/base_relocations.h"

#include <optional>

#include "base/error.h"
#include "tools/pe/pe_format.h"

namespace pe {

namespace f = format;

std::vector<BaseRelocation> ReadBaseRelocations(base::ByteView file, const PeHeaders& h) {
  std::vector<BaseRelocation> out;
  const DataDirectory d = h.Directory(f::kDirectoryBaseReloc);
  if (d.rva == 0 || d.size == 0) return out;
  const std::optional<std::size_t> offset = h.RvaToFileOffset(d.rva, d.size);
  if (!offset) throw base::Error("PE base relocation table lies outside the sections' data");
  const std::uint8_t* table = file.data() + *offset;
  for (std::size_t block = 0; block < d.size;) {
    if (d.size - block < f::kRelocBlockHeaderSize) {
      throw base::Error("PE base relocation table ends inside a block header");
    }
    const std::uint32_t page = base::GetU32(table + block + f::kRelocBlockPageRva);
    const std::uint32_t block_size = base::GetU32(table + block + f::kRelocBlockSize);
    if (block_size < f::kRelocBlockHeaderSize || block_size > d.size - block) {
      throw base::Error("PE base relocation block has an impossible size");
    }
    const std::size_t block_end = block + block_size;
    for (std::size_t at = block + f::kRelocBlockHeaderSize; at + f::kRelocEntrySize <= block_end;
         at += f::kRelocEntrySize) {
      const std::uint16_t entry = base::GetU16(table + at);
      const unsigned type = entry >> f::kRelocTypeShift;
      if (type == f::kRelBasedAbsolute) continue;
      out.push_back({std::uint64_t{page} + (entry & f::kRelocOffsetMask), type});
      // This type's next entry is its parameter, not a place.
      if (type == f::kRelBasedHighAdj) at += f::kRelocEntrySize;
    }
    block = block_end;
  }
  return out;
}

}  // namespace pe
