#include "tools/mksetup/manifest.h"

#include <fstream>
#include <sstream>

#include "tools/common/toml.h"

#include "base/text_codec.h"
#include "installer/file_name_rules.h"

namespace mksetup {
namespace {

std::uint32_t LineOf(const toml::node& node) { return node.source().begin.line; }

[[noreturn]] void Fail(const std::string& message, std::uint32_t line) {
  throw ManifestError(message, line);
}

// A string value at key of table, or nothing when it is absent.
std::optional<Text> OptionalText(const toml::table& table, std::string_view key,
                                 const std::string& where) {
  const toml::node* node = table.get(key);
  if (!node) return std::nullopt;
  if (!node->is_string()) Fail(where + "." + std::string(key) + " must be a string", LineOf(*node));
  return Text{node->as_string()->get(), LineOf(*node)};
}

Text RequiredText(const toml::table& table, std::string_view key, const std::string& where) {
  auto text = OptionalText(table, key, where);
  if (!text) Fail(where + "." + std::string(key) + " is missing", LineOf(table));
  return *text;
}

Text TextOrEmpty(const toml::table& table, std::string_view key, const std::string& where) {
  return OptionalText(table, key, where).value_or(Text{"", LineOf(table)});
}

const toml::array* OptionalArrayOfTables(const toml::table& root, std::string_view key) {
  const toml::node* node = root.get(key);
  if (!node) return nullptr;
  const toml::array* array = node->as_array();
  if (!array || !array->is_array_of_tables())
    Fail("\"" + std::string(key) + "\" must be an array of tables ([[" + std::string(key) + "]])",
         LineOf(*node));
  return array;
}

void RejectUnknownKeys(const toml::table& table, std::initializer_list<std::string_view> known,
                       const std::string& where) {
  for (const auto& [key, value] : table) {
    bool ok = false;
    for (auto k : known) ok = ok || key.str() == k;
    if (!ok) Fail(where + " has an unknown key \"" + std::string(key.str()) + "\"", LineOf(value));
  }
}

// Refuses a name that breaks the installer's name rule: problem_of is
// installer::FileNameProblem or SingleNameProblem, which judge GBK bytes. A
// text without a GBK form is left to the builder, which says so.
template <typename Rule>
void CheckName(const std::string& utf8, const std::string& field, std::uint32_t line,
               Rule problem_of) {
  auto gbk = base::Utf8ToGbk(utf8);
  if (!gbk) return;
  if (auto why = problem_of(*gbk))
    Fail(field + " \"" + utf8 + "\" " + base::GbkToUtf8(*why), line);
}

std::string DefaultTarget(const std::filesystem::path& source) {
  return "\\" + source.filename().string();
}

void ParseProduct(const toml::table& root, Manifest& m) {
  const toml::table* p = root["product"].as_table();
  if (!p) Fail("the [product] table is missing", 1);
  const std::string w = "product";
  RejectUnknownKeys(*p,
                    {"name", "short_name", "author", "publisher_key", "web_site", "rights_notice",
                     "version", "release_date", "category", "description", "date1", "date2",
                     "install_dir", "licence", "uninstaller"},
                    w);
  m.product_name = RequiredText(*p, "name", w);
  // The name of the Programs group, which holds at least the uninstall link.
  CheckName(m.product_name.utf8, "product.name", m.product_name.line, installer::SingleNameProblem);
  m.short_name = OptionalText(*p, "short_name", w).value_or(m.product_name);
  m.author = TextOrEmpty(*p, "author", w);
  m.publisher_key = RequiredText(*p, "publisher_key", w);
  m.web_site = TextOrEmpty(*p, "web_site", w);
  m.rights_notice = TextOrEmpty(*p, "rights_notice", w);
  m.version = TextOrEmpty(*p, "version", w);
  m.release_date = TextOrEmpty(*p, "release_date", w);
  m.category = TextOrEmpty(*p, "category", w);
  m.description = TextOrEmpty(*p, "description", w);
  m.date1 = OptionalText(*p, "date1", w).value_or(m.release_date);
  m.date2 = OptionalText(*p, "date2", w).value_or(m.date1);
  m.install_dir = OptionalText(*p, "install_dir", w)
                      .value_or(Text{"C:\\" + m.short_name.utf8, m.short_name.line});
  for (const Text* date : {&m.release_date, &m.date1, &m.date2}) {
    bool digits = date->utf8.empty() || (date->utf8.size() == 8 &&
                                         date->utf8.find_first_not_of("0123456789") ==
                                             std::string::npos);
    if (!digits) Fail("dates are eight digits, year, month, day (\"20240225\")", date->line);
  }
  if (auto licence = OptionalText(*p, "licence", w)) {
    m.licence = m.base_dir / licence->utf8;
    m.licence_line = licence->line;
  }
  if (const toml::node* uninstaller = p->get("uninstaller")) {
    if (!uninstaller->is_boolean()) Fail("product.uninstaller is true or false", LineOf(*uninstaller));
    m.uninstaller = uninstaller->as_boolean()->get();
    m.uninstaller_line = LineOf(*uninstaller);
  }
}

void ParseFiles(const toml::table& root, Manifest& m) {
  const toml::array* files = OptionalArrayOfTables(root, "files");
  if (!files) return;
  for (const toml::node& node : *files) {
    const toml::table& t = *node.as_table();
    RejectUnknownKeys(t, {"source", "target"}, "files");
    FileSpec spec;
    spec.line = LineOf(t);
    spec.source = m.base_dir / RequiredText(t, "source", "files").utf8;
    spec.target = OptionalText(t, "target", "files").value_or(Text{DefaultTarget(spec.source)}).utf8;
    if (spec.target.empty() || spec.target[0] != '\\')
      Fail("files.target must start with a backslash (\"\\\\Readme.txt\")", spec.line);
    // "\" alone is the target folder itself, right for a folder source; the
    // builder refuses it for a file. The names found in a folder are checked
    // by the builder too, as it finds them.
    if (spec.target != "\\")
      CheckName(spec.target, "files.target", spec.line, installer::FileNameProblem);
    m.files.push_back(std::move(spec));
  }
}

std::uint8_t ParseLocation(const toml::table& t) {
  Text where = OptionalText(t, "location", "shortcuts").value_or(Text{"both", LineOf(t)});
  if (where.utf8 == "desktop") return 0;
  if (where.utf8 == "programs") return 1;
  if (where.utf8 == "both") return 2;
  Fail("shortcuts.location is \"desktop\", \"programs\" or \"both\"", where.line);
}

void ParseShortcuts(const toml::table& root, Manifest& m) {
  const toml::array* shortcuts = OptionalArrayOfTables(root, "shortcuts");
  if (!shortcuts) return;
  for (const toml::node& node : *shortcuts) {
    const toml::table& t = *node.as_table();
    RejectUnknownKeys(t, {"name", "target", "location", "arguments"}, "shortcuts");
    ShortcutSpec s;
    s.line = LineOf(t);
    s.name = RequiredText(t, "name", "shortcuts");
    CheckName(s.name.utf8, "shortcuts.name", s.name.line, installer::SingleNameProblem);
    s.target = RequiredText(t, "target", "shortcuts");
    s.location = ParseLocation(t);
    s.arguments = TextOrEmpty(t, "arguments", "shortcuts");
    m.shortcuts.push_back(std::move(s));
  }
}

void ParseRegistry(const toml::table& root, Manifest& m) {
  const toml::array* values = OptionalArrayOfTables(root, "registry");
  if (!values) return;
  for (const toml::node& node : *values) {
    const toml::table& t = *node.as_table();
    RejectUnknownKeys(t, {"root", "key", "name", "value"}, "registry");
    RegistrySpec r;
    r.line = LineOf(t);
    Text root_name = OptionalText(t, "root", "registry").value_or(Text{"HKLM", r.line});
    if (root_name.utf8 == "HKCU" || root_name.utf8 == "HKEY_CURRENT_USER") {
      r.current_user = true;
    } else if (root_name.utf8 != "HKLM" && root_name.utf8 != "HKEY_LOCAL_MACHINE") {
      Fail("registry.root is \"HKLM\" or \"HKCU\"", root_name.line);
    }
    r.key = RequiredText(t, "key", "registry");
    r.name = TextOrEmpty(t, "name", "registry");
    const toml::node* value = t.get("value");
    if (!value) Fail("registry.value is missing", r.line);
    if (value->is_boolean()) {
      r.kind = 0;
      r.bool_value = value->as_boolean()->get();
    } else if (value->is_string()) {
      r.kind = 1;
      r.string_value = Text{value->as_string()->get(), LineOf(*value)};
    } else if (value->is_integer()) {
      std::int64_t v = value->as_integer()->get();
      if (v < INT32_MIN || v > INT32_MAX)
        Fail("registry.value must fit in a 32-bit signed integer", LineOf(*value));
      r.kind = 2;
      r.int_value = static_cast<std::int32_t>(v);
    } else {
      Fail("registry.value is a boolean, a string or an integer", LineOf(*value));
    }
    m.registry.push_back(std::move(r));
  }
}

}  // namespace

Manifest ParseManifest(std::string_view toml_text, const std::filesystem::path& base_dir) {
  toml::table root;
  try {
    root = toml::parse(toml_text);
  } catch (const toml::parse_error& e) {
    throw ManifestError(std::string(e.description()), e.source().begin.line);
  }
  RejectUnknownKeys(root, {"product", "files", "shortcuts", "registry"}, "the manifest");
  Manifest m;
  m.base_dir = base_dir;
  ParseProduct(root, m);
  ParseFiles(root, m);
  ParseShortcuts(root, m);
  ParseRegistry(root, m);
  return m;
}

Manifest LoadManifest(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ManifestError("cannot open " + path.string(), 0);
  std::stringstream text;
  text << in.rdbuf();
  return ParseManifest(text.str(), path.parent_path());
}

}  // namespace mksetup
