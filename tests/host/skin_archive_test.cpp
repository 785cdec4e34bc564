// Extracting a skin file's member: what the archive layout accepts, and how
// every kind of damage ends (erFailed, erRejected), never outside the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/bytes.h"
#include "base/file_system.h"
#include "skin/reader/pkware_cipher.h"
#include "skin/reader/skin_archive.h"
#include "skin/reader/skin_archive_layout.h"
#include "tools/mkskin/skin_archive_writer.h"
#include "tests/host/skin_file_test_support.h"

namespace {

using base::Bytes;
using namespace skin::reader;
namespace layout = skin::reader::archive;

Bytes Content(std::size_t n) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>((i * 7) % 13 + 'a');
  return b;
}

Bytes Archive(std::string_view member, const Bytes& content, const std::string& password = {}) {
  mkskin::ArchiveOptions options;
  options.password = password;
  options.seed = 7;
  return mkskin::WriteSkinArchive(member, content, options);
}

// Offsets into an archive of one member, from its end record.
std::size_t EndRecord(const Bytes& a) { return a.size() - layout::kEndRecordSize; }
std::size_t Central(const Bytes& a) {
  return base::GetU32(a.data() + EndRecord(a) + layout::kEndDirectoryOffset);
}

TExtractResult Extract(const Bytes& archive, Bytes& out, const std::string& password = {},
                       const std::string& member = layout::kSkinDataMember) {
  return ExtractArchiveMember(archive, member, password, out);
}

TEST(SkinArchive, ExtractsTheMemberByNameInAnyCase) {
  const Bytes content = Content(5000);
  Bytes out;
  EXPECT_EQ(Extract(Archive("SKINDATA.SK2", content), out), erDone);
  EXPECT_EQ(out, content);
  // Stored in lower case, asked for in upper case, and the other way round.
  EXPECT_EQ(Extract(Archive("skindata.sk2", content), out), erDone);
  EXPECT_EQ(out, content);
  EXPECT_EQ(Extract(Archive("SKINDATA.SK2", content), out, {}, "SkinData.Sk2"), erDone);

  bool created = true;
  EXPECT_EQ(ExtractArchiveMember(Archive("OTHER.SK2", content), "SKINDATA.SK2", {}, out, &created),
            erFailed);
  EXPECT_FALSE(created);
}

TEST(SkinArchive, AcceptsOnlyItsOwnLayout) {
  const Bytes good = Archive("SKINDATA.SK2", Content(3000));
  Bytes out;
  {
    SCOPED_TRACE("an ordinary ZIP archive starts with PK");
    Bytes a = good;
    a[0] = 'P';
    EXPECT_EQ(Extract(a, out), erFailed);
  }
  {
    SCOPED_TRACE("an archive comment: the end record is no longer the last 22 bytes");
    Bytes a = good;
    base::PutU16(a.data() + EndRecord(a) + layout::kEndCommentLength, 3);
    a.insert(a.end(), {'h', 'i', '!'});
    EXPECT_EQ(Extract(a, out), erFailed);
  }
  {
    SCOPED_TRACE("comment length set, no comment");
    Bytes a = good;
    base::PutU16(a.data() + EndRecord(a) + layout::kEndCommentLength, 1);
    EXPECT_EQ(Extract(a, out), erFailed);
  }
  {
    SCOPED_TRACE("end record signature");
    Bytes a = good;
    a[EndRecord(a)] ^= 1;
    EXPECT_EQ(Extract(a, out), erFailed);
  }
  {
    SCOPED_TRACE("only the first two bytes of the local signature are checked");
    Bytes a = good;
    a[2] = 'x';
    a[3] = 'y';
    EXPECT_EQ(Extract(a, out), erDone);
  }
  {
    SCOPED_TRACE("the method field is not consulted: the member is always Deflate");
    Bytes a = good;
    base::PutU16(a.data() + Central(a) + layout::kCentralMethod, 0);
    EXPECT_EQ(Extract(a, out), erDone);
  }
  for (const Bytes& tiny : {Bytes{}, Bytes{'S'}, Bytes{'S', 'K'}, Bytes(21, 'S')}) {
    EXPECT_EQ(Extract(tiny, out), erFailed);
  }
}

