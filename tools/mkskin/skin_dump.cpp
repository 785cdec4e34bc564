#include "tools/mkskin/skin_dump.h"

#include <nlohmann/json.hpp>

#include <algorithm>

#include "base/error.h"
#include "base/text_codec.h"
#include "framework/graphics/bmp_codec.h"
#include "skin/reader/sk2_skin_file_reader.h"
#include "skin/reader/skin_archive_layout.h"
#include "skin/reader/skin_container.h"
#include "skin/sui_skin_items.h"
#include "tools/mkskin/skin_manifest.h"

namespace mkskin {

namespace container = skin::reader::container;
using nlohmann::ordered_json;
using skin::reader::TExtractResult;

const char* KindName(std::uint8_t kind) {
  switch (static_cast<container::TEntryKind>(kind)) {
    case container::TEntryKind::Bitmap: return "bitmap";
    case container::TEntryKind::Integer: return "integer";
    case container::TEntryKind::Boolean: return "boolean";
    case container::TEntryKind::String: return "string";
  }
  return "unknown";
}

const char* ResultName(TExtractResult result) {
  switch (result) {
    case skin::reader::erDone: return "done";
    case skin::reader::erFailed: return "failed";
    case skin::reader::erRejected: return "rejected";
  }
  return "failed";
}

int BmpBitsPerPixel(base::ByteView bmp) {
  constexpr std::size_t kFileHeader = 14;
  constexpr std::size_t kCoreHeaderSize = 12;  // BITMAPCOREHEADER: u16 bits at 10
  if (bmp.size() < kFileHeader + 4) return 0;
  const std::uint32_t header_size = base::GetU32(&bmp[kFileHeader]);
  const std::size_t at = kFileHeader + (header_size == kCoreHeaderSize ? 10 : 14);
  if (header_size < kCoreHeaderSize || bmp.size() < at + 2) return 0;
  return base::GetU16(&bmp[at]);
}

SkinDump DumpSkinFile(base::ByteView skin_file, const std::string& password) {
  SkinDump dump;
  base::Bytes content;
  dump.result = skin::reader::ExtractArchiveMember(
      skin_file, skin::reader::archive::kSkinDataMember, password, content);
  if (dump.result != skin::reader::erDone) return dump;
  std::vector<container::TEntry> entries;
  try {
    entries = container::ParseContainer(content);
  } catch (const base::Error& e) {
    dump.failure = e.what();
    return dump;
  }
  dump.complete = true;
  skin::reader::TSkinPictureBudget budget;
  for (const container::TEntry& e : entries) {
    DumpEntry d;
    d.name = e.name;
    d.kind = e.kind;
    d.data.assign(e.data.begin(), e.data.end());
    switch (static_cast<container::TEntryKind>(e.kind)) {
      case container::TEntryKind::Bitmap:
        try {
          // The reader's pixel budget, checked as the reader checks it.
          budget.Charge(e.data);
          graphics::TBitmap bitmap = graphics::ReadBmp(e.data);
          d.width = bitmap.Width();
          d.height = bitmap.Height();
          d.bits_per_pixel = BmpBitsPerPixel(e.data);
        } catch (const base::Error& error) {
          // The reader refuses the whole file for one bad picture.
          d.problem = error.what();
          dump.complete = false;
        }
        break;
      case container::TEntryKind::Integer: d.value = container::IntegerValue(e.data); break;
      case container::TEntryKind::Boolean: d.value = container::BooleanValue(e.data); break;
      default: break;
    }
    dump.entries.push_back(std::move(d));
  }
  return dump;
}

namespace {

// Readers look names up without regard to case.
bool IsColorItem(const std::string& name) {
  return skin::SkinItemKindOf(UpperName(name)) == skin::TSkinItemKind::Color;
}

// Control characters as escapes, so that every entry stays on its line.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else out += c;
  }
  return out;
}

std::string ValueText(const DumpEntry& e) {
  switch (static_cast<container::TEntryKind>(e.kind)) {
    case container::TEntryKind::Bitmap:
      if (e.problem) return "not a readable picture (" + *e.problem + ")";
      return std::to_string(e.width) + " x " + std::to_string(e.height) + ", " +
             std::to_string(e.bits_per_pixel) + " bits per pixel";
    case container::TEntryKind::Integer: {
      std::string text = std::to_string(e.value);
      // Colour values with the high byte 0 are RGB; others are system colours.
      if (IsColorItem(e.name) && (static_cast<std::uint32_t>(e.value) >> 24) == 0)
        text += " (" + FormatHtmlColor(static_cast<std::uint32_t>(e.value)) + ")";
      return text;
    }
    case container::TEntryKind::Boolean: {
      std::string text = e.value ? "true" : "false";
      if (e.value > 1) text += " (" + std::to_string(e.value) + ")";
      return text;
    }
    case container::TEntryKind::String:
      return "\"" + Escaped(base::GbkToUtf8(base::AsString(e.data))) + "\"";
  }
  return std::to_string(e.data.size()) + " bytes of kind " + std::to_string(e.kind) +
         ", skipped by readers";
}

}  // namespace

std::string DumpText(const SkinDump& dump) {
  std::string out = std::string("extraction: ") + ResultName(dump.result) + "\n";
  if (dump.failure) out += "container: " + *dump.failure + "\n";
  std::vector<std::string> names;
  std::size_t width = 0;
  for (const DumpEntry& e : dump.entries) {
    names.push_back(base::GbkToUtf8(e.name));
    width = std::max(width, names.back().size());
  }
  for (std::size_t i = 0; i < dump.entries.size(); ++i) {
    const DumpEntry& e = dump.entries[i];
    std::string name = names[i];
    name.resize(width, ' ');
    std::string kind = KindName(e.kind);
    kind.resize(8, ' ');
    out += name + "  " + kind + ValueText(e) + "\n";
  }
  out += std::to_string(dump.entries.size()) + " entries; " +
         (dump.complete ? "complete." : "not complete: a reader would not load this skin.") +
         "\n";
  return out;
}

std::string DumpJson(const SkinDump& dump) {
  ordered_json j;
  j["result"] = ResultName(dump.result);
  j["complete"] = dump.complete;
  if (dump.failure) j["failure"] = *dump.failure;
  ordered_json entries = ordered_json::array();
  for (const DumpEntry& e : dump.entries) {
    ordered_json entry = {{"name", base::GbkToUtf8(e.name)}, {"kind", KindName(e.kind)}};
    switch (static_cast<container::TEntryKind>(e.kind)) {
      case container::TEntryKind::Bitmap:
        if (e.problem) {
          entry["problem"] = *e.problem;
        } else {
          entry["width"] = e.width;
          entry["height"] = e.height;
          entry["bits_per_pixel"] = e.bits_per_pixel;
        }
        break;
      case container::TEntryKind::Integer: entry["value"] = e.value; break;
      case container::TEntryKind::Boolean: entry["value"] = e.value != 0; break;
      case container::TEntryKind::String:
        entry["value"] = base::GbkToUtf8(base::AsString(e.data));
        break;
      default:
        entry["kind_code"] = e.kind;
        entry["size"] = e.data.size();
        break;
    }
    entries.push_back(std::move(entry));
  }
  j["entries"] = std::move(entries);
  return j.dump(2) + "\n";
}

}  // namespace mkskin
