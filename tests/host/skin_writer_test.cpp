// The skin file writer against the skin reader: containers and archives
// written here read back through the reader's own code, with the layout
// pinned where a reader depends on it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/error.h"
#include "skin/reader/pkware_cipher.h"
#include "skin/reader/sk2_skin_file_reader.h"
#include "skin/reader/skin_archive.h"
#include "skin/reader/skin_archive_layout.h"
#include "skin/reader/skin_container.h"
#include "tests/host/skin_file_test_support.h"
#include "tools/mkskin/skin_archive_writer.h"
#include "tools/mkskin/skin_container_writer.h"

namespace {

namespace container = skin::reader::container;
namespace archive = skin::reader::archive;
namespace fs = std::filesystem;
using mkskin::SkinEntry;
using skin::reader::erDone;
using skin::reader::erFailed;
using skin::reader::erRejected;
using testing_support::BmpFile;

const std::string kLongName(64, 'N');

std::vector<SkinEntry> SampleEntries() {
  return {mkskin::IntegerEntry("SKIN2_FORMCOLOR", 0x00F8F4F0),
          mkskin::BitmapEntry("SKIN2_BUTTON", BmpFile(21, 7)),
          mkskin::IntegerEntry("SKIN2_TITLEBARCAPTIONTOP", -7),
          mkskin::BooleanEntry(kLongName, 1),
          mkskin::StringEntry("SKIN_NAME", "Jade"),
          mkskin::StringEntry("EMPTY", "")};
}

// Some kilobytes that Deflate shrinks but not to nothing: runs and noise.
base::Bytes LargeContent() {
  base::Bytes b;
  std::uint32_t x = 12345;
  for (int i = 0; i < 200000; ++i) {
    x = x * 1103515245 + 12345;
    b.push_back(static_cast<std::uint8_t>((i % 3000) < 1500 ? i / 7 : x >> 24));
  }
  return b;
}

TEST(SkinContainerWriter, RecordsFormAChainEndedByAnEmptyRecord) {
  const std::vector<SkinEntry> entries = SampleEntries();
  const base::Bytes c = mkskin::WriteContainer(entries);
  const std::size_t n = entries.size();

  EXPECT_EQ(std::string(reinterpret_cast<const char*>(c.data()), 10), "VANTO SKIN");
  EXPECT_EQ(base::GetU32(&c[container::kHeaderSizeField]), 24u);
  EXPECT_EQ(base::GetU32(&c[mkskin::kContainerVersionField]), mkskin::kContainerVersion);
  EXPECT_EQ(base::GetU32(&c[container::kHeaderFirstRecordField]), 24u);

  std::size_t data_size = 0;
  for (const SkinEntry& e : entries) data_size += e.data.size();
  ASSERT_EQ(c.size(), 24 + 77 * (n + 1) + data_size);  // n entries need n + 1 records

  std::size_t data_at = 24 + 77 * (n + 1);
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t* r = &c[24 + 77 * i];
    SCOPED_TRACE(entries[i].name);
    EXPECT_EQ(base::GetU32(r + container::kRecordNext), 24 + 77 * (i + 1));
    EXPECT_EQ(r[container::kRecordKind], static_cast<std::uint8_t>(entries[i].kind));
    EXPECT_EQ(base::GetU32(r + container::kRecordDataOffset), data_at);
    EXPECT_EQ(base::GetU32(r + container::kRecordDataSize), entries[i].data.size());
    EXPECT_TRUE(std::equal(entries[i].data.begin(), entries[i].data.end(), c.begin() + data_at));
    data_at += entries[i].data.size();
  }
  const std::uint8_t* last = &c[24 + 77 * n];
  EXPECT_TRUE(std::all_of(last, last + 77, [](std::uint8_t b) { return b == 0; }));

  // A 64-byte name fills its field: no NUL, the kind byte follows at once.
  const std::uint8_t* full = &c[24 + 77 * 3];
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(full), 64), kLongName);
  EXPECT_EQ(full[64], static_cast<std::uint8_t>(container::TEntryKind::Boolean));
  // The integer is 4 bytes, signed, little-endian.
  const std::uint8_t* caption = &c[base::GetU32(&c[24 + 77 * 2 + container::kRecordDataOffset])];
  EXPECT_EQ(base::GetU32(caption), 0xFFFFFFF9u);
}

