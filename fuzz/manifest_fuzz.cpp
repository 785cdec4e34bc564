// The manifest parser on arbitrary bytes. The invariants: nothing but
// mksetup::ManifestError comes out; the line an error names lies inside the
// text (0 is "no line"); a manifest that parses has every line inside the
// text, file targets that start with a backslash, and none of the names the
// parser checks holding what would take the installer elsewhere: a
// separator in the product or a shortcut name, a ".." in a target (judged
// here on the UTF-8 text, apart from the rule's own code: in UTF-8 no byte
// of a non-ASCII character is ASCII).
#include <cstdint>
#include <string>
#include <string_view>

#include "base/text_codec.h"
#include "tools/mksetup/manifest.h"

namespace {

std::uint32_t g_lines = 0;

void CheckLine(std::uint32_t line) {
  if (line > g_lines) __builtin_trap();
}

// A name the installer can write is one it can convert; the parser leaves
// the others to the builder, so only those are judged.
bool HasGbkForm(const std::string& utf8) { return base::Utf8ToGbk(utf8).has_value(); }

void CheckSingleName(const mksetup::Text& name) {
  CheckLine(name.line);
  if (!HasGbkForm(name.utf8)) return;
  if (name.utf8.empty() || name.utf8.find_first_of("\\/") != std::string::npos) __builtin_trap();
}

void CheckTarget(const std::string& target) {
  if (target.empty() || target[0] != '\\') __builtin_trap();
  if (target == "\\" || !HasGbkForm(target)) return;
  std::size_t start = 1;
  while (true) {
    const std::size_t end = target.find_first_of("\\/", start);
    const std::string_view c = std::string_view(target).substr(start, end - start);
    if (c.empty() || c == "." || c == "..") __builtin_trap();
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  g_lines = 1;
  for (char c : text) g_lines += c == '\n';

  mksetup::Manifest m;
  try {
    m = mksetup::ParseManifest(text, "/fuzz/manifest");
  } catch (const mksetup::ManifestError& e) {
    CheckLine(e.line());
    return 0;
  }
  CheckSingleName(m.product_name);
  for (const mksetup::Text* t :
       {&m.short_name, &m.author, &m.publisher_key, &m.web_site, &m.rights_notice, &m.version,
        &m.release_date, &m.category, &m.description, &m.date1, &m.date2, &m.install_dir})
    CheckLine(t->line);
  CheckLine(m.licence_line);
  for (const mksetup::FileSpec& f : m.files) {
    CheckLine(f.line);
    CheckTarget(f.target);
  }
  for (const mksetup::ShortcutSpec& s : m.shortcuts) {
    CheckLine(s.line);
    CheckSingleName(s.name);
    CheckLine(s.target.line);
    CheckLine(s.arguments.line);
  }
  for (const mksetup::RegistrySpec& r : m.registry) {
    CheckLine(r.line);
    CheckLine(r.key.line);
    CheckLine(r.name.line);
    CheckLine(r.string_value.line);
  }
  return 0;
}
