// The builder: a manifest becomes an installer whose payload the installer's
// own code reads back intact, and every manifest mistake is refused with the
// line it is on.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/error.h"
#include "base/memory_stream.h"
#include "installer/packed_block.h"
#include "installer/record_validation.h"
#include "installer/setup_package.h"
#include "tests/host/gbk_literal.h"
#include "tools/common/binary_file.h"
#include "tools/mksetup/import_check.h"
#include "tools/mksetup/installer_image.h"
#include "tools/mksetup/manifest.h"
#include "tools/mksetup/payload_extract.h"
#include "tools/mksetup/payload_report.h"
#include "tools/mksetup/setup_builder.h"
#include "tools/pe/import_reader.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Gbk;

const fs::path kStubs = fs::path(VANTO_TEST_DATA_DIR) / "pe";

void WriteText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct MksetupTest : ::testing::Test {
  fs::path dir = fs::temp_directory_path() /
                 ("mksetup-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());

  void SetUp() override {
    fs::remove_all(dir);
    WriteText(dir / "app.exe", std::string(5000, 'A') + "main program");
    WriteText(dir / "docs/a.txt", "alpha");
    WriteText(dir / "docs/sub/b.txt", "beta");
    WriteText(dir / u8"说明.url", "[InternetShortcut]\r\nURL=http://x/\r\n");
    WriteText(dir / "licence.txt", "\xEF\xBB\xBF" + std::string("许可协议"));
  }
  void TearDown() override { fs::remove_all(dir); }

  static std::string Product(const std::string& extra = "") {
    return "[product]\nname = \"VANTO-X\"\npublisher_key = \"Vanto\"\nversion = \"V26.8\"\n"
           "release_date = \"20240225\"\nauthor = \"墨柘软件\"\nlicence = \"licence.txt\"\n" +
           extra;
  }
  static std::string Files() {
    return "[[files]]\nsource = \"app.exe\"\n\n[[files]]\nsource = \"docs\"\ntarget = \"\\\\docs\"\n\n"
           "[[files]]\nsource = \"说明.url\"\n";
  }

  struct Outcome {
    int code;
    std::string out;
    std::string err;
  };
  // The mksetup command with `arguments`, its exit code and what it printed.
  Outcome Mksetup(const std::string& arguments) {
    const std::string command = std::string(MKSETUP_PATH) + " " + arguments + " >" +
                                (dir / "stdout.txt").string() + " 2>" + (dir / "stderr.txt").string();
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(dir / "stdout.txt"),
            ReadText(dir / "stderr.txt")};
  }

  // The MinGW fixture with its msvcrt.dll import renamed to zlib1.dll, the DLL a stub linked
  // against zlib's import library needs.
  fs::path ZlibStub() {
    base::Bytes stub = tools::ReadBinaryFile(kStubs / "resources.exe");
    const std::string from("msvcrt.dll\0", 11);
    const std::string to("zlib1.dll\0\0", 11);
    auto at = std::search(stub.begin(), stub.end(), from.begin(), from.end());
    EXPECT_NE(at, stub.end());
    std::copy(to.begin(), to.end(), at);
    const fs::path path = dir / "zlib-stub.exe";
    tools::WriteBinaryFile(path, stub);
    return path;
  }

  // The manifest error for text, as "line: message".
  std::string ErrorOf(const std::string& toml) {
    try {
      mksetup::BuildPayload(mksetup::ParseManifest(toml, dir));
    } catch (const mksetup::ManifestError& e) {
      return std::to_string(e.line()) + ": " + e.what();
    }
    return "no error";
  }
};

