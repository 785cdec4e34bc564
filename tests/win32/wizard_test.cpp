// The installer's wizard, driven as a user drives it: the example
// installer runs in its own process, the test clicks its buttons (mouse
// messages to the self-drawn buttons), types into the folder box, answers
// its message boxes, and checks what the installation left on disk, in the
// registry and on the desktop.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <cwctype>
#include <vector>

#include "base/file_system.h"
#include "base/text_codec.h"
#include "base/win_api.h"
#include "installer/packed_block.h"
#include "installer/setup_package.h"
#include "installer/setup_record.h"
#include "installer/exit_codes.h"
#include "installer/wizard_texts.h"
#include "tests/win32/support/process_driver.h"
#include "tests/win32/support/product_registry.h"
#include "tests/win32/support/wizard_driver.h"

#include <tlhelp32.h>

namespace {

using testing_support::ChildProcess;
using namespace testing_support::wizard;
namespace fs = std::filesystem;

const std::wstring kInstaller = VANTO_EXAMPLE_INSTALLER;
const std::wstring kResources = VANTO_EXAMPLE_RESOURCES;


// The running window as the user gets it: a 642 x 490 client area (the
// bottom panel spans it exactly), a fixed single border, and of the caption
// boxes only the close box.
TEST(WizardTest, TheWindowHasItsClientSizeAFixedBorderAndOnlyTheCloseBox) {
  Wizard w(kInstaller);
  ASSERT_TRUE(w.window);
  RECT client{};
  ASSERT_TRUE(GetClientRect(w.window, &client));
  EXPECT_EQ(client.right - client.left, 642);
  EXPECT_EQ(client.bottom - client.top, 490);
  const LONG_PTR style = GetWindowLongPtrW(w.window, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
}

// The modules a process has loaded whose file name is name, by full path.
std::vector<std::wstring> LoadedModules(DWORD process_id, const wchar_t* name) {
  std::vector<std::wstring> paths;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, process_id);
  if (snapshot == INVALID_HANDLE_VALUE) return paths;
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Module32FirstW(snapshot, &entry); more; more = Module32NextW(snapshot, &entry)) {
    if (!name || _wcsicmp(entry.szModule, name) == 0) paths.push_back(entry.szExePath);
  }
  CloseHandle(snapshot);
  return paths;
}

// The major number of a file's version resource; 0 when it has none.
int FileMajorVersion(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return 0;
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return 0;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
    return 0;
  return HIWORD(info->dwFileVersionMS);
}

// Version 6 of the common controls is the one in the side-by-side store's
// assembly of that version; Windows' copy also says 6 in its version
// resource, Wine's says 5 wherever it lies, so the folder decides.
bool IsCommonControls6(const std::wstring& path) {
  std::wstring lower = path;
  for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
  const std::wstring assembly = std::wstring(sizeof(void*) == 8 ? L"amd64" : L"x86") +
                                L"_microsoft.windows.common-controls_6595b64144ccf1df_6.";
  return lower.find(L"\\winsxs\\" + assembly) != std::wstring::npos ||
         FileMajorVersion(path) >= 6;
}

TEST(WizardTest, TheInstallerRunsWithCommonControlsVersion6) {
  Wizard w(kInstaller);
  ASSERT_TRUE(w.window);
  const std::vector<std::wstring> comctl = LoadedModules(w.process->id(), L"comctl32.dll");
  ASSERT_FALSE(comctl.empty()) << "comctl32.dll is not loaded; loaded: "
                               << base::WideToGbkLossy(LoadedModules(w.process->id(), nullptr).front());
  for (const std::wstring& path : comctl) {
    EXPECT_TRUE(IsCommonControls6(path)) << base::WideToGbkLossy(path) << " (file version "
                                         << FileMajorVersion(path) << ")";
  }
}

