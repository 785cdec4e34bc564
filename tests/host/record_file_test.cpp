// Start-up loads the record through "tmp.cx" beside the installer; these
// cases pin which files that touches and what a failure leaves behind.
#include "installer/record_file.h"

#include <gtest/gtest.h>

#include "installer/packed_block.h"
#include "installer/startup_payload.h"
#include "tests/host/fake_file_system.h"

namespace {

using testing_support::FakeFileSystem;

struct RecordFileTest : ::testing::Test {
  FakeFileSystem fs;
  installer::MemoryResourceSource resources;
  std::unique_ptr<installer::TSetupRecord> record = std::make_unique<installer::TSetupRecord>();
  base::Bytes ini;

  void SetUp() override {
    fs.folders = {"C:\\", "C:\\Setup"};
    auto source = std::make_unique<installer::TSetupRecord>();
    source->ProductName.Assign("VANTO-X");
    source->FileCount = 1;
    source->Files[0].Name.Assign("\\VANTO-X.exe");
    ini = installer::PackBlock(installer::RecordBytes(*source));
    resources.Set("SETUPINI", ini);
  }
};

TEST_F(RecordFileTest, SaveSetupIniWritesTheResourceAsStored) {
  fs.files["C:\\Setup\\x.cx"] = {1, 2, 3};
  installer::SaveSetupIni(resources, fs, "C:\\Setup\\x.cx");
  EXPECT_EQ(fs.files["C:\\Setup\\x.cx"], ini);
}

TEST_F(RecordFileTest, LoadingFromAMissingFileChangesNothing) {
  record->FileCount = 3;
  installer::LoadSetupRecord(fs, "C:\\Setup\\none.cx", *record);
  EXPECT_EQ(record->FileCount, 3);
}

TEST_F(RecordFileTest, PassesThroughTmpCxAndRemovesIt) {
  fs.files["C:\\Setup\\tmp.cx"] = {9, 9};  // left from before: replaced, then gone
  installer::LoadRecordThroughTempFile(resources, fs, "C:\\Setup", *record);
  EXPECT_EQ(record->ProductName.Value(), "VANTO-X");
  EXPECT_EQ(fs.files.count("C:\\Setup\\tmp.cx"), 0u);
  EXPECT_NE(std::find(fs.calls.begin(), fs.calls.end(), "write C:\\Setup\\tmp.cx"), fs.calls.end());
}

TEST_F(RecordFileTest, AtADriveRootTheFileSitsInTheRoot) {
  installer::LoadRecordThroughTempFile(resources, fs, "C:\\", *record);
  EXPECT_NE(std::find(fs.calls.begin(), fs.calls.end(), "write C:\\tmp.cx"), fs.calls.end());
}

TEST_F(RecordFileTest, ReadOnlyFolderFailsWithTheCreateMessage) {
  fs.read_only_folders = {"C:\\Setup"};
  try {
    installer::LoadRecordThroughTempFile(resources, fs, "C:\\Setup\\", *record);
    FAIL() << "no error";
  } catch (const base::Error& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"C:\\Setup\\tmp.cx\". ", 0), 0u)
        << e.what();
  }
  EXPECT_EQ(record->ProductName.Value(), "");
}

TEST_F(RecordFileTest, AFailedLoadLeavesTmpCxBehind) {
  base::Bytes broken = ini;
  broken.resize(10);
  resources.Set("SETUPINI", broken);
  EXPECT_THROW(installer::LoadRecordThroughTempFile(resources, fs, "C:\\Setup", *record),
               base::Error);
  EXPECT_EQ(fs.files.count("C:\\Setup\\tmp.cx"), 1u);
}

TEST_F(RecordFileTest, MissingResourceIsNamed) {
  installer::MemoryResourceSource empty;
  try {
    installer::LoadRecordThroughTempFile(empty, fs, "C:\\Setup", *record);
    FAIL() << "no error";
  } catch (const base::Error& e) {
    EXPECT_STREQ(e.what(), "Resource SETUPINI not found");
  }
}

TEST_F(RecordFileTest, StartUpRefusesABrokenRecordBeforeTheProductIsTouched) {
  auto source = std::make_unique<installer::TSetupRecord>();
  source->FileCount = 1;
  source->Files[0].Name.Assign("\\..\\..\\Windows\\evil.dll");
  resources.Set("SETUPINI", installer::PackBlock(installer::RecordBytes(*source)));
  try {
    installer::LoadValidatedRecord(resources, fs, "C:\\Setup", *record);
    FAIL() << "no error";
  } catch (const base::Error& e) {
    EXPECT_NE(std::string(e.what()).find("File entry 0 \"\\..\\..\\Windows\\evil.dll\""),
              std::string::npos)
        << e.what();
  }
  EXPECT_EQ(fs.files.count("C:\\Setup\\tmp.cx"), 0u);
}

TEST_F(RecordFileTest, StartUpRefusesFilesPastThePackageEnd) {
  auto source = std::make_unique<installer::TSetupRecord>();
  source->FileCount = 1;
  source->Files[0].Name.Assign("\\a.txt");
  source->Files[0].Size = 11;
  resources.Set("SETUPPACK", installer::PackBlock(base::Bytes(10, 1)));
  std::unique_ptr<base::MemoryStream> package;
  EXPECT_THROW(installer::LoadValidatedPackage(resources, *source, package), base::Error);
  source->Files[0].Size = 10;
  source->PackChecksum = 10;
  EXPECT_TRUE(installer::LoadValidatedPackage(resources, *source, package));
  source->PackChecksum = 11;
  EXPECT_FALSE(installer::LoadValidatedPackage(resources, *source, package));
}

}  // namespace
