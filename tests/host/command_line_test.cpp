// The installer's switches as deployment tools write them: quoted or not,
// in either case, with /D= last and holding blanks.
#include "installer/command_line.h"

#include <gtest/gtest.h>

namespace {

using installer::ParseSetupSwitches;
using installer::SwitchesOf;

TEST(SetupSwitches, NoneMeansTheWizardAsAlways) {
  const auto c = ParseSetupSwitches(L"   ");
  EXPECT_TRUE(c.error.empty());
  EXPECT_FALSE(c.options.silent);
  EXPECT_FALSE(c.options.help);
  EXPECT_FALSE(c.options.folder);
  EXPECT_FALSE(c.options.log);
}

TEST(SetupSwitches, FolderTakesTheRestOfTheLineWithBlanksAndNoQuotes) {
  const auto c = ParseSetupSwitches(L" /s /LOG=\"C:\\my logs\\run.txt\" /D=C:\\Some Dir\\App  ");
  ASSERT_TRUE(c.error.empty()) << std::string(c.error.begin(), c.error.end());
  EXPECT_TRUE(c.options.silent);
  EXPECT_EQ(c.options.log, L"C:\\my logs\\run.txt");
  EXPECT_EQ(c.options.folder, L"C:\\Some Dir\\App");
  // What follows /D= is the folder's, even what looks like a switch.
  EXPECT_EQ(ParseSetupSwitches(L"/d=C:\\x /S").options.folder, L"C:\\x /S");
  EXPECT_FALSE(ParseSetupSwitches(L"/d=C:\\x /S").options.silent);
  // A fully quoted word works as well as a quoted value.
  EXPECT_EQ(ParseSetupSwitches(L"/S \"/D=C:\\Some Dir\\App\"").options.folder,
            L"C:\\Some Dir\\App");
  EXPECT_EQ(ParseSetupSwitches(L"\"/LOG=C:\\a b.txt\"").options.log, L"C:\\a b.txt");
  EXPECT_EQ(ParseSetupSwitches(L"/D=C:\\\x4E2D\x6587").options.folder, L"C:\\\x4E2D\x6587");
}

TEST(SetupSwitches, MistakesAreNamedAndASilentRequestAfterThemStillCounts) {
  EXPECT_EQ(ParseSetupSwitches(L"/Q").error, L"unknown switch /Q");
  EXPECT_EQ(ParseSetupSwitches(L"/SILENT").error, L"unknown switch /SILENT");
  EXPECT_EQ(ParseSetupSwitches(L"/D=   ").error, L"/D= names no folder");
  EXPECT_EQ(ParseSetupSwitches(L"/LOG= /S").error, L"/LOG= names no file");
  const auto c = ParseSetupSwitches(L"/X /Y /S");
  EXPECT_EQ(c.error, L"unknown switch /X");
  EXPECT_TRUE(c.options.silent);
  EXPECT_TRUE(ParseSetupSwitches(L"/?").options.help);
  EXPECT_TRUE(ParseSetupSwitches(L"/help").options.help);
  EXPECT_FALSE(ParseSetupSwitches(L"/helpme").error.empty());
}

TEST(SetupSwitches, TheProgramsNameIsCutOffQuotedOrNot) {
  EXPECT_EQ(SwitchesOf(L"\"C:\\Program Files\\setup.exe\" /S"), L" /S");
  EXPECT_EQ(SwitchesOf(L"setup.exe /S /D=C:\\a b"), L" /S /D=C:\\a b");
  EXPECT_EQ(SwitchesOf(L"setup.exe"), L"");
  EXPECT_EQ(SwitchesOf(L"\"C:\\unclosed /S"), L"");
}

}  // namespace