TEST_F(MksetupTest, BuildsAPayloadTheInstallerReadsBackIntact) {
  std::string toml = Product() + Files() +
                     "[[shortcuts]]\nname = \"VANTO-X\"\ntarget = \"\\\\app.exe\"\nlocation = \"desktop\"\n"
                     "arguments = \"/quiet\"\n\n"
                     "[[registry]]\nroot = \"HKCU\"\nkey = \"Software\\\\Vanto\"\nname = \"Level\"\nvalue = 7\n\n"
                     "[[registry]]\nkey = \"Software\\\\Vanto\"\nname = \"Ok\"\nvalue = true\n";
  mksetup::Payload p = mksetup::BuildPayload(mksetup::ParseManifest(toml, dir));
  const installer::TSetupRecord& r = *p.record;
  EXPECT_EQ(r.ProductName.Value(), "VANTO-X");
  EXPECT_EQ(r.ShortName.Value(), "VANTO-X");  // defaults to the name
  EXPECT_EQ(r.Author.Value(), Gbk(u8"墨柘软件"));
  EXPECT_EQ(r.InstallDir.Value(), "C:\\VANTO-X");
  ASSERT_EQ(r.FileCount, 4);  // the folder expands to its two files, sorted
  EXPECT_EQ(r.Files[0].Name.Value(), "\\app.exe");
  EXPECT_EQ(r.Files[1].Name.Value(), "\\docs\\a.txt");
  EXPECT_EQ(r.Files[2].Name.Value(), "\\docs\\sub\\b.txt");
  EXPECT_EQ(r.Files[3].Name.Value(), Gbk(u8"\\说明.url"));
  EXPECT_EQ(r.Files[1].Offset, r.Files[0].Size);
  EXPECT_EQ(r.Files[2].Offset, r.Files[1].Offset + 5);
  EXPECT_EQ(r.Shortcuts[0].FileIndex, 0);
  EXPECT_EQ(r.Shortcuts[0].Location, 0);
  EXPECT_EQ(r.Shortcuts[0].Arguments.Value(), "/quiet");
  EXPECT_EQ(r.RegValues[0].CurrentUser, 1);
  EXPECT_EQ(r.RegValues[0].Kind, installer::kRegInteger);
  EXPECT_EQ(r.RegValues[0].IntValue, 7);
  EXPECT_EQ(r.RegValues[1].Kind, installer::kRegBool);
  EXPECT_EQ(r.RegValues[1].BoolValue, 1);
  EXPECT_EQ(base::AsString(p.protocol), Gbk(u8"许可协议"));  // BOM dropped, GBK

  // The package is the files one after another, and its checksum theirs.
  const base::Bytes package = installer::UnpackBlock(p.setup_pack);
  EXPECT_EQ(package.size(), p.package_size);
  base::Bytes files;
  for (const fs::path& name :
       {fs::path("app.exe"), fs::path("docs/a.txt"), fs::path("docs/sub/b.txt"), fs::path(u8"说明.url")}) {
    const base::Bytes bytes = tools::ReadBinaryFile(dir / name);
    files.insert(files.end(), bytes.begin(), bytes.end());
  }
  EXPECT_EQ(package, files);
  EXPECT_EQ(installer::PackageChecksum(package), r.PackChecksum);
  base::Bytes record_bytes = installer::UnpackBlock(p.setup_ini);
  ASSERT_EQ(record_bytes.size(), installer::kSetupRecordSize);
  EXPECT_TRUE(std::equal(record_bytes.begin(), record_bytes.end(),
                         installer::RecordBytes(r).begin()));
}

TEST_F(MksetupTest, EmbedsIntoAnyStubAndExtractsEveryFile) {
  mksetup::Payload p = mksetup::BuildPayload(mksetup::ParseManifest(Product() + Files(), dir));
  for (const char* stub : {"no-resources.exe", "resources.exe", "unstripped.exe"}) {
    base::Bytes image = mksetup::EmbedPayload(tools::ReadBinaryFile(kStubs / stub),
                                              {&p.setup_ini, &p.setup_pack, &p.protocol});
    pe::ResourceTree tree = mksetup::ReadResources(image);
    mksetup::PayloadReport report = mksetup::InspectPayload(tree);
    EXPECT_TRUE(report.Intact()) << stub << "\n" << mksetup::ReportText(report);

    fs::path out = dir / "out" / stub;
    EXPECT_EQ(mksetup::ExtractFiles(tree, out), 4) << stub;
    EXPECT_EQ(ReadText(out / "app.exe"), ReadText(dir / "app.exe"));
    EXPECT_EQ(ReadText(out / "docs/sub/b.txt"), "beta");
    EXPECT_EQ(ReadText(out / u8"说明.url"), ReadText(dir / u8"说明.url"));
  }
}

