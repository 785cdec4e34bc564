// The skin data container and the reader's tables: chain rules, the
// look-up rules, and the limits the format leaves open.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/error.h"
#include "base/file_system.h"
#include "framework/graphics/bmp_codec.h"
#include "skin/reader/sk2_skin_file_reader.h"
#include "skin/reader/skin_container.h"
#include "tools/mkskin/skin_archive_writer.h"
#include "tools/mkskin/skin_container_writer.h"
#include "tests/host/skin_file_test_support.h"

namespace {

using base::Bytes;
using skin::reader::Tsk2SkinFileReader;
namespace container = skin::reader::container;

Bytes Picture(int w, int h, graphics::TColor color) {
  graphics::TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, color);
  return graphics::WriteBmp(b);
}

// A file system that records what is written and removed, over the real one.
class RecordingFileSystem : public base::FileSystem {
public:
  bool FileExists(const std::string& p) override { return real_.FileExists(p); }
  bool DirectoryExists(const std::string& p) override { return real_.DirectoryExists(p); }
  bool MakeDirectory(const std::string& p) override { return real_.MakeDirectory(p); }
  bool RemoveEmptyDirectory(const std::string& p) override { return real_.RemoveEmptyDirectory(p); }
  bool RemoveFile(const std::string& p) override {
    removed.push_back(p);
    return real_.RemoveFile(p);
  }
  Bytes ReadWholeFile(const std::string& p) override { return real_.ReadWholeFile(p); }
  void WriteWholeFile(const std::string& p, base::ByteView d) override {
    written.push_back(p);
    real_.WriteWholeFile(p, d);
  }
  std::vector<std::string> written, removed;

private:
  base::FileSystem& real_ = base::NativeFileSystem();
};

class SkinReader : public testing_support::ScratchDirTest {
protected:

  // A skin file holding container, written and returned as its path.
  std::string SkinFile(const Bytes& container_bytes, const std::string& password = {}) {
    mkskin::ArchiveOptions options;
    options.password = password;
    options.seed = 1;
    const std::string path = (dir / ("skin" + std::to_string(count_++) + ".skn")).string();
    base::NativeFileSystem().WriteWholeFile(
        path, mkskin::WriteSkinArchive("SKINDATA.SK2", container_bytes, options));
    return path;
  }

private:
  int count_ = 0;
};

TEST_F(SkinReader, TablesAndLookUps) {
  const std::string long_name(64, 'L');  // fills the field: no NUL
  const Bytes c = mkskin::WriteContainer({
      mkskin::BitmapEntry("SKIN2_BUTTON", Picture(6, 2, 0x0000FF)),
      mkskin::IntegerEntry("SKIN2_FORMCOLOR", 0x00F0E0D0),
      mkskin::IntegerEntry("MINUS", -1),
      mkskin::BooleanEntry("TWO", 2),
      mkskin::BooleanEntry("HUNDRED_AND_256", 0),
      mkskin::IntegerEntry("DUP", 1),
      mkskin::IntegerEntry("dup", 2),
      mkskin::BitmapEntry("PIC", Picture(1, 1, 0x00FF00)),
      mkskin::BitmapEntry("pic", Picture(2, 2, 0x00FF00)),
      mkskin::IntegerEntry(long_name, 64),
      mkskin::StringEntry("SKIN_NAME", "Jade"),
  });
  RecordingFileSystem fs;
  const std::string path = SkinFile(c);
  Tsk2SkinFileReader reader(path, "", fs);
  ASSERT_TRUE(reader.Complete());
  EXPECT_EQ(reader.ExtractionResult(), skin::reader::erDone);

  const graphics::TBitmap* button = reader.FindBitmap("skin2_button");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Width(), 6);
  EXPECT_EQ(button->Pixel(5, 1), 0x0000FFu);
  EXPECT_EQ(reader.FindBitmap("SKIN2_CHECKBOX"), nullptr);
  EXPECT_EQ(reader.FindBitmap("PIC")->Width(), 1);  // the first of two, in file order

  EXPECT_EQ(reader.ReadInteger("Skin2_FormColor"), 0x00F0E0D0);
  EXPECT_EQ(reader.ReadInteger("MINUS"), -1);  // indistinguishable from missing
  EXPECT_EQ(reader.ReadInteger("ABSENT"), -1);
  EXPECT_EQ(reader.ReadInteger("DUP"), 1);
  EXPECT_EQ(reader.ReadInteger(long_name), 64);
  EXPECT_EQ(reader.ReadInteger(long_name.substr(0, 63)), -1);
  EXPECT_TRUE(reader.ReadBool("two"));
  EXPECT_FALSE(reader.ReadBool("HUNDRED_AND_256"));
  EXPECT_FALSE(reader.ReadBool("ABSENT"));
  // Each look-up reads its own table only.
  EXPECT_FALSE(reader.ReadBool("DUP"));
  EXPECT_EQ(reader.ReadInteger("TWO"), -1);
  ASSERT_EQ(reader.Strings().size(), 1u);
  EXPECT_EQ(reader.Strings()[0], "SKIN_NAME=Jade");
  EXPECT_EQ(reader.Integers()[0], "SKIN2_FORMCOLOR=15786192");

  // The member went through one temporary file named by a GUID, deleted
  // again before the constructor returned.
  ASSERT_EQ(fs.written.size(), 1u);
  ASSERT_EQ(fs.removed, fs.written);
  const std::string& temp = fs.written[0];
  EXPECT_EQ(temp.back(), '}');
  EXPECT_EQ(temp.size() - temp.rfind('{'), 38u) << temp;
  EXPECT_FALSE(base::NativeFileSystem().FileExists(temp));
}

