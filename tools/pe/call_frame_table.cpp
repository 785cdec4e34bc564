#include "tools/pe/call_frame_table.h"

#include <map>
#include <string>

#include "base/error.h"
#include "tools/pe/dwarf_reader.h"

namespace pe::eh {
namespace {

constexpr std::uint32_t kExtendedLength = 0xFFFFFFFFu;
constexpr std::uint8_t kFormatMask = 0x0F;
constexpr std::uint8_t kApplicationMask = 0x70;

[[noreturn]] void Fail(const char* what, std::size_t offset) {
  throw base::Error(base::FormatText("Call frame table: %s at offset %s",
                                     {what, std::to_string(offset)}));
}

// Width in bytes of a pointer's stored value, or 0 for a form this table does not take.
unsigned ValueWidth(std::uint8_t enc, unsigned pointer_size) {
  switch (enc & kFormatMask) {
    case encoding::kAbsolutePointer: return pointer_size;
    case encoding::kUData2:
    case encoding::kSData2: return 2;
    case encoding::kUData4:
    case encoding::kSData4: return 4;
    case encoding::kUData8:
    case encoding::kSData8: return 8;
    default: return 0;
  }
}

bool Signed(std::uint8_t enc) { return (enc & 0x08) != 0; }

// Whether a pointer encoding is one this table reads and writes: a fixed width, absolute or
// relative to the pointer's own place.
bool Supported(std::uint8_t enc, unsigned pointer_size) {
  if (enc == encoding::kOmit) return true;
  const std::uint8_t application = enc & kApplicationMask;
  return ValueWidth(enc, pointer_size) != 0 &&
         (application == 0 || application == encoding::kPcRelative) &&
         (enc & ~(kFormatMask | kApplicationMask | encoding::kIndirect)) == 0;
}

std::uint64_t Mask(unsigned pointer_size) {
  return pointer_size == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * pointer_size)) - 1;
}

// An entry's fields: DWARF's numbers, and the strings and pointers of call frame entries.
class Reader : public DwarfReader {
public:
  Reader(base::ByteView bytes, std::size_t at, std::size_t end)
      : DwarfReader(bytes, at, end, "Call frame table: an entry") {}

  std::string CString() {
    std::string s;
    for (std::uint8_t c = Byte(); c != 0; c = Byte()) s += static_cast<char>(c);
    return s;
  }
  // An encoded pointer as the address it names; a stored 0 stays 0 (no pointer), as the
  // runtime reads it.
  std::uint64_t Pointer(std::uint8_t enc, std::uint64_t table_address, unsigned pointer_size) {
    const std::size_t field = Position();
    const unsigned width = ValueWidth(enc, pointer_size);
    std::uint64_t v = Fixed(width);
    if (v == 0) return 0;
    if (Signed(enc) && width < 8 && (v >> (8 * width - 1)) != 0) v |= ~std::uint64_t{0} << (8 * width);
    if ((enc & kApplicationMask) == encoding::kPcRelative) v += table_address + field;
    return v & Mask(pointer_size);
  }
  base::Bytes Rest() {
    const std::size_t from = Position();
    const std::size_t count = Remaining();
    Skip(count);
    return base::Bytes(Bytes().begin() + static_cast<std::ptrdiff_t>(from),
                       Bytes().begin() + static_cast<std::ptrdiff_t>(from + count));
  }
};

CommonEntry ParseCommon(Reader& in, std::size_t offset, unsigned pointer_size,
                        std::uint64_t address) {
  CommonEntry c;
  c.version = in.Byte();
  if (c.version != 1 && c.version != 3) Fail("a common entry of an unknown version", offset);
  c.augmentation = in.CString();
  c.code_alignment = in.Uleb();
  c.data_alignment = in.Sleb();
  c.return_register = c.version == 1 ? in.Byte() : in.Uleb();
  if (!c.augmentation.empty()) {
    if (c.augmentation[0] != 'z') Fail("an augmentation without its length", offset);
    const std::uint64_t length = in.Uleb();
    if (length > in.Remaining()) Fail("augmentation data cut short", offset);
    const std::size_t data_end = in.Position() + static_cast<std::size_t>(length);
    for (std::size_t i = 1; i < c.augmentation.size(); ++i) {
      const char kind = c.augmentation[i];
      if (kind == 'P') {
        c.personality_encoding = in.Byte();
        if (c.personality_encoding == encoding::kOmit ||
            !Supported(c.personality_encoding, pointer_size)) {
          Fail("a personality pointer of an unknown form", offset);
        }
        c.personality = in.Pointer(c.personality_encoding, address, pointer_size);
      } else if (kind == 'L') {
        c.lsda_encoding = in.Byte();
        if (!Supported(c.lsda_encoding, pointer_size)) Fail("an LSDA pointer of an unknown form", offset);
      } else if (kind == 'R') {
        c.fde_encoding = in.Byte();
        if (c.fde_encoding == encoding::kOmit || !Supported(c.fde_encoding, pointer_size)) {
          Fail("a code pointer of an unknown form", offset);
        }
      } else if (kind != 'S') {
        Fail("an unknown augmentation", offset);
      }
    }
    if (in.Position() != data_end) Fail("augmentation data of the wrong length", offset);
  }
  c.instructions = in.Rest();
  return c;
}