TEST(SkinContainerWriter, TheReadersParserGetsBackEveryEntry) {
  std::vector<SkinEntry> entries = SampleEntries();
  const base::Bytes c = mkskin::WriteContainer(entries);
  const std::vector<container::TEntry> parsed = container::ParseContainer(c);
  ASSERT_EQ(parsed.size(), entries.size());
  for (std::size_t i = 0; i < parsed.size(); ++i) {
    EXPECT_EQ(parsed[i].name, entries[i].name);
    EXPECT_EQ(parsed[i].kind, static_cast<std::uint8_t>(entries[i].kind));
    EXPECT_EQ(base::Bytes(parsed[i].data.begin(), parsed[i].data.end()), entries[i].data);
  }
  EXPECT_EQ(container::IntegerValue(parsed[2].data), -7);
  EXPECT_EQ(container::BooleanValue(parsed[3].data), 1);

  EXPECT_TRUE(container::ParseContainer(mkskin::WriteContainer({})).empty());
}

TEST(SkinContainerWriter, RefusesNamesTheContainerCannotHold) {
  EXPECT_NO_THROW(mkskin::WriteContainer({mkskin::BooleanEntry(kLongName, 0)}));
  EXPECT_THROW(mkskin::WriteContainer({mkskin::BooleanEntry(kLongName + "X", 0)}), base::Error);
  EXPECT_THROW(mkskin::WriteContainer({mkskin::BooleanEntry("", 0)}), base::Error);
  EXPECT_THROW(mkskin::WriteContainer({mkskin::BooleanEntry(std::string("A\0B", 3), 0)}),
               base::Error);
}

TEST(SkinArchiveWriter, PlainFilesExtractAndFollowTheLayout) {
  const base::Bytes content = LargeContent();
  const base::Bytes file = mkskin::WriteSkinArchive(archive::kSkinDataMember, content);
  base::Bytes out;
  EXPECT_EQ(skin::reader::ExtractArchiveMember(file, "skindata.sk2", "", out), erDone);
  EXPECT_EQ(out, content);
  EXPECT_EQ(skin::reader::ExtractArchiveMember(file, "OTHER.SK2", "", out), erFailed);
  // A password is not asked for, so any does.
  EXPECT_EQ(skin::reader::ExtractArchiveMember(file, archive::kSkinDataMember, "x", out), erDone);
  EXPECT_LT(file.size(), content.size());

  EXPECT_EQ(file[0], 'S');
  EXPECT_EQ(file[1], 'K');
  EXPECT_EQ(base::GetU16(&file[2]), 0x0403);  // the rest of "PK\3\4"
  const std::uint8_t* end = &file[file.size() - 22];
  ASSERT_EQ(base::GetU32(end), archive::kEndRecordSignature);
  EXPECT_EQ(base::GetU16(end + archive::kEndCommentLength), 0);
  EXPECT_EQ(base::GetU16(end + archive::kEndEntriesTotal), 1);
  const std::size_t central = base::GetU32(end + archive::kEndDirectoryOffset);
  EXPECT_EQ(central + base::GetU32(end + archive::kEndDirectorySize), file.size() - 22);
  const std::uint8_t* h = &file[central];
  ASSERT_EQ(base::GetU32(h), archive::kCentralHeaderSignature);
  EXPECT_EQ(base::GetU16(h + archive::kCentralExtraLength), 0);
  EXPECT_EQ(base::GetU16(h + archive::kCentralCommentLength), 0);
  EXPECT_EQ(base::GetU16(h + archive::kCentralMethod), archive::kMethodDeflate);
  EXPECT_EQ(base::GetU16(h + archive::kCentralFlags) &
                (archive::kFlagEncrypted | archive::kFlagDataDescriptor),
            0);
  EXPECT_EQ(base::GetU32(h + archive::kCentralCrc),
            skin::reader::Crc32(content.data(), content.size()));
  EXPECT_EQ(base::GetU32(h + archive::kCentralUncompressedSize), content.size());
  EXPECT_EQ(base::GetU16(&file[archive::kLocalExtraLength]), 0);
  EXPECT_EQ(h + archive::kCentralHeaderSize + 12, end);  // the name, then the end record

  // Equal input, equal file: nothing taken from the clock.
  EXPECT_EQ(mkskin::WriteSkinArchive(archive::kSkinDataMember, content), file);
  EXPECT_EQ(base::GetU16(h + archive::kCentralDate), mkskin::kDosDate);
}

