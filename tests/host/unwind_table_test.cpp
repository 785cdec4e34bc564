// Tests of the unwind table compaction that every i686 program goes through after its link: a
// wrong table does not show until an exception is thrown through the frame it describes, so
// these check what the runtime reads, entry by entry, against tables written by hand in the
// form GCC and its assembler write them. Malformed input must fail with base::Error (the host
// tree runs under ASan).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/error.h"
#include "tests/host/expect_error.h"
#include "tools/pe/call_frame_instructions.h"
#include "tools/pe/call_frame_table.h"
#include "tools/pe/pe_checksum.h"
#include "tools/pe/pe_headers.h"
#include "tools/pe/unwind_table_compaction.h"

namespace pe {
namespace {

using eh::CallFrameTable;
using testing_support::ExpectErrorContaining;
using ::testing::ElementsAre;

base::Bytes B(std::initializer_list<int> bytes) {
  base::Bytes out;
  for (int b : bytes) out.push_back(static_cast<std::uint8_t>(b));
  return out;
}

// ---- Instructions ------------------------------------------------------------------------

TEST(CallFrameInstructionsTest, StoresEachAdvanceInItsShortestForm) {
  // advance_loc4 by 1, 63, 64, 255, 256, 65535, 65536.
  const base::Bytes in = B({0x04, 1, 0, 0, 0, 0x04, 63, 0, 0, 0, 0x04, 64, 0, 0, 0, 0x04, 255, 0,
                            0, 0, 0x04, 0, 1, 0, 0, 0x04, 0xFF, 0xFF, 0, 0, 0x04, 0, 0, 1, 0});
  EXPECT_EQ(eh::CompactInstructions(in),
            B({0x41, 0x7F, 0x02, 64, 0x02, 255, 0x03, 0, 1, 0x03, 0xFF, 0xFF, 0x04, 0, 0, 1, 0}));
  // Shorter forms that are already shortest, or could be shorter.
  EXPECT_EQ(eh::CompactInstructions(B({0x03, 5, 0, 0x02, 70, 0x45})), B({0x45, 0x02, 70, 0x45}));
}

TEST(CallFrameInstructionsTest, KeepsOtherInstructionsWithTheirOperandsAndDropsOnlyTrailingNops) {
  // def_cfa r4+4; offset r8 at 1; nop (kept: not at the end); def_cfa_offset 0 (its operand
  // is a zero byte, not padding); expression r5 {2 bytes}; advance_loc4 2; padding.
  const base::Bytes in = B({0x0C, 4, 4, 0x88, 1, 0x00, 0x0E, 0x00, 0x10, 5, 2, 0x00, 0x00,
                            0x04, 2, 0, 0, 0, 0x00, 0x00, 0x00});
  EXPECT_EQ(eh::CompactInstructions(in),
            B({0x0C, 4, 4, 0x88, 1, 0x00, 0x0E, 0x00, 0x10, 5, 2, 0x00, 0x00, 0x42}));
  // Multi-byte LEB128 operands, signed and unsigned, and the GNU extensions.
  const base::Bytes gnu = B({0x2E, 0x80, 0x01, 0x2F, 1, 2, 0x11, 3, 0x7F, 0x13, 0xC0, 0x7F, 0xC3});
  EXPECT_EQ(eh::CompactInstructions(gnu), gnu);
}

TEST(CallFrameInstructionsTest, RefusesWhatItCannotMoveOrDoesNotKnow) {
  ExpectErrorContaining([] { eh::CompactInstructions(B({0x01, 0, 0x10, 0x40, 0})); },
                        "DW_CFA_set_loc");
  ExpectErrorContaining([] { eh::CompactInstructions(B({0x3F})); }, "Unknown");
  ExpectErrorContaining([] { eh::CompactInstructions(B({0x04, 1, 0})); }, "cut short");
  ExpectErrorContaining([] { eh::CompactInstructions(B({0x0F, 5, 1})); }, "cut short");
  ExpectErrorContaining([] { eh::CompactInstructions(B({0x0C, 0x80})); }, "cut short");
}

// ---- Hand-written tables -----------------------------------------------------------------

// Writes entries the way GCC lays them out: a 4-byte length, the id or the distance back to the
// common entry, pointers relative to their own place, padding to four bytes.
class TableText {
public:
  explicit TableText(std::uint32_t address) : address_(address) {}

