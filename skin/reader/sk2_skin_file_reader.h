#pragma once
// A skin file, read: its member is extracted into a temporary file, parsed
// into four tables keyed by entry name (bitmaps, integers, booleans,
// strings), and the temporary file is deleted again. A reader never
// changes after construction; a new skin file needs a new reader.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/file_system.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/bmp_codec.h"
#include "skin/reader/skin_archive.h"

namespace skin::reader {

// The message of the error a reader's construction throws for a file that
// is not a usable skin file.
inline constexpr char kSkinFileReadError[] = "Failed to read skin file!";

// All pictures of one skin file together may hold no more pixels than one
// picture may: a compressed BMP names a huge size in a few bytes, and a
// few dozen such entries would otherwise claim gigabytes.
inline constexpr std::size_t kMaxSkinPicturePixels = graphics::kMaxBmpPixels;

// Counts the pixels of one skin file's pictures, from their headers, before
// any of them is decoded.
class TSkinPictureBudget {
public:
  // Throws base::Error when the picture is no BMP or the pictures charged
  // so far pass kMaxSkinPicturePixels.
  void Charge(base::ByteView bmp_file);

private:
  std::size_t pixels_ = 0;
};

class Tsk2SkinFileReader {
public:
  // Throws base::Error kSkinFileReadError when extraction fails (not a skin
  // file, member missing, unreadable or empty) and when the member's
  // content is damaged. A rejected file (encrypted without the right
  // password, or of the wrong size) returns normally, not Complete().
  Tsk2SkinFileReader(const std::string& skin_file, const std::string& password,
                     base::FileSystem& fs = base::NativeFileSystem());
  Tsk2SkinFileReader(const Tsk2SkinFileReader&) = delete;
  Tsk2SkinFileReader& operator=(const Tsk2SkinFileReader&) = delete;

  // The whole chain of entries was read.
  bool Complete() const { return complete_; }
  TExtractResult ExtractionResult() const { return extraction_; }

  // Look-ups compare names without regard to ASCII case; the first entry
  // of that name in file order wins.
  // The bitmap stays the reader's; none when absent.
  const graphics::TBitmap* FindBitmap(std::string_view name) const;
  // -1 when absent or not a decimal number (so -1 stored reads as absent).
  std::int32_t ReadInteger(std::string_view name) const;
  // The low 8 bits of the stored value, nonzero; false when absent.
  bool ReadBool(std::string_view name) const;

  // The tables, in file order. Integers, booleans and strings are kept as
  // NAME=value lines.
  const std::vector<std::pair<std::string, std::unique_ptr<graphics::TBitmap>>>& Bitmaps() const {
    return bitmaps_;
  }
  const std::vector<std::string>& Integers() const { return integers_; }
  const std::vector<std::string>& Booleans() const { return booleans_; }
  const std::vector<std::string>& Strings() const { return strings_; }

private:
  void Load(const std::string& skin_file, const std::string& password, base::FileSystem& fs);
  void Parse(base::ByteView container);

  std::vector<std::pair<std::string, std::unique_ptr<graphics::TBitmap>>> bitmaps_;
  std::vector<std::string> integers_;
  std::vector<std::string> booleans_;
  std::vector<std::string> strings_;
  bool complete_ = false;
  TExtractResult extraction_ = erFailed;
};

// Where the member is extracted to: the temporary directory followed by a
// new GUID in registry form ("{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"),
// without extension.
std::string TemporarySkinDataPath();

}  // namespace skin::reader
