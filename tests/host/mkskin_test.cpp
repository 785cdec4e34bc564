// mkskin's library: a folder of pictures and skin.toml becomes entries in a
// fixed order with warnings for doubtful names and errors naming the line;
// dump shows what the skin reader finds; extract gives a folder that packs
// into the same entries.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>

#include "base/error.h"
#include "skin/reader/sk2_skin_file_reader.h"
#include "skin/reader/skin_archive_layout.h"
#include "tests/host/gbk_literal.h"
#include "tests/host/skin_file_test_support.h"
#include "tools/mkskin/skin_archive_writer.h"
#include "tools/mkskin/skin_container_writer.h"
#include "tools/mkskin/skin_dump.h"
#include "tools/mkskin/skin_extract.h"
#include "tools/mkskin/skin_manifest.h"

namespace {

namespace fs = std::filesystem;
using mkskin::SkinEntry;
using mkskin::TEntryKind;
using testing_support::BmpFile;
using testing_support::Bmp8File;
using testing_support::Gbk;
using testing_support::ReadBytes;
using testing_support::WriteBytes;
using testing_support::WriteText;

const char kSampleToml[] =
    "# Jade, a sample skin\n"                   // 1
    "[colors]\n"                                // 2
    "SKIN2_FORMCOLOR = \"#F0F4F8\"\n"           // 3
    "SKIN2_TRANSCOLOR = 0xFF00FF\n"             // 4
    "SKIN2_CONTROLCOLOR = 0x8000000F\n"         // 5
    "MY_ACCENT = \"#102030\"\n"                 // 6
    "SKIN2_CHECKBOXTRANS = \"#000000\"\n"       // 7
    "\n"                                        // 8
    "[integers]\n"                              // 9
    "SKIN2_TITLEBARCAPTIONTOP = 7\n"            // 10
    "SKIN2_TITLEBARICONPOSX = -3\n"             // 11
    "\n"                                        // 12
    "[flags]\n"                                 // 13
    "SKIN2_TABCONTROLTRANS = false\n"           // 14
    "SKIN2_BUTTONTRANS = true\n"                // 15
    "\n"                                        // 16
    "[strings]\n"                               // 17
    "SKIN_NAME = \"Jade 翡翠\"\n"               // 18
    "SKIN_AUTHOR = \"Vanto\"\n";                // 19

std::vector<std::string> Names(const std::vector<SkinEntry>& entries) {
  std::vector<std::string> names;
  for (const SkinEntry& e : entries) names.push_back(e.name);
  return names;
}

// Entries by name, for comparing sets whose order may differ.
std::map<std::string, std::pair<TEntryKind, base::Bytes>> ByName(
    const std::vector<SkinEntry>& entries) {
  std::map<std::string, std::pair<TEntryKind, base::Bytes>> map;
  for (const SkinEntry& e : entries) map[e.name] = {e.kind, e.data};
  return map;
}

std::int32_t IntegerOf(const SkinEntry& e) {
  return static_cast<std::int32_t>(base::GetU32(e.data.data()));
}

class SkinPackTest : public testing_support::ScratchDirTest {
protected:
  fs::path in = dir / "in";

  void WriteSample() {
    WriteText(in / "skin.toml", kSampleToml);
    WriteBytes(in / "SKIN2_BUTTON.bmp", BmpFile(30, 20, 32));
    WriteBytes(in / "skin2_checkbox.BMP", Bmp8File(12, 12));
    WriteBytes(in / "SKIN2_TITLEFONTCOLOR.bmp", BmpFile(3, 3, 24, 1));  // a colour's name
    WriteBytes(in / "LOGO.bmp", BmpFile(5, 4, 24, 2));
    WriteText(in / "readme.txt", "not a picture");
    WriteBytes(in / "extra" / "SKIN2_MENUBAR.bmp", BmpFile(2, 2));  // below: not taken
  }

  base::Bytes SkinFile(const std::vector<SkinEntry>& entries, const std::string& password = "") {
    return mkskin::WriteSkinArchive(skin::reader::archive::kSkinDataMember,
                                    mkskin::WriteContainer(entries), {password, std::nullopt});
  }