  std::size_t Size() const { return bytes_.size(); }
  const base::Bytes& Bytes() const { return bytes_; }

  // "zR", code alignment 1, data alignment -4, return address r8, code pointers pcrel sdata4,
  // then def_cfa r4+4, offset r8 at 1, and `nops` DW_CFA_nop more than the padding.
  std::size_t PlainCommon(std::size_t nops = 0) {
    const std::size_t at = Begin(0);
    Put({1, 'z', 'R', 0, 1, 0x7C, 8, 1, 0x1B, 0x0C, 4, 4, 0x88, 1});
    bytes_.resize(Size() + nops, 0);
    return End(at);
  }
  // "zPLR" with an indirect pcrel sdata4 personality pointer to `slot`.
  std::size_t PersonalityCommon(std::uint32_t slot) {
    const std::size_t at = Begin(0);
    Put({1, 'z', 'P', 'L', 'R', 0, 1, 0x7C, 8, 7, 0x9B});
    PcRel(slot);
    Put({0x1B, 0x1B, 0x0C, 4, 4, 0x88, 1});
    return End(at);
  }
  // A frame entry; `lsda` only for a common entry with 'L' (nullopt for one without 'z').
  std::size_t Frame(std::size_t common, std::uint32_t pc, std::uint32_t range,
                    std::optional<std::uint32_t> lsda, const base::Bytes& instructions) {
    const std::size_t at = Begin(static_cast<std::uint32_t>(Size() + 4 - common));
    if (pc == 0) {
      Put32(0);  // A discarded function's: the linker left the field as it was.
    } else {
      PcRel(pc);
    }
    Put32(range);
    if (lsda) {
      Put({4});
      if (*lsda == 0) {
        Put32(0);
      } else {
        PcRel(*lsda);
      }
    } else {
      Put({0});
    }
    bytes_.insert(bytes_.end(), instructions.begin(), instructions.end());
    return End(at);
  }
  void Terminator() { Put32(0); }

private:
  std::size_t Begin(std::uint32_t id) {
    const std::size_t at = Size();
    Put32(0);
    Put32(id);
    return at;
  }
  std::size_t End(std::size_t at) {
    while (Size() % 4 != 0) bytes_.push_back(0);
    base::PutU32(&bytes_[at], static_cast<std::uint32_t>(Size() - at - 4));
    return at;
  }
  void Put(std::initializer_list<int> b) {
    for (int v : b) bytes_.push_back(static_cast<std::uint8_t>(v));
  }
  void Put32(std::uint32_t v) {
    bytes_.resize(Size() + 4);
    base::PutU32(&bytes_[Size() - 4], v);
  }
  void PcRel(std::uint32_t target) { Put32(target - (address_ + static_cast<std::uint32_t>(Size()))); }

