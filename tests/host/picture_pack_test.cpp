// The pictures the programs carry. The build draws each as a 24-bit BMP,
// which its checks judge, and hands the resource compiler the packed form
// its resource script names (resources/pack_picture.py: a PNG inside a
// DIB, run-length encoding, or the 24-bit picture when neither is
// smaller). Here every packed form of both sets decodes through the
// programs' own reader to exactly its 24-bit picture's pixels, and every
// 24-bit picture of the build is accounted for: listed by its packed form,
// or the source of a JPEG.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "base/file_system.h"
#include "framework/graphics/bmp_codec.h"

namespace {

using base::Bytes;

struct Listed {
  std::string name, type, file;
};

Bytes Read(const std::string& path) { return base::NativeFileSystem().ReadWholeFile(path); }

// The lines `NAME TYPE "file"` of a resource script.
std::vector<Listed> ReadScript(const std::string& path) {
  const Bytes text = Read(path);
  std::istringstream lines(base::AsString(text));
  std::vector<Listed> listed;
  for (std::string line; std::getline(lines, line);) {
    if (line.empty()) continue;
    std::istringstream words(line);
    Listed entry;
    words >> entry.name >> entry.type >> entry.file;
    EXPECT_TRUE(entry.file.size() > 2 && entry.file.front() == '"' && entry.file.back() == '"')
        << line;
    entry.file = entry.file.substr(1, entry.file.size() - 2);
    listed.push_back(entry);
  }
  return listed;
}

void ExpectSamePixels(const graphics::TBitmap& got, const graphics::TBitmap& want) {
  ASSERT_EQ(got.Width(), want.Width());
  ASSERT_EQ(got.Height(), want.Height());
  for (int y = 0; y < want.Height(); ++y) {
    for (int x = 0; x < want.Width(); ++x) {
      ASSERT_EQ(got.Row(y)[x], want.Row(y)[x]) << "at " << x << "," << y;
    }
  }
}

std::uint32_t Compression(const Bytes& bmp) {
  return bmp.size() >= 34 ? base::GetU32(bmp.data() + 30) : 0xFFFFFFFF;
}

// Checks one folder of a picture set.
void CheckPictures(const std::string& dir, const std::string& script) {
  const std::vector<Listed> listed = ReadScript(dir + "/" + script);
  std::set<std::string> accounted;
  int packed_forms = 0;
  int compressed = 0;
  for (const Listed& entry : listed) {
    SCOPED_TRACE(entry.name);
    if (entry.type == "RCDATA") {
      // A JPEG, carried as it is; its 24-bit source stays in the folder.
      EXPECT_EQ(entry.file, entry.name + ".jpg");
      accounted.insert(entry.name + ".bmp");
      continue;
    }
    ASSERT_EQ(entry.type, "BITMAP");
    EXPECT_EQ(entry.file, "packed/" + entry.name + ".bmp");
    const Bytes source_file = Read(dir + "/" + entry.name + ".bmp");
    const Bytes packed_file = Read(dir + "/" + entry.file);
    accounted.insert(entry.name + ".bmp");
    ++packed_forms;
    if (Compression(packed_file) != 0) ++compressed;
    EXPECT_LE(packed_file.size(), source_file.size());

    const graphics::TBitmap source = graphics::ReadBmp(source_file);
    ExpectSamePixels(graphics::ReadBmp(packed_file), source);
    // windres stores the file less its 14-byte file header: the packed DIB
    // the programs read through ReadPackedDib.
    ASSERT_GT(packed_file.size(), 14u);
    ExpectSamePixels(graphics::ReadPackedDib(base::ByteView(packed_file).subspan(14)), source);
  }
  std::set<std::string> on_disk;
  for (const auto& file : std::filesystem::directory_iterator(dir)) {
    if (file.is_regular_file() && file.path().extension() == ".bmp")
      on_disk.insert(file.path().filename().string());
  }
  EXPECT_EQ(on_disk, accounted) << "24-bit pictures that no resource script line accounts for";
  // A tiny picture may stay as it is; a packer that fell back to that for
  // all would pass the pixel checks above.
  EXPECT_GT(packed_forms, 0);
  EXPECT_GT(compressed, packed_forms * 9 / 10);
}

TEST(PackedPictures, EveryThemePictureDecodesToItsSource) {
  CheckPictures(VANTO_THEME_PICTURES_DIR, "theme_pictures.rc");
}

TEST(PackedPictures, EveryWizardPictureDecodesToItsSource) {
  CheckPictures(VANTO_WIZARD_PICTURES_DIR, "wizard_pictures.rc");
}

}  // namespace