TEST_F(MksetupTest, ReportsDescribeThePayloadInTextAndJson) {
  mksetup::Payload p = mksetup::BuildPayload(mksetup::ParseManifest(Product() + Files(), dir));
  base::Bytes image = mksetup::EmbedPayload(tools::ReadBinaryFile(kStubs / "no-resources.exe"),
                                            {&p.setup_ini, &p.setup_pack, nullptr});
  mksetup::PayloadReport report = mksetup::InspectPayload(mksetup::ReadResources(image));
  auto j = nlohmann::json::parse(mksetup::ReportJson(report));
  EXPECT_TRUE(j["intact"].get<bool>());
  EXPECT_EQ(j["resources"]["SETUPINI"]["unpacked_size"], 207160);
  EXPECT_FALSE(j["resources"]["PROTOCOL"]["present"].get<bool>());
  EXPECT_EQ(j["record"]["Author"], "墨柘软件");
  EXPECT_EQ(j["record"]["Files"][3]["name"], "\\说明.url");
  EXPECT_EQ(j["package"]["size"], p.package_size);
  EXPECT_TRUE(j["package"]["checksum_matches"].get<bool>());
  EXPECT_NE(mksetup::ReportText(report).find("Payload intact."), std::string::npos);
}

TEST_F(MksetupTest, DamagedPayloadsAreReportedNotThrown) {
  mksetup::Payload p = mksetup::BuildPayload(mksetup::ParseManifest(Product() + Files(), dir));
  base::Bytes stub = tools::ReadBinaryFile(kStubs / "no-resources.exe");

  base::Bytes cut(p.setup_pack.begin(), p.setup_pack.begin() + p.setup_pack.size() / 2);
  auto report = mksetup::InspectPayload(mksetup::ReadResources(
      mksetup::EmbedPayload(stub, {&p.setup_ini, &cut, nullptr})));
  EXPECT_FALSE(report.Intact());
  EXPECT_EQ(report.failure, "Stream read error");
  EXPECT_TRUE(report.record);  // the record still read

  report = mksetup::InspectPayload(mksetup::ReadResources(stub));
  EXPECT_EQ(report.failure, "Resource SETUPINI not found");

  p.record->PackChecksum += 1;
  p.record->Files[1].Size = 0x7FFFFFF0;
  base::Bytes ini = installer::PackBlock(installer::RecordBytes(*p.record));
  report = mksetup::InspectPayload(mksetup::ReadResources(
      mksetup::EmbedPayload(stub, {&ini, &p.setup_pack, nullptr})));
  EXPECT_FALSE(report.Intact());
  ASSERT_EQ(report.problems.size(), 1u);
  EXPECT_NE(report.problems[0].find("File entry 1"), std::string::npos);
  EXPECT_THROW(mksetup::ExtractFiles(mksetup::ReadResources(mksetup::EmbedPayload(
                                         stub, {&ini, &p.setup_pack, nullptr})),
                                     dir / "never"),
               base::Error);
  EXPECT_FALSE(fs::exists(dir / "never"));
}

TEST_F(MksetupTest, ManifestMistakesNameTheirLine) {
  // Line numbers count from the first line of the TOML text.
  EXPECT_EQ(ErrorOf("[product]\nname = \"X\"\n"), "1: product.publisher_key is missing");
  EXPECT_EQ(ErrorOf(Product("colour = \"red\"\n")), "8: product has an unknown key \"colour\"");
  EXPECT_EQ(ErrorOf(Product("description = \"" + std::string(129, 'x') + "\"\n")),
            "8: product.description is 129 bytes in GBK; the field holds 128");
  // Capacity counts GBK bytes: 64 Chinese characters fit, 65 do not.
  std::string chinese;
  for (int i = 0; i < 64; ++i) chinese += "中";
  EXPECT_EQ(ErrorOf(Product("category = \"" + chinese + "\"\n")), "no error");
  EXPECT_EQ(ErrorOf(Product("category = \"" + chinese + "中\"\n")),
            "8: product.category is 130 bytes in GBK; the field holds 128");
  EXPECT_EQ(ErrorOf(Product("rights_notice = \"© 😀\"\n")),
            "8: product.rights_notice has a character that GBK cannot represent");
  EXPECT_EQ(ErrorOf(Product("date1 = \"2024-02-25\"\n")),
            "8: dates are eight digits, year, month, day (\"20240225\")");
  EXPECT_EQ(ErrorOf(Product() + Files() +
                    "[[shortcuts]]\nname = \"Readme\"\ntarget = \"\\\\readme.txt\"\n"),
            "19: shortcuts.target \"\\readme.txt\" is not the target of any file");
  EXPECT_EQ(ErrorOf(Product() + "[[files]]\nsource = \"missing.exe\"\n"),
            "8: no file or folder " + (dir / "missing.exe").string());
  EXPECT_EQ(ErrorOf(Product() + "[[files]]\nsource = \"app.exe\"\ntarget = \"\\\\..\\\\x.exe\"\n"),
            "8: files.target \"\\..\\x.exe\" contains a \"..\" component");
  EXPECT_EQ(ErrorOf(Product() + "[[shortcuts]]\nname = \"A\"\ntarget = \"\\\\a\"\nlocation = \"start\"\n"),
            "11: shortcuts.location is \"desktop\", \"programs\" or \"both\"");
  EXPECT_EQ(ErrorOf(Product() + "[[registry]]\nkey = \"K\"\nvalue = 4294967296\n"),
            "10: registry.value must fit in a 32-bit signed integer");
  EXPECT_EQ(ErrorOf("[product\n").substr(0, 3), "1: ");
}