  std::uint32_t address_;
  base::Bytes bytes_;
};

constexpr std::uint32_t kTableAddress = 0x402000;
const base::Bytes kLongAdvance = B({0x04, 4, 0, 0, 0, 0x0E, 8});

TEST(CallFrameTableTest, ReadsPointersAsTheAddressesTheyNameAndWritesThemBackAnywhere) {
  TableText t(kTableAddress);
  const std::size_t plain = t.PlainCommon();
  t.Frame(plain, 0x401010, 0x20, std::nullopt, kLongAdvance);
  const std::size_t rich = t.PersonalityCommon(0x403004);
  t.Frame(rich, 0x401040, 0x30, 0x403100, {});
  t.Frame(rich, 0, 0x10, 0, {});
  t.Terminator();
  const CallFrameTable parsed = eh::ParseCallFrameTable(t.Bytes(), kTableAddress, 4);
  ASSERT_EQ(parsed.commons.size(), 2u);
  ASSERT_EQ(parsed.frames.size(), 3u);
  EXPECT_EQ(parsed.end_offset, t.Size() - 4);
  EXPECT_EQ(parsed.commons[0].augmentation, "zR");
  EXPECT_EQ(parsed.commons[0].data_alignment, -4);
  EXPECT_EQ(parsed.commons[1].personality, 0x403004u);
  EXPECT_EQ(parsed.commons[1].personality_encoding, 0x9B);
  EXPECT_EQ(parsed.frames[0].pc_begin, 0x401010u);
  EXPECT_EQ(parsed.frames[0].pc_range, 0x20u);
  EXPECT_EQ(parsed.frames[1].common, 1u);
  EXPECT_EQ(parsed.frames[1].lsda, 0x403100u);
  EXPECT_EQ(parsed.frames[2].pc_begin, 0u);  // A stored 0 is no pointer, not its own place.
  EXPECT_EQ(parsed.frames[2].lsda, 0u);

  // Written 0x1234 bytes further on, every pointer still names the same address.
  const std::uint64_t elsewhere = kTableAddress + 0x1234;
  std::vector<std::size_t> offsets;
  const base::Bytes written = eh::WriteCallFrameTable(parsed, parsed.items, elsewhere, 4, &offsets);
  EXPECT_EQ(written.size(), t.Size());
  ASSERT_EQ(offsets.size(), parsed.items.size() + 1);
  EXPECT_EQ(offsets.back(), written.size() - 4);
  const CallFrameTable again = eh::ParseCallFrameTable(written, elsewhere, 4);
  EXPECT_EQ(again.commons, parsed.commons);
  ASSERT_EQ(again.frames.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(again.frames[i].pc_begin, parsed.frames[i].pc_begin);
    EXPECT_EQ(again.frames[i].lsda, parsed.frames[i].lsda);
    EXPECT_EQ(again.frames[i].instructions, parsed.frames[i].instructions);
  }
  // A table read at one address and written at the same one is the same bytes.
  EXPECT_EQ(eh::WriteCallFrameTable(parsed, parsed.items, kTableAddress, 4), t.Bytes());
}

TEST(CallFrameTableTest, RefusesEntriesItDoesNotUnderstand) {
  auto parse = [](const base::Bytes& b) { eh::ParseCallFrameTable(b, kTableAddress, 4); };
  ExpectErrorContaining([&] { parse(B({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0})); }, "64-bit");
  ExpectErrorContaining([&] { parse(B({0x20, 0, 0, 0, 0, 0, 0, 0})); }, "past the end");
  ExpectErrorContaining([&] { parse(B({8, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0})); }, "unknown version");
  // "zX": an augmentation whose data cannot be skipped safely.
  ExpectErrorContaining(
      [&] { parse(B({12, 0, 0, 0, 0, 0, 0, 0, 1, 'z', 'X', 0, 1, 0x7C, 8, 0})); }, "augmentation");
  // Code pointers relative to the text section: not written by GCC, not understood here.
  ExpectErrorContaining(
      [&] { parse(B({16, 0, 0, 0, 0, 0, 0, 0, 1, 'z', 'R', 0, 1, 0x7C, 8, 1, 0x2B, 0, 0, 0})); },
      "unknown form");
  // A frame entry whose distance back does not land on a common entry.
  TableText t(kTableAddress);
  const std::size_t plain = t.PlainCommon();
  t.Frame(plain + 4, 0x401000, 4, std::nullopt, {});
  ExpectErrorContaining([&] { parse(t.Bytes()); }, "without its common entry");
  // Every truncation of a good table either fails or reads a shorter table; none reads past it.
  TableText good(kTableAddress);
  good.Frame(good.PersonalityCommon(0x403004), 0x401040, 0x30, 0x403100, kLongAdvance);
  for (std::size_t n = 0; n < good.Size(); ++n) {
    const base::Bytes cut(good.Bytes().begin(), good.Bytes().begin() + static_cast<std::ptrdiff_t>(n));
    try {
      const CallFrameTable partial = eh::ParseCallFrameTable(cut, kTableAddress, 4);
      EXPECT_LT(partial.frames.size(), 1u) << n;
    } catch (const base::Error&) {
    }
  }
}

TEST(CallFrameTableTest, RefusesAPointerThatNoLongerFitsAtItsNewPlace) {
  TableText t(kTableAddress);
  t.Frame(t.PlainCommon(), 0x401010, 0x20, std::nullopt, {});
  const CallFrameTable parsed = eh::ParseCallFrameTable(t.Bytes(), kTableAddress, 8);
  // As a 64-bit table written 4 GiB away, a 32-bit relative pointer cannot reach its code.
  ExpectErrorContaining(
      [&] { eh::WriteCallFrameTable(parsed, parsed.items, kTableAddress + 0x100000000u, 8); },
      "does not fit");
}

// ---- Whole images ------------------------------------------------------------------------

constexpr std::uint32_t kImageBase = 0x400000;
constexpr std::uint32_t kTextRva = 0x1000, kTableRva = 0x2000, kDataRva = 0x3000,
                        kRelocRva = 0x4000;
constexpr std::uint32_t kTableRaw = 0x600, kTableRawSize = 0x800;
constexpr std::uint32_t kDataRaw = kTableRaw + kTableRawSize, kRelocRaw = kDataRaw + 0x200;
constexpr std::uint32_t kPersonality = 0x401100;          // Where the routine is.
constexpr std::uint32_t kStartPointer = kDataRva;        // Holds the registered start.
constexpr std::uint32_t kSlot1 = kDataRva + 4, kSlot2 = kDataRva + 8;  // Hold kPersonality.

// A stripped i686 image as MinGW links one: .text, .eh_fram, .data and .reloc, an overlay
// after them. .data holds the address the start-up code registers the table by, and two
// personality slots; .reloc fixes all three.
class UnwindImage {
public:
  UnwindImage() : file_(kRelocRaw + 0x200, 0) {
    file_[0] = 'M';
    file_[1] = 'Z';
    base::PutU32(&file_[0x3C], 0x40);
    std::memcpy(&file_[0x40], "PE\0\0", 4);
    base::PutU16(&file_[0x44], 0x14C);
    base::PutU16(&file_[0x46], 4);
    base::PutU16(&file_[0x54], 224);
    base::PutU16(&file_[kOpt], 0x10B);
    base::PutU32(&file_[kOpt + 8], 0x200 + kTableRawSize + 0x200 + 0x200);
    base::PutU32(&file_[kOpt + 28], kImageBase);
    base::PutU32(&file_[kOpt + 32], 0x1000);
    base::PutU32(&file_[kOpt + 36], 0x200);
    base::PutU32(&file_[kOpt + 56], 0x5000);
    base::PutU32(&file_[kOpt + 60], 0x400);
    base::PutU32(&file_[kOpt + 92], 16);
    Section(0, ".text", kTextRva, 0x200, 0x400, 0x60000020);
    Section(1, ".eh_fram", kTableRva, kTableRawSize, kTableRaw, 0x40000040);
    Section(2, ".data", kDataRva, 0x200, kDataRaw, 0xC0000040);
    Section(3, ".reloc", kRelocRva, 0x200, kRelocRaw, 0x42000040);
    Put32(kSlot1, kPersonality);
    Put32(kSlot2, kPersonality);
    Relocations({kStartPointer, kSlot1, kSlot2});
    std::memcpy(&file_[kDataRaw + 0x100], "data after the slots", 20);
    const char overlay[] = "overlay";
    file_.insert(file_.end(), overlay, overlay + sizeof overlay);
  }