FrameEntry ParseFrame(Reader& in, const CommonEntry& c, std::size_t offset, unsigned pointer_size,
                      std::uint64_t address) {
  FrameEntry e;
  e.pc_begin = in.Pointer(c.fde_encoding, address, pointer_size);
  // The range is a length: the same width, never relative to anything.
  e.pc_range = in.Fixed(ValueWidth(c.fde_encoding, pointer_size));
  if (!c.augmentation.empty()) {
    const std::uint64_t length = in.Uleb();
    if (length > in.Remaining()) Fail("augmentation data cut short", offset);
    const std::size_t data_end = in.Position() + static_cast<std::size_t>(length);
    if (c.lsda_encoding != encoding::kOmit) e.lsda = in.Pointer(c.lsda_encoding, address, pointer_size);
    if (in.Position() != data_end) Fail("augmentation data of the wrong length", offset);
  }
  e.instructions = in.Rest();
  return e;
}

class Writer {
public:
  Writer(std::uint64_t address, unsigned pointer_size)
      : address_(address), pointer_size_(pointer_size) {}

  base::Bytes& Out() { return out_; }

  void Fixed(std::uint64_t v, unsigned width) {
    for (unsigned i = 0; i < width; ++i) out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void Uleb(std::uint64_t v) {
    do {
      std::uint8_t b = v & 0x7F;
      v >>= 7;
      if (v != 0) b |= 0x80;
      out_.push_back(b);
    } while (v != 0);
  }
  void Sleb(std::int64_t v) {
    for (;;) {
      const std::uint8_t b = static_cast<std::uint8_t>(v & 0x7F);
      v >>= 7;  // Arithmetic: GCC defines it, and C++20 requires it.
      const bool done = (v == 0 && !(b & 0x40)) || (v == -1 && (b & 0x40));
      out_.push_back(done ? b : static_cast<std::uint8_t>(b | 0x80));
      if (done) return;
    }
  }
  void Pointer(std::uint64_t target, std::uint8_t enc) {
    const unsigned width = ValueWidth(enc, pointer_size_);
    std::uint64_t v = target;
    if (target != 0 && (enc & kApplicationMask) == encoding::kPcRelative) {
      v = (target - (address_ + out_.size())) & Mask(pointer_size_);
    }
    if (target != 0 && !Fits(v, enc, width)) {
      throw base::Error("Call frame table: a pointer does not fit its encoding at its new place");
    }
    Fixed(v, width);
  }

private:
  // Whether `v`, taken in the pointer size, is what `width` bytes store and read back.
  bool Fits(std::uint64_t v, std::uint8_t enc, unsigned width) const {
    if (width >= pointer_size_) return true;
    const unsigned bits = 8 * width;
    if (!Signed(enc)) return (v >> bits) == 0;
    const std::uint64_t sign_extended_high = Mask(pointer_size_) & (~std::uint64_t{0} << (bits - 1));
    const std::uint64_t high = v & sign_extended_high;
    return high == 0 || high == sign_extended_high;
  }

  std::uint64_t address_;
  unsigned pointer_size_;
  base::Bytes out_;
};

void PadTo(base::Bytes& out, std::size_t entry_start, unsigned alignment) {
  while ((out.size() - entry_start) % alignment != 0) out.push_back(0);  // DW_CFA_nop
}

}  // namespace

