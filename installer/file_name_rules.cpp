#include "installer/file_name_rules.h"

#include <vector>

#include "base/gbk_text.h"
#include "base/hex_text.h"

namespace installer {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool IsForbidden(char c) {
  return c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' || c == '*';
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The device a component opens instead of a file, or "". Windows looks at
// what comes before the first dot, blanks at its end dropped, so "nul.tar.gz"
// and "CON .txt" are devices too. A GBK trail byte is never a dot or a blank
// (trail bytes start at 0x40), and a double-byte character never matches the
// ASCII names, so plain bytes are compared here.
std::string DeviceName(std::string_view component) {
  std::string_view stem = component.substr(0, component.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  std::string upper;
  for (char c : stem) upper += AsciiUpper(c);
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return upper;
  // COM0 and LPT0 are no devices, nor are COM10 and up.
  if (upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
      upper[3] >= '1' && upper[3] <= '9')
    return upper;
  return {};
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Why component (already cut at separators) is not a valid name. in_path
// chooses the wording: a component of a file name, or a name on its own.
std::optional<std::string> ComponentProblem(std::string_view component, bool in_path) {
  if (component.empty()) return in_path ? "has an empty path component" : "is empty";
  std::optional<std::string> problem;
  base::ForEachGbkChar(component, [&](std::size_t i) {
    if (base::GbkCharLength(component, i) != 1) return true;
    const auto c = static_cast<unsigned char>(component[i]);
    if (IsControl(c)) {
      problem = "contains the control byte 0x" + base::UpperHex(c, 2);
    } else if (c >= 0x81 && c <= 0xFE) {
      problem = "contains a lead byte 0x" + base::UpperHex(c, 2) + " without its second byte";
    } else if (IsForbidden(static_cast<char>(c))) {
      problem = std::string("contains a '") + static_cast<char>(c) + "'";
    } else if (!in_path && IsSeparator(static_cast<char>(c))) {
      problem = std::string("contains a separator ('") + static_cast<char>(c) + "')";
    }
    return !problem;
  });
  if (problem) return problem;
  if (component == "." || component == "..")
    return in_path ? "contains a " + Quoted(component) + " component" : "is " + Quoted(component);
  // Windows drops trailing dots and blanks: "a." would be written as "a",
  // and "..." or ". ." would name the folder above.
  if (component.back() == '.')
    return in_path ? "has a component ending in a dot (" + Quoted(component) + ")"
                   : std::string("ends in a dot");
  if (component.back() == ' ')
    return in_path ? "has a component ending in a blank (" + Quoted(component) + ")"
                   : std::string("ends in a blank");
  std::string device = DeviceName(component);
  if (!device.empty())
    return in_path ? "has a component that Windows takes for the device " + device + " (" +
                         Quoted(component) + ")"
                   : "is taken by Windows for the device " + device;
  return std::nullopt;
}

}  // namespace

std::optional<std::string> FileNameProblem(std::string_view name) {
  // A leading '/' would do for Windows, but the record's format says '\'.
  if (name.empty() || name[0] != '\\') return "does not start with a backslash";
  std::vector<std::string_view> components;
  std::size_t start = 1;
  base::ForEachGbkChar(name, [&](std::size_t i) {
    if (i > 0 && IsSeparator(name[i])) {
      components.push_back(name.substr(start, i - start));
      start = i + 1;
    }
    return true;
  });
  components.push_back(name.substr(start));
  for (std::string_view component : components)
    if (auto problem = ComponentProblem(component, true)) return problem;
  return std::nullopt;
}

std::optional<std::string> SingleNameProblem(std::string_view name) {
  return ComponentProblem(name, false);
}

std::string FileNameKey(std::string_view name) {
  std::string key;
  key.reserve(name.size());
  base::ForEachGbkChar(name, [&](std::size_t i) {
    if (base::GbkCharLength(name, i) == 2) {
      key.append(name.substr(i, 2));
    } else {
      key += name[i] == '/' ? '\\' : AsciiUpper(name[i]);
    }
    return true;
  });
  return key;
}

}  // namespace installer