  base::Bytes& File() { return file_; }
  void Table(const base::Bytes& table, std::size_t start_offset) {
    ASSERT_LE(table.size(), kTableRawSize);
    std::memcpy(&file_[kTableRaw], table.data(), table.size());
    Put32(kStartPointer, kImageBase + kTableRva + static_cast<std::uint32_t>(start_offset));
  }
  void Put32(std::uint32_t rva, std::uint32_t value) { base::PutU32(At(rva), value); }
  void Relocations(const std::vector<std::uint32_t>& rvas) {
    std::uint8_t* block = &file_[kRelocRaw];
    std::memset(block, 0, 0x200);
    base::PutU32(block, kDataRva);
    const std::uint32_t size = static_cast<std::uint32_t>(8 + 2 * ((rvas.size() + 1) / 2 * 2));
    base::PutU32(block + 4, size);
    for (std::size_t i = 0; i < rvas.size(); ++i) {
      ASSERT_EQ(rvas[i] & ~0xFFFu, kDataRva) << "one block: one page";
      base::PutU16(block + 8 + 2 * i, static_cast<std::uint16_t>(0x3000 | (rvas[i] & 0xFFF)));
    }
    Directory(5, kRelocRva, size);
  }
  void Directory(std::size_t index, std::uint32_t rva, std::uint32_t size) {
    base::PutU32(&file_[kOpt + 96 + 8 * index], rva);
    base::PutU32(&file_[kOpt + 96 + 8 * index + 4], size);
  }

private:
  static constexpr std::size_t kOpt = 0x58;

