// The uninstall plan: which files, folders, links, values and keys an
// installation of a record left, worked out from the record alone. The
// cases look at what the installation's own walks would have made of odd
// records: patterns, '/' separators, Chinese names whose trail byte is a
// backslash or a letter, a drive root, registry paths relative to the
// entry before them.
#include "uninstaller/uninstall_plan.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/host/gbk_literal.h"

namespace {

using installer::RegistryRoot;
using testing_support::Gbk;
using uninstaller::LinkRef;
using uninstaller::MakeUninstallPlan;
using uninstaller::RegistryKeyRef;
using uninstaller::RegistryValueRef;
using Names = std::vector<std::string>;

constexpr RegistryRoot kHklm = RegistryRoot::kLocalMachine;
constexpr RegistryRoot kHkcu = RegistryRoot::kCurrentUser;
const std::string kCheng = "\xD5\x5C";  // 誠: its trail byte is a backslash

struct UninstallPlanTest : ::testing::Test {
  UninstallPlanTest() {
    r->ProductName.Assign("Prod");
    r->ShortName.Assign("ProdKey");
    r->PublisherKey.Assign("Vanto");
    r->InstallDir.Assign("C:\\Where the builder proposed");
  }

  void AddFile(const std::string& name) { r->Files[r->FileCount++].Name.Assign(name); }
  void AddShortcut(const std::string& name, int file, std::uint8_t location) {
    auto& s = r->Shortcuts[r->ShortcutCount++];
    s.Name.Assign(name);
    s.FileIndex = file;
    s.Location = location;
  }
  void AddValue(bool current_user, const std::string& key, const std::string& name,
                std::uint8_t kind = installer::kRegString) {
    auto& v = r->RegValues[r->RegValueCount++];
    v.CurrentUser = current_user ? 1 : 0;
    v.KeyPath.Assign(key);
    v.ValueName.Assign(name);
    v.Kind = kind;
  }
  uninstaller::UninstallPlan Plan(const std::string& folder = "D:\\App\\",
                                  const std::string& own = "Uninstall.exe") {
    return MakeUninstallPlan(*r, folder, own);
  }

