// A record that breaks its data model must be refused before the installer
// acts on it: these cases are the ways a damaged or hostile record could
// make it read outside the package or write outside the target folder.
#include "installer/record_validation.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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

// The name rule itself is file_name_rules_test; here: every place of the
// record it applies to, and the message naming the entry.
TEST(RecordValidation, BadNamesAreRefusedNamingTheEntry) {
  struct Case {
    void (*change)(TSetupRecord&);
    std::string message;
  };
  const std::vector<Case> cases = {
      {[](TSetupRecord& r) { r.Files[1].Name.Assign("\\..\\evil.exe"); },
       "File entry 1 \"\\..\\evil.exe\" contains a \"..\" component"},
      {[](TSetupRecord& r) { r.Files[1].Name.Assign("\\CON"); },
       "File entry 1 \"\\CON\" has a component that Windows takes for the device CON "
       "(\"CON\")"},
      {[](TSetupRecord& r) { r.Files[0].Name.Assign("\\docs.\\a.txt"); },
       "File entry 0 \"\\docs.\\a.txt\" has a component ending in a dot (\"docs.\")"},
      {[](TSetupRecord& r) { r.Shortcuts[0].Name.Assign("..\\..\\Startup\\x"); },
       "Shortcut entry 0 \"..\\..\\Startup\\x\" contains a separator ('\\')"},
      {[](TSetupRecord& r) { r.Shortcuts[0].Name.Assign("nul"); },
       "Shortcut entry 0 \"nul\" is taken by Windows for the device NUL"},
      {[](TSetupRecord& r) { r.Shortcuts[0].Name.Assign(""); }, "Shortcut entry 0 \"\" is empty"},
      {[](TSetupRecord& r) { r.ProductName.Assign("Vanto/X"); },
       "ProductName \"Vanto/X\" contains a separator ('/')"},
      {[](TSetupRecord& r) { r.ProductName.Assign(""); }, "ProductName \"\" is empty"},
      {[](TSetupRecord& r) { r.ProductName.Assign("VANTO-X "); },
       "ProductName \"VANTO-X \" ends in a blank"},
  };
  for (const Case& c : cases) {
    auto r = ValidRecord();
    c.change(*r);
    auto problems = installer::ValidateRecord(*r);
    ASSERT_EQ(problems.size(), 1u) << c.message;
    EXPECT_EQ(problems[0].message, c.message);
  }
}

TEST(RecordValidation, TheProductNameCountsWithoutShortcuts) {
  // The uninstall link still goes into the Programs group.
  auto r = ValidRecord();
  r->ShortcutCount = 0;
  r->ProductName.Assign("a\\b");
  EXPECT_TRUE(Mentions(installer::ValidateRecord(*r), "ProductName \"a\\b\""));
}

TEST(RecordValidation, TwoEntriesForOneFileAreRefused) {
  struct Case {
    std::string first, second, message;
  };
  const std::vector<Case> cases = {
      {"\\Docs\\A.txt", "\\docs/a.TXT",
       "File entry 1 \"\\docs/a.TXT\" names the same file as entry 0 \"\\Docs\\A.txt\""},
      {"\\docs\\a.txt", "\\DOCS",
       "File entry 1 \"\\DOCS\" names a file where a folder is needed by entry 0 "
       "\"\\docs\\a.txt\""},
      {"\\docs", "\\docs\\a.txt",
       "File entry 1 \"\\docs\\a.txt\" needs a folder where a file is named by entry 0 "
       "\"\\docs\""},
  };
  for (const Case& c : cases) {
    auto r = ValidRecord();
    r->Files[0].Name.Assign(c.first);
    r->Files[1].Name.Assign(c.second);
    auto problems = installer::ValidateRecord(*r);
    ASSERT_EQ(problems.size(), 1u) << c.message;
    EXPECT_EQ(problems[0].message, c.message);
  }
  // Different GBK characters whose second bytes differ only in ASCII case.
  auto r = ValidRecord();
  r->Files[0].Name.Assign("\\\xB0\x41");
  r->Files[1].Name.Assign("\\\xB0\x61");
  EXPECT_TRUE(installer::ValidateRecord(*r).empty());
}

TEST(RecordValidation, SkippedEntriesAreNotCheckedForNamesOrBounds) {
  auto r = ValidRecord();
  r->Files[1].Name.Assign("..\\*.txt");
  r->Files[1].Offset = 0xFFFFFFFF;
  EXPECT_TRUE(installer::ValidateRecord(*r).empty());
  EXPECT_TRUE(installer::ValidatePackageBounds(*r, 10).empty());
  // Nor for clashes: a pattern is never written, so it names no file.
  r->FileCount = 3;
  r->Files[2].Name.Assign("..\\*.txt");
  EXPECT_TRUE(installer::ValidateRecord(*r).empty());
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
