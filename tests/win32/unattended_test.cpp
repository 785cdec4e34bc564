// The example installer driven as deployment tools drive it: /S with /D
// and /LOG, read back through the files, the registry and the exit code;
// every way it may refuse, and what it then leaves (nothing); the wizard's
// own exit codes.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/text_codec.h"
#include "installer/exit_codes.h"
#include "installer/packed_block.h"
#include "installer/setup_record.h"
#include "installer/unattended_texts.h"
#include "tests/win32/support/patched_installer.h"
#include "tests/win32/support/process_driver.h"
#include "tests/win32/support/product_registry.h"
#include "tests/win32/support/wizard_driver.h"

namespace {

using namespace testing_support::wizard;
using testing_support::ChildProcess;
using testing_support::PatchedInstaller;
using testing_support::TempFolder;
namespace fs = std::filesystem;

const std::wstring kInstaller = VANTO_EXAMPLE_INSTALLER;
const std::wstring kResources = VANTO_EXAMPLE_RESOURCES;
const std::wstring kUninstallEntry =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VANTO-X";

std::string Utf8(const std::wstring& wide) {
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

// The log's lines, without its byte order mark and line ends.
std::vector<std::string> LogLines(const std::wstring& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF") << "the log has no UTF-8 byte order mark";
  if (text.size() >= 3) text.erase(0, 3);
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool StartsWithLine(const std::vector<std::string>& lines, const std::string& prefix) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

bool KeyExists(const std::wstring& path) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0,
                    KEY_QUERY_VALUE | installer::kProductRegistryView, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

class Unattended : public ::testing::Test {
protected:
  void SetUp() override { ForgetProduct(); }
  void TearDown() override { ForgetProduct(); }

  // The product's keys: a wizard started by another test creates its
  // product key at start-up.
  static void ForgetProduct() {
    testing_support::DeleteProductTree(HKEY_LOCAL_MACHINE, kProductKey);
    testing_support::DeleteProductTree(HKEY_LOCAL_MACHINE, kUninstallEntry);
  }

  // Runs exe with args and returns its exit code. A silent run that shows
  // anything waits for an answer that never comes: then there is no code.
  static std::optional<DWORD> Run(const std::wstring& exe, const std::wstring& args) {
    auto child = ChildProcess::Start(exe, args);
    EXPECT_TRUE(child);
    if (!child) return std::nullopt;
    return child->Wait(60000);
  }

  void ExpectNothingOfTheProduct(const std::wstring& target) {
    EXPECT_FALSE(fs::exists(target)) << "the target folder was made";
    EXPECT_FALSE(KeyExists(kProductKey)) << "the product key was written";
    EXPECT_FALSE(KeyExists(kUninstallEntry)) << "the uninstall entry was written";
  }

  PackagedProduct product{kResources};
};

TEST_F(Unattended, InstallsSilentlyIntoAFolderWithBlanksAndLogsEveryStep) {
  const std::wstring target = L"C:\\Some Dir\\App";
  const std::wstring log = TempFolder(L"vanto-unattended-log") + L"\\setup log.txt";
  fs::remove_all(L"C:\\Some Dir");

  EXPECT_EQ(Run(kInstaller, L"/S \"/LOG=" + log + L"\" /D=" + target),
            std::optional<DWORD>(installer::kExitDone));

  product.ExpectInstalledIn(target);
  const std::vector<std::string> lines = LogLines(log);
  for (int i = 0; i < product.FileCount(); ++i)
    EXPECT_TRUE(StartsWithLine(lines, "File " + Utf8(target + product.Name(i)) + " ("))
        << "the log does not list " << Utf8(product.Name(i));
  EXPECT_TRUE(StartsWithLine(lines, "Value HKLM\\Software\\Vanto\\VANTO-X\\Folder = \"" +
                                        Utf8(target) + "\""));
  EXPECT_TRUE(StartsWithLine(lines, "Shortcut Desktop\\VANTO-X.lnk -> "));
  EXPECT_EQ(lines.back(), "Installed");

  // The uninstall entry, as the system's list of programs reads it.
  const std::wstring uninstaller = L"\"" + target + L"\\uninstall.exe\"";
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallEntry, L"DisplayName"), L"VANTO-X");
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallEntry, L"UninstallString"), uninstaller);
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallEntry, L"QuietUninstallString"),
            uninstaller + L" /S");
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallEntry, L"DisplayVersion"),
            base::GbkToWide(product.record->Version.Value()));
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallEntry, L"Publisher"),
            base::GbkToWide(product.record->Author.Value()));
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallEntry, L"InstallLocation"), target);
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallEntry, L"DisplayIcon"),
            target + L"\\VANTO-X.exe");
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallEntry, L"URLInfoAbout"),
            base::GbkToWide(product.record->WebSite.Value()));
  std::uint64_t bytes = 0;
  for (int i = 0; i < product.FileCount(); ++i) bytes += product.Size(i);
  EXPECT_EQ(RegDword(HKEY_LOCAL_MACHINE, kUninstallEntry, L"EstimatedSize"),
            std::optional<DWORD>(static_cast<DWORD>((bytes + 1023) / 1024)));
  EXPECT_EQ(RegDword(HKEY_LOCAL_MACHINE, kUninstallEntry, L"NoModify"), std::optional<DWORD>(1));
  EXPECT_EQ(RegDword(HKEY_LOCAL_MACHINE, kUninstallEntry, L"NoRepair"), std::optional<DWORD>(1));
  EXPECT_FALSE(testing_support::KeyInOtherView(HKEY_LOCAL_MACHINE, kUninstallEntry));
  fs::remove_all(L"C:\\Some Dir");
}