TEST(WizardTest, FolderValidationMessagesKeepTheWizardOnTheFolderPage) {
  Wizard w(kInstaller);
  ASSERT_TRUE(w.window);
  ClickButton(w.Button("\xCF\xC2\xD2\xBB\xB2\xBD"));  // 下一步: to the licence page
  ClickButton(w.Button("\xCD\xAC\xD2\xE2"));          // 同意: to the folder page
  struct Case {
    const wchar_t* folder;
    const char* message;
  } cases[] = {{L"", installer::wizard_texts::kChooseFolder},
               {L"c", installer::wizard_texts::kFullPathNeeded},
               {L"C:", installer::wizard_texts::kNotDriveRoot},
               {L"C:\\", installer::wizard_texts::kNotDriveRoot},
               {L"Q:\\nowhere", installer::wizard_texts::kCannotCreateFolder}};
  for (const Case& c : cases) {
    w.SetFolder(c.folder);
    ClickButton(w.Button("\xCF\xC2\xD2\xBB\xB2\xBD"));
    EXPECT_EQ(w.Answer(IDOK), Wide(c.message)) << base::WideToGbkLossy(c.folder);
  }
  // Trimmed and created at once: the wizard moves on to the confirmation page.
  w.SetFolder(L"  C:\\vanto-wizard-made  ");
  ClickButton(w.Button("\xCF\xC2\xD2\xBB\xB2\xBD"));
  EXPECT_TRUE(fs::is_directory(L"C:\\vanto-wizard-made"));
  EXPECT_EQ(Child(w.window, L"Edit"), nullptr);  // the folder page is gone
  // Back on the folder page, the box shows the accepted, trimmed folder.
  ClickButton(w.Button("\xC9\xCF\xD2\xBB\xB2\xBD"));  // 上一步
  EXPECT_EQ(testing_support::WindowText(Child(w.window, L"Edit")), L"C:\\vanto-wizard-made");
}

TEST(WizardTest, CancelAsksAndNoKeepsTheWizard) {
  Wizard w(kInstaller);
  ASSERT_TRUE(w.window);
  ClickButton(w.Button("\xC8\xA1\xCF\xFB"));  // 取消
  EXPECT_EQ(w.Answer(IDNO), Wide(installer::wizard_texts::kCancelQuestion));
  EXPECT_FALSE(w.process->Wait(500));
  ClickButton(w.Button("\xC8\xA1\xCF\xFB"));
  w.Answer(IDYES);
  EXPECT_EQ(w.process->Wait(10000), std::optional<DWORD>(installer::kExitCancelled));
}

TEST(WizardTest, AgreeStandsInForNextUntilClickedOnce) {
  Wizard w(kInstaller);
  ASSERT_TRUE(w.window);
  EXPECT_FALSE(w.Shows(kPrev));
  EXPECT_FALSE(w.Shows(kAgree));
  EXPECT_TRUE(w.Shows(kNext));

  ClickButton(w.Button(kNext));  // the licence page
  EXPECT_TRUE(w.Shows(kAgree));
  EXPECT_TRUE(w.Shows(kPrev));

  ClickButton(w.Button(kPrev));  // back to the welcome page
  EXPECT_FALSE(w.Shows(kPrev));
  EXPECT_FALSE(w.Shows(kAgree));

  ClickButton(w.Button(kNext));  // the licence page again, never agreed
  EXPECT_TRUE(w.Shows(kAgree));
  EXPECT_TRUE(w.Shows(kPrev));

  EXPECT_TRUE(w.InView(kAgree));
  ClickButton(w.Button(kAgree));  // the folder page
  EXPECT_TRUE(Child(w.window, L"Edit"));
  // Next's step that shows Agree again runs here too; Agree stays out of view.
  EXPECT_FALSE(w.InView(kAgree));

  ClickButton(w.Button(kPrev));  // the licence page, agreed: Next is the way on
  EXPECT_EQ(Child(w.window, L"Edit"), nullptr);
  EXPECT_TRUE(w.Shows(kNext));
  EXPECT_FALSE(w.Shows(kAgree));
  EXPECT_TRUE(w.Shows(kPrev));
  ClickButton(w.Button(kNext));
  EXPECT_TRUE(Child(w.window, L"Edit")) << "Next on the agreed licence page leads on";
  EXPECT_FALSE(w.InView(kAgree));
}

