// Skin files made by Info-ZIP's zip from a container of our writer: once
// their first two bytes are "SK" the skin reader loads them like its own,
// which shows that the writer and the reader agree with the ZIP format and
// not only with each other. Needs `zip` on the PATH.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "skin/reader/sk2_skin_file_reader.h"
#include "skin/reader/skin_archive_layout.h"
#include "tests/host/skin_file_test_support.h"
#include "tools/mkskin/skin_container_writer.h"
#include "tools/mkskin/skin_dump.h"

namespace {

namespace archive = skin::reader::archive;
namespace fs = std::filesystem;
using skin::reader::Tsk2SkinFileReader;
using testing_support::BmpFile;

// Large enough that zip deflates it instead of storing it.
std::vector<mkskin::SkinEntry> Entries() {
  return {mkskin::IntegerEntry("SKIN2_FORMCOLOR", 0x00F8F4F0),
          mkskin::BitmapEntry("SKIN2_BUTTON", BmpFile(60, 23)),
          mkskin::BitmapEntry("SKIN2_CHECKBOX", BmpFile(78, 13, 32, 3)),
          mkskin::IntegerEntry("SKIN2_TITLEBARCAPTIONTOP", 7),
          mkskin::BooleanEntry("SKIN2_BUTTONTRANS", 1),
          mkskin::StringEntry("SKIN_NAME", "Info-ZIP")};
}

class SkinZipInteropTest : public testing_support::ScratchDirTest {
protected:
  // SKINDATA.SK2 zipped by Info-ZIP with its own options, turned into a
  // skin file.
  fs::path Zip(const std::string& options) {
    testing_support::WriteBytes(dir / archive::kSkinDataMember,
                                mkskin::WriteContainer(Entries()));
    const fs::path zip = dir / "skin.zip";
    fs::remove(zip);
    const std::string command = "cd '" + dir.string() + "' && zip -q -X -9 " + options +
                                " skin.zip " + archive::kSkinDataMember;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    zipped = testing_support::ReadBytes(zip);
    base::Bytes skin = zipped;
    if (skin.size() >= 2) {
      skin[0] = archive::kMagic[0];
      skin[1] = archive::kMagic[1];
    }
    const fs::path path = dir / "skin.skn";
    testing_support::WriteBytes(path, skin);
    return path;
  }

  // With -X, Info-ZIP writes no extra fields, which the reader relies on in
  // the central directory.
  void ExpectDeflatedWithoutExtraFields() {
    ASSERT_GT(zipped.size(), archive::kLocalHeaderSize + archive::kEndRecordSize);
    EXPECT_EQ(base::GetU32(zipped.data()), archive::kLocalHeaderSignature);
    EXPECT_EQ(base::GetU16(&zipped[8]), archive::kMethodDeflate);
    EXPECT_EQ(base::GetU16(&zipped[archive::kLocalExtraLength]), 0);
    const std::uint8_t* end = &zipped[zipped.size() - archive::kEndRecordSize];
    ASSERT_EQ(base::GetU32(end), archive::kEndRecordSignature);
    const std::uint8_t* central = &zipped[base::GetU32(end + archive::kEndDirectoryOffset)];
    ASSERT_EQ(base::GetU32(central), archive::kCentralHeaderSignature);
    EXPECT_EQ(base::GetU16(central + archive::kCentralMethod), archive::kMethodDeflate);
    EXPECT_EQ(base::GetU16(central + archive::kCentralExtraLength), 0);
    EXPECT_EQ(base::GetU16(central + archive::kCentralCommentLength), 0);
  }

  // The reader holds every entry with the value the writer was given.
  static void ExpectSameEntries(const Tsk2SkinFileReader& reader) {
    ASSERT_TRUE(reader.Complete());
    EXPECT_EQ(reader.ReadInteger("SKIN2_FORMCOLOR"), 0x00F8F4F0);
    EXPECT_EQ(reader.ReadInteger("SKIN2_TITLEBARCAPTIONTOP"), 7);
    EXPECT_TRUE(reader.ReadBool("SKIN2_BUTTONTRANS"));
    EXPECT_EQ(reader.Strings(), std::vector<std::string>{"SKIN_NAME=Info-ZIP"});
    ASSERT_EQ(reader.Bitmaps().size(), 2u);
    for (const auto& [name, source] : {std::pair{"SKIN2_BUTTON", BmpFile(60, 23)},
                                       std::pair{"SKIN2_CHECKBOX", BmpFile(78, 13, 32, 3)}}) {
      const graphics::TBitmap expected = graphics::ReadBmp(source);
      const graphics::TBitmap* actual = reader.FindBitmap(name);
      ASSERT_NE(actual, nullptr) << name;
      ASSERT_EQ(actual->Width(), expected.Width());
      ASSERT_EQ(actual->Height(), expected.Height());
      for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x)
          ASSERT_EQ(actual->Pixel(x, y), expected.Pixel(x, y)) << name << " " << x << "," << y;
    }
  }

  base::Bytes zipped;
};

TEST_F(SkinZipInteropTest, PlainArchivesLoad) {
  const fs::path skin = Zip("");
  ExpectDeflatedWithoutExtraFields();
  ExpectSameEntries(Tsk2SkinFileReader(skin.string(), ""));

  // dump goes the same way: every entry, in the container's order.
  const mkskin::SkinDump dump = mkskin::DumpSkinFile(testing_support::ReadBytes(skin), "");
  EXPECT_TRUE(dump.complete);
  ASSERT_EQ(dump.entries.size(), Entries().size());
  for (std::size_t i = 0; i < dump.entries.size(); ++i) {
    EXPECT_EQ(dump.entries[i].name, Entries()[i].name);
    EXPECT_EQ(dump.entries[i].data, Entries()[i].data);
  }
}

TEST_F(SkinZipInteropTest, EncryptedArchivesLoadWithTheirPasswordOnly) {
  const fs::path skin = Zip("-e -P secret");
  ExpectDeflatedWithoutExtraFields();
  EXPECT_EQ(base::GetU16(&zipped[6]) & archive::kFlagEncrypted, archive::kFlagEncrypted);
  ExpectSameEntries(Tsk2SkinFileReader(skin.string(), "secret"));
  for (const char* wrong : {"", "Secret", "secret "}) {
    Tsk2SkinFileReader reader(skin.string(), wrong);
    EXPECT_FALSE(reader.Complete()) << wrong;
    EXPECT_EQ(reader.ExtractionResult(), skin::reader::erRejected) << wrong;
  }
}

}  // namespace