TEST_F(MksetupTest, NamesTheInstallerWouldRefuseAreRefusedNamingTheirLine) {
  // Product() is lines 1-7; what follows starts on line 8.
  const std::string app = "[[files]]\nsource = \"app.exe\"\n";
  struct Case {
    std::string toml, error;
  };
  const std::vector<Case> cases = {
      {"[product]\nname = \"Vanto\\\\X\"\npublisher_key = \"K\"\n",
       "2: product.name \"Vanto\\X\" contains a separator ('\\')"},
      {"[product]\npublisher_key = \"K\"\nname = \"\"\n", "3: product.name \"\" is empty"},
      {"[product]\nname = \"AUX\"\npublisher_key = \"K\"\n",
       "2: product.name \"AUX\" is taken by Windows for the device AUX"},
      {Product() + app + "target = \"\\\\docs\\\\CON .txt\"\n",
       "8: files.target \"\\docs\\CON .txt\" has a component that Windows takes for the device "
       "CON (\"CON .txt\")"},
      {Product() + app + "target = \"\\\\app.exe.\"\n",
       "8: files.target \"\\app.exe.\" has a component ending in a dot (\"app.exe.\")"},
      {Product() + app + "target = \"\\\\bin \\\\app.exe\"\n",
       "8: files.target \"\\bin \\app.exe\" has a component ending in a blank (\"bin \")"},
      {Product() + app + "target = \"\\\\a|b.exe\"\n", "8: files.target \"\\a|b.exe\" contains a '|'"},
      {Product() + app + "target = \"\\\\a\\u0007.exe\"\n",
       "8: files.target \"\\a\x07.exe\" contains the control byte 0x07"},
      {Product() + app + "target = \"\\\\bin/./app.exe\"\n",
       "8: files.target \"\\bin/./app.exe\" contains a \".\" component"},
      {Product() + app + "target = \"\\\\bin\\\\\"\n",
       "8: files.target \"\\bin\\\" has an empty path component"},
      // The default target is the source's own name.
      {Product() + "[[files]]\nsource = \"sub/nul.txt\"\n",
       "8: files.target \"\\nul.txt\" has a component that Windows takes for the device NUL "
       "(\"nul.txt\")"},
      // "\" is the target folder itself: right for a folder, not for a file.
      {Product() + app + "target = \"\\\\\"\n", "8: files.target \"\\\" has an empty path component"},
      {Product() + app + "\n[[shortcuts]]\nname = \"..\\\\..\\\\Startup\\\\x\"\ntarget = \"\\\\app.exe\"\n",
       "12: shortcuts.name \"..\\..\\Startup\\x\" contains a separator ('\\')"},
      {Product() + app + "\n[[shortcuts]]\ntarget = \"\\\\app.exe\"\nname = \"lpt1\"\n",
       "13: shortcuts.name \"lpt1\" is taken by Windows for the device LPT1"},
      {Product() + app + "\n[[shortcuts]]\nname = \"\"\ntarget = \"\\\\app.exe\"\n",
       "12: shortcuts.name \"\" is empty"},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.toml), c.error) << c.toml;
}

TEST_F(MksetupTest, NamesFoundInAFolderKeepToTheSameRule) {
  WriteText(dir / "bad/ok.txt", "x");
  WriteText(dir / "bad/sub./x.txt", "x");  // Linux takes it; Windows would write "sub"
  EXPECT_EQ(ErrorOf(Product() + Files() + "\n[[files]]\nsource = \"bad\"\ntarget = \"\\\\bad\"\n"),
            "18: files.target \"\\bad\\sub.\\x.txt\" has a component ending in a dot (\"sub.\")");
  fs::remove_all(dir / "bad");
  WriteText(dir / "bad/a:b", "x");
  EXPECT_EQ(ErrorOf(Product() + "[[files]]\nsource = \"bad\"\n"),
            "8: files.target \"\\bad\\a:b\" contains a ':'");
}