TEST(SkinArchive, EveryTruncationFailsCleanly) {
  const Bytes good = Archive("SKINDATA.SK2", Content(2000), "pw");
  Bytes out;
  for (std::size_t n = 0; n < good.size(); ++n) {
    const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
    ASSERT_EQ(Extract(cut, out, "pw"), erFailed) << n;
  }
}

TEST(SkinArchive, DirectoryFieldsPointingOutsideTheFile) {
  const Bytes good = Archive("SKINDATA.SK2", Content(3000));
  Bytes out;
  {
    SCOPED_TRACE("central directory past the end record: nothing to walk");
    Bytes a = good;
    base::PutU32(a.data() + EndRecord(a) + layout::kEndDirectoryOffset, 0xFFFFFFF0u);
    EXPECT_EQ(Extract(a, out), erFailed);
  }
  {
    SCOPED_TRACE("a name running into the end record");
    Bytes a = good;
    base::PutU16(a.data() + Central(a) + layout::kCentralNameLength, 0xFFFF);
    EXPECT_EQ(Extract(a, out), erFailed);
  }
  {
    // The member was found, so the size check decides after the read error.
    SCOPED_TRACE("local header offset past the file");
    Bytes a = good;
    base::PutU32(a.data() + Central(a) + layout::kCentralLocalHeaderOffset, 0x7FFFFFFF);
    bool created = false;
    EXPECT_EQ(ExtractArchiveMember(a, "SKINDATA.SK2", {}, out, &created), erRejected);
    EXPECT_TRUE(created);
  }
  {
    SCOPED_TRACE("local name and extra lengths past the file");
    Bytes a = good;
    base::PutU16(a.data() + layout::kLocalExtraLength, 0xFFFF);
    base::PutU16(a.data() + layout::kLocalNameLength, 0xFFFF);
    EXPECT_EQ(Extract(a, out), erRejected);
  }
}

TEST(SkinArchive, NamesLongerThanAPathAreWalkedPast) {
  // Two central headers: one with a 300-byte name, then the member's. The
  // archive writer makes single-member archives, so the first header is
  // spliced in by hand, in front of the real one.
  Bytes a = Archive("SKINDATA.SK2", Content(3000));
  const std::size_t central = Central(a);
  Bytes extra(a.begin() + static_cast<std::ptrdiff_t>(central),
              a.begin() + static_cast<std::ptrdiff_t>(central + layout::kCentralHeaderSize));
  base::PutU16(extra.data() + layout::kCentralNameLength, 300);
  extra.insert(extra.end(), 300, 'N');
  a.insert(a.begin() + static_cast<std::ptrdiff_t>(central), extra.begin(), extra.end());
  Bytes out;
  EXPECT_EQ(Extract(a, out), erDone);
  EXPECT_EQ(out, Content(3000));
}

