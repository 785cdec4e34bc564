// The target-folder rules of the wizard's folder page and the start-up
// choice of the folder: the edge cases users actually type.
#include "installer/wizard_rules.h"

#include <gtest/gtest.h>

#include "installer/wizard_texts.h"
#include "tests/host/fake_file_system.h"
#include "tests/host/gbk_literal.h"

namespace {

using installer::ValidateTargetFolder;
namespace texts = installer::wizard_texts;

struct FolderTest : ::testing::Test {
  testing_support::FakeFileSystem fs;
  void SetUp() override { fs.folders = {"C:\\", "D:\\", "D:\\Apps"}; }
};

TEST_F(FolderTest, EmptyAndBlankTextAskForAFolder) {
  for (const char* t : {"", "   ", "\t\r\n"}) EXPECT_EQ(ValidateTargetFolder(t, fs).message, texts::kChooseFolder) << t;
}

TEST_F(FolderTest, RelativePathsAndSingleLettersNeedAFullPath) {
  for (const char* t : {"c", "Apps", "\\Apps"})
    EXPECT_EQ(ValidateTargetFolder(t, fs).message, texts::kFullPathNeeded) << t;
  // A text that begins with a double-byte character has no ':' second.
  EXPECT_EQ(ValidateTargetFolder(testing_support::Gbk(u8"中:\\x"), fs).message,
            texts::kFullPathNeeded);
}

TEST_F(FolderTest, DriveRootsAreRefused) {
  for (const char* t : {"C:", "C:\\", "  C:\\  "})
    EXPECT_EQ(ValidateTargetFolder(t, fs).message, texts::kNotDriveRoot) << t;
}

TEST_F(FolderTest, BlanksAreTrimmedAndAnExistingFolderIsAccepted) {
  auto d = ValidateTargetFolder("  D:\\Apps  ", fs);
  EXPECT_TRUE(d.accepted);
  EXPECT_EQ(d.message, nullptr);
  EXPECT_EQ(d.folder, "D:\\Apps");
}

TEST_F(FolderTest, AMissingFolderIsCreatedAtOnceOrRefused) {
  auto d = ValidateTargetFolder("D:\\Apps\\VANTO-X\\bin", fs);
  EXPECT_TRUE(d.accepted);
  EXPECT_EQ(fs.folders.count("D:\\Apps\\VANTO-X\\bin"), 1u);
  fs.read_only_folders = {"C:"};
  fs.folders.erase("C:\\");
  fs.folders.insert("C:");
  d = ValidateTargetFolder("Q:\\Nowhere", fs);
  EXPECT_FALSE(d.accepted);
  EXPECT_EQ(d.message, texts::kCannotCreateFolder);
}

TEST(WizardRulesTest, BrowsedFoldersGetTheShortNameAppended) {
  EXPECT_EQ(installer::BrowsedFolderText("E:\\", "VANTO-X"), "E:\\VANTO-X");
  EXPECT_EQ(installer::BrowsedFolderText("E:\\Tools", "VANTO-X"), "E:\\Tools\\VANTO-X");
}

TEST(WizardRulesTest, ReleaseDateWithFullStopsAndATrailingSpace) {
  EXPECT_EQ(installer::ReleaseDateText("20240301"), "2024.03.01 ");
  EXPECT_EQ(installer::ReleaseDateText(""), ".. ");
}

TEST(WizardRulesTest, StartUpFolderChoice) {
  EXPECT_EQ(installer::InitialInstallDir("E:\\Old\\VANTO-X", true, "D:\\", "VANTO-X"),
            "E:\\Old\\VANTO-X");
  EXPECT_EQ(installer::InitialInstallDir("E:\\Old\\VANTO-X", false, "D:\\", "VANTO-X"),
            "D:\\VANTO-X");
  EXPECT_EQ(installer::InitialInstallDir("E:\\", true, "C:\\", "VANTO-X"), "C:\\VANTO-X");
  EXPECT_EQ(installer::InitialInstallDir("", false, "C:\\", "VANTO-X"), "C:\\VANTO-X");
  EXPECT_EQ(installer::RegistryPathFromRoot("\\Software\\VANTO\\VANTO-X"), "Software\\VANTO\\VANTO-X");
}

}  // namespace
