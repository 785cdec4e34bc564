#include "tools/mkskin/skin_extract.h"

#include <cstdio>
#include <set>

#include "base/error.h"
#include "base/text_codec.h"
#include "skin/reader/skin_container.h"
#include "skin/sui_skin_items.h"
#include "tools/common/binary_file.h"
#include "tools/mkskin/skin_manifest.h"

namespace mkskin {

namespace fs = std::filesystem;
using skin::reader::container::TEntryKind;

namespace {

bool IsBareKey(const std::string& key) {
  if (key.empty()) return false;
  for (char c : key) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                    c == '_' || c == '-';
    if (!ok) return false;
  }
  return true;
}

// A TOML basic string.
std::string Quoted(const std::string& utf8) {
  std::string out = "\"";
  for (char c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"') out += "\\\"";
    else if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\t') out += "\\t";
    else if (u < 0x20 || u == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", u);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Key(const std::string& utf8) { return IsBareKey(utf8) ? utf8 : Quoted(utf8); }

std::string Hex32(std::uint32_t v) {
  char text[12];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(v));
  return text;
}

// Readers take the first entry of a name; pack refuses a name given twice.
// Of entries whose names differ only in case, the first is kept.
std::vector<const DumpEntry*> FirstOfEachName(const SkinDump& dump,
                                              std::vector<std::string>& warnings) {
  std::vector<const DumpEntry*> kept;
  std::set<std::string> seen;
  for (const DumpEntry& e : dump.entries) {
    const std::string utf8 = base::GbkToUtf8(e.name);
    if (e.kind > static_cast<std::uint8_t>(TEntryKind::String)) {
      warnings.push_back(utf8 + ": kind " + std::to_string(e.kind) +
                         " is unknown to readers and left out");
    } else if (!seen.insert(UpperName(e.name)).second) {
      warnings.push_back(utf8 + ": a second entry of this name; readers use the first, so this "
                                "one is left out");
    } else {
      kept.push_back(&e);
    }
  }
  return kept;
}

void CheckStoredSize(const DumpEntry& e, std::size_t size, std::vector<std::string>& warnings) {
  if (e.data.size() != size)
    warnings.push_back(base::GbkToUtf8(e.name) + ": " + std::to_string(e.data.size()) +
                       " bytes stored where " + std::to_string(size) +
                       " belong; written as the value a reader decodes");
}

// The file name of a picture entry; a name that could leave the folder, or
// that Windows keeps for a device, is refused.
std::string PictureFileName(const DumpEntry& e) {
  const std::string utf8 = base::GbkToUtf8(e.name);
  bool ok = !utf8.empty() && utf8.front() != '.' && utf8.back() != '.' && utf8.back() != ' ';
  for (char c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    const bool allowed = u >= 0x80 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                         (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.' || c == ' ';
    ok = ok && allowed;
  }
  const std::string upper = UpperName(utf8);
  for (const char* device : {"CON", "PRN", "AUX", "NUL"}) ok = ok && upper != device;
  for (const char* device : {"COM", "LPT"}) {
    ok = ok && !(upper.size() == 4 && upper.starts_with(device) && upper[3] >= '0' &&
                 upper[3] <= '9');
  }
  if (!ok)
    throw base::Error("the picture entry \"" + utf8 + "\" cannot be written as a file name");
  return utf8 + ".bmp";
}


}  // namespace

std::string SkinTomlText(const SkinDump& dump, std::vector<std::string>& warnings) {
  std::string colors, integers, flags, strings;
  for (const DumpEntry* e : FirstOfEachName(dump, warnings)) {
    const std::string key = Key(base::GbkToUtf8(e->name));
    switch (static_cast<TEntryKind>(e->kind)) {
      case TEntryKind::Integer: {
        CheckStoredSize(*e, 4, warnings);
        if (skin::SkinItemKindOf(UpperName(e->name)) == skin::TSkinItemKind::Color) {
          const auto v = static_cast<std::uint32_t>(e->value);
          // RGB colours as "#RRGGBB"; system colours (high byte set) as the
          // number Windows knows them by.
          colors += key + " = " + (v >> 24 ? Hex32(v) : Quoted(FormatHtmlColor(v))) + "\n";
        } else {
          integers += key + " = " + std::to_string(e->value) + "\n";
        }
        break;
      }
      case TEntryKind::Boolean:
        CheckStoredSize(*e, 1, warnings);
        flags += key + " = " +
                 (e->value == 0 ? "false" : e->value == 1 ? "true" : std::to_string(e->value)) +
                 "\n";
        break;
      case TEntryKind::String: {
        const std::string gbk = base::AsString(e->data);
        const std::string utf8 = base::GbkToUtf8(gbk);
        if (base::Utf8ToGbk(utf8) != gbk)
          warnings.push_back(base::GbkToUtf8(e->name) +
                             ": the string is not valid GBK; U+FFFD stands for what is not");
        strings += key + " = " + Quoted(utf8) + "\n";
        break;
      }
      case TEntryKind::Bitmap:
        break;
    }
  }
  std::string out = "# Written by mkskin extract; pictures are the NAME.bmp files beside it.\n";
  for (const auto& [table, body] : {std::pair{"colors", &colors}, std::pair{"integers", &integers},
                                    std::pair{"flags", &flags}, std::pair{"strings", &strings}}) {
    if (!body->empty()) out += std::string("\n[") + table + "]\n" + *body;
  }
  return out;
}

ExtractedSkin ExtractSkinFolder(const SkinDump& dump, const fs::path& dir) {
  if (!dump.complete)
    throw base::Error(std::string("the skin file cannot be read whole (extraction ") +
                      ResultName(dump.result) + (dump.failure ? "; " + *dump.failure : "") + ")");
  ExtractedSkin result;
  const std::string toml = SkinTomlText(dump, result.warnings);

  // Names are checked before anything is written.
  std::vector<std::pair<fs::path, const DumpEntry*>> pictures;
  std::vector<std::string> ignored;
  for (const DumpEntry* e : FirstOfEachName(dump, ignored)) {
    if (static_cast<TEntryKind>(e->kind) == TEntryKind::Bitmap) {
      const std::string file = PictureFileName(*e);
      if (UpperName(e->name) != e->name)
        result.warnings.push_back(base::GbkToUtf8(e->name) +
                                  ": pack names pictures in upper case, so it comes back as " +
                                  base::GbkToUtf8(UpperName(e->name)));
      pictures.emplace_back(dir / fs::path(std::u8string(file.begin(), file.end())), e);
    } else {
      ++result.values;
    }
  }
  fs::create_directories(dir);
  for (const auto& [path, e] : pictures) {
    tools::WriteBinaryFile(path, e->data);
    ++result.pictures;
  }
  tools::WriteBinaryFile(dir / kSkinToml, base::AsBytes(toml));
  return result;
}

}  // namespace mkskin
