// Reads arbitrary bytes as a whole skin file, through an in-memory file
// system, once without a password and once with "fuzz" (the password the
// encrypted seeds were made with; nothing about it comes from the input, so
// the fuzzer cannot trade the cipher for an easier path). The invariants:
//   - only base::Error comes out of the reader, and only with its one
//     message;
//   - the temporary file of the member never outlives construction, and the
//     skin file is left as it was;
//   - a reader that returns is complete exactly when extraction was done,
//     and rejected otherwise; the extraction result is the one the
//     in-memory extraction gives for the same bytes;
//   - a complete reader holds the container's entries, kind by kind, in
//     order; look-ups ignore ASCII case and find what the tables hold;
//   - the pictures a reader holds stay within the file's pixel budget
//     (kMaxSkinPicturePixels): a picture that ends at once with an RLE
//     end-of-bitmap mark costs some 60 bytes, and compresses to a few, for
//     256 MiB of pixels, so without the budget a skin file of a few hundred
//     bytes could claim gigabytes;
//   - a member that the empty password does not get rejected for is not
//     encrypted, so "fuzz" must read it exactly the same.
// ASan, UBSan and LeakSanitizer watch the archive walk, the decryption, the
// Deflate decoder, the container chain and the BMP decoder underneath.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/error.h"
#include "base/file_system.h"
#include "framework/graphics/bmp_codec.h"
#include "skin/reader/sk2_skin_file_reader.h"
#include "skin/reader/skin_archive.h"
#include "skin/reader/skin_archive_layout.h"
#include "skin/reader/skin_container.h"
#include "skin/sui_skin_items.h"

namespace {

using skin::reader::Tsk2SkinFileReader;
namespace container = skin::reader::container;

constexpr char kSkinPath[] = "C:\\skins\\fuzz.skn";
constexpr char kPassword[] = "fuzz";

// Files as a map from path to bytes: the reader writes its member out and
// reads it back, and nothing of that may reach the disk while fuzzing.
class MemoryFileSystem final : public base::FileSystem {
public:
  std::unordered_map<std::string, base::Bytes> files;

  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  bool DirectoryExists(const std::string&) override { return false; }
  bool MakeDirectory(const std::string&) override { return false; }
  bool RemoveEmptyDirectory(const std::string&) override { return false; }
  bool RemoveFile(const std::string& path) override { return files.erase(path) != 0; }
  base::Bytes ReadWholeFile(const std::string& path) override {
    const auto it = files.find(path);
    if (it == files.end()) throw base::Error("Cannot open file \"" + path + "\". Not found");
    return it->second;
  }
  void WriteWholeFile(const std::string& path, base::ByteView data) override {
    files[path].assign(data.begin(), data.end());
  }
};

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// What one construction left behind, for comparing two of them.
struct Outcome {
  bool threw = false;
  bool complete = false;
  skin::reader::TExtractResult result = skin::reader::erFailed;
  std::vector<std::pair<std::string, std::pair<int, int>>> bitmaps;  // name, size
  std::vector<std::string> integers;
  std::vector<std::string> booleans;
  std::vector<std::string> strings;

