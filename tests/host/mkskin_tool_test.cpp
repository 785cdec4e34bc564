// The mkskin command: its commands end with the exit codes its usage text
// promises, and say on stderr what went wrong and where.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "tests/host/skin_file_test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::BmpFile;
using testing_support::ReadBytes;
using testing_support::WriteBytes;
using testing_support::WriteText;

struct Outcome {
  int code;
  std::string out;
  std::string err;
};

class MkskinToolTest : public testing_support::ScratchDirTest {
protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    WriteText(dir / "in" / "skin.toml",
              "[colors]\nSKIN2_FORMCOLOR = \"#F0F4F8\"\n\n[flags]\nSKIN2_FORMCOLOUR = true\n"
              "[strings]\nSKIN_NAME = \"Jade\"\n");
    WriteBytes(dir / "in" / "SKIN2_BUTTON.bmp", BmpFile(6, 2));
  }

  Outcome Mkskin(const std::string& arguments) {
    const fs::path out = dir / "stdout.txt";
    const fs::path err = dir / "stderr.txt";
    // From the scratch folder, so that relative paths stay inside it.
    const std::string command = "cd '" + dir.string() + "' && " + MKSKIN_PATH + " " +
                                arguments + " >" + out.string() + " 2>" + err.string();
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, base::AsString(ReadBytes(out)),
            base::AsString(ReadBytes(err))};
  }

  std::string P(const char* name) { return (dir / name).string(); }
};

TEST_F(MkskinToolTest, CommandLineMistakesExitWithTwo) {
  const Outcome help = Mkskin("--help");
  EXPECT_EQ(help.code, 0);
  for (const char* part : {"mkskin pack DIR -o FILE", "mkskin dump FILE", "mkskin extract FILE",
                           "  3  rejected"})
    EXPECT_NE(help.out.find(part), std::string::npos) << part;
  for (const char* wrong :
       {"", "frobnicate", "dump", "dump a b", "dump --jsn x", "dump x --password",
        "pack in", "pack in -o x.skn --password ''", "pack in -o x.skn --seed -1"}) {
    const Outcome o = Mkskin(wrong);
    EXPECT_EQ(o.code, 2) << wrong;
    EXPECT_NE(o.err.find("usage:"), std::string::npos) << wrong;
  }
  EXPECT_FALSE(fs::exists(dir / "x.skn"));
}

TEST_F(MkskinToolTest, PackDumpAndExtractAgree) {
  const Outcome pack = Mkskin("pack " + P("in") + " -o " + P("jade.skn"));
  EXPECT_EQ(pack.code, 0) << pack.err;
  EXPECT_EQ(pack.err, "mkskin: warning: " + (dir / "in" / "skin.toml").string() +
                          ":5: SKIN2_FORMCOLOUR is not an item of the skin vocabulary\n");

  const Outcome dump = Mkskin("dump --json " + P("jade.skn"));
  ASSERT_EQ(dump.code, 0) << dump.err;
  const auto j = nlohmann::json::parse(dump.out);
  EXPECT_EQ(j["complete"], true);
  ASSERT_EQ(j["entries"].size(), 4u);
  EXPECT_EQ(j["entries"][1]["width"], 6);
  const Outcome text = Mkskin("dump " + P("jade.skn"));
  EXPECT_NE(text.out.find("SKIN2_FORMCOLOR   integer 16315632 (#F0F4F8)"), std::string::npos)
      << text.out;

  EXPECT_EQ(Mkskin("extract " + P("jade.skn") + " -o " + P("out")).code, 0);
  EXPECT_EQ(Mkskin("pack " + P("out") + " -o " + P("again.skn")).code, 0);
  EXPECT_EQ(ReadBytes(dir / "again.skn"), ReadBytes(dir / "jade.skn"));
}

TEST_F(MkskinToolTest, RejectedFilesExitWithThreeAndDamagedOnesWithOne) {
  const std::string pack = "pack " + P("in") + " --password jade --seed 5 -o ";
  ASSERT_EQ(Mkskin(pack + P("a.skn")).code, 0);
  ASSERT_EQ(Mkskin(pack + P("b.skn")).code, 0);
  EXPECT_EQ(ReadBytes(dir / "a.skn"), ReadBytes(dir / "b.skn"));  // seeded: reproducible

  EXPECT_EQ(Mkskin("dump " + P("a.skn") + " --password jade").code, 0);
  const Outcome locked = Mkskin("dump --json " + P("a.skn"));
  EXPECT_EQ(locked.code, 3);
  EXPECT_EQ(nlohmann::json::parse(locked.out)["result"], "rejected");
  EXPECT_EQ(Mkskin("extract " + P("a.skn") + " -o " + P("out") + " --password JADE").code, 3);
  EXPECT_FALSE(fs::exists(dir / "out"));

  base::Bytes file = ReadBytes(dir / "a.skn");
  file[0] = 'P';
  WriteBytes(dir / "zip.skn", file);
  const Outcome failed = Mkskin("dump --json " + P("zip.skn"));
  EXPECT_EQ(failed.code, 1);
  EXPECT_EQ(nlohmann::json::parse(failed.out)["result"], "failed");
  const Outcome missing = Mkskin("dump " + P("missing.skn"));
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err, "mkskin: cannot open " + P("missing.skn") + "\n");
}

TEST_F(MkskinToolTest, InputMistakesNameFileAndLine) {
  WriteText(dir / "in" / "skin.toml", "[colors]\n\nSKIN2_FORMCOLOR = \"F0F4F8\"\n");
  const Outcome bad = Mkskin("pack " + P("in") + " -o " + P("x.skn"));
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.err, "mkskin: " + (dir / "in" / "skin.toml").string() +
                         ":3: colors.SKIN2_FORMCOLOR = \"F0F4F8\" is not a colour; write "
                         "\"#RRGGBB\"\n");
  EXPECT_FALSE(fs::exists(dir / "x.skn"));
}

}  // namespace
