#include "tools/mkskin/skin_manifest.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <map>
#include <optional>
#include <sstream>

#include "tools/common/toml.h"

#include "base/error.h"
#include "base/text_codec.h"
#include "framework/graphics/bmp_codec.h"
#include "skin/sui_skin_items.h"
#include "tools/common/binary_file.h"

namespace mkskin {

namespace fs = std::filesystem;
using skin::TSkinItemKind;

namespace {

// "FILE:LINE", or "FILE" for a whole file.
std::string Where(const std::string& file, std::uint32_t line) {
  return line ? file + ":" + std::to_string(line) : file;
}

}  // namespace

PackError::PackError(const std::string& file, std::uint32_t line, const std::string& message)
    : std::runtime_error(Where(file, line) + ": " + message), file_(file), line_(line) {}

std::string PackWarning::Text() const { return Where(file, line) + ": " + message; }

std::optional<std::uint32_t> ParseHtmlColor(std::string_view text) {
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  std::uint32_t rgb = 0;
  for (char c : text.substr(1)) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return std::nullopt;
    rgb = rgb << 4 | static_cast<std::uint32_t>(digit);
  }
  // Written red first; Windows keeps red in the low byte.
  return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}

std::string FormatHtmlColor(std::uint32_t color) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text = "#";
  for (int shift : {0, 8, 16}) {
    const std::uint32_t byte = color >> shift & 0xFF;
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xF];
  }
  return text;
}