  bool operator==(const Outcome&) const = default;
};

// A complete reader against the container parsed straight from the member
// extracted in memory: the temporary file must not have changed a byte.
void CheckTables(const Tsk2SkinFileReader& reader, base::ByteView member) {
  std::vector<container::TEntry> entries;
  try {
    entries = container::ParseContainer(member);
  } catch (const base::Error&) {
    __builtin_trap();  // the reader parsed the same bytes without an error
  }
  std::size_t bitmaps = 0;
  std::size_t integers = 0;
  std::size_t booleans = 0;
  std::size_t strings = 0;
  for (const container::TEntry& e : entries) {
    switch (static_cast<container::TEntryKind>(e.kind)) {
      case container::TEntryKind::Bitmap:
        if (bitmaps >= reader.Bitmaps().size() || reader.Bitmaps()[bitmaps++].first != e.name)
          __builtin_trap();
        break;
      case container::TEntryKind::Integer:
        if (integers >= reader.Integers().size() ||
            reader.Integers()[integers++] !=
                e.name + "=" + std::to_string(container::IntegerValue(e.data)))
          __builtin_trap();
        break;
      case container::TEntryKind::Boolean:
        if (booleans >= reader.Booleans().size() ||
            reader.Booleans()[booleans++] !=
                e.name + "=" + std::to_string(container::BooleanValue(e.data)))
          __builtin_trap();
        break;
      case container::TEntryKind::String:
        if (strings >= reader.Strings().size() ||
            reader.Strings()[strings++] != e.name + "=" + base::AsString(e.data))
          __builtin_trap();
        break;
      default:
        break;
    }
  }
  if (bitmaps != reader.Bitmaps().size() || integers != reader.Integers().size() ||
      booleans != reader.Booleans().size() || strings != reader.Strings().size())
    __builtin_trap();
}

void CheckBitmap(const graphics::TBitmap& bitmap) {
  const int w = bitmap.Width();
  const int h = bitmap.Height();
  if (w < 0 || h < 0 || w > graphics::kMaxBmpSide || h > graphics::kMaxBmpSide ||
      static_cast<std::size_t>(w) * static_cast<std::size_t>(h) > graphics::kMaxBmpPixels)
    __builtin_trap();
  if (w == 0 || h == 0) return;
  // The corners: ASan sees whether the pixels are really width x height.
  volatile graphics::Pixel32 sink = bitmap.Row(0)[0] ^ bitmap.Row(h - 1)[w - 1];
  (void)sink;
}

// The vocabulary look-ups controls make, each also asked in lower case.
void CheckLookups(const Tsk2SkinFileReader& reader) {
  using skin::TSkinItemKind;
  for (int i = 0; i < skin::kSkinPictureItems; ++i) {
    const std::string name(*skin::SkinItemName(TSkinItemKind::Picture, i));
    const graphics::TBitmap* found = reader.FindBitmap(name);
    if (found != reader.FindBitmap(Lower(name))) __builtin_trap();
    if (!found) continue;
    bool held = false;
    for (const auto& [entry_name, bitmap] : reader.Bitmaps()) {
      if (Upper(entry_name) != name) continue;
      held = bitmap.get() == found;  // the first of that name
      break;
    }
    if (!held) __builtin_trap();
  }
  for (const TSkinItemKind kind : {TSkinItemKind::Color, TSkinItemKind::Integer}) {
    for (int i = 0; const auto name = skin::SkinItemName(kind, i); ++i) {
      if (reader.ReadInteger(*name) != reader.ReadInteger(Lower(std::string(*name))))
        __builtin_trap();
    }
  }
  for (int i = 0; const auto name = skin::SkinItemName(TSkinItemKind::Flag, i); ++i) {
    if (reader.ReadBool(*name) != reader.ReadBool(Lower(std::string(*name)))) __builtin_trap();
  }
}

Outcome Read(const base::Bytes& skin_file, const std::string& password) {
  MemoryFileSystem fs;
  fs.files[kSkinPath] = skin_file;

  base::Bytes member;
  const skin::reader::TExtractResult in_memory = skin::reader::ExtractArchiveMember(
      skin_file, skin::reader::archive::kSkinDataMember, password, member);

  Outcome outcome;
  std::optional<Tsk2SkinFileReader> reader;
  try {
    reader.emplace(kSkinPath, password, fs);
  } catch (const base::Error& e) {
    if (std::string(e.what()) != skin::reader::kSkinFileReadError) __builtin_trap();
    outcome.threw = true;
  }
  // Nothing but the skin file, unchanged: the member's temporary copy is
  // gone whichever way construction ended.
  if (fs.files.size() != 1 || fs.files.count(kSkinPath) == 0 || fs.files[kSkinPath] != skin_file)
    __builtin_trap();

  if (outcome.threw) {
    // Thrown for a failed extraction, or for a member whose content is
    // damaged (then it was extracted whole).
    if (in_memory == skin::reader::erRejected) __builtin_trap();
    return outcome;
  }
  outcome.complete = reader->Complete();
  outcome.result = reader->ExtractionResult();
  if (outcome.result != in_memory) __builtin_trap();
  if (outcome.complete != (outcome.result == skin::reader::erDone)) __builtin_trap();
  if (!outcome.complete && outcome.result != skin::reader::erRejected) __builtin_trap();
  if (!outcome.complete) {
    if (!reader->Bitmaps().empty() || !reader->Integers().empty() || !reader->Booleans().empty() ||
        !reader->Strings().empty())
      __builtin_trap();
  } else {
    CheckTables(*reader, member);
  }

  std::size_t pixels = 0;
  for (const auto& [name, bitmap] : reader->Bitmaps()) {
    if (!bitmap) __builtin_trap();
    CheckBitmap(*bitmap);
    pixels +=
        static_cast<std::size_t>(bitmap->Width()) * static_cast<std::size_t>(bitmap->Height());
    if (pixels > skin::reader::kMaxSkinPicturePixels) __builtin_trap();
    if (reader->FindBitmap(name) == nullptr) __builtin_trap();
    outcome.bitmaps.push_back({name, {bitmap->Width(), bitmap->Height()}});
  }
  CheckLookups(*reader);
  outcome.integers = reader->Integers();
  outcome.booleans = reader->Booleans();
  outcome.strings = reader->Strings();
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const base::Bytes skin_file(data, data + size);
  const Outcome plain = Read(skin_file, "");
  const Outcome with_password = Read(skin_file, kPassword);
  // The empty password is refused only by an encrypted member (or by a
  // member of the wrong size, which no password changes): any other outcome
  // says the member is not encrypted, and then the password plays no part.
  const bool rejected = !plain.threw && plain.result == skin::reader::erRejected;
  if (!rejected && !(plain == with_password)) __builtin_trap();
  return 0;
}
