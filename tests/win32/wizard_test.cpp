// The installer's wizard, driven as a user drives it: the example
// installer runs in its own process, the test clicks its buttons (mouse
// messages to the self-drawn buttons), types into the folder box, answers
// its message boxes, and checks what the installation left on disk, in the
// registry and on the desktop.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/file_system.h"
#include "base/text_codec.h"
#include "base/win_api.h"
#include "installer/packed_block.h"
#include "installer/setup_package.h"
#include "installer/setup_record.h"
#include "installer/wizard_texts.h"
#include "tests/win32/support/process_driver.h"

namespace {

using testing_support::ChildProcess;
namespace fs = std::filesystem;

const std::wstring kInstaller = VANTO_EXAMPLE_INSTALLER;
const std::wstring kResources = VANTO_EXAMPLE_RESOURCES;

base::Bytes ReadFileW(const std::wstring& path) {
  return base::NativeFileSystem().ReadWholeFile(base::WideToGbk(path));
}

struct ChildSearch {
  std::wstring cls, text;
  HWND found = nullptr;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<ChildSearch*>(param);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (s->cls != cls) return TRUE;
  if (!s->text.empty() && testing_support::WindowText(hwnd) != s->text) return TRUE;
  if (!IsWindowVisible(hwnd)) return TRUE;
  s->found = hwnd;
  return FALSE;
}

// A visible child window of that class (and text, when given).
HWND Child(HWND parent, const std::wstring& cls, const std::wstring& text = L"") {
  ChildSearch s{cls, text};
  EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::wstring Wide(const char* gbk) { return base::GbkToWide(gbk); }

// A click as the button sees it: press and release inside it.
void ClickButton(HWND button) {
  PostMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  Sleep(400);
}

struct Wizard {
  std::optional<ChildProcess> process;
  HWND window = nullptr;

  explicit Wizard(const std::wstring& exe) : process(ChildProcess::Start(exe)) {
    if (process) window = testing_support::WaitForWindow(process->id(), L"VantoControl", 20000);
  }
  HWND Button(const char* caption_gbk) { return Child(window, L"VantoControl", Wide(caption_gbk)); }
  // The text of the message box the wizard shows next, answered with id.
  std::wstring Answer(int id) {
    HWND box = testing_support::WaitForDialog(process->id(), 10000);
    if (!box) return L"(no message)";
    std::wstring text = testing_support::MessageBoxText(box);
    testing_support::PressButton(box, id);
    Sleep(300);
    return text;
  }
  void SetFolder(const std::wstring& folder) {
    HWND edit = Child(window, L"Edit");
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
  }
};

std::wstring RegString(HKEY root, const std::wstring& key, const std::wstring& name) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer;
  if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS)
    return L"(missing)";
  return buffer;
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
    EXPECT_EQ(w.Answer(IDOK), Wide(c.message)) << base::WideToGbk(c.folder);
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
  EXPECT_EQ(w.process->Wait(10000), 0u);
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
  auto record = std::make_unique<installer::TSetupRecord>();
  base::Bytes ini = ReadFileW(kResources + L"\\SETUPINI");
  installer::LoadRecordBytes(*record, installer::UnpackBlock(ini));
  base::MemoryStream package(installer::UnpackToBuffer(ReadFileW(kResources + L"\\SETUPPACK")));
  for (int i = 0; i < record->FileCount; ++i) {
    const auto& f = record->Files[i];
    EXPECT_EQ(ReadFileW(target + base::GbkToWide(f.Name.Value())),
              installer::ReadPackageFile(package, f))
        << f.Name.Value();
  }
  EXPECT_EQ(ReadFileW(target + L"\\V_an.cx"), ini);
  // The registry.
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, L"Software\\Vanto\\VANTO-X", L"Folder"), target);
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, L"Software\\Vanto\\VANTO-X", L"Version"), L"V26.8");
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE,
                      L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VANTO-X",
                      L"UninstallString"),
            target + L"\\uninstall.exe");

  // Finish with "start VANTO-X" checked: the program starts through the
  // launch batch file, from a folder with spaces, and leaves its trace.
  ClickButton(finish);
  EXPECT_EQ(w.process->Wait(10000), 0u);
  bool started = false;
  for (int i = 0; i < 150 && !started; ++i, Sleep(100))
    started = fs::exists(target + L"\\started.txt");
  EXPECT_TRUE(started) << "the installed program did not start";
  // Stop it, as the next run's Next would.
  system("taskkill /im VANTO-X.exe /f >nul 2>nul");
}

}  // namespace