TEST(SkinArchiveWriter, EncryptedFilesNeedTheirPassword) {
  const base::Bytes content = LargeContent();
  const base::Bytes file =
      mkskin::WriteSkinArchive(archive::kSkinDataMember, content, {"s3cret", std::nullopt});
  base::Bytes out;
  EXPECT_EQ(skin::reader::ExtractArchiveMember(file, archive::kSkinDataMember, "s3cret", out),
            erDone);
  EXPECT_EQ(out, content);
  EXPECT_EQ(skin::reader::ExtractArchiveMember(file, archive::kSkinDataMember, "S3CRET", out),
            erRejected);
  EXPECT_EQ(skin::reader::ExtractArchiveMember(file, archive::kSkinDataMember, "", out),
            erRejected);

  // The 12th header byte decrypts to the CRC's high byte.
  const std::size_t data = archive::kLocalHeaderSize + 12;
  ASSERT_EQ(base::GetU16(&file[6]) & archive::kFlagEncrypted, archive::kFlagEncrypted);
  skin::reader::TPkwareKeys keys("s3cret");
  base::Bytes header(file.begin() + data, file.begin() + data + 12);
  keys.Decrypt(header.data(), header.size());
  EXPECT_EQ(header[11], skin::reader::Crc32(content.data(), content.size()) >> 24);
  // Header and data are counted in the stored size.
  EXPECT_EQ(base::GetU32(&file[18]), mkskin::DeflateRaw(content).size() + 12);
}

TEST(SkinArchiveWriter, EncryptionHeadersAreRandomUnlessSeeded) {
  const base::Bytes content = base::Bytes(1000, 'x');
  const mkskin::ArchiveOptions seeded{"pw", 7};
  EXPECT_EQ(mkskin::WriteSkinArchive(archive::kSkinDataMember, content, seeded),
            mkskin::WriteSkinArchive(archive::kSkinDataMember, content, seeded));
  EXPECT_NE(mkskin::WriteSkinArchive(archive::kSkinDataMember, content, seeded),
            mkskin::WriteSkinArchive(archive::kSkinDataMember, content, {"pw", 8}));
  EXPECT_NE(mkskin::WriteSkinArchive(archive::kSkinDataMember, content, {"pw", std::nullopt}),
            mkskin::WriteSkinArchive(archive::kSkinDataMember, content, {"pw", std::nullopt}));
}

class SkinFileRoundTrip : public testing_support::ScratchDirTest {};

TEST_F(SkinFileRoundTrip, TheSkinReaderLoadsWhatTheWriterMade) {
  const std::vector<SkinEntry> entries = SampleEntries();
  const base::Bytes c = mkskin::WriteContainer(entries);
  const fs::path plain = dir / "plain.skn";
  const fs::path locked = dir / "locked.skn";
  testing_support::WriteBytes(plain, mkskin::WriteSkinArchive(archive::kSkinDataMember, c));
  testing_support::WriteBytes(
      locked, mkskin::WriteSkinArchive(archive::kSkinDataMember, c, {"jade", std::nullopt}));

  for (const auto& [file, password] : {std::pair{plain, ""}, std::pair{locked, "jade"}}) {
    SCOPED_TRACE(file.string());
    skin::reader::Tsk2SkinFileReader reader(file.string(), password);
    ASSERT_TRUE(reader.Complete());
    EXPECT_EQ(reader.ExtractionResult(), erDone);
    const graphics::TBitmap* button = reader.FindBitmap("skin2_button");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Width(), 21);
    EXPECT_EQ(button->Height(), 7);
    EXPECT_EQ(button->Pixel(20, 6), graphics::ReadBmp(BmpFile(21, 7)).Pixel(20, 6));
    EXPECT_EQ(reader.ReadInteger("SKIN2_FORMCOLOR"), 0x00F8F4F0);
    EXPECT_EQ(reader.ReadInteger("SKIN2_TITLEBARCAPTIONTOP"), -7);
    EXPECT_TRUE(reader.ReadBool(kLongName));
    EXPECT_EQ(reader.Strings(), (std::vector<std::string>{"SKIN_NAME=Jade", "EMPTY="}));
  }
  for (const char* wrong : {"", "JADE"}) {
    skin::reader::Tsk2SkinFileReader reader(locked.string(), wrong);
    EXPECT_FALSE(reader.Complete()) << wrong;
    EXPECT_EQ(reader.ExtractionResult(), erRejected) << wrong;
    EXPECT_EQ(reader.ReadInteger("SKIN2_FORMCOLOR"), -1);
  }
}

}  // namespace