TEST_F(MksetupTest, TargetsAreComparedAsWindowsComparesThem) {
  struct Case {
    std::string toml, error;
  };
  const std::string app = "[[files]]\nsource = \"app.exe\"\n";
  const std::vector<Case> cases = {
      {Product() + app + "\n" + app + "target = \"\\\\APP.EXE\"\n",
       "11: files.target \"\\APP.EXE\" is the same file as \"\\app.exe\" (line 8); Windows "
       "ignores case and takes '/' for '\\'"},
      {Product() + Files() + "\n" + app + "target = \"\\\\docs/a.txt\"\n",
       "18: files.target \"\\docs/a.txt\" is the same file as \"\\docs\\a.txt\" (line 11); "
       "Windows ignores case and takes '/' for '\\'"},
      {Product() + Files() + "\n" + app + "target = \"\\\\Docs\\\\Sub\"\n",
       "18: files.target \"\\Docs\\Sub\" is a file where a folder is needed by "
       "\"\\docs\\sub\\b.txt\" (line 11)"},
      {Product() + app + "target = \"\\\\docs\"\n\n[[files]]\nsource = \"docs\"\n",
       "12: files.target \"\\docs\\a.txt\" needs a folder where a file is named by \"\\docs\" "
       "(line 8)"},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.toml), c.error) << c.toml;

  // A shortcut finds its file the same way.
  mksetup::Payload p = mksetup::BuildPayload(mksetup::ParseManifest(
      Product() + Files() + "[[shortcuts]]\nname = \"B\"\ntarget = \"\\\\DOCS/Sub\\\\B.txt\"\n", dir));
  EXPECT_EQ(p.record->Shortcuts[0].FileIndex, 2);
}

TEST_F(MksetupTest, InspectFlagsBadNamesInARecordMadeElsewhere) {
  mksetup::Payload p = mksetup::BuildPayload(mksetup::ParseManifest(Product() + Files(), dir));
  // What a builder without the rule could have written: the record alone
  // changes, so the package and its checksum still match.
  p.record->Files[1].Name.Assign("\\docs\\CON.txt");
  p.record->Files[2].Name.Assign("\\APP.exe");
  p.record->ShortcutCount = 1;
  p.record->Shortcuts[0].Name.Assign("..\\Startup\\x");
  p.record->Shortcuts[0].FileIndex = 0;
  base::Bytes ini = installer::PackBlock(installer::RecordBytes(*p.record));
  const fs::path exe = dir / "patched.exe";
  tools::WriteBinaryFile(exe, mksetup::EmbedPayload(tools::ReadBinaryFile(kStubs / "resources.exe"),
                                                    {&ini, &p.setup_pack, &p.protocol}));

  Outcome o = Mksetup("inspect " + exe.string());
  EXPECT_EQ(o.code, 1) << o.out;
  EXPECT_NE(o.out.find("Problem: File entry 1 \"\\docs\\CON.txt\" has a component that Windows "
                       "takes for the device CON"),
            std::string::npos)
      << o.out;
  EXPECT_NE(o.out.find("Problem: File entry 2 \"\\APP.exe\" names the same file as entry 0 "
                       "\"\\app.exe\""),
            std::string::npos)
      << o.out;
  EXPECT_NE(o.out.find("Problem: Shortcut entry 0 \"..\\Startup\\x\" contains a separator"),
            std::string::npos)
      << o.out;
  EXPECT_NE(o.out.find("(matches)"), std::string::npos);  // refused for its names alone
  EXPECT_EQ(o.out.find("Payload intact."), std::string::npos);
  EXPECT_NE(o.out.find("Payload NOT intact."), std::string::npos);

  o = Mksetup("inspect --json " + exe.string());
  EXPECT_EQ(o.code, 1);
  auto j = nlohmann::json::parse(o.out);
  EXPECT_FALSE(j["intact"].get<bool>());
  EXPECT_EQ(j["problems"].size(), 3u);
  // Nor does extract write any of it.
  EXPECT_EQ(Mksetup("extract " + exe.string() + " -o " + (dir / "never").string()).code, 1);
  EXPECT_FALSE(fs::exists(dir / "never"));
}

TEST_F(MksetupTest, AMultiLineTextGoesOnWithAnyCharacter) {
  // toml++ 3.3 asks a broken predicate about the character after a
  // line-ending backslash (tools/common/toml.h); under UBSan this stops the
  // test when the workaround is gone.
  mksetup::Manifest m = mksetup::ParseManifest(
      Product("description = \"\"\"é \\\n  、été。\\\n  Ж\"\"\"\n"), dir);
  EXPECT_EQ(m.description.utf8, "é 、été。Ж");
}