TEST_F(SkinReader, ChainOfNRecordsGivesNMinusOneEntriesAndSkipsUnknownKinds) {
  Bytes c = mkskin::WriteContainer({mkskin::IntegerEntry("A", 1), mkskin::IntegerEntry("B", 2),
                                    mkskin::IntegerEntry("C", 3)});
  c[mkskin::RecordOffset(1) + container::kRecordKind] = 9;  // B: a kind from the future
  const auto entries = container::ParseContainer(c);
  ASSERT_EQ(entries.size(), 3u);
  Tsk2SkinFileReader reader(SkinFile(c), "");
  EXPECT_TRUE(reader.Complete());
  EXPECT_EQ(reader.Integers(), (std::vector<std::string>{"A=1", "C=3"}));

  // Cutting the chain after A: its next record is the end.
  Bytes cut = c;
  base::PutU32(cut.data() + mkskin::RecordOffset(0) + container::kRecordNext,
               static_cast<std::uint32_t>(mkskin::RecordOffset(3)));
  EXPECT_EQ(container::ParseContainer(cut).size(), 1u);
}

TEST_F(SkinReader, OddValueSizesAreClamped) {
  EXPECT_EQ(container::IntegerValue(Bytes{0x34, 0x12}), 0x1234);
  EXPECT_EQ(container::IntegerValue(Bytes{1, 0, 0, 0, 0xFF, 0xFF}), 1);
  EXPECT_EQ(container::IntegerValue(Bytes{0xFF, 0xFF, 0xFF, 0xFF}), -1);
  EXPECT_EQ(container::IntegerValue(Bytes{}), 0);
  EXPECT_EQ(container::BooleanValue(Bytes{}), 0);
  EXPECT_EQ(container::BooleanValue(Bytes{0, 7}), 0);
}

TEST_F(SkinReader, DamagedContainersRaiseAndLeaveNoTemporaryFile) {
  const Bytes good = mkskin::WriteContainer(
      {mkskin::BitmapEntry("P", Picture(2, 2, 0)), mkskin::IntegerEntry("A", 1)});
  struct Damage {
    const char* what;
    std::size_t offset;
    std::uint32_t value;
  };
  const std::uint32_t past = static_cast<std::uint32_t>(good.size());
  const Damage damages[] = {
      {"header size below 24", container::kHeaderSizeField, 20},
      {"first record past the end", container::kHeaderFirstRecordField, past},
      {"first record overlapping the end", container::kHeaderFirstRecordField, past - 76},
      {"data past the end", mkskin::RecordOffset(1) + container::kRecordDataOffset, past},
      {"data size past the end", mkskin::RecordOffset(1) + container::kRecordDataSize, past},
      {"size near 4 GB", mkskin::RecordOffset(1) + container::kRecordDataSize, 0xFFFFFFFF},
      {"a chain that loops", mkskin::RecordOffset(1) + container::kRecordNext,
       static_cast<std::uint32_t>(mkskin::RecordOffset(0))},
      {"a picture that is no BMP", mkskin::RecordOffset(0) + container::kRecordDataOffset,
       static_cast<std::uint32_t>(mkskin::RecordOffset(0))},
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.what);
    Bytes c = good;
    base::PutU32(c.data() + d.offset, d.value);
    RecordingFileSystem fs;
    const std::string path = SkinFile(c);
    try {
      Tsk2SkinFileReader reader(path, "", fs);
      ADD_FAILURE() << "no error";
    } catch (const base::Error& e) {
      EXPECT_STREQ(e.what(), "Failed to read skin file!");
    }
    EXPECT_EQ(fs.removed, fs.written);
  }

  // Records may share data, but not so much that the entries' data together
  // outgrows the container: three records naming one large picture.
  Bytes shared = mkskin::WriteContainer({mkskin::BitmapEntry("P", Picture(60, 60, 0)),
                                         mkskin::IntegerEntry("A", 1),
                                         mkskin::IntegerEntry("B", 2)});
  const std::size_t p = mkskin::RecordOffset(0);
  for (const std::size_t r : {mkskin::RecordOffset(1), mkskin::RecordOffset(2)}) {
    shared[r + container::kRecordKind] = 0;
    std::copy_n(shared.begin() + static_cast<std::ptrdiff_t>(p + container::kRecordDataOffset), 8,
                shared.begin() + static_cast<std::ptrdiff_t>(r + container::kRecordDataOffset));
  }
  EXPECT_THROW(container::ParseContainer(shared), base::Error);
  Bytes small = mkskin::WriteContainer({mkskin::IntegerEntry("A", 7), mkskin::IntegerEntry("B", 8)});
  std::copy_n(small.begin() + static_cast<std::ptrdiff_t>(mkskin::RecordOffset(0) +
                                                          container::kRecordDataOffset),
              4,
              small.begin() + static_cast<std::ptrdiff_t>(mkskin::RecordOffset(1) +
                                                          container::kRecordDataOffset));
  const auto both = container::ParseContainer(small);
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(container::IntegerValue(both[1].data), 7);  // B reads A's bytes

  // A larger header is fine: only its first 24 bytes are read.
  Bytes larger = good;
  base::PutU32(larger.data() + container::kHeaderSizeField, 4096);
  EXPECT_TRUE(Tsk2SkinFileReader(SkinFile(larger), "").Complete());
}

