#pragma once
// The words of a command line as the installer and the uninstaller read
// their switches: blanks are spaces and tabs, switch names are ASCII and
// ignore case.
#include <string_view>

namespace installer::switch_words {

inline bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

inline std::wstring_view TrimBlanks(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Whether word starts with the switch name, ASCII letters in either case
// (not the locale's idea of case: "/s" is "/S" on every system).
inline bool StartsWithSwitch(std::wstring_view word, std::wstring_view name) {
  auto upper = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; };
  if (word.size() < name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (upper(word[i]) != upper(name[i])) return false;
  return true;
}

}  // namespace installer::switch_words
