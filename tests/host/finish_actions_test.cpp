// The decisions behind the wizard's finish actions: which processes are
// stopped, which tutorial page opens and how often, which programs start and
// the batch file that starts each one.
#include "installer/finish_actions.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/host/gbk_literal.h"

namespace {

using installer::TSetupRecord;
using testing_support::Gbk;

// A process list that remembers what was ended, and with which exit code.
class FakeProcessTable : public installer::ProcessTable {
public:
  explicit FakeProcessTable(std::vector<installer::ProcessEntry> processes)
      : processes_(std::move(processes)) {}
  std::vector<installer::ProcessEntry> List() override { return processes_; }
  void Terminate(std::uint32_t id, std::uint32_t exit_code) override {
    terminated.emplace_back(id, exit_code);
  }

  std::vector<std::pair<std::uint32_t, std::uint32_t>> terminated;

private:
  std::vector<installer::ProcessEntry> processes_;
};

TEST(StopMatchingProcesses, EndsEveryProcessOfExactlyThatNameWithMinusOne) {
  FakeProcessTable table({{10, L"VANTO-X.exe"},
                          {11, L"vanto-x.exe"},
                          {12, L"VANTO-X.EXE"},
                          {13, L"VANTO-X.exe"},
                          {14, L"VANTO-X.exe.bak"},
                          {15, L"VANTO-X.ex"},
                          {16, L"ZEF-H-Up.exe"},
                          {17, L" VANTO-X.exe"}});

  installer::StopMatchingProcesses(table, L"VANTO-X.exe");

  using Ended = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
  EXPECT_EQ(table.terminated, (Ended{{10, 0xFFFFFFFFu}, {13, 0xFFFFFFFFu}}));
}

TEST(StopMatchingProcesses, ChineseNamesCompareAsTheirCharacters) {
  // 墨柘.exe and 墨柘测.exe
  FakeProcessTable table({{1, L"\u58A8\u67D8\u6D4B.exe"}, {2, L"\u58A8\u67D8.exe"}});
  installer::StopMatchingProcesses(table, L"\u58A8\u67D8.exe");
  ASSERT_EQ(table.terminated.size(), 1u);
  EXPECT_EQ(table.terminated[0].first, 2u);
}

TEST(StopMatchingProcesses, TheInstallerItselfIsSpared) {
  FakeProcessTable table({{10, L"VANTO-X.exe"}, {11, L"VANTO-X.exe"}});
  installer::StopMatchingProcesses(table, L"VANTO-X.exe", 11);
  ASSERT_EQ(table.terminated.size(), 1u);
  EXPECT_EQ(table.terminated[0].first, 10u);
}

TEST(StopMatchingProcesses, NothingRunningEndsNothing) {
  FakeProcessTable table({});
  installer::StopMatchingProcesses(table, L"VANTO-X.exe");
  EXPECT_TRUE(table.terminated.empty());
}

// ---------------------------------------------------------------------------

TEST(TutorialOpenCount, OfflineOpensNothingWhateverTheFlags) {
  EXPECT_EQ(installer::TutorialOpenCount(std::nullopt), 0);
}

TEST(TutorialOpenCount, EachOfModemLanAndProxyOpensOnce) {
  using installer::TutorialOpenCount;
  EXPECT_EQ(TutorialOpenCount(0u), 0);
  EXPECT_EQ(TutorialOpenCount(1u), 1);       // modem only
  EXPECT_EQ(TutorialOpenCount(2u), 1);       // LAN only
  EXPECT_EQ(TutorialOpenCount(4u), 1);       // proxy only
  EXPECT_EQ(TutorialOpenCount(2u | 4u), 2);  // LAN behind a proxy: twice
  EXPECT_EQ(TutorialOpenCount(7u), 3);
}

TEST(TutorialOpenCount, OtherConnectionBitsOpenNothing) {
  // RAS installed (0x10), offline mode (0x20), configured (0x40).
  EXPECT_EQ(installer::TutorialOpenCount(0x10u | 0x20u | 0x40u), 0);
  EXPECT_EQ(installer::TutorialOpenCount(0x40u | 2u), 1);
}

TEST(TutorialSite, IsTheWebSiteWithOneTrailingSlash) {
  EXPECT_EQ(installer::TutorialSite("http://www.vanto.example.com"),
            "http://www.vanto.example.com/");
  EXPECT_EQ(installer::TutorialSite("http://www.vanto.example.com/"),
            "http://www.vanto.example.com/");
  EXPECT_EQ(installer::TutorialSite("http://vanto.example.com/help"),
            "http://vanto.example.com/help/");
  EXPECT_EQ(installer::TutorialSite(""), "");
}

class TutorialUrlTest : public ::testing::Test {
protected:
  static std::string Url(const std::string& product) {
    return installer::TutorialUrl("http://t.example/", product);
  }
};

TEST_F(TutorialUrlTest, ProductNameWithoutVantoPrefixNamesThePage) {
  EXPECT_EQ(Url("VANTO-X"), "http://t.example/X-jiaocheng.html");
  EXPECT_EQ(Url("VANTO-VANTO-Y"), "http://t.example/Y-jiaocheng.html");
  EXPECT_EQ(Url("X-VANTO-Z"), "http://t.example/X-Z-jiaocheng.html");
  EXPECT_EQ(Url("Tool"), "http://t.example/Tool-jiaocheng.html");
  EXPECT_EQ(Url("VANTO-"), "http://t.example/-jiaocheng.html");
}

TEST_F(TutorialUrlTest, ZefHasThePlainPage) {
  EXPECT_EQ(Url("ZEF"), "http://t.example/jiaocheng.html");
  EXPECT_EQ(Url("VANTO-ZEF"), "http://t.example/jiaocheng.html");
  EXPECT_EQ(Url("VANTO-VANTO-ZEF"), "http://t.example/jiaocheng.html");
  // Only the name ZEF itself: case and neighbours count.
  EXPECT_EQ(Url("zef"), "http://t.example/zef-jiaocheng.html");
  EXPECT_EQ(Url("ZEF-H"), "http://t.example/ZEF-H-jiaocheng.html");
}

TEST_F(TutorialUrlTest, PrefixIsMatchedWithCaseAndOnlyInTheOriginalText) {
  EXPECT_EQ(Url("vanto-X"), "http://t.example/vanto-X-jiaocheng.html");
  EXPECT_EQ(Url("VANTO X"), "http://t.example/VANTO X-jiaocheng.html");
  // Removing the inner "VANTO-" joins "VANT" and "O-X" into a new one, which
  // stays.
  EXPECT_EQ(Url("VANTVANTO-O-X"), "http://t.example/VANTO-X-jiaocheng.html");
}

TEST_F(TutorialUrlTest, ChineseNamesKeepEveryCharacterWhole) {
  EXPECT_EQ(Url(Gbk(u8"VANTO-墨柘")), "http://t.example/" + Gbk(u8"墨柘") + "-jiaocheng.html");
  // 癡 is B0 56: its trail byte is a "V", and "ANTO-" follows it.
  const std::string chi = Gbk(u8"癡");
  ASSERT_EQ(chi, "\xB0V");
  EXPECT_EQ(Url(chi + "ANTO-X"), "http://t.example/" + chi + "ANTO-X-jiaocheng.html");
  EXPECT_EQ(Url(chi + "VANTO-X"), "http://t.example/" + chi + "X-jiaocheng.html");
}

// ---------------------------------------------------------------------------

TEST(IsLaunchEntry, DesktopAndBothStartTheProgramOtherLocationsDoNot) {
  installer::TSetupShortcutEntry shortcut{};
  for (int location : {0, 2}) {
    shortcut.Location = static_cast<std::uint8_t>(location);
    EXPECT_TRUE(installer::IsLaunchEntry(shortcut)) << location;
  }
  for (int location : {1, 3, 5, 255}) {
    shortcut.Location = static_cast<std::uint8_t>(location);
    EXPECT_FALSE(installer::IsLaunchEntry(shortcut)) << location;
  }
}

class LaunchTargetsTest : public ::testing::Test {
protected:
  void SetUp() override {
    record_->InstallDir.Assign(Gbk(u8"C:\\Program Files\\墨柘 工具"));
    record_->FileCount = 3;
    record_->Files[0].Name.Assign("\\VANTO-X.exe");
    record_->Files[1].Name.Assign("\\Help.chm");
    record_->Files[2].Name.Assign("\\bin\\ZEF-H-Up.exe");
  }
  void AddShortcut(std::int32_t file_index, std::uint8_t location) {
    installer::TSetupShortcutEntry& s = record_->Shortcuts[record_->ShortcutCount++];
    s.FileIndex = file_index;
    s.Location = location;
  }
  std::string Program(int file) const {
    return record_->InstallDir.Value() + record_->Files[file].Name.Value();
  }

