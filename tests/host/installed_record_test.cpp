// The record copy the uninstaller goes by. Since it decides what is
// deleted, a copy that is not exactly what the installation wrote must be
// refused as a whole: every single damaged byte and every cut, not just the
// ones zlib happens to notice before the record's last byte.
#include "uninstaller/installed_record.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/bytes.h"
#include "installer/packed_block.h"
#include "tests/host/expect_error.h"
#include "tests/host/fake_file_system.h"

namespace {

constexpr char kPath[] = "C:\\App\\V_an.cx";

struct InstalledRecordTest : ::testing::Test {
  InstalledRecordTest() {
    record->ProductName.Assign("Prod");
    record->PublisherKey.Assign("Vanto");
    record->FileCount = 2;
    record->Files[0].Name.Assign("\\App.exe");
    record->Files[1].Name.Assign("\\docs\\a.txt");
    packed = installer::PackBlock(installer::RecordBytes(*record));
  }

  // Whether the copy with these bytes is taken; a copy taken must hold
  // exactly the record that was packed.
  bool Taken(const base::Bytes& bytes) {
    fs.files[kPath] = bytes;
    std::unique_ptr<installer::TSetupRecord> read;
    try {
      read = uninstaller::ReadInstalledRecord(fs, kPath);
    } catch (const base::Error&) {
      return false;
    }
    const base::ByteView expected = installer::RecordBytes(*record);
    const base::ByteView got = installer::RecordBytes(*read);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), got.begin(), got.end()))
        << "a changed record was taken";
    return true;
  }

  std::unique_ptr<installer::TSetupRecord> record = std::make_unique<installer::TSetupRecord>();
  base::Bytes packed;
  testing_support::FakeFileSystem fs;
};

TEST_F(InstalledRecordTest, AWholeCopyIsTakenTrailingBytesAside) {
  ASSERT_TRUE(Taken(packed));
  base::Bytes with_tail = packed;
  with_tail.push_back(0x00);  // the installer never looks past the stream either
  EXPECT_TRUE(Taken(with_tail));
}

// A few changes leave the stream meaning the same bytes (a code length of a
// symbol never used, a padding bit): those may be taken, as Taken checks.
// Everything else must be refused, whether zlib finds it while inflating or
// only the Adler-32 value at the end tells.
TEST_F(InstalledRecordTest, EveryDamagedByteIsRefusedUnlessTheRecordIsTheSame) {
  int refused = 0, changes = 0;
  for (std::size_t i = 0; i < packed.size(); ++i) {
    for (std::uint8_t flip : {0x01, 0x80}) {
      base::Bytes damaged = packed;
      damaged[i] ^= flip;
      ++changes;
      if (!Taken(damaged)) ++refused;
    }
  }
  EXPECT_GT(refused, changes * 9 / 10);
}

TEST_F(InstalledRecordTest, EveryCutIsRefused) {
  for (std::size_t size = 0; size < packed.size(); ++size)
    EXPECT_FALSE(Taken(base::Bytes(packed.begin(), packed.begin() + size))) << size;
}

TEST_F(InstalledRecordTest, TheReasonIsNamed) {
  testing_support::ExpectErrorContaining([&] { uninstaller::ReadInstalledRecord(fs, kPath); },
                                         "is missing");

  // Another length than a record's: a block of something else.
  base::Bytes other = installer::PackBlock(base::AsBytes("not a record"));
  fs.files[kPath] = other;
  testing_support::ExpectErrorContaining([&] { uninstaller::ReadInstalledRecord(fs, kPath); },
                                         "announces 12 bytes");

  // Whole, but a file name that climbs out of the install folder.
  record->Files[1].Name.Assign("\\..\\Windows\\notepad.exe");
  fs.files[kPath] = installer::PackBlock(installer::RecordBytes(*record));
  testing_support::ExpectErrorContaining(
      [&] { uninstaller::ReadInstalledRecord(fs, kPath); },
      "breaks the record's rules. The setup data is damaged: File entry 1");
}

}  // namespace
