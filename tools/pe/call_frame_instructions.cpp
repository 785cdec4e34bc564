#include "tools/pe/call_frame_instructions.h"

#include <cstdint>
#include <string>

#include "base/error.h"
#include "tools/pe/dwarf_reader.h"

namespace pe::eh {
namespace {

// DW_CFA_* opcodes. The top two bits of a byte select the three packed forms; the rest are
// whole bytes.
constexpr std::uint8_t kPackedMask = 0xC0;
constexpr std::uint8_t kAdvanceLoc = 0x40;  // Delta in the low six bits.
constexpr std::uint8_t kOffset = 0x80;      // Register in the low six bits, ULEB128 offset.
constexpr std::uint8_t kRestore = 0xC0;     // Register in the low six bits.
constexpr std::uint8_t kNop = 0x00;
constexpr std::uint8_t kSetLoc = 0x01;
constexpr std::uint8_t kAdvanceLoc1 = 0x02;
constexpr std::uint8_t kAdvanceLoc2 = 0x03;
constexpr std::uint8_t kAdvanceLoc4 = 0x04;

// What follows an opcode that is not an advance.
enum class Operands { kNone, kUleb, kSleb, kUlebUleb, kUlebSleb, kBlock, kUlebBlock };

bool OperandsOf(std::uint8_t op, Operands* out) {
  switch (op) {
    case 0x0A:  // remember_state
    case 0x0B:  // restore_state
    case 0x2D:  // GNU_window_save
      *out = Operands::kNone;
      return true;
    case 0x06:  // restore_extended
    case 0x07:  // undefined
    case 0x08:  // same_value
    case 0x0D:  // def_cfa_register
    case 0x0E:  // def_cfa_offset
    case 0x2E:  // GNU_args_size
      *out = Operands::kUleb;
      return true;
    case 0x13:  // def_cfa_offset_sf
      *out = Operands::kSleb;
      return true;
    case 0x05:  // offset_extended
    case 0x09:  // register
    case 0x0C:  // def_cfa
    case 0x14:  // val_offset
    case 0x2F:  // GNU_negative_offset_extended
      *out = Operands::kUlebUleb;
      return true;
    case 0x11:  // offset_extended_sf
    case 0x12:  // def_cfa_sf
    case 0x15:  // val_offset_sf
      *out = Operands::kUlebSleb;
      return true;
    case 0x0F:  // def_cfa_expression
      *out = Operands::kBlock;
      return true;
    case 0x10:  // expression
    case 0x16:  // val_expression
      *out = Operands::kUlebBlock;
      return true;
    default:
      return false;
  }
}

void PutAdvance(base::Bytes& out, std::uint32_t delta) {
  if (delta < 0x40) {
    out.push_back(static_cast<std::uint8_t>(kAdvanceLoc | delta));
  } else if (delta <= 0xFF) {
    out.push_back(kAdvanceLoc1);
    out.push_back(static_cast<std::uint8_t>(delta));
  } else if (delta <= 0xFFFF) {
    out.push_back(kAdvanceLoc2);
    out.push_back(static_cast<std::uint8_t>(delta));
    out.push_back(static_cast<std::uint8_t>(delta >> 8));
  } else {
    out.push_back(kAdvanceLoc4);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(delta >> (8 * i)));
  }
}

}  // namespace

base::Bytes CompactInstructions(base::ByteView instructions) {
  base::Bytes out;
  out.reserve(instructions.size());
  std::size_t end_before_nops = 0;  // `out`'s size before the latest run of nops.
  DwarfReader in(instructions, 0, instructions.size(), "Call frame instruction");
  while (!in.AtEnd()) {
    const std::size_t start = in.Position();
    const std::uint8_t op = in.Byte();
    const std::uint8_t packed = op & kPackedMask;
    if (packed == kAdvanceLoc) {
      PutAdvance(out, op & ~kPackedMask);
    } else if (op == kAdvanceLoc1 || op == kAdvanceLoc2 || op == kAdvanceLoc4) {
      PutAdvance(out, static_cast<std::uint32_t>(
                          in.Fixed(op == kAdvanceLoc1 ? 1 : op == kAdvanceLoc2 ? 2 : 4)));
    } else {
      if (packed == kOffset) {
        in.Uleb();
      } else if (packed == kRestore || op == kNop) {
        // No operands.
      } else if (op == kSetLoc) {
        throw base::Error("Call frame instructions hold DW_CFA_set_loc, which cannot be moved");
      } else {
        Operands operands;
        if (!OperandsOf(op, &operands)) {
          throw base::Error(base::FormatText("Unknown call frame instruction %s",
                                             {std::to_string(op)}));
        }
        if (operands == Operands::kUleb) in.Uleb();
        if (operands == Operands::kSleb) in.Sleb();
        if (operands == Operands::kUlebUleb || operands == Operands::kUlebSleb) in.Uleb();
        if (operands == Operands::kUlebUleb) in.Uleb();
        if (operands == Operands::kUlebSleb) in.Sleb();
        if (operands == Operands::kUlebBlock) in.Uleb();
        if (operands == Operands::kBlock || operands == Operands::kUlebBlock) in.Skip(in.Uleb());
      }
      out.insert(out.end(), instructions.begin() + static_cast<std::ptrdiff_t>(start),
                 instructions.begin() + static_cast<std::ptrdiff_t>(in.Position()));
    }
    if (op != kNop) end_before_nops = out.size();
  }
  out.resize(end_before_nops);
  return out;
}

}  // namespace pe::eh
