// The one rule for the names a record carries. Each refused class is a way a
// name could be written somewhere else than it says (outside the target
// folder, onto a device, cut short by Windows) or not at all; the accepted
// ones are near misses that a byte-wise or over-eager check would refuse,
// GBK names whose second byte is '\' or '|' among them.
#include "installer/file_name_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer/file_name_set.h"
#include "tests/host/gbk_literal.h"

namespace {

using testing_support::Gbk;

struct Refused {
  std::string name;
  std::string reason;  // a part of the reason given
};

const std::vector<Refused>& RefusedFileNames() {
  static const std::vector<Refused> cases = {
      // Not below the target folder.
      {"", "does not start with a backslash"},
      {"a.txt", "does not start with a backslash"},
      {"/a.txt", "does not start with a backslash"},
      {"..\\x", "does not start with a backslash"},
      {"\\", "has an empty path component"},
      {"\\a\\\\b", "has an empty path component"},
      {"\\a//b", "has an empty path component"},
      {"\\a\\", "has an empty path component"},
      {"\\..\\evil.exe", "contains a \"..\" component"},
      {"\\a\\..\\..\\evil.exe", "contains a \"..\" component"},
      {"\\a/../../x", "contains a \"..\" component"},
      {Gbk(u8"\\誠\\..\\x"), "contains a \"..\" component"},  // 誠 ends in 0x5C
      {"\\.\\x", "contains a \".\" component"},
      {"\\a/./b", "contains a \".\" component"},
      // Changed by Windows: trailing dots and blanks are dropped.
      {"\\...\\x", "has a component ending in a dot (\"...\")"},
      {"\\. .\\x", "has a component ending in a dot (\". .\")"},
      {"\\readme.", "has a component ending in a dot (\"readme.\")"},
      {Gbk(u8"\\誠."), "has a component ending in a dot"},
      {"\\docs \\a.txt", "has a component ending in a blank (\"docs \")"},
      {"\\a.txt ", "has a component ending in a blank (\"a.txt \")"},
      // Control bytes.
      {std::string("\\a\0b", 4), "contains the control byte 0x00"},
      {"\\a\x01", "contains the control byte 0x01"},
      {"\\a\tb", "contains the control byte 0x09"},
      {"\\a\x1F", "contains the control byte 0x1F"},
      {"\\a\x7F", "contains the control byte 0x7F"},
      // Characters Windows does not take in a name; ':' is a drive or a stream.
      {"\\a<b", "contains a '<'"},
      {"\\a>b", "contains a '>'"},
      {"\\C:\\x", "contains a ':'"},
      {"\\file:stream", "contains a ':'"},
      {"\\a\"b", "contains a '\"'"},
      {"\\a|b", "contains a '|'"},
      {"\\a?b", "contains a '?'"},
      {"\\a*b", "contains a '*'"},
      // Devices, in any case, before an extension or blanks, at any depth.
      {"\\CON", "the device CON (\"CON\")"},
      {"\\con", "the device CON (\"con\")"},
      {"\\Con.txt", "the device CON"},
      {"\\CON .txt", "the device CON"},
      {"\\CON  .txt", "the device CON"},
      {"\\con.d\\file", "the device CON"},
      {"\\nul.tar.gz", "the device NUL"},
      {"\\docs\\NUL\\x.txt", "the device NUL (\"NUL\")"},
      {"\\PRN", "the device PRN"},
      {"\\prn.log", "the device PRN"},
      {"\\AUX", "the device AUX"},
      {"\\COM1", "the device COM1"},
      {"\\com9.txt", "the device COM9"},
      {"\\LPT1", "the device LPT1"},
      {"\\Lpt9.dat", "the device LPT9"},
      // Half a double-byte character: 0x2F and 0x3A cannot be second bytes.
      {"\\a\x81", "contains a lead byte 0x81 without its second byte"},
      {"\\\xFE", "contains a lead byte 0xFE without its second byte"},
      {"\\\x81/b", "contains a lead byte 0x81 without its second byte"},
      {"\\\xB0:", "contains a lead byte 0xB0 without its second byte"},
      {"\\\xB0?", "contains a lead byte 0xB0 without its second byte"},
  };
  return cases;
}

const std::vector<std::string>& AcceptedFileNames() {
  static const std::vector<std::string> names = {
      "\\a.txt",
      "\\docs\\read me.txt",
      "\\docs/a.txt",  // '/' separates, as for Windows
      "\\.config",
      "\\a..b",
      "\\a.b.c.txt",
      "\\ leading blank.txt",
      "\\CONFIG.SYS",
      "\\COM10",
      "\\COM0.txt",
      "\\LPT0",
      "\\aux1",
      "\\CONS",
      "\\icon.ico",
      "\\console.exe",
      "\\nul_device",
      "\\PRN$",
      "\\a\x80z",  // 0x80 is one character in code page 936
      Gbk(u8"\\墨柘说明.url"),
      Gbk(u8"\\a誠.txt"),          // second byte 0x5C: not a separator
      Gbk(u8"\\誠\\子\\誠"),
      "\\\x81\x5C..a",              // one character, then dots inside the name
      "\\\xB0\x7C.txt",             // second byte '|': not a forbidden character
  };
  return names;
}

TEST(FileNameRules, EachClassOfBadFileNameIsRefusedWithItsReason) {
  for (const Refused& c : RefusedFileNames()) {
    auto problem = installer::FileNameProblem(c.name);
    ASSERT_TRUE(problem.has_value()) << c.name;
    EXPECT_NE(problem->find(c.reason), std::string::npos) << c.name << ": " << *problem;
  }
}

TEST(FileNameRules, NearMissesAreAccepted) {
  for (const std::string& name : AcceptedFileNames()) {
    auto problem = installer::FileNameProblem(name);
    EXPECT_FALSE(problem.has_value()) << name << ": " << problem.value_or("");
  }
}

TEST(FileNameRules, ASingleNameIsOneValidComponent) {
  const std::vector<Refused> refused = {
      {"", "is empty"},
      {"a\\b", "contains a separator ('\\')"},
      {"a/b", "contains a separator ('/')"},
      {"\\a", "contains a separator"},
      {".", "is \".\""},
      {"..", "is \"..\""},
      {"name.", "ends in a dot"},
      {"name ", "ends in a blank"},
      {"CON", "is taken by Windows for the device CON"},
      {"nul.txt", "is taken by Windows for the device NUL"},
      {"Com3 .lnk", "is taken by Windows for the device COM3"},
      {"a:b", "contains a ':'"},
      {"a*", "contains a '*'"},
      {"a\nb", "contains the control byte 0x0A"},
      {"VANTO\x81", "contains a lead byte 0x81 without its second byte"},
  };
  for (const Refused& c : refused) {
    auto problem = installer::SingleNameProblem(c.name);
    ASSERT_TRUE(problem.has_value()) << c.name;
    EXPECT_NE(problem->find(c.reason), std::string::npos) << c.name << ": " << *problem;
  }
  for (const std::string& name :
       {std::string("VANTO-X"), std::string("License.txt"), std::string(".hidden"),
        std::string("COM10"), std::string("CONFIG"), Gbk(u8"墨柘"), Gbk(u8"a誠")}) {
    auto problem = installer::SingleNameProblem(name);
    EXPECT_FALSE(problem.has_value()) << name << ": " << problem.value_or("");
  }
}

TEST(FileNameRules, KeysFoldAsciiCaseAndSeparatorsOnly) {
  EXPECT_EQ(installer::FileNameKey("\\Docs\\A.txt"), installer::FileNameKey("\\docs/a.TXT"));
  EXPECT_EQ(installer::FileNameKey(Gbk(u8"\\誠/x")), installer::FileNameKey(Gbk(u8"\\誠\\X")));
  // Second bytes are compared as they are: 癮 (B0 61) and 癆 (B0 41) are
  // two characters, not one in two cases.
  EXPECT_NE(installer::FileNameKey("\\\xB0\x61"), installer::FileNameKey("\\\xB0\x41"));
  // 誠's second byte 0x5C stays a second byte, not a separator to turn into '\'.
  EXPECT_EQ(installer::FileNameKey(Gbk(u8"\\誠")), Gbk(u8"\\誠"));
  EXPECT_NE(installer::FileNameKey("\\a.txt"), installer::FileNameKey("\\a.txt2"));
}

TEST(FileNameSet, TellsWhichEarlierEntryANameClashesWith) {
  using installer::FileNameClash;
  struct Case {
    std::vector<std::string> earlier;
    std::string added;
    std::optional<FileNameClash::Kind> kind;
    int other;
  };
  const std::vector<Case> cases = {
      {{"\\a.txt", "\\docs\\b.txt"}, "\\DOCS/B.TXT", FileNameClash::kSameFile, 1},
      {{"\\docs\\b.txt"}, "\\Docs", FileNameClash::kIsOthersFolder, 0},
      {{"\\x", "\\docs\\sub\\b.txt"}, "\\docs\\SUB", FileNameClash::kIsOthersFolder, 1},
      {{"\\docs"}, "\\docs\\b.txt", FileNameClash::kInOthersFile, 0},
      {{"\\docs"}, "\\DOCS\\sub\\b.txt", FileNameClash::kInOthersFile, 0},
      {{"\\docs\\a.txt"}, "\\docs\\b.txt", std::nullopt, 0},
      {{"\\docs\\a.txt"}, "\\docs2", std::nullopt, 0},
      {{"\\a"}, "\\ab\\c", std::nullopt, 0},
      {{"\\\xB0\x41"}, "\\\xB0\x61", std::nullopt, 0},
  };
  for (const Case& c : cases) {
    installer::FileNameSet set;
    for (std::size_t i = 0; i < c.earlier.size(); ++i)
      ASSERT_FALSE(set.Add(c.earlier[i], static_cast<int>(i))) << c.earlier[i];
    auto clash = set.Add(c.added, static_cast<int>(c.earlier.size()));
    ASSERT_EQ(clash.has_value(), c.kind.has_value()) << c.added;
    if (!clash) continue;
    EXPECT_EQ(clash->kind, *c.kind) << c.added;
    EXPECT_EQ(clash->other, c.other) << c.added;
  }
}

TEST(FileNameSet, FindsAFileAsWindowsWould) {
  installer::FileNameSet set;
  ASSERT_FALSE(set.Add("\\app.exe", 0));
  ASSERT_FALSE(set.Add("\\docs\\a.txt", 1));
  EXPECT_EQ(set.Find("\\APP.EXE"), 0);
  EXPECT_EQ(set.Find("\\docs/A.txt"), 1);
  EXPECT_FALSE(set.Find("\\docs"));  // a folder, not a file
  EXPECT_FALSE(set.Find("\\app.ex"));
  // A clashing name is not added.
  EXPECT_TRUE(set.Add("\\APP.exe", 2));
  EXPECT_EQ(set.Find("\\app.exe"), 0);
}

}  // namespace
