// The uninstaller's command line and the text of its clean-up batch. The
// batch itself runs under Wine in tests/win32 (cleanup_batch_test); here
// the rules that keep the paths out of the interpreter's way.
#include <gtest/gtest.h>

#include <string>

#include "uninstaller/cleanup_batch.h"
#include "uninstaller/uninstall_command_line.h"

namespace {

using uninstaller::Expansion;
using uninstaller::ParseUninstallSwitches;

TEST(UninstallSwitches, SilenceHelpAndTheLogToTheEndOfTheLine) {
  EXPECT_FALSE(ParseUninstallSwitches(L"").options.silent);
  EXPECT_TRUE(ParseUninstallSwitches(L" /s ").options.silent);
  EXPECT_TRUE(ParseUninstallSwitches(L"/?").options.help);

  const auto both = ParseUninstallSwitches(L"/S /LOG=C:\\my logs\\un install.txt  ");
  EXPECT_EQ(both.error, L"");
  EXPECT_TRUE(both.options.silent);
  EXPECT_EQ(both.options.log, L"C:\\my logs\\un install.txt");
  // Quotes around the whole name are a deployment tool's habit, not the name.
  EXPECT_EQ(ParseUninstallSwitches(L"/log=\"C:\\a b.txt\"").options.log, L"C:\\a b.txt");
  // The last switch: what follows is the name.
  EXPECT_EQ(ParseUninstallSwitches(L"/LOG=C:\\x.txt /S").options.log, L"C:\\x.txt /S");
}

TEST(UninstallSwitches, MistakesAreNamedAndASilentOneStaysSilent) {
  EXPECT_EQ(ParseUninstallSwitches(L"/X").error, L"unknown switch /X");
  EXPECT_EQ(ParseUninstallSwitches(L"/SS").error, L"unknown switch /SS");
  EXPECT_EQ(ParseUninstallSwitches(L"/LOG=  ").error, L"/LOG= names no file");
  const auto later_silence = ParseUninstallSwitches(L"/D=C:\\x /S");
  EXPECT_EQ(later_silence.error, L"unknown switch /D=C:\\x");
  EXPECT_TRUE(later_silence.options.silent);
}

// Each form must never expand a variable the way Wine's interpreter would
// read again: delayed expansion unless a path holds a '!'.
TEST(CleanupBatch, ThePathsOnlyEverComeQuotedThroughTheChosenExpansion) {
  EXPECT_EQ(uninstaller::ExpansionFor({L"C:\\100% sure & (x)", L"C:\\a^b"}), Expansion::kDelayed);
  EXPECT_EQ(uninstaller::ExpansionFor({L"C:\\App", L"C:\\Hi!"}), Expansion::kImmediate);

  for (Expansion expansion : {Expansion::kDelayed, Expansion::kImmediate}) {
    const bool delayed = expansion == Expansion::kDelayed;
    const std::string text = uninstaller::CleanupBatchText(expansion, 30);
    for (const char* name : {"VANTO_UNINSTALLER", "VANTO_INSTALL_FOLDER", "VANTO_CLEANUP_BATCH"}) {
      const std::string wanted =
          delayed ? std::string("\"!") + name + "!\"" : std::string("\"%") + name + "%\"";
      const std::string other =
          delayed ? std::string("%") + name + "%" : std::string("!") + name + "!";
      EXPECT_NE(text.find(wanted), std::string::npos) << name;
      EXPECT_EQ(text.find(other), std::string::npos) << name;
    }
    EXPECT_EQ(text.find("EnableDelayedExpansion") != std::string::npos, delayed);
    EXPECT_NE(text.find("geq 30 "), std::string::npos);
    for (std::size_t i = 0; i < text.size(); ++i) {
      ASSERT_LT(static_cast<unsigned char>(text[i]), 0x80) << "not ASCII at " << i;
      if (text[i] == '\n') {
        ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "a bare LF at " << i;
      }
    }
  }
}

}  // namespace