TEST_F(MksetupTest, TablesAndFilesBeyondWhatTheInstallerHoldsAreRefused) {
  for (int i = 0; i < 257; ++i) WriteText(dir / "many" / ("f" + std::to_string(1000 + i)), "x");
  EXPECT_EQ(ErrorOf(Product() + "[[files]]\nsource = \"many\"\n"),
            "8: the manifest names 257 files; an installer holds at most 256");

  // A sparse file: over 2 GiB on paper, no disk space in fact.
  std::ofstream(dir / "huge.bin").close();
  fs::resize_file(dir / "huge.bin", (std::uintmax_t{1} << 31) + 1);
  EXPECT_EQ(ErrorOf(Product() + "\n[[files]]\nsource = \"huge.bin\"\n"),
            "9: " + (dir / "huge.bin").string() +
                " is larger than 2 GiB, which the installer cannot hold");
}

TEST_F(MksetupTest, CommandLineExitCodes) {
  const std::string tool = MKSETUP_PATH;
  auto run = [](const std::string& command) {
    int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WEXITSTATUS(status);
  };
  WriteText(dir / "setup.toml", Product() + Files());
  fs::path out = dir / "setup.exe";
  EXPECT_EQ(run(tool), 2);
  EXPECT_EQ(run(tool + " build"), 2);
  EXPECT_EQ(run(tool + " frobnicate x"), 2);
  EXPECT_EQ(run(tool + " build " + (dir / "setup.toml").string() + " -o " + out.string() +
                " --stub " + (kStubs / "resources.exe").string()),
            0);
  EXPECT_EQ(run(tool + " inspect " + out.string()), 0);
  EXPECT_EQ(run(tool + " inspect --json " + out.string()), 0);
  EXPECT_EQ(run(tool + " extract " + out.string() + " -o " + (dir / "x").string()), 0);
  EXPECT_EQ(ReadText(dir / "x/docs/a.txt"), "alpha");
  EXPECT_EQ(run(tool + " inspect " + (kStubs / "resources.exe").string()), 1);
  EXPECT_EQ(run(tool + " inspect " + (dir / "setup.toml").string()), 1);  // not a PE
  WriteText(dir / "bad.toml", Product("oops = 1\n"));
  EXPECT_EQ(run(tool + " build " + (dir / "bad.toml").string() + " -o " + out.string()), 1);
}

TEST_F(MksetupTest, CheckImportsPassesOnlyStubsThatNeedNothingButWindows) {
  const std::string good = (kStubs / "resources.exe").string();
  const std::string zlib = ZlibStub().string();

  Outcome o = Mksetup("check-imports " + good);
  EXPECT_EQ(o.code, 0) << o.err;
  EXPECT_EQ(o.out, good + ": x86: KERNEL32.dll, msvcrt.dll\n");
  EXPECT_EQ(Mksetup("check-imports " + good + " --machine x86").code, 0);

  o = Mksetup("check-imports --machine x64 " + good);
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.out, good + ": x86 (not x64): KERNEL32.dll, msvcrt.dll\n");

  o = Mksetup("check-imports " + zlib);
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.out, zlib + ": x86: KERNEL32.dll, zlib1.dll (not part of Windows)\n");

  // Every file is looked at, whatever came before it.
  const std::string missing = (dir / "missing.exe").string();
  const std::string not_pe = (dir / "app.exe").string();  // 5000 bytes of 'A'
  o = Mksetup("check-imports " + missing + " " + zlib + " " + not_pe + " " + good);
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.out, zlib + ": x86: KERNEL32.dll, zlib1.dll (not part of Windows)\n" + good +
                       ": x86: KERNEL32.dll, msvcrt.dll\n");
  EXPECT_EQ(o.err, "mksetup: " + missing + ": cannot open " + missing + "\nmksetup: " + not_pe +
                       ": Not a PE file: no MZ header\n");
  EXPECT_EQ(Mksetup("check-imports " + dir.string()).code, 1);  // a folder
}