  void Section(std::size_t i, const char* name, std::uint32_t rva, std::uint32_t size,
               std::uint32_t raw, std::uint32_t characteristics) {
    std::uint8_t* s = &file_[kOpt + 224 + 40 * i];
    std::memcpy(s, name, std::strlen(name));
    base::PutU32(s + 8, size);
    base::PutU32(s + 12, rva);
    base::PutU32(s + 16, size);
    base::PutU32(s + 20, raw);
    base::PutU32(s + 36, characteristics);
  }
  std::uint8_t* At(std::uint32_t rva) {
    if (rva >= kDataRva && rva < kDataRva + 0x200) return &file_[kDataRaw + rva - kDataRva];
    ADD_FAILURE() << "no file data at " << rva;
    return &file_[0];
  }

  base::Bytes file_;
};

// The table as an i686 program's start-up objects and its own code leave it: the first object's
// entries come before the registered start; two objects bring identical common entries each;
// a discarded inline function's frame entry and a repeated one; the last object's entries
// after the terminator.
struct LinkedTable {
  base::Bytes bytes;
  std::size_t start = 0;  // What the start-up code registers.
  std::size_t end = 0;    // The terminator.
};

LinkedTable MakeLinkedTable() {
  TableText t(kImageBase + kTableRva);
  LinkedTable l;
  const std::size_t first = t.PlainCommon();
  t.Frame(first, 0x401000, 0x10, std::nullopt, {});
  l.start = t.PlainCommon();
  t.Frame(l.start, 0x401010, 0x20, std::nullopt, kLongAdvance);
  t.Frame(l.start, 0, 0x20, std::nullopt, kLongAdvance);
  t.Frame(l.start, 0x401010, 0x20, std::nullopt, kLongAdvance);
  const std::size_t rich = t.PersonalityCommon(kImageBase + kSlot1);
  t.Frame(rich, 0x401040, 0x30, kImageBase + kDataRva + 0x100, {});
  const std::size_t other = t.PersonalityCommon(kImageBase + kSlot2);
  t.Frame(other, 0x401080, 0x10, 0, kLongAdvance);
  l.end = t.Size();
  t.Terminator();
  t.Frame(t.PlainCommon(), 0x4010A0, 0x10, std::nullopt, {});
  l.bytes = t.Bytes();
  return l;
}

// What the runtime reads of a table: each frame entry's code, range, LSDA, personality routine
// (through its slot) and instructions (advances in their shortest form), from the start.
struct Frame {
  std::uint64_t pc, range, lsda, personality;
  base::Bytes instructions;
  bool operator==(const Frame&) const = default;
};

std::vector<Frame> FramesFrom(const base::Bytes& file, std::uint32_t start_address) {
  const PeHeaders h = ParseHeaders(file);
  const Section& s = h.sections[1];
  const base::ByteView bytes(file.data() + s.raw_offset, s.FileBackedSize());
  const CallFrameTable t = eh::ParseCallFrameTable(bytes, kImageBase + s.virtual_address, 4);
  const std::size_t start = start_address - kImageBase - s.virtual_address;
  std::vector<Frame> frames;
  for (const CallFrameTable::Item& item : t.items) {
    if (item.is_common || item.offset < start) continue;
    const eh::FrameEntry& e = t.frames[item.index];
    if (e.pc_begin == 0) continue;
    const eh::CommonEntry& c = t.commons[e.common];
    const Section& data = h.sections[2];
    const std::uint64_t personality =
        c.personality == 0
            ? 0
            : base::GetU32(file.data() + data.raw_offset + (c.personality - kImageBase - kDataRva));
    frames.push_back({e.pc_begin, e.pc_range, e.lsda, personality,
                      eh::CompactInstructions(e.instructions)});
  }
  return frames;
}

std::uint32_t StartAddress(const base::Bytes& file) {
  const PeHeaders h = ParseHeaders(file);
  return base::GetU32(file.data() + h.sections[2].raw_offset);
}

TEST(UnwindCompactionTest, KeepsWhatTheRuntimeReadsInOneCommonEntryPerKind) {
  UnwindImage image;
  const LinkedTable linked = MakeLinkedTable();
  image.Table(linked.bytes, linked.start);
  const base::Bytes& before = image.File();

  UnwindCompaction r;
  const base::Bytes after = CompactUnwindTables(before, &r);
  ASSERT_TRUE(r.compacted);
  // Counted up to the terminator: what follows it is not part of the table.
  EXPECT_EQ(r.commons_before, 4u);
  EXPECT_EQ(r.commons_after, 2u);  // The plain kind and the personality kind.
  EXPECT_EQ(r.frames_before, 6u);
  EXPECT_EQ(r.frames_after, 4u);  // Not the discarded one or the repeat.
  EXPECT_EQ(r.table_bytes_before, linked.end + 4);
  EXPECT_LT(r.table_bytes_after, r.table_bytes_before);

  std::vector<Frame> expected = FramesFrom(before, StartAddress(before));
  expected.erase(expected.begin() + 1, expected.begin() + 2);  // The repeat.
  ASSERT_EQ(expected.size(), 3u);
  EXPECT_EQ(FramesFrom(after, StartAddress(after)), expected);

  const CallFrameTable table = eh::ParseCallFrameTable(
      base::ByteView(after.data() + kTableRaw, r.table_bytes_after), kImageBase + kTableRva, 4);
  ASSERT_EQ(table.items.size(), 6u);
  // The first object's entries stay before the registered start, which now names the frame
  // entry that followed the merged common entry.
  EXPECT_TRUE(table.items[0].is_common);
  EXPECT_EQ(table.frames[0].pc_begin, 0x401000u);
  EXPECT_EQ(StartAddress(after), kImageBase + kTableRva + table.items[2].offset);
  EXPECT_EQ(table.frames[1].common, 0u);
  EXPECT_EQ(table.frames[3].common, 1u);
  EXPECT_EQ(table.end_offset + 4, r.table_bytes_after);
}

TEST(UnwindCompactionTest, ShrinksTheFileAndMovesWhatFollowsKeepingEveryAddress) {
  UnwindImage image;
  // Enough entries that the table needs one file-alignment unit less.
  TableText t(kImageBase + kTableRva);
  const std::size_t start = t.PlainCommon();
  for (std::uint32_t i = 0; i < 40; ++i) {
    t.Frame(t.PlainCommon(), 0x401000 + 8 * i, 8, std::nullopt, kLongAdvance);
  }
  t.Terminator();
  image.Table(t.Bytes(), start);
  const base::Bytes& before = image.File();
  const PeHeaders hb = ParseHeaders(before);

  UnwindCompaction r;
  const base::Bytes after = CompactUnwindTables(before, &r);
  const PeHeaders ha = ParseHeaders(after);
  const std::uint32_t saved = hb.sections[1].raw_size - ha.sections[1].raw_size;
  EXPECT_GE(saved, 0x200u);
  EXPECT_EQ(saved % 0x200, 0u);
  EXPECT_EQ(after.size(), before.size() - saved);
  EXPECT_EQ(r.file_bytes_after, after.size());
  // Memory stays as it was: same addresses, the section's size in memory unchanged.
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(ha.sections[i].virtual_address, hb.sections[i].virtual_address);
    EXPECT_EQ(ha.sections[i].MappedSize(), hb.sections[i].MappedSize());
  }
  EXPECT_EQ(ha.sections[0].raw_offset, hb.sections[0].raw_offset);
  for (std::size_t i = 2; i < 4; ++i) {
    EXPECT_EQ(ha.sections[i].raw_offset, hb.sections[i].raw_offset - saved);
    EXPECT_TRUE(std::equal(after.begin() + ha.sections[i].raw_offset + 4,
                           after.begin() + ha.sections[i].raw_offset + ha.sections[i].raw_size,
                           before.begin() + hb.sections[i].raw_offset + 4))
        << i;
  }
  EXPECT_EQ(std::string(after.end() - 8, after.end() - 1), "overlay");
  EXPECT_EQ(ha.size_of_initialized_data, hb.size_of_initialized_data - saved);
  EXPECT_EQ(base::GetU32(after.data() + ha.CheckSumOffset()),
            ComputeChecksum(after, ha.CheckSumOffset()));
  EXPECT_EQ(FramesFrom(after, StartAddress(after)), FramesFrom(before, StartAddress(before)));
  EXPECT_EQ(r.commons_after, 1u);
}

TEST(UnwindCompactionTest, ReturnsAnImageWithoutATableAsItWas) {
  UnwindImage image;
  base::Bytes file = image.File();
  std::memcpy(&file[0x58 + 224 + 40], ".rdata\0\0", 8);
  UnwindCompaction r;
  EXPECT_EQ(CompactUnwindTables(file, &r), file);
  EXPECT_FALSE(r.compacted);
}

TEST(UnwindCompactionTest, RefusesImagesItCannotRewriteSafely) {
  const LinkedTable linked = MakeLinkedTable();
  auto refused = [&](const std::function<void(UnwindImage&)>& change, const std::string& why) {
    UnwindImage image;
    image.Table(linked.bytes, linked.start);
    change(image);
    const base::Bytes file = image.File();
    ExpectErrorContaining([&] { CompactUnwindTables(file); }, why);
  };
  refused([](UnwindImage& i) { i.Directory(5, 0, 0); }, "no base relocations");
  refused([&](UnwindImage& i) {
            i.Put32(kStartPointer, kImageBase + kTableRva + static_cast<std::uint32_t>(linked.start) + 8);
          },
          "middle of an entry");
  refused([&](UnwindImage& i) {
            i.Put32(kStartPointer, kImageBase + kTableRva + static_cast<std::uint32_t>(linked.end) + 4);
          },
          "after the table's end");
  refused([](UnwindImage& i) { i.Directory(4, kRelocRaw + 0x100, 0x10); }, "signed");
  refused([](UnwindImage& i) { i.Directory(6, kDataRva + 0x40, 28); }, "debug directory");
  // A table with a pointer that the loader would patch.
  UnwindImage image;
  image.Table(linked.bytes, linked.start);
  base::Bytes file = image.File();
  std::uint8_t* block = &file[kRelocRaw];
  base::PutU32(block, kTableRva);
  base::PutU16(block + 8, 0x3000 | 0x10);
  ExpectErrorContaining([&] { CompactUnwindTables(file); }, "patches the table");
}

// The start-up code's pseudo-relocation list comes just before the table when the read-only
// data ends on a page boundary; empty, its bounds and the header fields read from it (never,
// past its length check) name the table's first bytes.
TEST(UnwindCompactionTest, KeepsTheFirstEntryAsItWasWhenAnAddressNamesItsInside) {
  TableText t(kImageBase + kTableRva);
  // Padded more than it needs, so that writing it anew would change it; its one frame entry is
  // for discarded code, so that nothing uses it any more.
  const std::size_t first = t.PlainCommon(8);
  const std::size_t first_end = t.Size();
  t.Frame(first, 0, 0x10, std::nullopt, {});
  const std::size_t start = t.PlainCommon();
  t.Frame(start, 0x401010, 0x20, std::nullopt, kLongAdvance);
  t.Frame(start, 0x401030, 0x20, std::nullopt, kLongAdvance);
  t.Terminator();
  UnwindImage image;
  image.Table(t.Bytes(), start);
  std::vector<std::uint32_t> relocated = {kStartPointer, kSlot1, kSlot2};
  const std::uint32_t list = kDataRva + 0x10;
  for (std::uint32_t i = 0; i < 4; ++i) {
    image.Put32(list + 4 * i, kImageBase + kTableRva + 4 * i);
    relocated.push_back(list + 4 * i);
  }
  image.Relocations(relocated);
  const base::Bytes before = image.File();

  UnwindCompaction r;
  const base::Bytes after = CompactUnwindTables(before, &r);
  ASSERT_TRUE(r.compacted);
  EXPECT_EQ(r.commons_after, 1u);  // The second merged into the first.
  EXPECT_EQ(r.frames_after, 2u);
  EXPECT_LT(r.table_bytes_after, r.table_bytes_before);
  EXPECT_TRUE(std::equal(after.begin() + kTableRaw, after.begin() + kTableRaw + first_end,
                         before.begin() + kTableRaw));
  const std::uint32_t data = ParseHeaders(after).sections[2].raw_offset;
  for (std::uint32_t i = 0; i < 4; ++i) {
    EXPECT_EQ(base::GetU32(after.data() + data + 0x10 + 4 * i), kImageBase + kTableRva + 4 * i);
  }
  EXPECT_EQ(FramesFrom(after, StartAddress(after)), FramesFrom(before, StartAddress(before)));
}

// The linker's own output: a MinGW C program's start-up objects, with their tables as ld
// joined them.
TEST(UnwindCompactionTest, CompactsWhatMinGwLinked) {
  std::ifstream in(std::string(VANTO_TEST_DATA_DIR) + "/pe/no-resources.exe", std::ios::binary);
  const base::Bytes before((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(before.empty());
  UnwindCompaction r;
  const base::Bytes after = CompactUnwindTables(before, &r);
  ASSERT_TRUE(r.compacted);
  EXPECT_EQ(r.commons_after, 1u);
  EXPECT_EQ(r.frames_after, r.frames_before);
  EXPECT_LT(r.table_bytes_after, r.table_bytes_before);
  // Compacting again changes nothing.
  UnwindCompaction again;
  EXPECT_EQ(CompactUnwindTables(after, &again), after);
  EXPECT_EQ(again.table_bytes_after, r.table_bytes_after);
}

}  // namespace
}  // namespace pe