  // "FILE:LINE: message" of the mistake in toml, or "no error".
  static std::string ErrorOf(const std::string& toml) {
    try {
      mkskin::ParseSkinToml(toml, "skin.toml");
    } catch (const mkskin::PackError& e) {
      return e.what();
    }
    return "no error";
  }
};

TEST_F(SkinPackTest, AFolderBecomesEntriesInVocabularyOrderWithWarnings) {
  WriteSample();
  const mkskin::SkinPack pack = mkskin::ReadSkinFolder(in);
  EXPECT_EQ(Names(pack.entries),
            (std::vector<std::string>{
                // colours: vocabulary order, then other names
                "SKIN2_TRANSCOLOR", "SKIN2_FORMCOLOR", "SKIN2_CONTROLCOLOR", "SKIN2_CHECKBOXTRANS",
                "MY_ACCENT",
                // pictures
                "SKIN2_TITLEFONTCOLOR", "SKIN2_BUTTON", "SKIN2_CHECKBOX", "LOGO",
                // integers, flags, strings
                "SKIN2_TITLEBARICONPOSX", "SKIN2_TITLEBARCAPTIONTOP", "SKIN2_BUTTONTRANS",
                "SKIN2_TABCONTROLTRANS", "SKIN_AUTHOR", "SKIN_NAME"}));
  auto entries = ByName(pack.entries);
  EXPECT_EQ(IntegerOf(pack.entries[0]), 0x00FF00FF);
  EXPECT_EQ(IntegerOf(pack.entries[1]), 0x00F8F4F0);  // "#F0F4F8": red in the low byte
  EXPECT_EQ(IntegerOf(pack.entries[2]), static_cast<std::int32_t>(0x8000000F));
  EXPECT_EQ(IntegerOf(pack.entries[9]), -3);
  EXPECT_EQ(entries["SKIN2_BUTTONTRANS"], std::pair(TEntryKind::Boolean, base::Bytes{1}));
  EXPECT_EQ(entries["SKIN2_TABCONTROLTRANS"], std::pair(TEntryKind::Boolean, base::Bytes{0}));
  const std::string jade = Gbk(u8"Jade 翡翠");
  EXPECT_EQ(entries["SKIN_NAME"],
            std::pair(TEntryKind::String, base::Bytes(jade.begin(), jade.end())));
  // Pictures are stored as their files are.
  EXPECT_EQ(entries["SKIN2_CHECKBOX"], std::pair(TEntryKind::Bitmap, Bmp8File(12, 12)));
  EXPECT_EQ(entries["SKIN2_BUTTON"].second, BmpFile(30, 20, 32));
  EXPECT_FALSE(entries.count("SKIN2_MENUBAR"));

  std::vector<std::string> warnings;
  for (const mkskin::PackWarning& w : pack.warnings) warnings.push_back(w.Text());
  const std::string toml = (in / "skin.toml").string();
  EXPECT_EQ(warnings,
            (std::vector<std::string>{
                toml + ":6: MY_ACCENT is not an item of the skin vocabulary",
                toml + ":7: SKIN2_CHECKBOXTRANS is a flag item, not a colour",
                (in / "LOGO.bmp").string() + ": LOGO is not an item of the skin vocabulary",
                (in / "SKIN2_TITLEFONTCOLOR.bmp").string() +
                    ": SKIN2_TITLEFONTCOLOR is a colour item, not a picture"}));
}

TEST_F(SkinPackTest, EqualInputMakesEqualFiles) {
  // The same values written in another order pack the same.
  const std::string reversed =
      "[strings]\nSKIN_AUTHOR = \"Vanto\"\nSKIN_NAME = \"Jade 翡翠\"\n"
      "[flags]\nSKIN2_BUTTONTRANS = true\nSKIN2_TABCONTROLTRANS = false\n"
      "[integers]\nSKIN2_TITLEBARICONPOSX = -3\nSKIN2_TITLEBARCAPTIONTOP = 7\n"
      "[colors]\nSKIN2_CHECKBOXTRANS = \"#000000\"\nMY_ACCENT = \"#102030\"\n"
      "SKIN2_CONTROLCOLOR = 2147483663\nSKIN2_TRANSCOLOR = \"#ff00ff\"\n"
      "SKIN2_FORMCOLOR = \"#F0F4F8\"\n";
  const auto a = mkskin::ParseSkinToml(kSampleToml, "a.toml").entries;
  const auto b = mkskin::ParseSkinToml(reversed, "b.toml").entries;
  EXPECT_EQ(mkskin::WriteContainer(a), mkskin::WriteContainer(b));

  WriteSample();
  EXPECT_EQ(SkinFile(mkskin::ReadSkinFolder(in).entries),
            SkinFile(mkskin::ReadSkinFolder(in).entries));
}

TEST_F(SkinPackTest, MistakesInSkinTomlNameTheirLine) {
  EXPECT_EQ(ErrorOf("[colors]\nA = \"#F0F4F\"\n"),
            "skin.toml:2: colors.A = \"#F0F4F\" is not a colour; write \"#RRGGBB\"");
  EXPECT_EQ(ErrorOf("[colors]\n\nA = \"#GG0000\"\n"),
            "skin.toml:3: colors.A = \"#GG0000\" is not a colour; write \"#RRGGBB\"");
  EXPECT_EQ(ErrorOf("[colors]\nA = true\n"),
            "skin.toml:2: colors.A must be \"#RRGGBB\" or an integer");
  EXPECT_EQ(ErrorOf("[colors]\nA = 4294967296\n"),
            "skin.toml:2: colors.A = 4294967296 is outside -2147483648..4294967295");
  EXPECT_EQ(ErrorOf("[integers]\nA = 2147483648\n"),
            "skin.toml:2: integers.A = 2147483648 is outside -2147483648..2147483647");
  EXPECT_EQ(ErrorOf("[integers]\nA = -2147483649\n"),
            "skin.toml:2: integers.A = -2147483649 is outside -2147483648..2147483647");
  EXPECT_EQ(ErrorOf("[integers]\nA = -2147483648\nB = 2147483647\n"), "no error");
  EXPECT_EQ(ErrorOf("[integers]\nA = \"7\"\n"), "skin.toml:2: integers.A must be an integer");
  EXPECT_EQ(ErrorOf("[integers]\nA = 1.5\n"), "skin.toml:2: integers.A must be an integer");
  EXPECT_EQ(ErrorOf("[flags]\nA = \"yes\"\n"), "skin.toml:2: flags.A must be true or false");
  EXPECT_EQ(ErrorOf("[flags]\nA = 256\n"), "skin.toml:2: flags.A = 256 is outside 0..255");
  EXPECT_EQ(ErrorOf("[strings]\nA = 5\n"), "skin.toml:2: strings.A must be a string");
  EXPECT_EQ(ErrorOf("[strings]\nA = \"😀\"\n"),
            "skin.toml:2: strings.A has a character GBK cannot represent");
  EXPECT_EQ(ErrorOf("[colours]\nA = 1\n"),
            "skin.toml:1: unknown table [colours]; skin.toml has [colors], [integers], [flags] "
            "and [strings]");
  EXPECT_EQ(ErrorOf("colors = 1\n"), "skin.toml:1: colors must be a table");
  EXPECT_EQ(ErrorOf("[colors.sub]\nA = 1\n"),
            "skin.toml:1: colors.sub must be \"#RRGGBB\" or an integer");
  EXPECT_EQ(ErrorOf("[strings]\n\"A=B\" = \"x\"\n"),
            "skin.toml:2: A=B holds \"=\", which a reader takes as the name's end");
  EXPECT_EQ(ErrorOf("[strings]\n\"\" = \"x\"\n"), "skin.toml:2: an entry needs a name");
  EXPECT_EQ(ErrorOf("[colors]\nSKIN_X = 1\n[strings]\nskin_x = \"a\"\n"),
            "skin.toml:4: skin_x is given twice; first at skin.toml:2");
  EXPECT_EQ(ErrorOf("[colors\n").substr(0, 12), "skin.toml:1:");
  // The first mistake by line, though toml++ keeps [colors] before [strings].
  EXPECT_EQ(ErrorOf("[strings]\nB = 1\n[colors]\nA = true\n"),
            "skin.toml:2: strings.B must be a string");
}

TEST_F(SkinPackTest, NamesAreCountedInGbkBytes) {
  std::string chinese;
  for (int i = 0; i < 32; ++i) chinese += "翠";
  // TOML keys outside ASCII are quoted.
  EXPECT_EQ(ErrorOf("[strings]\n\"" + chinese + "\" = \"x\"\n"), "no error");
  EXPECT_EQ(ErrorOf("[strings]\n\"" + chinese + "翠\" = \"x\"\n"),
            "skin.toml:2: " + chinese + "翠 is 66 bytes long; an entry name holds at most 64");
  EXPECT_EQ(ErrorOf("[flags]\n" + std::string(64, 'F') + " = true\n"), "no error");
  EXPECT_EQ(ErrorOf("[flags]\n" + std::string(65, 'F') + " = true\n"),
            "skin.toml:2: " + std::string(65, 'F') +
                " is 65 bytes long; an entry name holds at most 64");
  EXPECT_EQ(mkskin::ParseSkinToml("[strings]\n\"" + chinese + "\" = \"x\"\n", "s").entries[0].name,
            Gbk(reinterpret_cast<const char8_t*>(chinese.c_str())));
}

TEST_F(SkinPackTest, FolderMistakesNameTheFile) {
  auto error_of = [&] {
    try {
      mkskin::ReadSkinFolder(in);
    } catch (const mkskin::PackError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(error_of(), (in / "skin.toml").string() + ": cannot open the file");

  WriteText(in / "skin.toml", "[integers]\nSKIN2_BUTTON = 1\n");
  WriteBytes(in / "SKIN2_BUTTON.bmp", BmpFile(2, 2));
  EXPECT_EQ(error_of(), (in / "SKIN2_BUTTON.bmp").string() + ": SKIN2_BUTTON is given twice; " +
                            "first at " + (in / "skin.toml").string() + ":2");

  WriteText(in / "skin.toml", "");
  base::Bytes cut = BmpFile(20, 20);
  cut.resize(cut.size() / 2);
  WriteBytes(in / "SKIN2_BUTTON.bmp", cut);
  EXPECT_EQ(error_of(), (in / "SKIN2_BUTTON.bmp").string() +
                            ": not a readable BMP picture (Bitmap image is not valid)");
}

// The reader's verdict on a file: complete, or why not.
std::string ReaderVerdict(const fs::path& file, const std::string& password) {
  try {
    skin::reader::Tsk2SkinFileReader reader(file.string(), password);
    return reader.Complete() ? "complete" : mkskin::ResultName(reader.ExtractionResult());
  } catch (const base::Error&) {
    return "throws";
  }
}

TEST_F(SkinPackTest, DumpShowsEveryEntryAsTheReaderFindsIt) {
  WriteSample();
  const mkskin::SkinPack pack = mkskin::ReadSkinFolder(in);
  const base::Bytes file = SkinFile(pack.entries, "pw");
  const mkskin::SkinDump dump = mkskin::DumpSkinFile(file, "pw");
  const auto j = nlohmann::json::parse(mkskin::DumpJson(dump));
  EXPECT_EQ(j["result"], "done");
  EXPECT_EQ(j["complete"], true);
  ASSERT_EQ(j["entries"].size(), pack.entries.size());
  for (std::size_t i = 0; i < pack.entries.size(); ++i)
    EXPECT_EQ(j["entries"][i]["name"], base::GbkToUtf8(pack.entries[i].name));
  EXPECT_EQ(j["entries"][0],
            nlohmann::json(
                {{"name", "SKIN2_TRANSCOLOR"}, {"kind", "integer"}, {"value", 0xFF00FF}}));
  EXPECT_EQ(j["entries"][2]["value"], -2147483633);  // 0x8000000F as the reader has it
  EXPECT_EQ(j["entries"][6], nlohmann::json({{"name", "SKIN2_BUTTON"},
                                             {"kind", "bitmap"},
                                             {"width", 30},
                                             {"height", 20},
                                             {"bits_per_pixel", 32}}));
  EXPECT_EQ(j["entries"][7]["bits_per_pixel"], 8);
  EXPECT_EQ(j["entries"][8]["bits_per_pixel"], 24);
  EXPECT_EQ(j["entries"][11], nlohmann::json({{"name", "SKIN2_BUTTONTRANS"},
                                              {"kind", "boolean"},
                                              {"value", true}}));
  EXPECT_EQ(j["entries"][12]["value"], false);
  EXPECT_EQ(j["entries"][14], nlohmann::json({{"name", "SKIN_NAME"},
                                              {"kind", "string"},
                                              {"value", "Jade 翡翠"}}));

  const std::string text = mkskin::DumpText(dump);
  EXPECT_NE(text.find("SKIN2_FORMCOLOR           integer 16315632 (#F0F4F8)\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("15 entries; complete."), std::string::npos) << text;

  const auto locked = nlohmann::json::parse(mkskin::DumpJson(mkskin::DumpSkinFile(file, "")));
  EXPECT_EQ(locked, nlohmann::json::parse(
                        R"({"result": "rejected", "complete": false, "entries": []})"));
}

TEST_F(SkinPackTest, DumpAndReaderAgreeOnDamagedFiles) {
  base::Bytes container = mkskin::WriteContainer({mkskin::IntegerEntry("A", 1),
                                                  mkskin::IntegerEntry("B", 2)});
  base::Bytes looped = container;
  base::PutU32(&looped[mkskin::RecordOffset(1) + skin::reader::container::kRecordNext],
               static_cast<std::uint32_t>(mkskin::RecordOffset(0)));
  base::Bytes outside = container;
  base::PutU32(&outside[mkskin::RecordOffset(0) + skin::reader::container::kRecordDataSize],
               0x10000);
  auto archive = [](const base::Bytes& c) {
    return mkskin::WriteSkinArchive(skin::reader::archive::kSkinDataMember, c);
  };
  base::Bytes bad_picture = BmpFile(4, 4);
  bad_picture[14] = 99;  // no header has this size
  base::Bytes not_skin = archive(container);
  not_skin[0] = 'P';
  base::Bytes other_kind = mkskin::WriteContainer({mkskin::IntegerEntry("A", 1)});
  other_kind[mkskin::RecordOffset(0) + skin::reader::container::kRecordKind] = 9;

  struct Case {
    const char* what;
    base::Bytes file;
    const char* password;
    const char* result;
    bool complete;
  };
  const Case cases[] = {
      {"intact", archive(container), "", "done", true},
      {"unknown kind", archive(other_kind), "", "done", true},
      {"looping chain", archive(looped), "", "done", false},
      {"data outside", archive(outside), "", "done", false},
      {"bad picture", SkinFile({mkskin::BitmapEntry("P", bad_picture)}), "", "done", false},
      {"no password", SkinFile({mkskin::IntegerEntry("A", 1)}, "pw"), "", "rejected", false},
      {"not a skin file", not_skin, "", "failed", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const mkskin::SkinDump dump = mkskin::DumpSkinFile(c.file, c.password);
    EXPECT_EQ(mkskin::ResultName(dump.result), std::string(c.result));
    EXPECT_EQ(dump.complete, c.complete);
    const fs::path path = dir / "case.skn";
    WriteBytes(path, c.file);
    const std::string verdict = ReaderVerdict(path, c.password);
    if (c.complete) {
      EXPECT_EQ(verdict, "complete");
    } else {
      // The reader throws for what fails and for damaged data, and
      // returns incomplete for what is rejected.
      EXPECT_EQ(verdict, dump.result == skin::reader::erRejected ? "rejected" : "throws");
    }
  }
  const mkskin::SkinDump damaged = mkskin::DumpSkinFile(archive(looped), "");
  EXPECT_EQ(damaged.failure, "Skin data damaged: record chain loops");
  const mkskin::SkinDump unreadable =
      mkskin::DumpSkinFile(SkinFile({mkskin::BitmapEntry("P", bad_picture)}), "");
  ASSERT_EQ(unreadable.entries.size(), 1u);
  EXPECT_EQ(unreadable.entries[0].problem, "Bitmap image is not valid");
}

TEST_F(SkinPackTest, ExtractedFoldersPackIntoTheSameEntries) {
  WriteSample();
  const mkskin::SkinPack pack = mkskin::ReadSkinFolder(in);
  const fs::path out = dir / "out";
  const mkskin::ExtractedSkin done =
      mkskin::ExtractSkinFolder(mkskin::DumpSkinFile(SkinFile(pack.entries), ""), out);
  EXPECT_EQ(done.pictures, 4);
  EXPECT_EQ(done.values, 11);
  EXPECT_TRUE(done.warnings.empty());
  EXPECT_EQ(ReadBytes(out / "SKIN2_CHECKBOX.bmp"), Bmp8File(12, 12));
  EXPECT_EQ(ReadBytes(out / "LOGO.bmp"), ReadBytes(in / "LOGO.bmp"));
  // MY_ACCENT is outside the vocabulary: it comes back as an integer, with
  // the same value and kind, so only its place in the chain moves.
  const mkskin::SkinPack again = mkskin::ReadSkinFolder(out);
  EXPECT_EQ(ByName(again.entries), ByName(pack.entries));

  // With vocabulary names only, and values that need care in TOML, the
  // container comes back byte for byte.
  const std::vector<SkinEntry> exact = {
      mkskin::IntegerEntry("SKIN2_FORMCOLOR", 0x00F8F4F0),
      mkskin::IntegerEntry("SKIN2_CONTROLCOLOR", static_cast<std::int32_t>(0x80000005)),
      mkskin::BitmapEntry("SKIN2_BUTTON", BmpFile(9, 3)),
      mkskin::IntegerEntry("SKIN2_BOTTOMREGIONMAXY", -2147483647 - 1),
      mkskin::BooleanEntry("SKIN2_TITLEFIVESECT", 2),
      mkskin::BooleanEntry("SKIN2_BUTTONTRANS", 0),
      mkskin::StringEntry("SKIN NAME", Gbk(u8"\"翡翠\"\\\n\t\x01 end")),
  };
  const fs::path exact_dir = dir / "exact";
  mkskin::ExtractSkinFolder(mkskin::DumpSkinFile(SkinFile(exact), ""), exact_dir);
  EXPECT_EQ(mkskin::WriteContainer(mkskin::ReadSkinFolder(exact_dir).entries),
            mkskin::WriteContainer(exact));
}

TEST_F(SkinPackTest, ExtractNeverWritesOutsideItsFolder) {
  for (const char* name : {"../EVIL", "A/B", "A\\B", "CON", "com1", ".hidden", "C:X"}) {
    const fs::path out = dir / "out";
    const auto dump =
        mkskin::DumpSkinFile(SkinFile({mkskin::BitmapEntry(name, BmpFile(2, 2))}), "");
    ASSERT_TRUE(dump.complete) << name;
    EXPECT_THROW(mkskin::ExtractSkinFolder(dump, out), base::Error) << name;
    EXPECT_FALSE(fs::exists(out)) << name;
    EXPECT_FALSE(fs::exists(dir / "EVIL.bmp"));
  }
  const auto locked = mkskin::DumpSkinFile(SkinFile({mkskin::IntegerEntry("A", 1)}, "pw"), "");
  EXPECT_THROW(mkskin::ExtractSkinFolder(locked, dir / "locked"), base::Error);
  EXPECT_FALSE(fs::exists(dir / "locked"));
}

TEST_F(SkinPackTest, ExtractWarnsAboutWhatDoesNotComeBackAsStored) {
  SkinEntry odd{"ODD", static_cast<TEntryKind>(9), base::Bytes{1, 2}};
  SkinEntry short_integer{"SHORT", TEntryKind::Integer, base::Bytes{0x34, 0x12}};
  const auto dump = mkskin::DumpSkinFile(
      SkinFile({mkskin::IntegerEntry("X", 1), mkskin::IntegerEntry("x", 2), odd, short_integer,
                mkskin::BitmapEntry("small", BmpFile(2, 2))}),
      "");
  std::vector<std::string> warnings;
  const std::string toml = mkskin::SkinTomlText(dump, warnings);
  EXPECT_EQ(warnings,
            (std::vector<std::string>{
                "x: a second entry of this name; readers use the first, so this one is left out",
                "ODD: kind 9 is unknown to readers and left out",
                "SHORT: 2 bytes stored where 4 belong; written as the value a reader decodes"}));
  const auto entries = ByName(mkskin::ParseSkinToml(toml, "t").entries);
  EXPECT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries.at("SHORT").second, mkskin::IntegerEntry("SHORT", 0x1234).data);
  EXPECT_EQ(entries.at("X").second, mkskin::IntegerEntry("X", 1).data);

  const mkskin::ExtractedSkin done = mkskin::ExtractSkinFolder(dump, dir / "out");
  EXPECT_EQ(done.warnings.back(),
            "small: pack names pictures in upper case, so it comes back as SMALL");
  EXPECT_TRUE(fs::exists(dir / "out" / "small.bmp"));
}

}  // namespace
