// The bundled example, built by mksetup into the real stub: its resources
// must read back through the installer's own resource reader exactly as the
// builder wrote them, and the running stub must load, check and report its
// payload, or report precisely what is wrong with it.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "base/file_system.h"
#include "base/text_codec.h"
#include "installer/module_resources_win.h"
#include "installer/packed_block.h"
#include "installer/setup_package.h"
#include "installer/setup_record.h"
#include "installer/exit_codes.h"
#include "installer/texts.h"
#include "tests/host/gbk_literal.h"
#include "tests/win32/support/data_module.h"
#include "tests/win32/support/patched_installer.h"
#include "tests/win32/support/process_driver.h"
#include "tests/win32/support/wizard_driver.h"
#include "tools/pe/pe_headers.h"
#include "tools/pe/resource_reader.h"
#include "tools/pe/resource_writer.h"

namespace {

using testing_support::ChildProcess;
using testing_support::DataModule;
using testing_support::Gbk;

const std::wstring kInstaller = VANTO_EXAMPLE_INSTALLER;
const std::wstring kResources = VANTO_EXAMPLE_RESOURCES;
const std::wstring kStage = VANTO_EXAMPLE_STAGE;
const std::wstring kUninstaller = VANTO_EXAMPLE_UNINSTALLER;

base::Bytes ReadFileW(const std::wstring& path) {
  return base::NativeFileSystem().ReadWholeFile(base::WideToGbkLossy(path));
}

base::Bytes Copy(base::ByteView v) { return base::Bytes(v.begin(), v.end()); }

std::wstring TempFolder(const wchar_t* name) { return testing_support::TempFolder(name); }

std::wstring PatchedInstaller(const std::wstring& folder, const char* resource,
                              const std::optional<base::Bytes>& bytes) {
  return testing_support::PatchedInstaller(kInstaller, folder, resource, bytes);
}

struct RunResult {
  std::wstring caption, text;  // of the error box, when start-up reported one
  std::wstring window_title;   // of the wizard window that then opened
};

// Runs an installer: answers OK to the error box start-up may show, reads
// the title of the wizard window, and ends the program.
RunResult RunAndRead(const std::wstring& exe, bool expect_error) {
  RunResult result;
  auto child = ChildProcess::Start(exe);
  if (!child) return result;
  if (expect_error) {
    if (HWND box = testing_support::WaitForDialog(child->id(), 20000)) {
      result.caption = testing_support::WindowText(box);
      result.text = testing_support::MessageBoxText(box);
      testing_support::PressButton(box, IDOK);
    }
  }
  if (HWND window = testing_support::WaitForWindow(child->id(), L"VantoControl", 20000))
    result.window_title = testing_support::WindowText(window);
  return result;  // the child is ended when it goes out of scope
}

struct ExampleInstaller : ::testing::Test {
  // Each run starts as a first installation: an earlier one would ask first.
  void SetUp() override { testing_support::wizard::ForgetEarlierInstallation(); }

  base::Bytes setup_ini = ReadFileW(kResources + L"\\SETUPINI");
  base::Bytes setup_pack = ReadFileW(kResources + L"\\SETUPPACK");
  base::Bytes protocol = ReadFileW(kResources + L"\\PROTOCOL");
};

TEST_F(ExampleInstaller, ResourcesReadBackByteForByte) {
  DataModule image(kInstaller);
  ASSERT_TRUE(image.module);
  installer::ModuleResourceSource resources(image.module);
  EXPECT_EQ(Copy(installer::OpenResource(resources, "SETUPINI")), setup_ini);
  EXPECT_EQ(Copy(installer::OpenResource(resources, "SETUPPACK")), setup_pack);
  EXPECT_EQ(Copy(installer::OpenResource(resources, "PROTOCOL")), protocol);
  EXPECT_FALSE(resources.FindRcData("NOSUCH"));
  // The stub's own resources survive the embedding.
  EXPECT_TRUE(FindResourceW(image.module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)));
  EXPECT_TRUE(FindResourceW(image.module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)));
}