  std::unique_ptr<TSetupRecord> record_ = std::make_unique<TSetupRecord>();
};

TEST_F(LaunchTargetsTest, LaunchEntriesInTableOrder) {
  AddShortcut(2, 2);
  AddShortcut(1, 1);  // Programs group only
  AddShortcut(1, 3);  // desktop, yet no launch
  AddShortcut(0, 0);
  AddShortcut(0, 5);
  AddShortcut(2, 0);  // the same program again starts again

  EXPECT_EQ(installer::LaunchTargets(*record_),
            (std::vector<std::string>{Program(2), Program(0), Program(2)}));
  EXPECT_EQ(Program(0), Gbk(u8"C:\\Program Files\\墨柘 工具\\VANTO-X.exe"));
}

TEST_F(LaunchTargetsTest, NoLaunchEntriesOrNoShortcutsStartNothing) {
  AddShortcut(0, 1);
  AddShortcut(1, 3);
  EXPECT_TRUE(installer::LaunchTargets(*record_).empty());

  record_->Shortcuts[0].Location = 0;
  record_->ShortcutCount = 0;
  EXPECT_TRUE(installer::LaunchTargets(*record_).empty());
  record_->ShortcutCount = -1;
  EXPECT_TRUE(installer::LaunchTargets(*record_).empty());
}

TEST_F(LaunchTargetsTest, FileIndexOutsideTheUsedFilesIsPassedOver) {
  AddShortcut(-1, 0);
  AddShortcut(3, 0);  // a slot after the three used files
  AddShortcut(100000, 2);
  AddShortcut(1, 0);
  EXPECT_EQ(installer::LaunchTargets(*record_), std::vector<std::string>{Program(1)});
}

TEST_F(LaunchTargetsTest, CountAboveTheTableWalksTheWholeTableOnly) {
  for (int j = 0; j < installer::kTableSlots; ++j) AddShortcut(j % 3, j == 255 ? 0 : 1);
  record_->ShortcutCount = 100000;
  EXPECT_EQ(installer::LaunchTargets(*record_), std::vector<std::string>{Program(0)});
}

TEST(LaunchBatchFileName, FirstIsTempBatThenNumberedFromTwo) {
  EXPECT_EQ(installer::LaunchBatchFileName(0), "temp.bat");
  EXPECT_EQ(installer::LaunchBatchFileName(1), "temp2.bat");
  EXPECT_EQ(installer::LaunchBatchFileName(2), "temp3.bat");
  EXPECT_EQ(installer::LaunchBatchFileName(9), "temp10.bat");
}

TEST(LaunchBatchText, WaitsStartsTheQuotedProgramAndDeletesItselfByQuotedPath) {
  EXPECT_EQ(installer::LaunchBatchText("C:\\Program Files\\X\\a.exe", "D:\\My Setup\\temp.bat"),
            "@echo off\r\n"
            "echoc\r\n"
            "CHOICE /T 3 /C ync /CS /D y /n \r\n"
            "echoc\r\n"
            "start \"\" \"C:\\Program Files\\X\\a.exe\"\r\n"
            "echoc\r\n"
            "Del \"D:\\My Setup\\temp.bat\"\r\n"
            "echoc\r\n"
            "exit\r\n");
}

TEST(LaunchBatchText, PathBytesPassUnchangedExceptDoubledPercent) {
  // 誠 (D5 5C) ends in a backslash byte; the bytes are the caller's.
  const std::string cheng = "\xD5\x5C";
  std::string text = installer::LaunchBatchText("C:\\100% " + cheng + "\\a.exe",
                                                "C:\\%TEMP%\\" + cheng + "\\temp2.bat");
  EXPECT_NE(text.find("\r\nstart \"\" \"C:\\100%% " + cheng + "\\a.exe\"\r\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("\r\nDel \"C:\\%%TEMP%%\\" + cheng + "\\temp2.bat\"\r\n"), std::string::npos)
      << text;
}

}  // namespace