TEST(WizardTest, TheCloseBoxAsksTheCancelQuestion) {
  Wizard w(kInstaller);
  ASSERT_TRUE(w.window);
  PostMessageW(w.window, WM_CLOSE, 0, 0);
  EXPECT_EQ(w.Answer(IDNO), Wide(installer::wizard_texts::kCancelQuestion));
  EXPECT_FALSE(w.process->Wait(500));
  EXPECT_TRUE(IsWindowVisible(w.window));
  PostMessageW(w.window, WM_CLOSE, 0, 0);
  EXPECT_EQ(w.Answer(IDYES), Wide(installer::wizard_texts::kCancelQuestion));
  EXPECT_EQ(w.process->Wait(10000), std::optional<DWORD>(installer::kExitCancelled));
}

TEST(WizardTest, TheCloseBoxIsRefusedOnTheFinishPage) {
  const std::wstring target = L"C:\\vanto-close-box";
  fs::remove_all(target);
  Wizard w(kInstaller);
  ASSERT_TRUE(w.window);
  w.ToFolderPage();
  w.SetFolder(target);
  ClickButton(w.Button(kNext));  // to the confirmation page
  ClickButton(w.Button(kNext));  // install
  const bool finished = w.WaitForFinish() != nullptr;
  // The installation recorded itself; later starts must not find it.
  ForgetEarlierInstallation();
  ASSERT_TRUE(finished) << "the wizard did not reach the finish page";

  PostMessageW(w.window, WM_CLOSE, 0, 0);
  EXPECT_EQ(testing_support::WaitForDialog(w.process->id(), 1000), nullptr);
  EXPECT_FALSE(w.process->Wait(0)) << "the close box ended the program on the finish page";
  EXPECT_TRUE(IsWindowVisible(w.window));
  EXPECT_TRUE(w.Button(kFinish));
}

TEST(WizardTest, NoToTheOverwriteQuestionEndsBeforeTheWindowShows) {
  const std::wstring earlier = L"C:\\vanto-earlier";
  fs::create_directories(earlier);
  EarlierInstallation record(earlier);
  ASSERT_TRUE(record.ok());
  Wizard w(kInstaller, false);
  ASSERT_TRUE(w.process);
  HWND box = testing_support::WaitForDialog(w.process->id(), 20000);
  ASSERT_TRUE(box) << "no overwrite question";
  EXPECT_EQ(testing_support::MessageBoxText(box),
            Wide(installer::wizard_texts::kOverwriteQuestion));
  EXPECT_FALSE(w.WaitForWindow(0)) << "the wizard showed before the question was answered";
  testing_support::PressButton(box, IDNO);
  EXPECT_EQ(w.process->Wait(10000), std::optional<DWORD>(installer::kExitCancelled));
}

TEST(WizardTest, YesToTheOverwriteQuestionOffersTheEarlierFolder) {
  const std::wstring earlier = L"C:\\vanto-earlier";
  fs::create_directories(earlier);
  EarlierInstallation record(earlier);
  ASSERT_TRUE(record.ok());
  Wizard w(kInstaller, false);
  ASSERT_TRUE(w.process);
  EXPECT_EQ(w.Answer(IDYES), Wide(installer::wizard_texts::kOverwriteQuestion));
  ASSERT_TRUE(w.WaitForWindow(20000));
  w.ToFolderPage();
  EXPECT_EQ(w.Folder(), earlier);
}

TEST(WizardTest, AnEarlierFolderThatIsGoneFallsBackToTheDefault) {
  const std::wstring gone = L"C:\\vanto-gone";
  fs::remove_all(gone);
  EarlierInstallation record(gone);
  ASSERT_TRUE(record.ok());
  Wizard w(kInstaller, false);
  ASSERT_TRUE(w.process);
  // "Setup" alone decides the question.
  EXPECT_EQ(w.Answer(IDYES), Wide(installer::wizard_texts::kOverwriteQuestion));
  ASSERT_TRUE(w.WaitForWindow(20000));
  w.ToFolderPage();
  // The rig has no drive D: the default is drive C and the short name.
  EXPECT_EQ(w.Folder(), L"C:\\VANTO-X");
}