std::string UpperName(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

namespace {

// The groups of a container, in the order they are written.
enum class Group { Colors, Pictures, Integers, Flags, Strings };

struct Item {
  Group group;
  SkinEntry entry;
  std::string file;
  std::uint32_t line = 0;
};

struct Collected {
  std::vector<Item> items;
  std::vector<PackWarning> warnings;
};

std::optional<TSkinItemKind> KindOfGroup(Group g) {
  switch (g) {
    case Group::Colors: return TSkinItemKind::Color;
    case Group::Pictures: return TSkinItemKind::Picture;
    case Group::Integers: return TSkinItemKind::Integer;
    case Group::Flags: return TSkinItemKind::Flag;
    case Group::Strings: return std::nullopt;
  }
  return std::nullopt;
}

const char* KindPhrase(std::optional<TSkinItemKind> kind) {
  if (!kind) return "a string";
  switch (*kind) {
    case TSkinItemKind::Color: return "a colour";
    case TSkinItemKind::Picture: return "a picture";
    case TSkinItemKind::Integer: return "an integer";
    case TSkinItemKind::Flag: return "a flag";
  }
  return "?";
}

// The name's place in the vocabulary table; names outside it sort after
// every vocabulary name.
std::size_t VocabularyIndex(const std::string& name) {
  const std::string upper = UpperName(name);
  const auto& table = skin::kSkinItemNameTable;
  return static_cast<std::size_t>(std::find(table.begin(), table.end(), upper) - table.begin());
}

// Names are kept in the program's encoding; the input speaks UTF-8.
std::string EntryName(std::string_view utf8, const std::string& file, std::uint32_t line) {
  if (utf8.empty()) throw PackError(file, line, "an entry needs a name");
  // The reader keeps values as NAME=value lines and splits at the first "=".
  if (utf8.find('=') != std::string_view::npos)
    throw PackError(file, line,
                    std::string(utf8) + " holds \"=\", which a reader takes as the name's end");
  std::optional<std::string> gbk = base::Utf8ToGbk(utf8);
  if (!gbk)
    throw PackError(file, line, std::string(utf8) + " has a character GBK cannot represent");
  if (gbk->size() > skin::reader::container::kNameSize)
    throw PackError(file, line,
                    std::string(utf8) + " is " + std::to_string(gbk->size()) +
                        " bytes long; an entry name holds at most " +
                        std::to_string(skin::reader::container::kNameSize));
  return *gbk;
}

void CheckVocabulary(const Item& item, const std::string& utf8_name, Collected& out) {
  const std::optional<TSkinItemKind> expected = KindOfGroup(item.group);
  const std::optional<TSkinItemKind> actual = skin::SkinItemKindOf(UpperName(utf8_name));
  if (!actual) {
    // Strings have no vocabulary; any name is theirs.
    if (expected)
      out.warnings.push_back(
          {item.file, item.line, utf8_name + " is not an item of the skin vocabulary"});
  } else if (actual != expected) {
    out.warnings.push_back({item.file, item.line,
                            utf8_name + " is " + KindPhrase(actual) + " item, not " +
                                KindPhrase(expected)});
  }
}

std::uint32_t LineOf(const toml::node& node) { return node.source().begin.line; }

std::int64_t IntegerIn(const toml::node& node, std::int64_t low, std::int64_t high,
                       const std::string& where, const std::string& file) {
  const std::int64_t v = node.as_integer()->get();
  if (v < low || v > high)
    throw PackError(file, LineOf(node),
                    where + " = " + std::to_string(v) + " is outside " + std::to_string(low) +
                        ".." + std::to_string(high));
  return v;
}

SkinEntry ColorEntry(std::string name, const toml::node& value, const std::string& where,
                     const std::string& file) {
  if (const auto* text = value.as_string()) {
    std::optional<std::uint32_t> color = ParseHtmlColor(text->get());
    if (!color)
      throw PackError(file, LineOf(value),
                      where + " = \"" + text->get() + "\" is not a colour; write \"#RRGGBB\"");
    return IntegerEntry(std::move(name), static_cast<std::int32_t>(*color));
  }
  if (value.is_integer()) {
    // System colours (0x80000000 and up) are written as unsigned numbers;
    // the stored value is the same 32 bits either way.
    const std::int64_t v = IntegerIn(value, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::uint32_t>::max(), where, file);
    return IntegerEntry(std::move(name), static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
  }
  throw PackError(file, LineOf(value), where + " must be \"#RRGGBB\" or an integer");
}

SkinEntry ValueEntry(Group group, std::string name, const toml::node& value,
                     const std::string& where, const std::string& file) {
  switch (group) {
    case Group::Colors:
      return ColorEntry(std::move(name), value, where, file);
    case Group::Integers:
      if (!value.is_integer()) throw PackError(file, LineOf(value), where + " must be an integer");
      return IntegerEntry(std::move(name),
                          static_cast<std::int32_t>(IntegerIn(
                              value, std::numeric_limits<std::int32_t>::min(),
                              std::numeric_limits<std::int32_t>::max(), where, file)));
    case Group::Flags:
      if (const auto* b = value.as_boolean())
        return BooleanEntry(std::move(name), b->get() ? 1 : 0);
      // The stored byte itself, for skins that keep more than 0 and 1 there.
      if (value.is_integer())
        return BooleanEntry(std::move(name),
                            static_cast<std::uint8_t>(IntegerIn(value, 0, 255, where, file)));
      throw PackError(file, LineOf(value), where + " must be true or false");
    case Group::Strings: {
      const auto* text = value.as_string();
      if (!text) throw PackError(file, LineOf(value), where + " must be a string");
      std::optional<std::string> gbk = base::Utf8ToGbk(text->get());
      if (!gbk)
        throw PackError(file, LineOf(value), where + " has a character GBK cannot represent");
      return StringEntry(std::move(name), *gbk);
    }
    case Group::Pictures:
      break;
  }
  throw PackError(file, LineOf(value), where + " cannot be given in " + kSkinToml);
}

struct Section {
  const char* key;
  Group group;
};
constexpr Section kSections[] = {{"colors", Group::Colors},
                                 {"integers", Group::Integers},
                                 {"flags", Group::Flags},
                                 {"strings", Group::Strings}};

void CollectToml(std::string_view text, const std::string& file, Collected& out) {
  toml::table root;
  try {
    root = toml::parse(text, file);
  } catch (const toml::parse_error& e) {
    throw PackError(file, e.source().begin.line, std::string(e.description()));
  }
  // toml++ keeps keys sorted; mistakes are reported and warned about in
  // the order of the lines instead.
  struct Value {
    const Section* section;
    std::string name;
    const toml::node* node;
  };
  std::vector<Value> values;
  for (const auto& [key, node] : root) {
    const Section* section = nullptr;
    for (const Section& s : kSections)
      if (key.str() == s.key) section = &s;
    if (!section)
      throw PackError(file, LineOf(node),
                      "unknown table [" + std::string(key.str()) +
                          "]; skin.toml has [colors], [integers], [flags] and [strings]");
    const toml::table* table = node.as_table();
    if (!table) throw PackError(file, LineOf(node), std::string(key.str()) + " must be a table");
    for (const auto& [name, value] : *table)
      values.push_back({section, std::string(name.str()), &value});
  }
  std::stable_sort(values.begin(), values.end(), [](const Value& a, const Value& b) {
    return LineOf(*a.node) < LineOf(*b.node);
  });
  for (const Value& v : values) {
    const std::string where = std::string(v.section->key) + "." + v.name;
    Item item{v.section->group, {}, file, LineOf(*v.node)};
    item.entry = ValueEntry(v.section->group, EntryName(v.name, file, item.line), *v.node, where,
                            file);
    CheckVocabulary(item, v.name, out);
    out.items.push_back(std::move(item));
  }
}

base::Bytes ReadFile(const fs::path& path) {
  try {
    return tools::ReadBinaryFile(path);
  } catch (const base::Error&) {
    throw PackError(path.string(), 0, "cannot open the file");
  }
}

void CollectPicture(const fs::path& path, Collected& out) {
  const std::string file = path.string();
  base::Bytes bmp = ReadFile(path);
  try {
    graphics::ReadBmp(bmp);
  } catch (const base::Error& e) {
    throw PackError(file, 0, std::string("not a readable BMP picture (") + e.what() + ")");
  }
  const std::string utf8_name = UpperName(path.stem().string());
  Item item{Group::Pictures, BitmapEntry(EntryName(utf8_name, file, 0), std::move(bmp)), file, 0};
  CheckVocabulary(item, utf8_name, out);
  out.items.push_back(std::move(item));
}

SkinPack Ordered(Collected collected) {
  std::vector<Item>& items = collected.items;
  // Readers look names up without regard to case; of two such entries one
  // could never be read.
  std::map<std::string, const Item*> seen;
  for (const Item& item : items) {
    const auto [first, added] = seen.emplace(UpperName(item.entry.name), &item);
    if (!added)
      throw PackError(item.file, item.line,
                      base::GbkToUtf8(item.entry.name) + " is given twice; first at " +
                          Where(first->second->file, first->second->line));
  }
  auto key = [](const Item& i) {
    return std::make_tuple(i.group, VocabularyIndex(i.entry.name), UpperName(i.entry.name),
                           i.entry.name);
  };
  std::sort(items.begin(), items.end(),
            [&](const Item& a, const Item& b) { return key(a) < key(b); });
  SkinPack pack;
  for (Item& i : items) pack.entries.push_back(std::move(i.entry));
  pack.warnings = std::move(collected.warnings);
  return pack;
}

}  // namespace

SkinPack ParseSkinToml(std::string_view toml_text, const std::string& file) {
  Collected collected;
  CollectToml(toml_text, file, collected);
  return Ordered(std::move(collected));
}

SkinPack ReadSkinFolder(const fs::path& dir) {
  const fs::path toml_path = dir / kSkinToml;
  const base::Bytes text = ReadFile(toml_path);
  Collected collected;
  CollectToml(base::AsString(text), toml_path.string(), collected);

  std::vector<fs::path> pictures;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(dir, ec)) {
    if (e.is_regular_file() && UpperName(e.path().extension().string()) == ".BMP")
      pictures.push_back(e.path());
  }
  if (ec) throw PackError(dir.string(), 0, "cannot list the folder: " + ec.message());
  // Directory order differs between file systems; warnings should not.
  std::sort(pictures.begin(), pictures.end());
  for (const fs::path& p : pictures) CollectPicture(p, collected);
  return Ordered(std::move(collected));
}

}  // namespace mkskin