TEST_F(ExampleInstaller, RecordReadsBackFieldByFieldAndFilesCutOutByteEqual) {
  auto r = std::make_unique<installer::TSetupRecord>();
  base::Bytes unpacked = installer::UnpackBlock(setup_ini);
  ASSERT_EQ(unpacked.size(), installer::kSetupRecordSize);
  installer::LoadRecordBytes(*r, unpacked);
  EXPECT_EQ(r->ProductName.Value(), "VANTO-X");
  EXPECT_EQ(r->ShortName.Value(), "VANTO-X");
  EXPECT_EQ(r->Author.Value(), Gbk(u8"墨柘软件"));
  EXPECT_EQ(r->PublisherKey.Value(), "Vanto");
  EXPECT_EQ(r->Category.Value(), Gbk(u8"共享软件,系统工具"));
  EXPECT_EQ(r->Description.Value(), Gbk(u8"VANTO-X 是一个系统工具示例程序。\r\n"));
  EXPECT_EQ(r->Version.Value(), "V26.8");
  EXPECT_EQ(r->ReleaseDate.Value(), "20240225");
  EXPECT_EQ(r->Date1.Value(), "20240225");

  // The builder adds our uninstaller after the manifest's files.
  const std::string names[] = {"\\VANTO-X.exe", "\\License.txt", "\\Readme.txt",
                               "\\VANTO.skn",   Gbk(u8"\\墨柘说明.url"), "\\Uninstall.exe"};
  ASSERT_EQ(r->FileCount, 6);
  base::MemoryStream package(installer::UnpackToBuffer(setup_pack));
  EXPECT_EQ(installer::PackageChecksum(package.View()), r->PackChecksum);
  std::uint32_t expected_offset = 0;
  for (int i = 0; i < 6; ++i) {
    const auto& f = r->Files[i];
    EXPECT_EQ(f.Name.Value(), names[i]);
    EXPECT_EQ(f.Offset, expected_offset);
    expected_offset += f.Size;
    const bool uninstaller = i == 5;
    EXPECT_EQ(f.Flag1, uninstaller ? installer::kOwnUninstallerMark : 0) << names[i];
    base::Bytes source = ReadFileW(uninstaller ? kUninstaller
                                               : kStage + base::GbkToWide(f.Name.Value()));
    EXPECT_EQ(installer::ReadPackageFile(package, f), source) << names[i];
  }
  EXPECT_EQ(expected_offset, package.Size());

  ASSERT_EQ(r->ShortcutCount, 4);
  EXPECT_EQ(r->Shortcuts[0].Name.Value(), "VANTO-X");
  EXPECT_EQ(r->Shortcuts[0].Location, 0);
  EXPECT_EQ(r->Shortcuts[1].Location, 1);
  EXPECT_EQ(r->Shortcuts[2].FileIndex, 1);
  EXPECT_EQ(r->Shortcuts[3].FileIndex, 2);
  EXPECT_EQ(r->RegValueCount, 0);
}

TEST_F(ExampleInstaller, TheInstallerLoadsItsPayloadAndShowsTheWelcomePage) {
  std::wstring folder = TempFolder(L"vanto-stub-run");
  std::wstring exe = PatchedInstaller(folder, nullptr, std::nullopt);
  // A left-over "tmp.cx" is replaced and then removed.
  base::NativeFileSystem().WriteWholeFile(base::WideToGbkLossy(folder + L"\\tmp.cx"), base::Bytes{1});
  RunResult run = RunAndRead(exe, false);
  // The welcome page names the product in the window's caption.
  EXPECT_EQ(run.window_title, L"VANTO-X安装向导");
  EXPECT_FALSE(std::filesystem::exists(folder + L"\\tmp.cx"));
}

TEST_F(ExampleInstaller, FromADriveRootTmpCxGoesIntoTheRoot) {
  std::wstring exe = L"C:\\vanto-root-setup.exe";
  ASSERT_TRUE(CopyFileW(kInstaller.c_str(), exe.c_str(), FALSE));
  base::NativeFileSystem().WriteWholeFile("C:\\tmp.cx", base::Bytes{1});
  RunResult run = RunAndRead(exe, false);
  EXPECT_EQ(run.window_title, L"VANTO-X安装向导");
  EXPECT_FALSE(std::filesystem::exists(L"C:\\tmp.cx"));
  DeleteFileW(exe.c_str());
}

