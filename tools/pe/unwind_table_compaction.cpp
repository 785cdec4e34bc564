#include "tools/pe/unwind_table_compaction.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "base/error.h"
#include "tools/pe/base_relocations.h"
#include "tools/pe/call_frame_instructions.h"
#include "tools/pe/call_frame_table.h"
#include "tools/pe/pe_checksum.h"
#include "tools/pe/pe_format.h"
#include "tools/pe/pe_headers.h"

namespace pe {
namespace {

namespace f = format;
using eh::CallFrameTable;

constexpr unsigned kPointerSize = 4;  // PE32 only: see the header.

std::uint64_t AlignUp(std::uint64_t value, std::uint64_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

[[noreturn]] void Refuse(const std::string& why) {
  throw base::Error("Unwind tables not compacted: " + why);
}

// A stripped image has the name cut to eight bytes; one that keeps its symbols has it whole in
// the string table.
std::optional<std::size_t> FindTableSection(base::ByteView file, const PeHeaders& h) {
  for (std::size_t i = 0; i < h.sections.size(); ++i) {
    const std::string name = FullSectionName(file, h, h.sections[i]);
    if (name == ".eh_fram" || name == ".eh_frame") return i;
  }
  return std::nullopt;
}

// An absolute address stored in the image that names a place in the table.
struct TableReference {
  std::size_t file_offset = 0;  // Of the stored address.
  std::size_t table_offset = 0;
};

std::vector<TableReference> FindReferences(base::ByteView file, const PeHeaders& h,
                                           const Section& s, std::size_t table_end) {
  const std::vector<BaseRelocation> relocations = ReadBaseRelocations(file, h);
  if (relocations.empty()) {
    Refuse("the image has no base relocations, so what names the table cannot be found");
  }
  const std::uint64_t begin = s.virtual_address;
  const std::uint64_t end = begin + AlignUp(s.MappedSize(), h.section_alignment);
  std::vector<TableReference> found;
  for (const BaseRelocation& r : relocations) {
    if (r.type != f::kRelBasedHighLow) {
      Refuse("a base relocation of type " + std::to_string(r.type) + " (only HIGHLOW is read)");
    }
    if (r.rva + kPointerSize > begin && r.rva < end) Refuse("a base relocation patches the table");
    if (r.rva > 0xFFFFFFFFu) Refuse("a base relocation past 4 GiB");
    const std::optional<std::size_t> at =
        h.RvaToFileOffset(static_cast<std::uint32_t>(r.rva), kPointerSize);
    if (!at) continue;  // Zero-filled memory: nothing stored there names the table yet.
    const std::uint64_t address = base::GetU32(file.data() + *at);
    if (address < h.image_base) continue;
    const std::uint64_t rva = address - h.image_base;
    if (rva < begin || rva >= end) continue;
    if (rva - begin > table_end) Refuse("an address names a place after the table's end");
    found.push_back({*at, static_cast<std::size_t>(rva - begin)});
  }
  return found;
}

// What makes two common entries interchangeable: everything but their place, the personality
// routine taken through its slot when the pointer is indirect.
eh::CommonEntry CanonicalCommon(const eh::CommonEntry& c, base::ByteView file, const PeHeaders& h) {
  eh::CommonEntry key = c;
  key.instructions = eh::CompactInstructions(c.instructions);
  if (c.personality_encoding != eh::encoding::kOmit &&
      (c.personality_encoding & eh::encoding::kIndirect) != 0 && c.personality != 0) {
    const std::uint64_t rva = c.personality - h.image_base;
    const std::optional<std::size_t> at =
        c.personality < h.image_base || rva > 0xFFFFFFFFu
            ? std::nullopt
            : h.RvaToFileOffset(static_cast<std::uint32_t>(rva), kPointerSize);
    // A slot the file does not hold stays a slot: only equal slots then match.
    if (at) {
      key.personality = base::GetU32(file.data() + *at);
      key.personality_encoding &= static_cast<std::uint8_t>(~eh::encoding::kIndirect);
    }
  }
  return key;
}

struct Compacted {
  CallFrameTable table;
  std::vector<CallFrameTable::Item> items;
  // For each item of the parsed table, the index in `items` of the first entry kept at or after
  // it (items.size(): the terminator).
  std::vector<std::size_t> kept_from;
};

// `pin_first`: the first entry (always a common entry) is kept, its instructions as they were,
// whether or not a frame entry still uses it.
Compacted Compact(const CallFrameTable& in, base::ByteView file, const PeHeaders& h,
                  bool pin_first) {
  Compacted out;
  // Common entries: the first of each kind stands for the rest.
  std::vector<eh::CommonEntry> kinds;
  std::vector<std::size_t> kind_of(in.commons.size());
  std::vector<std::size_t> first_of_kind;
  for (std::size_t i = 0; i < in.commons.size(); ++i) {
    eh::CommonEntry key = CanonicalCommon(in.commons[i], file, h);
    const auto same = std::find(kinds.begin(), kinds.end(), key);
    kind_of[i] = static_cast<std::size_t>(same - kinds.begin());
    if (same == kinds.end()) {
      kinds.push_back(std::move(key));
      first_of_kind.push_back(i);
    }
  }
  // Frame entries: not for discarded code, and each once.
  using FrameKey = std::tuple<std::size_t, std::uint64_t, std::uint64_t, std::uint64_t, base::Bytes>;
  std::set<FrameKey> seen;
  std::vector<bool> keep_frame(in.frames.size(), false);
  std::vector<bool> kind_used(kinds.size(), false);
  std::vector<base::Bytes> frame_instructions(in.frames.size());
  for (std::size_t i = 0; i < in.frames.size(); ++i) {
    const eh::FrameEntry& e = in.frames[i];
    if (e.pc_begin == 0) continue;
    frame_instructions[i] = eh::CompactInstructions(e.instructions);
    const std::size_t kind = kind_of[e.common];
    if (!seen.emplace(kind, e.pc_begin, e.pc_range, e.lsda, frame_instructions[i]).second) continue;
    keep_frame[i] = true;
    kind_used[kind] = true;
  }
  // The kept entries in their order. A kind's first common entry comes before every frame
  // entry of that kind, since each frame entry's own common entry comes before it.
  std::vector<std::size_t> new_common(kinds.size(), SIZE_MAX);
  for (std::size_t n = 0; n < in.items.size(); ++n) {
    const CallFrameTable::Item& item = in.items[n];
    out.kept_from.push_back(out.items.size());
    if (item.is_common) {
      const std::size_t kind = kind_of[item.index];
      const bool pinned = pin_first && n == 0;
      if (!pinned && (!kind_used[kind] || first_of_kind[kind] != item.index)) continue;
      eh::CommonEntry c = in.commons[item.index];
      if (!pinned) c.instructions = kinds[kind].instructions;
      new_common[kind] = out.table.commons.size();
      out.items.push_back({true, out.table.commons.size(), 0});
      out.table.commons.push_back(std::move(c));
    } else {
      if (!keep_frame[item.index]) continue;
      eh::FrameEntry e = in.frames[item.index];
      e.common = new_common[kind_of[e.common]];
      e.instructions = std::move(frame_instructions[item.index]);
      out.items.push_back({false, out.table.frames.size(), 0});
      out.table.frames.push_back(std::move(e));
    }
  }
  return out;
}

void CheckLayout(const PeHeaders& h, std::size_t table_index) {
  if (h.Signed()) Refuse("the image is signed");
  if (h.Directory(f::kDirectoryDebug).size != 0) {
    Refuse("the image has a debug directory, which holds file offsets");
  }
  const Section& s = h.sections[table_index];
  const std::uint64_t raw_end = std::uint64_t{s.raw_offset} + s.raw_size;
  for (std::size_t i = 0; i < h.sections.size(); ++i) {
    const Section& other = h.sections[i];
    if (i == table_index || other.raw_size == 0) continue;
    const std::uint64_t other_end = std::uint64_t{other.raw_offset} + other.raw_size;
    if (other_end > s.raw_offset && other.raw_offset < raw_end) {
      Refuse("section " + other.name + " shares file data with the table");
    }
  }
  if (h.pointer_to_symbol_table != 0 && h.pointer_to_symbol_table < raw_end &&
      h.pointer_to_symbol_table >= s.raw_offset) {
    Refuse("the symbol table lies in the table's file data");
  }
}

}  // namespace

base::Bytes CompactUnwindTables(base::ByteView file, UnwindCompaction* report) {
  UnwindCompaction r;
  r.file_bytes_before = r.file_bytes_after = file.size();
  const PeHeaders h = ParseHeaders(file);
  const std::optional<std::size_t> table_index = FindTableSection(file, h);
  if (!table_index) {
    if (report) *report = r;
    return base::Bytes(file.begin(), file.end());
  }
  if (h.pe32_plus) Refuse("a 64-bit image may name its table by addresses without relocations");
  const Section s = h.sections[*table_index];
  if (s.raw_size == 0) Refuse("the table has no file data");
  CheckLayout(h, *table_index);

  const base::ByteView bytes = file.subspan(s.raw_offset, s.FileBackedSize());
  const std::uint64_t address = h.image_base + s.virtual_address;
  const CallFrameTable parsed = eh::ParseCallFrameTable(bytes, address, kPointerSize);
  // What follows the terminator (the runtime's last object brings a frame entry of its own
  // after it) is never read: the runtime walks from a registered start to the first
  // terminator, and no address names a start after it (FindReferences refuses one).
  const std::vector<TableReference> references = FindReferences(file, h, s, parsed.end_offset);

  // The start-up code's pseudo-relocation list ends the read-only data, which the table
  // follows. When the list is empty and that data ends on a page boundary, the list's bounds
  // and the header fields the code reads from it (only past a length check, so never here)
  // name the table's first bytes. Such addresses are not the table's; the first entry is then
  // written back as it was, at its place, so that whatever they name stays the same bytes.
  const std::size_t first_end = parsed.items.size() > 1 ? parsed.items[1].offset : parsed.end_offset;
  const bool pin_first = std::any_of(references.begin(), references.end(), [&](const auto& ref) {
    return ref.table_offset > 0 && ref.table_offset < first_end;
  });

  const Compacted compacted = Compact(parsed, file, h, pin_first);
  std::vector<std::size_t> new_offsets;
  const base::Bytes table = eh::WriteCallFrameTable(compacted.table, compacted.items, address,
                                                    kPointerSize, &new_offsets);
  if (table.size() > s.MappedSize()) Refuse("the compacted table is larger than its section");
  if (pin_first && (table.size() < first_end ||
                    !std::equal(table.begin(), table.begin() + first_end, bytes.begin()))) {
    Refuse("an address names the inside of the first entry, which cannot be written as it was");
  }

  std::map<std::size_t, std::size_t> moved;  // Old offset of an entry or the end: new offset.
  for (std::size_t i = 0; i < parsed.items.size(); ++i) {
    moved[parsed.items[i].offset] = new_offsets[compacted.kept_from[i]];
  }
  moved[parsed.end_offset] = new_offsets.back();

  base::Bytes patched(file.begin(), file.end());
  for (const TableReference& ref : references) {
    if (pin_first && ref.table_offset < first_end) continue;  // Its bytes stay where they were.
    const auto to = moved.find(ref.table_offset);
    if (to == moved.end()) Refuse("an address names the middle of an entry");
    base::PutU32(patched.data() + ref.file_offset, static_cast<std::uint32_t>(address + to->second));
  }

  const std::uint32_t new_raw = static_cast<std::uint32_t>(AlignUp(table.size(), h.file_alignment));
  if (new_raw > s.raw_size) Refuse("the compacted table needs more file data than it had");
  const std::uint32_t delta = s.raw_size - new_raw;

  base::Bytes out;
  out.reserve(file.size() - delta);
  out.insert(out.end(), patched.begin(), patched.begin() + s.raw_offset);
  out.insert(out.end(), table.begin(), table.end());
  out.resize(std::size_t{s.raw_offset} + new_raw, 0);
  out.insert(out.end(), patched.begin() + s.raw_offset + s.raw_size, patched.end());

  const std::size_t header = h.SectionHeaderOffset(*table_index);
  // The memory the section takes stays as it was: the sections after it keep their addresses.
  base::PutU32(out.data() + header + f::kSecVirtualSize, s.MappedSize());
  base::PutU32(out.data() + header + f::kSecSizeOfRawData, new_raw);
  for (std::size_t i = 0; i < h.sections.size(); ++i) {
    const Section& other = h.sections[i];
    if (other.raw_size != 0 && other.raw_offset > s.raw_offset) {
      base::PutU32(out.data() + h.SectionHeaderOffset(i) + f::kSecPointerToRawData,
                   other.raw_offset - delta);
    }
  }
  if (h.pointer_to_symbol_table > s.raw_offset) {
    base::PutU32(out.data() + h.coff_header_offset + f::kCoffPointerToSymbolTable,
                 h.pointer_to_symbol_table - delta);
  }
  if ((s.characteristics & f::kScnCntInitializedData) != 0 && h.size_of_initialized_data >= delta) {
    base::PutU32(out.data() + h.optional_header_offset + f::kOptSizeOfInitializedData,
                 h.size_of_initialized_data - delta);
  }
  base::PutU32(out.data() + h.CheckSumOffset(), ComputeChecksum(out, h.CheckSumOffset()));

  r.compacted = true;
  r.table_bytes_before = parsed.end_offset + 4;
  r.table_bytes_after = table.size();
  r.commons_before = parsed.commons.size();
  r.commons_after = compacted.table.commons.size();
  r.frames_before = parsed.frames.size();
  r.frames_after = compacted.table.frames.size();
  r.file_bytes_after = out.size();
  if (report) *report = r;
  return out;
}

}  // namespace pe