TEST(SkinArchive, SizeChecksComeLast) {
  const Bytes good = Archive("SKINDATA.SK2", Content(3000));
  Bytes out;
  for (const std::uint32_t stated : {2999u, 3001u, 0u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(stated);
    Bytes a = good;
    base::PutU32(a.data() + Central(a) + layout::kCentralUncompressedSize, stated);
    EXPECT_EQ(Extract(a, out), erRejected);
    EXPECT_LE(out.size(), std::size_t{3000});
  }
  {
    SCOPED_TRACE("a member that decodes to nothing is no skin data");
    EXPECT_EQ(Extract(Archive("SKINDATA.SK2", {}), out), erFailed);
  }
  {
    SCOPED_TRACE("damaged Deflate (a dynamic block with HLIT 288): decoding stops short");
    Bytes a = good;
    const std::size_t data = layout::kLocalHeaderSize + base::GetU16(a.data() + 26) +
                             base::GetU16(a.data() + 28);
    a[data] = 0xFD;  // BFINAL 1, BTYPE 2, HLIT 31
    a[data + 1] = 0xFF;
    EXPECT_EQ(Extract(a, out), erRejected);
  }
}

TEST(SkinArchive, PasswordsAndTheCheckByte) {
  const Bytes content = Content(4000);
  const Bytes a = Archive("SKINDATA.SK2", content, "jade-42");
  Bytes out;
  EXPECT_EQ(Extract(a, out, "jade-42"), erDone);
  EXPECT_EQ(out, content);
  EXPECT_EQ(Extract(a, out, ""), erRejected);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(Extract(a, out, "jade-43"), erRejected);
  // Passwords are bytes: case matters.
  EXPECT_EQ(Extract(a, out, "JADE-42"), erRejected);

  // A plain member ignores any password.
  EXPECT_EQ(Extract(Archive("SKINDATA.SK2", content), out, "whatever"), erDone);

  // With flag bit 3 the check byte is the high byte of the time, not of
  // the CRC.
  Bytes flagged = a;
  std::uint8_t* central = flagged.data() + Central(flagged);
  const std::uint8_t crc_high = central[layout::kCentralCrc + 3];
  base::PutU16(central + layout::kCentralFlags,
               layout::kFlagEncrypted | layout::kFlagDataDescriptor);
  base::PutU16(central + layout::kCentralTime, static_cast<std::uint16_t>(crc_high << 8));
  EXPECT_EQ(Extract(flagged, out, "jade-42"), erDone);
  base::PutU16(central + layout::kCentralTime,
               static_cast<std::uint16_t>(static_cast<std::uint8_t>(crc_high + 1) << 8));
  EXPECT_EQ(Extract(flagged, out, "jade-42"), erRejected);
}

TEST(PkwareCipher, MatchesTheZipKeyScheduleAndRoundTrips) {
  // The CRC-32 check value of "123456789".
  const std::string check = "123456789";
  EXPECT_EQ(Crc32(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()),
            0xCBF43926u);
  Bytes data = Content(100);
  TPkwareKeys encrypt("secret");
  encrypt.Encrypt(data.data(), data.size());
  EXPECT_NE(data, Content(100));
  TPkwareKeys decrypt("secret");
  decrypt.Decrypt(data.data(), data.size());
  EXPECT_EQ(data, Content(100));
}

// The file form: the target exists only after a successful extraction, and
// the skin file is never changed.
class SkinArchiveFiles : public testing_support::ScratchDirTest {
protected:
  std::string Path(const char* name) const { return (dir / name).string(); }
};

TEST_F(SkinArchiveFiles, TargetOnlyAfterSuccess) {
  base::FileSystem& fs = base::NativeFileSystem();
  const Bytes content = Content(6000);
  const Bytes good = Archive("SKINDATA.SK2", content, "pw");
  fs.WriteWholeFile(Path("good.skn"), good);

  EXPECT_EQ(ExtractArchiveEntry(Path("good.skn"), "SKINDATA.SK2", Path("out"), "pw"), erDone);
  EXPECT_EQ(fs.ReadWholeFile(Path("out")), content);
  EXPECT_EQ(fs.ReadWholeFile(Path("good.skn")), good);

  // A rejected extraction removes the target, also one that was there.
  EXPECT_EQ(ExtractArchiveEntry(Path("good.skn"), "SKINDATA.SK2", Path("out"), "no"), erRejected);
  EXPECT_FALSE(fs.FileExists(Path("out")));
  EXPECT_EQ(fs.ReadWholeFile(Path("good.skn")), good);

  // A failed one before the member was found leaves an existing target.
  fs.WriteWholeFile(Path("out"), base::AsBytes("keep"));
  EXPECT_EQ(ExtractArchiveEntry(Path("good.skn"), "ELSE.SK2", Path("out"), "pw"), erFailed);
  EXPECT_TRUE(fs.FileExists(Path("out")));

  EXPECT_EQ(ExtractArchiveEntry(Path("missing.skn"), "SKINDATA.SK2", Path("out2"), ""), erFailed);
  EXPECT_FALSE(fs.FileExists(Path("out2")));
}

}  // namespace