CallFrameTable ParseCallFrameTable(base::ByteView bytes, std::uint64_t address,
                                   unsigned pointer_size) {
  if (pointer_size != 4 && pointer_size != 8) throw base::Error("Call frame table: pointer size must be 4 or 8");
  CallFrameTable table;
  std::map<std::size_t, std::size_t> common_at;  // Offset to index in `commons`.
  std::size_t at = 0;
  while (at < bytes.size()) {
    Reader header(bytes, at, bytes.size());
    if (header.Remaining() < 4) Fail("a length cut short", at);
    const std::uint64_t length = header.Fixed(4);
    if (length == 0) break;
    if (length == kExtendedLength) Fail("a 64-bit entry length", at);
    if (length < 4 || length > header.Remaining()) Fail("an entry past the end", at);
    const std::size_t end = at + 4 + static_cast<std::size_t>(length);
    Reader in(bytes, at + 4, end);
    const std::uint64_t id = in.Fixed(4);
    if (id == 0) {
      table.items.push_back({true, table.commons.size(), at});
      common_at.emplace(at, table.commons.size());
      table.commons.push_back(ParseCommon(in, at, pointer_size, address));
    } else {
      // The id is the distance back from itself to the frame entry's common entry.
      if (id > at + 4) Fail("a frame entry whose common entry is before the table", at);
      const std::size_t cie = at + 4 - static_cast<std::size_t>(id);
      const auto found = common_at.find(cie);
      if (found == common_at.end()) Fail("a frame entry without its common entry", at);
      const std::size_t index = found->second;
      table.items.push_back({false, table.frames.size(), at});
      FrameEntry e = ParseFrame(in, table.commons[index], at, pointer_size, address);
      e.common = index;
      table.frames.push_back(std::move(e));
    }
    at = end;
  }
  table.end_offset = at;
  return table;
}

base::Bytes WriteCallFrameTable(const CallFrameTable& table,
                                const std::vector<CallFrameTable::Item>& items,
                                std::uint64_t address, unsigned pointer_size,
                                std::vector<std::size_t>* offsets) {
  Writer w(address, pointer_size);
  base::Bytes& out = w.Out();
  std::vector<std::size_t> common_offset(table.commons.size(), SIZE_MAX);
  if (offsets) offsets->clear();
  for (const CallFrameTable::Item& item : items) {
    const std::size_t start = out.size();
    if (offsets) offsets->push_back(start);
    w.Fixed(0, 4);  // The length, filled in below.
    if (item.is_common) {
      const CommonEntry& c = table.commons.at(item.index);
      common_offset[item.index] = start;
      w.Fixed(0, 4);
      w.Fixed(c.version, 1);
      out.insert(out.end(), c.augmentation.begin(), c.augmentation.end());
      out.push_back(0);
      w.Uleb(c.code_alignment);
      w.Sleb(c.data_alignment);
      if (c.version == 1) {
        w.Fixed(c.return_register, 1);
      } else {
        w.Uleb(c.return_register);
      }
      if (!c.augmentation.empty()) {
        std::size_t length = 0;
        for (std::size_t i = 1; i < c.augmentation.size(); ++i) {
          const char kind = c.augmentation[i];
          if (kind == 'P') length += 1 + ValueWidth(c.personality_encoding, pointer_size);
          if (kind == 'L' || kind == 'R') length += 1;
        }
        w.Uleb(length);
        for (std::size_t i = 1; i < c.augmentation.size(); ++i) {
          const char kind = c.augmentation[i];
          if (kind == 'P') {
            w.Fixed(c.personality_encoding, 1);
            w.Pointer(c.personality, c.personality_encoding);
          } else if (kind == 'L') {
            w.Fixed(c.lsda_encoding, 1);
          } else if (kind == 'R') {
            w.Fixed(c.fde_encoding, 1);
          }
        }
      }
      out.insert(out.end(), c.instructions.begin(), c.instructions.end());
    } else {
      const FrameEntry& e = table.frames.at(item.index);
      if (e.common >= table.commons.size() || common_offset[e.common] == SIZE_MAX) {
        throw base::Error("Call frame table: a frame entry comes before its common entry");
      }
      const CommonEntry& c = table.commons[e.common];
      w.Fixed(out.size() - common_offset[e.common], 4);
      w.Pointer(e.pc_begin, c.fde_encoding);
      w.Fixed(e.pc_range, ValueWidth(c.fde_encoding, pointer_size));
      if (!c.augmentation.empty()) {
        const unsigned lsda_width =
            c.lsda_encoding == encoding::kOmit ? 0 : ValueWidth(c.lsda_encoding, pointer_size);
        w.Uleb(lsda_width);
        if (lsda_width != 0) w.Pointer(e.lsda, c.lsda_encoding);
      }
      out.insert(out.end(), e.instructions.begin(), e.instructions.end());
    }
    PadTo(out, start, pointer_size);
    base::PutU32(out.data() + start, static_cast<std::uint32_t>(out.size() - start - 4));
  }
  if (offsets) offsets->push_back(out.size());
  w.Fixed(0, 4);
  return out;
}

}  // namespace pe::eh