// An RLE8 BMP of any size that ends at once: a few dozen bytes naming
// width x height pixels.
Bytes EmptyRle8Bmp(int width, int height) {
  Bytes b(14 + 40 + 2 * 4 + 2, 0);
  b[0] = 'B';
  b[1] = 'M';
  base::PutU32(&b[2], static_cast<std::uint32_t>(b.size()));
  base::PutU32(&b[10], 14 + 40 + 8);
  base::PutU32(&b[14], 40);
  base::PutU32(&b[18], static_cast<std::uint32_t>(width));
  base::PutU32(&b[22], static_cast<std::uint32_t>(height));
  base::PutU16(&b[26], 1);
  base::PutU16(&b[28], 8);
  base::PutU32(&b[30], 1);  // BI_RLE8
  base::PutU32(&b[46], 2);
  b[b.size() - 2] = 0;  // end of bitmap
  b[b.size() - 1] = 1;
  return b;
}

TEST_F(SkinReader, AllPicturesOfAFileShareOnePicturesPixelBudget) {
  // Each within the BMP decoder's own limit, together beyond it: refused
  // before the second one's pixels are allocated.
  const Bytes two = mkskin::WriteContainer({mkskin::BitmapEntry("A", EmptyRle8Bmp(6000, 6000)),
                                            mkskin::BitmapEntry("B", EmptyRle8Bmp(6000, 6000))});
  EXPECT_THROW(Tsk2SkinFileReader(SkinFile(two), ""), base::Error);
  const Bytes one = mkskin::WriteContainer({mkskin::BitmapEntry("A", EmptyRle8Bmp(6000, 6000)),
                                            mkskin::BitmapEntry("B", EmptyRle8Bmp(100, 100))});
  Tsk2SkinFileReader reader(SkinFile(one), "");
  ASSERT_TRUE(reader.Complete());
  EXPECT_EQ(reader.FindBitmap("A")->Width(), 6000);
}

TEST_F(SkinReader, FailedAndRejectedFiles) {
  const Bytes c = mkskin::WriteContainer({mkskin::IntegerEntry("A", 5)});
  {
    SCOPED_TRACE("encrypted, no password: incomplete, no error");
    const std::string path = SkinFile(c, "secret");
    Tsk2SkinFileReader reader(path, "");
    EXPECT_FALSE(reader.Complete());
    EXPECT_EQ(reader.ExtractionResult(), skin::reader::erRejected);
    EXPECT_EQ(reader.ReadInteger("A"), -1);
    Tsk2SkinFileReader right(path, "secret");
    EXPECT_TRUE(right.Complete());
    EXPECT_EQ(right.ReadInteger("A"), 5);
  }
  {
    SCOPED_TRACE("not a skin file at all");
    const std::string path = (dir / "plain.txt").string();
    base::NativeFileSystem().WriteWholeFile(path, base::AsBytes("just some text, no archive"));
    EXPECT_THROW(Tsk2SkinFileReader(path, ""), base::Error);
    EXPECT_THROW(Tsk2SkinFileReader((dir / "missing.skn").string(), ""), base::Error);
  }
}

}  // namespace
