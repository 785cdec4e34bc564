#pragma once
// Numbers in upper-case hexadecimal for messages ("0x1F", "U+00E9"),
// without the printf family: in a Windows program that family is MinGW's
// own formatter, tens of kilobytes for a few digits.
#include <cstdint>
#include <string>

namespace base {

// value in at least min_digits upper-case hexadecimal digits (more when it
// needs them), without a prefix.
inline std::string UpperHex(std::uint32_t value, int min_digits = 1) {
  char digits[8];
  int n = 0;
  do {
    digits[n++] = "0123456789ABCDEF"[value & 0xF];
    value >>= 4;
  } while (value != 0);
  std::string out(min_digits > n ? static_cast<std::size_t>(min_digits - n) : 0, '0');
  while (n > 0) out += digits[--n];
  return out;
}

}  // namespace base