  std::unique_ptr<installer::TSetupRecord> r = std::make_unique<installer::TSetupRecord>();
};

TEST_F(UninstallPlanTest, FilesAreTheRecordsBelowTheFolderItWasFoundInAndTheRecordCopyComesApart) {
  AddFile("\\App.exe");
  AddFile("\\*.txt");  // a pattern: never written
  AddFile("\\docs\\a.txt");
  AddFile("\\uninstall.EXE");       // the running uninstaller, named as Windows compares names
  AddFile("\\bin\\Uninstall.exe");  // the same name, but not the running program's file
  const auto plan = Plan();
  // Where the record copy lies, not where the builder proposed.
  EXPECT_EQ(plan.install_folder, "D:\\App");
  EXPECT_EQ(plan.files,
            (Names{"D:\\App\\App.exe", "D:\\App\\docs\\a.txt", "D:\\App\\bin\\Uninstall.exe"}));
  EXPECT_EQ(plan.own_program, "D:\\App\\uninstall.EXE");
  EXPECT_EQ(plan.record_copy, "D:\\App\\V_an.cx");

  // A record that does not list the uninstaller has nothing to leave for later.
  EXPECT_EQ(MakeUninstallPlan(*r, "D:\\App", "Other.exe").own_program, "");
}

TEST_F(UninstallPlanTest, FoldersComeDeepestFirstOnceEachAndTheInstallFolderLast) {
  AddFile("\\docs\\a.txt");
  AddFile("\\docs\\sub\\deep\\b.txt");
  AddFile("\\DOCS\\Sub\\c.txt");  // the same folders, as Windows compares names
  AddFile("\\res/img\\x.png");    // '/' separates as '\' does
  AddFile("\\top.txt");
  EXPECT_EQ(Plan("D:\\App").folders,
            (Names{"D:\\App\\docs\\sub\\deep", "D:\\App\\docs\\sub", "D:\\App\\res\\img",
                   "D:\\App\\docs", "D:\\App\\res", "D:\\App"}));
}

TEST_F(UninstallPlanTest, ABackslashThatIsATrailByteSeparatesNothing) {
  AddFile("\\" + kCheng + "\\a.txt");
  AddFile("\\b" + kCheng + ".txt");
  const auto plan = Plan("D:\\" + kCheng + "\\");
  // The folder's own trailing backslash goes; the one inside 誠 stays.
  EXPECT_EQ(plan.install_folder, "D:\\" + kCheng);
  EXPECT_EQ(plan.folders, (Names{"D:\\" + kCheng + "\\" + kCheng, "D:\\" + kCheng}));
  EXPECT_EQ(plan.files, (Names{"D:\\" + kCheng + "\\" + kCheng + "\\a.txt",
                               "D:\\" + kCheng + "\\b" + kCheng + ".txt"}));
}

TEST_F(UninstallPlanTest, ADriveRootIsNeverAFolderToRemove) {
  AddFile("\\sub\\a.txt");
  const auto plan = Plan("E:\\");
  EXPECT_EQ(plan.files, (Names{"E:\\sub\\a.txt"}));
  EXPECT_EQ(plan.folders, (Names{"E:\\sub"}));
  EXPECT_EQ(plan.record_copy, "E:\\V_an.cx");
}

TEST_F(UninstallPlanTest, LinksAreThoseTheInstallationMadeOnceEachThenTheUninstallLink) {
  AddFile("\\App.exe");
  AddFile("\\Readme.txt");
  AddShortcut("App", 0, installer::kDesktopOnly);
  AddShortcut("App", 0, installer::kProgramsOnly);
  AddShortcut("Readme", 1, installer::kDesktopAndPrograms);
  AddShortcut("Stray", 300, installer::kDesktopAndPrograms);  // never made: no file
  AddShortcut("readme", 1, 7);  // both places, and the same links as Windows compares names
  const auto plan = Plan();
  EXPECT_EQ(plan.programs_group, "Prod");
  EXPECT_EQ(plan.links, (std::vector<LinkRef>{{LinkRef::kDesktop, "App"},
                                              {LinkRef::kPrograms, "App"},
                                              {LinkRef::kPrograms, "Readme"},
                                              {LinkRef::kDesktop, "Readme"},
                                              {LinkRef::kPrograms, Gbk(u8"卸载Prod")}}));
}

// The installation's RegistryWriter comes to the extra values with the
// product's keys closed and HKLM selected; a path without a leading
// backslash continues from the key opened before, a change of root closes it.
TEST_F(UninstallPlanTest, ExtraValuesLieWhereTheWriterOpenedTheirKeys) {
  AddValue(false, "Software\\Other", "A");       // no key open yet: from the root
  AddValue(false, "Sub", "B");                   // below the one before
  AddValue(false, "", "C");                      // the same key again
  AddValue(false, "\\Software\\Vanto\\X", "D");  // from the root
  AddValue(true, "Cfg", "E");                    // another root: from its root
  AddValue(true, "Deeper", "F");
  AddValue(false, "Again", "G");     // back to HKLM: the HKCU key is closed, from the root
  AddValue(false, "Never", "H", 9);  // a kind that writes nothing
  const auto plan = Plan();
  EXPECT_EQ(plan.extra_values, (std::vector<RegistryValueRef>{
                                   {kHklm, "Software\\Other", "A"},
                                   {kHklm, "Software\\Other\\Sub", "B"},
                                   {kHklm, "Software\\Other\\Sub", "C"},
                                   {kHklm, "Software\\Vanto\\X", "D"},
                                   {kHkcu, "Cfg", "E"},
                                   {kHkcu, "Cfg\\Deeper", "F"},
                                   {kHklm, "Again", "G"},
                               }));
}

TEST_F(UninstallPlanTest, OnlyKeysBelowThePublishersKeyAreCandidatesForRemovalDeepestFirst) {
  AddValue(false, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Prod");  // shared: stays
  AddValue(false, "\\software\\VANTO\\ProdKey\\Paths\\Deep", "Home");  // case differs: still ours
  AddValue(false, "\\Software\\Vanto\\ProdKey", "Extra");  // the product key has its own rule
  AddValue(true, "Software\\Vanto\\ProdKey", "FirstRun");
  AddValue(true, "Window", "Left");
  AddValue(false, "\\Software\\Vanto\\Shared\\Empty", "Never", 9);  // made, though empty
  AddValue(false, "\\Software\\Vanto", "Direct");  // in the publisher key itself: its own rule
  const auto plan = Plan();
  EXPECT_EQ(plan.extra_keys, (std::vector<RegistryKeyRef>{
                                 {kHklm, "software\\VANTO\\ProdKey\\Paths\\Deep"},
                                 {kHklm, "software\\VANTO\\ProdKey\\Paths"},
                                 {kHkcu, "Software\\Vanto\\ProdKey\\Window"},
                                 {kHklm, "Software\\Vanto\\Shared\\Empty"},
                                 {kHkcu, "Software\\Vanto\\ProdKey"},
                                 {kHklm, "Software\\Vanto\\Shared"},
                             }));
  EXPECT_TRUE(plan.user_publisher_key);
}

TEST_F(UninstallPlanTest, ATrailByteThatLooksLikeALetterIsNotFoldedWhenKeysAreCompared) {
  // 乤 is 0x81 0x61 and 丄 0x81 0x41: a byte-wise fold takes them for one
  // character.
  r->PublisherKey.Assign("\x81\x61");
  AddValue(false, "\\Software\\\x81\x41\\Sub", "V");
  AddValue(true, "Software\\\x81\x61\\Sub", "W");
  const auto plan = Plan();
  EXPECT_EQ(plan.extra_keys, (std::vector<RegistryKeyRef>{{kHkcu, "Software\\\x81\x61\\Sub"}}));
}

}  // namespace