TEST_F(Unattended, AnEarlierInstallationIsOverwrittenInItsFolderWithoutAQuestion) {
  const std::wstring earlier_folder = L"C:\\vanto-earlier";
  fs::remove_all(earlier_folder);
  fs::create_directories(earlier_folder);
  std::ofstream(fs::path(earlier_folder + L"\\VANTO-X.exe")) << "an older version";
  EarlierInstallation earlier(earlier_folder);
  ASSERT_TRUE(earlier.ok());

  EXPECT_EQ(Run(kInstaller, L"/S"), std::optional<DWORD>(installer::kExitDone));
  product.ExpectInstalledIn(earlier_folder);
  fs::remove_all(earlier_folder);
}

TEST_F(Unattended, EveryRefusalExitsWithItsCodeAndWritesNothingOfTheProduct) {
  const std::wstring target = L"C:\\vanto-refused";
  fs::remove_all(target);
  const std::wstring folder = TempFolder(L"vanto-refusals");
  const std::wstring log = folder + L"\\log.txt";

  auto record = std::make_unique<installer::TSetupRecord>();
  installer::LoadRecordBytes(*record, installer::UnpackBlock(product.setup_ini));
  record->PackChecksum += 1;
  const std::wstring mismatched = PatchedInstaller(
      kInstaller, TempFolder(L"vanto-refused-sum"), "SETUPINI",
      installer::PackBlock(installer::RecordBytes(*record)));
  record->PackChecksum -= 1;
  record->FileCount = 300;
  const std::wstring broken = PatchedInstaller(kInstaller, TempFolder(L"vanto-refused-record"),
                                               "SETUPINI",
                                               installer::PackBlock(installer::RecordBytes(*record)));
  const base::Bytes cut(product.setup_ini.begin(), product.setup_ini.begin() + 20);
  const std::wstring damaged =
      PatchedInstaller(kInstaller, TempFolder(L"vanto-refused-pack"), "SETUPPACK", cut);

  struct Case {
    const char* what;
    std::wstring exe, folder;
  } cases[] = {
      {"a package that does not match its checksum", mismatched, target},
      {"a record that breaks its data model", broken, target},
      {"a damaged package", damaged, target},
      {"a folder that is no full path", kInstaller, L"vanto-refused"},
      {"a drive root", kInstaller, L"C:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Run(c.exe, L"/S /LOG=" + log + L" /D=" + c.folder),
              std::optional<DWORD>(installer::kExitRefused));
    ExpectNothingOfTheProduct(target);
    EXPECT_TRUE(StartsWithLine(LogLines(log), "REFUSED: "));
  }
}

TEST_F(Unattended, AFileThatCannotBeWrittenIsLoggedAndTheRestIsInstalled) {
  const std::wstring target = L"C:\\vanto-unattended-held";
  fs::remove_all(target);
  fs::create_directories(target);
  const std::wstring held_path = target + L"\\Readme.txt";
  std::ofstream(fs::path(held_path)) << "the user's notes";
  HANDLE held = CreateFileW(held_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::wstring log = TempFolder(L"vanto-unattended-held-log") + L"\\log.txt";

  const auto code = Run(kInstaller, L"/S /LOG=" + log + L" /D=" + target);
  CloseHandle(held);
  EXPECT_EQ(code, std::optional<DWORD>(installer::kExitDoneWithErrors));
  product.ExpectInstalledIn(target, L"\\Readme.txt");
  const std::vector<std::string> lines = LogLines(log);
  EXPECT_TRUE(StartsWithLine(lines, "FAILED file " + Utf8(held_path) + ": "));
  EXPECT_EQ(lines.back(), "Installed with errors: 1 files could not be written");
  fs::remove_all(target);
}

TEST_F(Unattended, AMistakenSwitchIsShownUnlessSilenceWasAskedFor) {
  EXPECT_EQ(Run(kInstaller, L"/X /S"), std::optional<DWORD>(installer::kExitBadCommandLine));

  auto child = ChildProcess::Start(kInstaller, L"/X");
  ASSERT_TRUE(child);
  HWND box = testing_support::WaitForDialog(child->id(), 20000);
  ASSERT_TRUE(box);
  const std::wstring text = testing_support::MessageBoxText(box);
  EXPECT_NE(text.find(L"unknown switch /X"), std::wstring::npos) << Utf8(text);
  EXPECT_NE(text.find(base::GbkToWide(installer::unattended_texts::kSwitchesHelp)),
            std::wstring::npos);
  testing_support::PressButton(box, IDOK);
  EXPECT_EQ(child->Wait(20000), std::optional<DWORD>(installer::kExitBadCommandLine));

  auto help = ChildProcess::Start(kInstaller, L"/?");
  ASSERT_TRUE(help);
  box = testing_support::WaitForDialog(help->id(), 20000);
  ASSERT_TRUE(box);
  EXPECT_EQ(testing_support::MessageBoxText(box),
            base::GbkToWide(installer::unattended_texts::kSwitchesHelp));
  testing_support::PressButton(box, IDOK);
  EXPECT_EQ(help->Wait(20000), std::optional<DWORD>(installer::kExitDone));
}

TEST_F(Unattended, TheWizardProposesTheFolderOfDAndExitsCancelledWhenClosed) {
  Wizard w(kInstaller, true, L"/D=C:\\Wizard Dir\\VANTO-X");
  ASSERT_TRUE(w.window);
  w.ToFolderPage();
  EXPECT_EQ(w.Folder(), L"C:\\Wizard Dir\\VANTO-X");
  PostMessageW(w.window, WM_CLOSE, 0, 0);
  EXPECT_NE(w.Answer(IDYES), L"(no message)");
  EXPECT_EQ(w.process->Wait(20000), std::optional<DWORD>(installer::kExitCancelled));
  EXPECT_FALSE(fs::exists(L"C:\\Wizard Dir"));
}

}  // namespace