TEST_F(MksetupTest, CheckImportsRefusesAWrongCommandLine) {
  const std::string good = (kStubs / "resources.exe").string();
  const std::vector<std::string> wrong_lines = {
      "check-imports", "check-imports --machine x64", "check-imports " + good + " --machine arm64",
      "check-imports " + good + " --machine", "check-imports --json " + good};
  for (const std::string& wrong : wrong_lines) {
    const Outcome o = Mksetup(wrong);
    EXPECT_EQ(o.code, 2) << wrong;
    EXPECT_NE(o.err.find("mksetup check-imports FILE... [--machine x86|x64]"), std::string::npos)
        << wrong;
  }
}

TEST_F(MksetupTest, BuildWarnsAboutAStubThatNeedsADllWindowsLacks) {
  WriteText(dir / "setup.toml", Product() + Files());
  const std::string build = "build " + (dir / "setup.toml").string() + " -o " +
                            (dir / "setup.exe").string() + " --stub ";
  Outcome o = Mksetup(build + (kStubs / "resources.exe").string());
  EXPECT_EQ(o.code, 0) << o.err;
  EXPECT_EQ(o.err, "");

  const fs::path zlib = ZlibStub();
  o = Mksetup(build + zlib.string());
  EXPECT_EQ(o.code, 0) << o.err;
  EXPECT_EQ(o.err, "mksetup: warning: the stub " + zlib.string() +
                       " imports zlib1.dll, which is not part of Windows; the installer will not "
                       "start where it is missing\n");
  EXPECT_EQ(Mksetup("inspect " + (dir / "setup.exe").string()).code, 0);
  // The installer made from it carries the same imports.
  EXPECT_EQ(Mksetup("check-imports " + (dir / "setup.exe").string()).code, 1);
}

// [product] uninstaller = true: our Uninstall.exe goes last, the one entry
// whose Flag1 tells the installer it understands /S.
TEST_F(MksetupTest, TheUninstallerAskedForComesLastAndAloneCarriesTheMark) {
  WriteText(dir / "bin/Uninstall.exe", "MZ uninstaller");
  const mksetup::BuildInputs inputs{dir / "bin/Uninstall.exe"};
  mksetup::Payload p =
      mksetup::BuildPayload(mksetup::ParseManifest(Product("uninstaller = true\n") + Files(), dir),
                            nullptr, inputs);
  const installer::TSetupRecord& r = *p.record;
  ASSERT_EQ(r.FileCount, 5);
  EXPECT_EQ(r.Files[0].Name.Value(), "\\app.exe");  // still the main program
  EXPECT_EQ(r.Files[4].Name.Value(), "\\Uninstall.exe");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(r.Files[i].Flag1, 0) << i;
  EXPECT_EQ(r.Files[4].Flag1, installer::kOwnUninstallerMark);
  base::MemoryStream package{installer::UnpackToBuffer(p.setup_pack)};
  EXPECT_EQ(base::AsString(installer::ReadPackageFile(package, r.Files[4])), "MZ uninstaller");

  // Not asked for (or asked not to): no uninstaller, whatever the inputs.
  for (const std::string& setting : {std::string(), std::string("uninstaller = false\n")}) {
    mksetup::Payload without =
        mksetup::BuildPayload(mksetup::ParseManifest(Product(setting) + Files(), dir), nullptr, inputs);
    EXPECT_EQ(without.record->FileCount, 4) << setting;
  }
}

TEST_F(MksetupTest, TheUninstallerIsRefusedWhereItCannotGoNamingTheLineToChange) {
  WriteText(dir / "Uninstall.exe", "their own uninstaller");
  WriteText(dir / "tools/x.txt", "x");
  const mksetup::BuildInputs inputs{dir / "Uninstall.exe"};
  auto error_of = [&](const std::string& toml, const mksetup::BuildInputs& with) {
    try {
      mksetup::BuildPayload(mksetup::ParseManifest(toml, dir), nullptr, with);
    } catch (const mksetup::ManifestError& e) {
      return std::to_string(e.line()) + ": " + e.what();
    }
    return std::string("no error");
  };
  const std::string asked = Product("uninstaller = true\n");  // line 8
  // The manifest's own uninstaller, however it is spelt, or a folder of that name.
  EXPECT_EQ(error_of(asked + "[[files]]\nsource = \"Uninstall.exe\"\n", inputs),
            "9: the uninstaller that product.uninstaller = true (line 8) adds as "
            "\"\\Uninstall.exe\" is the same file as \"\\Uninstall.exe\"; leave that file out, "
            "or the setting");
  EXPECT_EQ(error_of(asked + "[[files]]\nsource = \"app.exe\"\ntarget = \"\\\\UNINSTALL.exe\"\n",
                     inputs)
                .substr(0, 3),
            "9: ");
  EXPECT_EQ(error_of(asked + "[[files]]\nsource = \"tools\"\ntarget = \"\\\\uninstall.exe\"\n",
                     inputs),
            "9: the uninstaller that product.uninstaller = true (line 8) adds as "
            "\"\\Uninstall.exe\" is a file where a folder is needed by "
            "\"\\uninstall.exe\\x.txt\"; leave that file out, or the setting");
  // No program to add.
  EXPECT_EQ(error_of(asked + Files(), {}),
            "8: product.uninstaller = true, but no uninstaller program was given (mksetup build "
            "--uninstaller PATH)");
  EXPECT_NE(error_of(asked + Files(), {dir / "missing.exe"}).find("missing.exe is not there"),
            std::string::npos);
  EXPECT_EQ(error_of(Product("uninstaller = \"yes\"\n") + Files(), inputs),
            "8: product.uninstaller is true or false");
}

