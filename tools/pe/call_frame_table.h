#pragma once
// A DWARF call frame table in the form GCC's runtime reads for unwinding (".eh_frame"): common
// entries (CIEs) that hold what many frames share, and frame entries (FDEs) that each describe
// one range of code. Parsing resolves every pointer to the address it names, so a table can be
// written back at another place, in another order, with entries merged or left out.
//
// Only what GCC and its assembler emit is understood: 32-bit entry lengths, CIE versions 1 and
// 3, the augmentations z, P, L, R and S, and pointers that are absolute or relative to their
// own place, of fixed width, possibly indirect. Anything else is refused with base::Error, so
// that nothing is rewritten that is not understood.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/bytes.h"

namespace pe::eh {

// How a pointer is stored (DW_EH_PE_*): the low four bits give its width and signedness,
// bits 4-6 what it is relative to, bit 7 that it names a slot holding the address.
namespace encoding {
inline constexpr std::uint8_t kAbsolutePointer = 0x00;
inline constexpr std::uint8_t kUData2 = 0x02;
inline constexpr std::uint8_t kUData4 = 0x03;
inline constexpr std::uint8_t kUData8 = 0x04;
inline constexpr std::uint8_t kSData2 = 0x0A;
inline constexpr std::uint8_t kSData4 = 0x0B;
inline constexpr std::uint8_t kSData8 = 0x0C;
inline constexpr std::uint8_t kPcRelative = 0x10;
inline constexpr std::uint8_t kIndirect = 0x80;
inline constexpr std::uint8_t kOmit = 0xFF;
}  // namespace encoding

struct CommonEntry {
  std::uint8_t version = 1;
  std::string augmentation;
  std::uint64_t code_alignment = 1;
  std::int64_t data_alignment = 0;
  std::uint64_t return_register = 0;
  // 'P': the personality routine. `personality` is the address the pointer names: with an
  // indirect encoding the slot that holds the routine's address.
  std::uint8_t personality_encoding = encoding::kOmit;
  std::uint64_t personality = 0;
  // 'L': how the frame entries store their language-specific data pointers.
  std::uint8_t lsda_encoding = encoding::kOmit;
  // 'R': how the frame entries store their code addresses.
  std::uint8_t fde_encoding = encoding::kAbsolutePointer;
  base::Bytes instructions;  // As stored: the padding at the end included.

  bool operator==(const CommonEntry&) const = default;
};

struct FrameEntry {
  std::size_t common = 0;  // Index in CallFrameTable::commons.
  // 0 for an entry whose code the linker discarded; the runtime skips such entries.
  std::uint64_t pc_begin = 0;
  std::uint64_t pc_range = 0;
  std::uint64_t lsda = 0;    // 0 when there is none.
  base::Bytes instructions;  // As stored: the padding at the end included.
};

struct CallFrameTable {
  struct Item {
    bool is_common = false;
    std::size_t index = 0;   // In `commons` or `frames`.
    std::size_t offset = 0;  // Where the entry began in the parsed bytes.
  };
  std::vector<CommonEntry> commons;
  std::vector<FrameEntry> frames;
  std::vector<Item> items;  // Every entry, in the order of the bytes.
  // Where the terminating zero length was; the bytes after it are outside the table.
  std::size_t end_offset = 0;
};

// Parses `bytes`, mapped at `address`, up to the first zero length (or the end of the bytes).
// `pointer_size` is the width of an absolute pointer: 4 or 8.
CallFrameTable ParseCallFrameTable(base::ByteView bytes, std::uint64_t address,
                                   unsigned pointer_size);

// Writes the entries `items` names, in that order, for the table to be mapped at `address`,
// and ends it with a zero length. Each entry is padded to `pointer_size` with DW_CFA_nop.
// `offsets`, when given, receives each item's offset, and last the terminator's. Throws
// base::Error when a frame entry comes before its common entry or a pointer does not fit.
base::Bytes WriteCallFrameTable(const CallFrameTable& table,
                                const std::vector<CallFrameTable::Item>& items,
                                std::uint64_t address, unsigned pointer_size,
                                std::vector<std::size_t>* offsets = nullptr);

}  // namespace pe::eh
