#pragma once
// ASCII-only case folding for names (components, classes, properties,
// enum values). Names are ASCII identifiers; folding only A-Z keeps GBK
// bytes, whose trail bytes can look like letters, out of it.
#include <string>
#include <string_view>

namespace framework {

constexpr char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

inline std::string AsciiLowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

}  // namespace framework
