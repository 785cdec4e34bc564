// A record that breaks its data model must be refused before the installer
// acts on it: these cases are the ways a damaged or hostile record could
// make it read outside the package or write outside the target folder.
#include "installer/record_validation.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/host/gbk_literal.h"

namespace {

using installer::TSetupRecord;
using testing_support::Gbk;

std::unique_ptr<TSetupRecord> ValidRecord() {
  auto r = std::make_unique<TSetupRecord>();
  r->ProductName.Assign("VANTO-X");
  r->FileCount = 2;
  r->Files[0].Name.Assign("\\VANTO-X.exe");
  r->Files[0].Size = 10;
  r->Files[1].Name.Assign(Gbk(u8"\\墨柘说明.url"));
  r->Files[1].Offset = 10;
  r->Files[1].Size = 5;
  r->ShortcutCount = 1;
  r->Shortcuts[0].Name.Assign("VANTO-X");
  r->Shortcuts[0].FileIndex = 0;
  return r;
}

bool Mentions(const std::vector<installer::RecordProblem>& problems, const std::string& text) {
  for (const auto& p : problems)
    if (p.message.find(text) != std::string::npos) return true;
  return false;
}

TEST(RecordValidation, AWellFormedRecordPasses) {
  auto r = ValidRecord();
  EXPECT_TRUE(installer::ValidateRecord(*r).empty());
  EXPECT_TRUE(installer::ValidatePackageBounds(*r, 15).empty());
  r->FileCount = 0;
  r->ShortcutCount = 0;
  EXPECT_TRUE(installer::ValidateRecord(*r).empty());
}

TEST(RecordValidation, CountsOutsideTheTablesAreRefused) {
  for (std::int32_t bad : {-1, 257, 0x7FFFFFFF}) {
    auto r = ValidRecord();
    r->RegValueCount = bad;
    auto problems = installer::ValidateRecord(*r);
    EXPECT_TRUE(Mentions(problems, "RegValueCount is " + std::to_string(bad))) << bad;
  }
}

TEST(RecordValidation, ShortcutTargetsMustBeUsedFileEntries) {
  for (std::int32_t bad : {-1, 2, 256}) {
    auto r = ValidRecord();
    r->Shortcuts[0].FileIndex = bad;
    auto problems = installer::ValidateRecord(*r);
    ASSERT_EQ(problems.size(), 1u) << bad;
    EXPECT_TRUE(Mentions(problems, "Shortcut entry 0 \"VANTO-X\" points to file " +
                                       std::to_string(bad)));
  }
}

TEST(RecordValidation, LengthBytesAboveCapacityAreRefused) {
  auto r = ValidRecord();
  r->Date1.Length = 9;
  r->Files[1].Name.Length = 129;
  auto problems = installer::ValidateRecord(*r);
  EXPECT_TRUE(Mentions(problems, "Date1 has a length of 9 bytes"));
  EXPECT_TRUE(Mentions(problems, "File entry 1 name has a length of 129"));
}

TEST(RecordValidation, FileNamesThatCouldLeaveTheTargetFolderAreRefused) {
  for (const char* bad : {"\\..\\evil.exe", "\\a\\..\\..\\evil.exe", "\\a/../../x", "..\\x",
                          "x.exe", "\\", "\\a\\\\b", "\\C:\\x", "\\file:stream", "\\...\\x",
                          "\\. .\\x", "\\a\\"}) {
    EXPECT_TRUE(installer::UnsafeFileNameReason(bad).has_value()) << bad;
    auto r = ValidRecord();
    r->Files[0].Name.Assign(bad);
    EXPECT_TRUE(Mentions(installer::ValidateRecord(*r), "File entry 0")) << bad;
  }
  for (std::string good : {std::string("\\a.txt"), std::string("\\docs\\read me.txt"),
                           std::string("\\.config"), std::string("\\a..b"),
                           Gbk(u8"\\墨柘说明.url")}) {
    EXPECT_FALSE(installer::UnsafeFileNameReason(good).has_value()) << good;
  }
  // "\" is the second byte of this character, not a separator: the name is
  // one component, not "\<lead byte>" + "..".
  EXPECT_FALSE(installer::UnsafeFileNameReason("\\\x81\x5C..").has_value());
}

TEST(RecordValidation, SkippedEntriesAreNotCheckedForNamesOrBounds) {
  auto r = ValidRecord();
  r->Files[1].Name.Assign("..\\*.txt");
  r->Files[1].Offset = 0xFFFFFFFF;
  EXPECT_TRUE(installer::ValidateRecord(*r).empty());
  EXPECT_TRUE(installer::ValidatePackageBounds(*r, 10).empty());
}

TEST(RecordValidation, FilesMustLieInsideThePackage) {
  auto r = ValidRecord();
  EXPECT_TRUE(installer::ValidatePackageBounds(*r, 15).empty());  // ends exactly at the end
  auto problems = installer::ValidatePackageBounds(*r, 14);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_TRUE(Mentions(problems, "File entry 1"));
  // Offset + Size must not wrap around 32 bits into range.
  r->Files[1].Offset = 0xFFFFFFF0u;
  r->Files[1].Size = 0x20;
  EXPECT_EQ(installer::ValidatePackageBounds(*r, 100).size(), 1u);
}

TEST(RecordValidation, RefusalNamesTheFirstProblemAndCountsTheRest) {
  EXPECT_EQ(installer::RefusalMessage({}), "");
  EXPECT_EQ(installer::RefusalMessage({{"a"}}), "The setup data is damaged: a.");
  EXPECT_EQ(installer::RefusalMessage({{"a"}, {"b"}, {"c"}}),
            "The setup data is damaged: a. (2 more problems)");
}

}  // namespace