TEST_F(ExampleInstaller, DamagedPackageIsAStreamReadError) {
  base::Bytes cut(setup_pack.begin(), setup_pack.begin() + setup_pack.size() / 2);
  std::wstring exe = PatchedInstaller(TempFolder(L"vanto-damaged"), "SETUPPACK", cut);
  RunResult run = RunAndRead(exe, true);
  EXPECT_EQ(run.text, L"Stream read error.");
}

TEST_F(ExampleInstaller, MissingResourceIsNamed) {
  std::wstring exe = PatchedInstaller(TempFolder(L"vanto-missing"), "SETUPINI", std::nullopt);
  RunResult run = RunAndRead(exe, true);
  EXPECT_EQ(run.text, L"Resource SETUPINI not found.");
}

TEST_F(ExampleInstaller, BrokenRecordIsRefusedNamingTheEntry) {
  auto r = std::make_unique<installer::TSetupRecord>();
  installer::LoadRecordBytes(*r, installer::UnpackBlock(setup_ini));
  r->Files[2].Name.Assign("\\..\\..\\windows\\evil.dll");
  std::wstring folder = TempFolder(L"vanto-broken");
  std::wstring exe = PatchedInstaller(folder, "SETUPINI",
                                      installer::PackBlock(installer::RecordBytes(*r)));
  RunResult run = RunAndRead(exe, true);
  EXPECT_NE(run.text.find(L"File entry 2 \"\\..\\..\\windows\\evil.dll\""), std::wstring::npos)
      << base::WideToGbkLossy(run.text);
  EXPECT_FALSE(std::filesystem::exists(folder + L"\\tmp.cx"));
}

// Each class of name that Windows would not write as given, in each place a
// record carries names: refused at start-up, naming the entry, before
// anything of the product is written.
TEST_F(ExampleInstaller, NamesWindowsWouldNotWriteAsGivenAreRefusedNamingTheEntry) {
  struct Case {
    const char* where;  // "file", "shortcut" or "product"
    std::string name;
    std::wstring named;  // what the message names
  };
  const Case cases[] = {
      {"file", "\\CON", L"File entry 2"},
      {"file", "\\docs\\nul.txt", L"File entry 2"},
      {"file", "\\a<b.txt", L"File entry 2"},
      {"file", "\\Readme.txt.", L"File entry 2"},
      {"file", std::string("\\a\x01.txt"), L"File entry 2"},
      {"file", "\\README.TXT", L"File entry 2"},  // the same file as entry 2
      {"shortcut", "..\\..\\..\\Startup\\evil", L"Shortcut entry 0"},
      {"shortcut", "LPT1", L"Shortcut entry 0"},
      {"product", "..\\..\\Startup", L"ProductName"},
  };
  std::filesystem::remove_all(L"C:\\VANTO-X");
  for (const Case& c : cases) {
    auto r = std::make_unique<installer::TSetupRecord>();
    installer::LoadRecordBytes(*r, installer::UnpackBlock(setup_ini));
    const std::string where = c.where;
    if (where == "file" && c.name == "\\README.TXT") r->Files[1].Name.Assign(c.name);
    else if (where == "file") r->Files[2].Name.Assign(c.name);
    else if (where == "shortcut") r->Shortcuts[0].Name.Assign(c.name);
    else r->ProductName.Assign(c.name);
    std::wstring folder = TempFolder(L"vanto-bad-name");
    std::wstring exe = PatchedInstaller(folder, "SETUPINI",
                                        installer::PackBlock(installer::RecordBytes(*r)));
    RunResult run = RunAndRead(exe, true);
    EXPECT_EQ(run.text.rfind(L"The setup data is damaged: ", 0), 0u)
        << c.name << ": " << base::WideToGbkLossy(run.text);
    EXPECT_NE(run.text.find(c.named), std::wstring::npos)
        << c.name << ": " << base::WideToGbkLossy(run.text);
    EXPECT_FALSE(std::filesystem::exists(folder + L"\\tmp.cx")) << c.name;
  }
  // Nothing was installed: the default folder was never made.
  EXPECT_FALSE(std::filesystem::exists(L"C:\\VANTO-X"));
}

