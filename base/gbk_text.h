#pragma once
// Character-aware scanning of GBK byte strings. A GBK character is one byte
// below 0x81, or a lead byte 0x81..0xFE followed by a trail byte 0x40..0xFE.
// Trail bytes include 0x5C, the backslash:
// a byte-wise search for a backslash can land inside a Chinese character, so
// path code looks for separators only at character starts.
#include <cstddef>
#include <string_view>

namespace base {

// Length in bytes (1 or 2) of the character starting at text[i]. A lead byte
// at the very end counts as one byte.
inline std::size_t GbkCharLength(std::string_view text, std::size_t i) {
  auto lead = static_cast<unsigned char>(text[i]);
  if (lead >= 0x81 && lead <= 0xFE && i + 1 < text.size()) {
    auto trail = static_cast<unsigned char>(text[i + 1]);
    if (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) return 2;
  }
  return 1;
}

// Calls visit(position) for the start of every character, in order; stops
// when visit returns false.
template <typename Visit>
void ForEachGbkChar(std::string_view text, Visit visit) {
  for (std::size_t i = 0; i < text.size(); i += GbkCharLength(text, i)) {
    if (!visit(i)) return;
  }
}

}  // namespace base
