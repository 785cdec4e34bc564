// The record is read byte for byte; these cases pin how its fields read and
// how the one field the installer writes is stored.
#include "installer/setup_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "installer/texts.h"
#include "tests/host/gbk_literal.h"

namespace {

using installer::TSetupRecord;

std::unique_ptr<TSetupRecord> NewRecord() { return std::make_unique<TSetupRecord>(); }

TEST(SetupRecord, TextReadsOnlyItsLengthIgnoringLeftOvers) {
  auto r = NewRecord();
  std::memcpy(r->ShortName.Storage, "VANTO-XJJ", 9);
  r->ShortName.Length = 7;
  EXPECT_EQ(r->ShortName.Value(), "VANTO-X");
  r->ShortName.Length = 0;
  EXPECT_EQ(r->ShortName.Value(), "");
  EXPECT_EQ(r->ProductName.Value() + installer::texts::kWizardTitleSuffix,
            testing_support::Gbk(u8" 安装向导"));
}

TEST(SetupRecord, DamagedLengthNeverReadsPastTheField) {
  auto r = NewRecord();
  r->ReleaseDate.Length = 200;
  EXPECT_FALSE(r->ReleaseDate.LengthInRange());
  EXPECT_EQ(r->ReleaseDate.Value().size(), 8u);
}

TEST(SetupRecord, AssigningInstallDirCutsAt128AndKeepsTheStorageTail) {
  auto r = NewRecord();
  r->InstallDir.Assign(std::string(130, 'a'));
  EXPECT_EQ(r->InstallDir.Length, 128);
  EXPECT_EQ(r->InstallDir.Value(), std::string(128, 'a'));
  r->InstallDir.Assign("D:\\X");
  EXPECT_EQ(r->InstallDir.Value(), "D:\\X");
  EXPECT_EQ(r->InstallDir.Storage[4], 'a');  // left-over, not part of the value
  EXPECT_EQ(r->PackChecksum, 0u);           // nothing spilled into the next field
}

TEST(SetupRecord, LoadingCopiesTheFrontAndIgnoresTheRest) {
  auto r = NewRecord();
  r->FileCount = 9;
  base::Bytes data(10, 0x41);
  data[0] = 3;
  installer::LoadRecordBytes(*r, data);
  EXPECT_EQ(r->Author.Value(), "AAA");
  EXPECT_EQ(r->FileCount, 9);  // beyond the data: kept

  base::Bytes full(installer::kSetupRecordSize + 100, 0);
  base::PutU32(full.data() + 37164, 6);
  installer::LoadRecordBytes(*r, full);
  EXPECT_EQ(r->FileCount, 6);
  EXPECT_EQ(std::memcmp(installer::RecordBytes(*r).data(), full.data(), installer::kSetupRecordSize), 0);
}

TEST(SetupRecord, TableWalksClampCounts) {
  EXPECT_EQ(installer::UsedEntries(-5), 0);
  EXPECT_EQ(installer::UsedEntries(0), 0);
  EXPECT_EQ(installer::UsedEntries(6), 6);
  EXPECT_EQ(installer::UsedEntries(100000), 256);
}

TEST(SetupRecord, ShortcutLocationsOtherThanZeroAndOneMeanBoth) {
  EXPECT_TRUE(installer::ShortcutOnDesktop(0));
  EXPECT_FALSE(installer::ShortcutInPrograms(0));
  EXPECT_FALSE(installer::ShortcutOnDesktop(1));
  EXPECT_TRUE(installer::ShortcutInPrograms(1));
  for (std::uint8_t l : {2, 5, 255}) {
    EXPECT_TRUE(installer::ShortcutOnDesktop(l));
    EXPECT_TRUE(installer::ShortcutInPrograms(l));
  }
}

TEST(SetupRecord, NamesWithStarDotAreSkipped) {
  installer::TSetupFileEntry e{};
  for (const char* name : {"\\*.txt", "\\docs\\a*.b", "*."}) {
    e.Name.Assign(name);
    EXPECT_TRUE(installer::IsSkippedFileEntry(e)) << name;
  }
  for (const char* name : {"\\a.txt", "\\*", "\\a.*"}) {
    e.Name.Assign(name);
    EXPECT_FALSE(installer::IsSkippedFileEntry(e)) << name;
  }
}

}  // namespace