TEST_F(ExampleInstaller, ChecksumMismatchAsksAndNoEndsTheProgram) {
  auto r = std::make_unique<installer::TSetupRecord>();
  installer::LoadRecordBytes(*r, installer::UnpackBlock(setup_ini));
  r->PackChecksum += 1;
  std::wstring exe = PatchedInstaller(TempFolder(L"vanto-mismatch"), "SETUPINI",
                                      installer::PackBlock(installer::RecordBytes(*r)));
  auto child = ChildProcess::Start(exe);
  ASSERT_TRUE(child);
  HWND box = testing_support::WaitForDialog(child->id(), 20000);
  ASSERT_TRUE(box);
  EXPECT_EQ(testing_support::MessageBoxText(box),
            base::GbkToWide(installer::texts::kChecksumQuestion));
  testing_support::PressButton(box, IDNO);
  // Declined: refused, for whoever started it, not installed.
  EXPECT_EQ(child->Wait(20000), static_cast<DWORD>(installer::kExitRefused));
}

}  // namespace

namespace {

struct ButtonSearch {
  std::wstring text;
  HWND found = nullptr;
};

BOOL CALLBACK FindButton(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<ButtonSearch*>(param);
  if (testing_support::WindowText(hwnd) != s->text) return TRUE;
  s->found = hwnd;
  return FALSE;
}

HWND FindChildByText(HWND parent, const std::wstring& text) {
  ButtonSearch s{text};
  EnumChildWindows(parent, FindButton, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

TEST_F(ExampleInstaller, ChecksumMismatchAnsweredYesGoesOnToTheWelcomePage) {
  auto r = std::make_unique<installer::TSetupRecord>();
  installer::LoadRecordBytes(*r, installer::UnpackBlock(setup_ini));
  r->PackChecksum += 1;
  std::wstring exe = PatchedInstaller(TempFolder(L"vanto-mismatch-yes"), "SETUPINI",
                                      installer::PackBlock(installer::RecordBytes(*r)));
  auto child = ChildProcess::Start(exe);
  ASSERT_TRUE(child);
  HWND box = testing_support::WaitForDialog(child->id(), 20000);
  ASSERT_TRUE(box);
  testing_support::PressButton(box, IDYES);
  HWND window = testing_support::WaitForWindow(child->id(), L"VantoControl", 20000);
  ASSERT_TRUE(window);
  EXPECT_EQ(testing_support::WindowText(window), L"VANTO-X安装向导");
  HWND next = FindChildByText(window, L"下一步");
  ASSERT_TRUE(next);
  EXPECT_TRUE(IsWindowEnabled(next));
}

TEST_F(ExampleInstaller, AnEarlyStartUpErrorLeavesNoWayForward) {
  // A folder where the installer cannot create "tmp.cx" (here: a folder of
  // that name is in the way), as in a read-only installer folder.
  std::wstring folder = TempFolder(L"vanto-no-tmp");
  std::wstring exe = PatchedInstaller(folder, nullptr, std::nullopt);
  std::filesystem::create_directory(folder + L"\\tmp.cx");
  auto child = ChildProcess::Start(exe);
  ASSERT_TRUE(child);
  HWND box = testing_support::WaitForDialog(child->id(), 20000);
  ASSERT_TRUE(box);
  EXPECT_EQ(testing_support::MessageBoxText(box).rfind(L"Cannot create file \"", 0), 0u)
      << base::WideToGbkLossy(testing_support::MessageBoxText(box));
  testing_support::PressButton(box, IDOK);
  HWND window = testing_support::WaitForWindow(child->id(), L"VantoControl", 20000);
  ASSERT_TRUE(window);
  // The window opens, but Next is disabled: nothing can be installed
  // without a verified package.
  HWND next = FindChildByText(window, L"下一步");
  ASSERT_TRUE(next);
  EXPECT_FALSE(IsWindowEnabled(next));
}

}  // namespace
