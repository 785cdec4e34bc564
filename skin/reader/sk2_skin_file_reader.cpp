#include "skin/reader/sk2_skin_file_reader.h"

#include <charconv>

#include "base/error.h"
#include "framework/graphics/bmp_codec.h"
#include "skin/reader/skin_archive_layout.h"
#include "skin/reader/skin_container.h"

namespace skin::reader {
namespace {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

// The value part of the first NAME=value line of that name; the name of a
// line ends at its first '='.
const std::string* FindValue(const std::vector<std::string>& lines, std::string_view name,
                             std::string_view& value) {
  for (const std::string& line : lines) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (!SameNameIgnoringCase(std::string_view(line).substr(0, eq), name)) continue;
    value = std::string_view(line).substr(eq + 1);
    return &line;
  }
  return nullptr;
}

// A decimal number with an optional sign, nothing else around it.
bool ParseDecimal(std::string_view text, std::int32_t& out) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

Tsk2SkinFileReader::Tsk2SkinFileReader(const std::string& skin_file, const std::string& password,
                                       base::FileSystem& fs) {
  Load(skin_file, password, fs);
}

void Tsk2SkinFileReader::Load(const std::string& skin_file, const std::string& password,
                              base::FileSystem& fs) {
  complete_ = false;
  const std::string temporary = TemporarySkinDataPath();
  extraction_ = ExtractArchiveEntry(skin_file, archive::kSkinDataMember, temporary, password, fs);
  if (extraction_ == erRejected) return;
  if (extraction_ == erFailed) throw base::Error(kSkinFileReadError);

  // The temporary file never outlives construction, whatever its content.
  base::Bytes container;
  try {
    container = fs.ReadWholeFile(temporary);
  } catch (const base::Error&) {
    fs.RemoveFile(temporary);
    throw base::Error(kSkinFileReadError);
  }
  fs.RemoveFile(temporary);
  try {
    Parse(container);
  } catch (const base::Error&) {
    throw base::Error(kSkinFileReadError);
  }
  complete_ = true;
}

void Tsk2SkinFileReader::Parse(base::ByteView bytes) {
  TSkinPictureBudget budget;
  for (const container::TEntry& entry : container::ParseContainer(bytes)) {
    switch (static_cast<container::TEntryKind>(entry.kind)) {
      case container::TEntryKind::Bitmap: {
        budget.Charge(entry.data);
        bitmaps_.emplace_back(entry.name,
                              std::make_unique<graphics::TBitmap>(graphics::ReadBmp(entry.data)));
        break;
      }
      case container::TEntryKind::Integer:
        integers_.push_back(entry.name + "=" +
                            std::to_string(container::IntegerValue(entry.data)));
        break;
      case container::TEntryKind::Boolean:
        booleans_.push_back(entry.name + "=" +
                            std::to_string(container::BooleanValue(entry.data)));
        break;
      case container::TEntryKind::String:
        strings_.push_back(entry.name + "=" + base::AsString(entry.data));
        break;
      default:
        break;  // a kind this reader does not know: skipped
    }
  }
}

void TSkinPictureBudget::Charge(base::ByteView bmp_file) {
  const graphics::TPictureSize size = graphics::ReadBmpSize(bmp_file);
  // Each side is at most kMaxBmpSide and the sum stops at the first
  // picture past the budget, so this never overflows.
  pixels_ += static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
  if (pixels_ > kMaxSkinPicturePixels) throw base::Error("Skin pictures too large");
}

const graphics::TBitmap* Tsk2SkinFileReader::FindBitmap(std::string_view name) const {
  for (const auto& [entry_name, bitmap] : bitmaps_) {
    if (SameNameIgnoringCase(entry_name, name)) return bitmap.get();
  }
  return nullptr;
}

std::int32_t Tsk2SkinFileReader::ReadInteger(std::string_view name) const {
  std::string_view text;
  std::int32_t value = 0;
  if (!FindValue(integers_, name, text) || !ParseDecimal(text, value)) return -1;
  return value;
}

bool Tsk2SkinFileReader::ReadBool(std::string_view name) const {
  std::string_view text;
  std::int32_t value = 0;
  if (!FindValue(booleans_, name, text) || !ParseDecimal(text, value)) return false;
  return (value & 0xFF) != 0;
}

}  // namespace skin::reader