TEST_F(MksetupTest, BuildTakesTheUninstallerFromTheCommandLine) {
  WriteText(dir / "setup.toml", Product("uninstaller = true\n") + Files());
  WriteText(dir / "u.exe", "MZ");
  const std::string build = "build " + (dir / "setup.toml").string() + " -o " +
                            (dir / "setup.exe").string() + " --stub " +
                            (kStubs / "resources.exe").string();
  Outcome o = Mksetup(build + " --uninstaller " + (dir / "u.exe").string());
  EXPECT_EQ(o.code, 0) << o.err;
  EXPECT_NE(o.out.find("5 files"), std::string::npos) << o.out;
  o = Mksetup(build + " --uninstaller " + (dir / "none.exe").string());
  EXPECT_EQ(o.code, 1);
  EXPECT_NE(o.err.find("none.exe is not there"), std::string::npos) << o.err;
}

TEST(ImportReportTest, MarksForeignAndDelayLoadedDlls) {
  pe::ImageImports imports{pe::kMachineAmd64,
                           {{"KERNEL32.dll", false},
                            {"libstdc++-6.dll", false},
                            {"dwmapi.dll", true},
                            {"zlib1.dll", true}}};
  EXPECT_EQ(mksetup::DescribeImports(imports, std::nullopt),
            "x64: KERNEL32.dll, libstdc++-6.dll (not part of Windows), dwmapi.dll (delay-loaded), "
            "zlib1.dll (delay-loaded, not part of Windows)");
  EXPECT_EQ(mksetup::ForeignDlls(imports),
            (std::vector<std::string>{"libstdc++-6.dll", "zlib1.dll"}));
  EXPECT_FALSE(mksetup::ImportsPass(imports, std::nullopt));

  imports.dlls.erase(imports.dlls.begin() + 1);
  imports.dlls.pop_back();
  EXPECT_TRUE(mksetup::ImportsPass(imports, std::nullopt));
  EXPECT_TRUE(mksetup::ImportsPass(imports, pe::kMachineAmd64));
  EXPECT_FALSE(mksetup::ImportsPass(imports, pe::kMachineI386));

  const pe::ImageImports none{0x1C4, {}};
  EXPECT_EQ(mksetup::DescribeImports(none, pe::kMachineI386), "0x1C4 (not x86): no imported DLLs");
  EXPECT_TRUE(mksetup::ImportsPass(none, std::nullopt));
}

// Packing runs on several threads, in chunks that the files do not line up
// with; the installer must come out the same whatever the thread count.
TEST_F(MksetupTest, ThePackageIsTheSameBytesWhateverTheNumberOfJobs) {
  // Files of 1.5 MiB and more cross the packer's chunks in the middle.
  std::string big(3 * 1024 * 1024 / 2 + 17, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 7919) >> 9);
  WriteText(dir / "docs/big.bin", big);
  WriteText(dir / "docs/bigger.bin", big + big);
  const mksetup::Manifest m = mksetup::ParseManifest(Product() + Files(), dir);
  const mksetup::Payload one = mksetup::BuildPayload(m, nullptr, {{}, 1});
  EXPECT_EQ(one.package_size, installer::UnpackBlock(one.setup_pack).size());
  for (int jobs : {2, 3, 8}) {
    const mksetup::Payload many = mksetup::BuildPayload(m, nullptr, {{}, jobs});
    EXPECT_EQ(many.setup_pack, one.setup_pack) << jobs << " jobs";
    EXPECT_EQ(many.setup_ini, one.setup_ini) << jobs << " jobs";
  }
}

}  // namespace