TEST(WizardTest, ATargetFolderIsKeptToItsFirst128Bytes) {
  // C:\ and 140 letters in seven folders of twenty: 149 bytes in all.
  const std::wstring top = L"C:\\" + std::wstring(20, L'a');
  std::wstring target = top;
  for (int i = 1; i < 7; ++i) target += L"\\" + std::wstring(20, L'a');
  ASSERT_EQ(target.size(), 149u);
  fs::remove_all(top);
  Wizard w(kInstaller);
  ASSERT_TRUE(w.window);
  w.ToFolderPage();
  w.SetFolder(target);
  ClickButton(w.Button(kNext));
  // The whole path is created; what the wizard keeps as its target is cut.
  EXPECT_TRUE(fs::is_directory(target));
  EXPECT_EQ(Child(w.window, L"Edit"), nullptr) << "the wizard did not reach the confirmation page";
  ClickButton(w.Button(kPrev));  // the folder page reloads its box from the kept target
  EXPECT_EQ(w.Folder(), target.substr(0, 128));
  fs::remove_all(top);
}

TEST(WizardTest, NextStopsRunningCopiesOfTheProductByTheirExactName) {
  // Two idle programs, one named exactly as the product's program and one
  // differing only in case; Next stops the first and spares the second.
  wchar_t own[MAX_PATH];
  GetModuleFileNameW(nullptr, own, MAX_PATH);
  const fs::path idle = fs::path(own).parent_path() / "idle_process.exe";
  const fs::path exact = fs::temp_directory_path() / "vanto-stop-exact" / "VANTO-X.exe";
  const fs::path other = fs::temp_directory_path() / "vanto-stop-other" / "vanto-x.exe";
  for (const fs::path& p : {exact, other}) {
    fs::create_directories(p.parent_path());
    fs::copy_file(idle, p, fs::copy_options::overwrite_existing);
  }
  auto exact_process = ChildProcess::Start(exact.wstring());
  auto other_process = ChildProcess::Start(other.wstring());
  ASSERT_TRUE(exact_process && other_process);
  Sleep(300);
  Wizard w(kInstaller);
  ASSERT_TRUE(w.window);
  ClickButton(w.Button(kNext));
  EXPECT_EQ(exact_process->Wait(5000), 0xFFFFFFFFu);
  EXPECT_FALSE(other_process->Wait(500)) << "a program of another name was stopped";
}

TEST(WizardTest, AFullInstallationIntoAFolderWithSpaces) {
  const std::wstring target = L"C:\\Program Files\\\x58A8\x67D8 VANTO";  // 墨柘 VANTO
  fs::remove_all(target);
  Wizard w(kInstaller);
  ASSERT_TRUE(w.window);
  ClickButton(w.Button("\xCF\xC2\xD2\xBB\xB2\xBD"));
  ClickButton(w.Button("\xCD\xAC\xD2\xE2"));
  w.SetFolder(target);
  ClickButton(w.Button("\xCF\xC2\xD2\xBB\xB2\xBD"));  // to the confirmation page
  ClickButton(w.Button("\xCF\xC2\xD2\xBB\xB2\xBD"));  // install
  // The finish page: its button reads 完成.
  HWND finish = nullptr;
  for (int i = 0; i < 100 && !finish; ++i, Sleep(100)) finish = w.Button("\xCD\xEA\xB3\xC9");
  ASSERT_TRUE(finish) << "the wizard did not reach the finish page";

  // Every file byte-equal to the package, and the record copy to SETUPINI.
  PackagedProduct(kResources).ExpectInstalledIn(target);
  // The registry.
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, L"Software\\Vanto\\VANTO-X", L"Folder"), target);
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, L"Software\\Vanto\\VANTO-X", L"Version"), L"V26.8");
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE,
                      L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VANTO-X",
                      L"UninstallString"),
            L"\"" + target + L"\\uninstall.exe\"");

  // Finish with "start VANTO-X" checked: the program starts through the
  // launch batch file, from a folder with spaces, and leaves its trace.
  ClickButton(finish);
  EXPECT_EQ(w.process->Wait(10000), 0u);
  bool started = false;
  for (int i = 0; i < 150 && !started; ++i, Sleep(100))
    started = fs::exists(target + L"\\started.txt");
  EXPECT_TRUE(started) << "the installed program did not start";
  // Stop it, as the next run's Next would, and forget the installation.
  system("taskkill /im VANTO-X.exe /f >nul 2>nul");
  ForgetEarlierInstallation();
}

}  // namespace
