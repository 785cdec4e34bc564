// The example product's own Uninstall.exe, after a real installation
// through the wizard: started as its Programs link starts it (in the install
// folder) and as the system's list of programs starts it (its
// UninstallString, lower case, from elsewhere). What it leaves is compared
// with a picture of the machine taken before the installation: the install
// folder's tree, the Desktop and Programs folders, and the product's
// registry keys in both views. Only what the user put into the install
// folder may stay, with that folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/system_path_win.h"
#include "base/text_codec.h"
#include "base/win_api.h"
#include "installer/exit_codes.h"
#include "installer/registry_win.h"
#include "installer/texts.h"
#include "tests/win32/support/folders.h"
#include "tests/win32/support/process_driver.h"
#include "tests/win32/support/product_registry.h"
#include "tests/win32/support/wizard_driver.h"
#include "uninstaller/uninstall_texts.h"

namespace {

using namespace testing_support::wizard;
using testing_support::MessageBoxText;
using testing_support::PressButton;
using testing_support::WaitForDialog;
using testing_support::WindowText;
using Lines = std::set<std::wstring>;

const std::wstring kInstaller = VANTO_EXAMPLE_INSTALLER;
const std::wstring kResources = VANTO_EXAMPLE_RESOURCES;
const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Polls for up to 20 s: whether path went.
bool Gone(const std::wstring& path) {
  for (int i = 0; i < 200; ++i, Sleep(100))
    if (!Exists(path)) return true;
  return false;
}

std::wstring ShellFolder(const wchar_t* name) {
  wchar_t text[MAX_PATH * 2] = {};
  DWORD size = sizeof text;
  RegGetValueW(HKEY_CURRENT_USER,
               L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", name,
               RRF_RT_REG_SZ, nullptr, text, &size);
  return text;
}

// ---------------------------------------------------------------------------
// A picture of the machine: one line per folder, file (with its size), key
// and value.

void AddTree(const std::wstring& path, const std::wstring& label, Lines& out) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    out.insert(L"file " + label + L" " + std::to_wstring(data.nFileSizeLow));
    return;
  }
  out.insert(L"folder " + label);
  for (const std::wstring& name : testing_support::ListNames(path))
    AddTree(path + L"\\" + name, label + L"\\" + name, out);
}

void AddKey(HKEY root, REGSAM view, const std::wstring& path, const std::wstring& label,
            Lines& out) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return;
  out.insert(L"key " + label);
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_size = 256;
    BYTE data[2048];
    DWORD data_size = sizeof data, type = 0;
    if (RegEnumValueW(key, i, name, &name_size, nullptr, &type, data, &data_size) != ERROR_SUCCESS)
      break;
    std::wstring value;
    if (type == REG_SZ) value = reinterpret_cast<const wchar_t*>(data);
    if (type == REG_DWORD) value = std::to_wstring(*reinterpret_cast<const DWORD*>(data));
    out.insert(L"value " + label + L"\\" + name + L"=" + value);
  }
  std::vector<std::wstring> subkeys;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_size = 256;
    if (RegEnumKeyExW(key, i, name, &name_size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    subkeys.push_back(name);
  }
  RegCloseKey(key);
  for (const std::wstring& sub : subkeys)
    AddKey(root, view, path + L"\\" + sub, label + L"\\" + sub, out);
}

// What is in one picture and not the other, one line each, for the report.
std::string Difference(const Lines& expected, const Lines& actual) {
  std::string text;
  for (const std::wstring& line : expected)
    if (!actual.count(line)) text += "\n  missing: " + Utf8(line);
  for (const std::wstring& line : actual)
    if (!expected.count(line)) text += "\n  extra:   " + Utf8(line);
  return text;
}

// A program started with a command line of its own, in a folder of our
// choosing; ended if it is still running when the test is done.
class Started {
public:
  Started(std::wstring command_line, const std::wstring& folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ok_ = CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         folder.c_str(), &startup, &info_) != 0;
  }
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;
  ~Started() {
    if (!ok_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool ok() const { return ok_; }
  DWORD id() const { return info_.dwProcessId; }
  bool Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
  // The exit code; -1 when it did not end within 20 s.
  long Wait() const {
    if (WaitForSingleObject(info_.hProcess, 20000) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<long>(code);
  }

private:
  bool ok_ = false;
  PROCESS_INFORMATION info_{};
};

struct WindowSearch {
  DWORD id;
  bool found;
};

BOOL CALLBACK FindVisibleWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == search->id && IsWindowVisible(hwnd)) search->found = true;
  return !search->found;
}

// Whether the process shows any window while it runs, to its end.
bool ShowsAWindowUntilItEnds(const Started& process) {
  while (process.Running()) {
    WindowSearch search{process.id(), false};
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return true;
    Sleep(20);
  }
  return false;
}

std::wstring Text(const char* pattern, const std::string& argument) {
  return base::GbkToWide(base::FormatText(pattern, {argument}));
}

class UninstallTest : public ::testing::Test {
protected:
  void SetUp() override {
    Clean();
    // The system's list of programs, which every Windows has in both views;
    // a fresh Wine prefix only once a program has been entered there.
    HKEY list = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey.c_str(), 0, nullptr, 0,
                              KEY_READ | installer::kProductRegistryView, nullptr, &list, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(list);
    before = Take();
  }
  void TearDown() override { Clean(); }

  // Whatever an earlier run or another test of the rig left of the product.
  void Clean() {
    testing_support::RemoveTree(target);
    testing_support::DeleteProductTree(HKEY_LOCAL_MACHINE, L"Software\\Vanto");
    testing_support::DeleteProductTree(HKEY_LOCAL_MACHINE, kUninstallKey + L"\\VANTO-X");
    testing_support::DeleteProductTree(HKEY_CURRENT_USER, L"Software\\Vanto");
    DeleteFileW((desktop + L"\\VANTO-X.lnk").c_str());
    testing_support::RemoveTree(group);
  }

  Lines Take() const {
    Lines lines;
    AddTree(target, L"<target>", lines);
    AddTree(desktop, L"<desktop>", lines);
    AddTree(programs, L"<programs>", lines);
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
      const std::wstring v = view == KEY_WOW64_32KEY ? L"32:" : L"64:";
      AddKey(HKEY_LOCAL_MACHINE, view, L"Software\\Vanto", v + L"HKLM\\Software\\Vanto", lines);
      AddKey(HKEY_LOCAL_MACHINE, view, kUninstallKey, v + L"HKLM\\...\\Uninstall", lines);
      AddKey(HKEY_CURRENT_USER, view, L"Software\\Vanto", v + L"HKCU\\Software\\Vanto", lines);
    }
    return lines;
  }

  // Through the wizard, which is ended on its finish page: Finish would
  // start the product, whose trace file would be one more of the user's.
  void Install() {
    Wizard w(kInstaller);
    ASSERT_TRUE(w.window);
    w.ToFolderPage();
    w.SetFolder(target);
    ClickButton(w.Button(kNext));  // to the confirmation page
    ClickButton(w.Button(kNext));  // install
    ASSERT_TRUE(w.WaitForFinish()) << "the wizard did not reach the finish page";
    product.ExpectInstalledIn(target);
    ASSERT_TRUE(Exists(uninstaller));
  }

  std::wstring Quoted(const std::wstring& path) const { return L"\"" + path + L"\""; }

  // Answers the uninstaller's next message box with id, once it has gone;
  // its text. The caption names the product once the record is read.
  std::wstring Answer(const Started& process, int id, bool names_product = true) {
    HWND box = WaitForDialog(process.id(), 10000);
    if (!box) return L"(no message)";
    EXPECT_EQ(
        WindowText(box),
        base::GbkToWide(names_product ? std::string("VANTO-X") + uninstaller::texts::kCaptionSuffix
                                      : std::string(uninstaller::texts::kCaption)));
    std::wstring text = MessageBoxText(box);
    PressButton(box, id);
    for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(50);
    return text;
  }

  // Blanks and Chinese: the batch's paths, the message and the log must keep them.
  const std::wstring target = L"C:\\vanto uninstall \x58A8\x67D8";
  const std::wstring uninstaller = target + L"\\Uninstall.exe";
  const std::wstring record_copy = target + L"\\V_an.cx";
  const std::wstring desktop = ShellFolder(L"Desktop");
  const std::wstring programs = ShellFolder(L"Programs");
  const std::wstring group = programs + L"\\VANTO-X";
  PackagedProduct product{kResources};
  Lines before;
};

TEST_F(UninstallTest, AnsweredYesFromTheProgramsLinkEverythingGoesButTheUsersFile) {
  Install();
  // What the Programs link starts, where it starts it.
  const std::wstring link_target = target + L"\\uninstall.exe";
  const testing_support::LinkInfo link = testing_support::ReadLink(
      group + L"\\" + Wide(installer::texts::kUninstallLinkPrefix) + L"VANTO-X.lnk");
  ASSERT_TRUE(link.loaded);
  EXPECT_EQ(CompareStringOrdinal(link.id_list_path.c_str(), -1, link_target.c_str(), -1, TRUE),
            CSTR_EQUAL);
  HANDLE notes = CreateFileW((target + L"\\notes.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_NEW, 0, nullptr);
  ASSERT_NE(notes, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(notes, "mine", 4, &written, nullptr);
  CloseHandle(notes);

  Started run(Quoted(link_target), target);
  ASSERT_TRUE(run.ok());
  EXPECT_EQ(Answer(run, IDYES), Text(uninstaller::texts::kConfirmQuestion, "VANTO-X"));
  EXPECT_EQ(Answer(run, IDOK), Text(uninstaller::texts::kDone, "VANTO-X") + L"\r\n\r\n" +
                                   base::FormatWithPath(uninstaller::texts::kFolderKept, target));
  EXPECT_EQ(run.Wait(), installer::kExitDone);
  EXPECT_TRUE(Gone(uninstaller)) << "the clean-up did not delete the uninstaller";

  Lines expected = before;
  expected.insert(L"folder <target>");
  expected.insert(L"file <target>\\notes.txt 4");
  const Lines after = Take();
  EXPECT_TRUE(after == expected) << Difference(expected, after);
}

TEST_F(UninstallTest, SilentFromTheSystemsListNothingIsShownAndEverythingGoes) {
  Install();
  const std::wstring command =
      RegString(HKEY_LOCAL_MACHINE, kUninstallKey + L"\\VANTO-X", L"UninstallString");
  EXPECT_EQ(command, Quoted(target + L"\\uninstall.exe"));
  // Offered because the package carries our uninstaller, which knows /S.
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallKey + L"\\VANTO-X", L"QuietUninstallString"),
            command + L" /S");
  const std::wstring logs = L"C:\\vanto uninstall logs";
  testing_support::RemoveTree(logs);
  testing_support::MakeFolder(logs);
  const std::wstring log = logs + L"\\un install.log";

  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  Started run(command + L" /S /LOG=" + log, windows);
  ASSERT_TRUE(run.ok());
  EXPECT_FALSE(ShowsAWindowUntilItEnds(run));
  EXPECT_EQ(run.Wait(), installer::kExitDone);
  EXPECT_TRUE(Gone(target)) << "the clean-up did not remove the emptied install folder";
  const Lines after = Take();
  EXPECT_TRUE(after == before) << Difference(before, after);

  const base::Bytes bytes = ReadFileW(log);
  const std::string text(bytes.begin(), bytes.end());
  testing_support::RemoveTree(logs);
  EXPECT_TRUE(text.starts_with("\xEF\xBB\xBF")) << "no byte order mark";
  for (const std::wstring& line :
       {L"Removed file " + target + L"\\VANTO-X.exe\r\n", L"Removed file " + record_copy + L"\r\n",
        L"Removed key HKLM\\" + kUninstallKey + L"\\VANTO-X\r\n", std::wstring(L"Uninstalled\r\n")})
    EXPECT_NE(text.find(Utf8(line)), std::string::npos) << Utf8(line) << " not in\n" << text;
}

TEST_F(UninstallTest, AnsweredNoNothingIsRemoved) {
  Install();
  const Lines installed = Take();
  Started run(Quoted(uninstaller), target);
  ASSERT_TRUE(run.ok());
  EXPECT_EQ(Answer(run, IDNO), Text(uninstaller::texts::kConfirmQuestion, "VANTO-X"));
  EXPECT_EQ(run.Wait(), installer::kExitCancelled);
  Sleep(3000);  // a clean-up would have deleted the uninstaller by now
  const Lines after = Take();
  EXPECT_TRUE(after == installed) << Difference(installed, after);
}

TEST_F(UninstallTest, AFileHeldOpenStaysIsNamedAndTheRestGoes) {
  Install();
  const std::wstring readme = target + L"\\Readme.txt";
  // Held as an editor holds it: it can be neither deleted nor shared.
  HANDLE held = CreateFileW(readme.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  {
    Started run(Quoted(uninstaller), target);
    ASSERT_TRUE(run.ok());
    EXPECT_EQ(Answer(run, IDYES), Text(uninstaller::texts::kConfirmQuestion, "VANTO-X"));
    EXPECT_EQ(Answer(run, IDOK),
              Text(uninstaller::texts::kDoneWithErrors, "VANTO-X") + L"\r\n" + readme +
                  L"\r\n\r\n" + base::FormatWithPath(uninstaller::texts::kFolderKept, target));
    EXPECT_EQ(run.Wait(), installer::kExitDoneWithErrors);
  }
  CloseHandle(held);
  EXPECT_TRUE(Gone(uninstaller)) << "the clean-up did not delete the uninstaller";

  Lines expected = before;
  expected.insert(L"folder <target>");
  expected.insert(L"file <target>\\Readme.txt " +
                  std::to_wstring(product.Size(product.Index(L"\\Readme.txt"))));
  const Lines after = Take();
  EXPECT_TRUE(after == expected) << Difference(expected, after);
}

// The command line is read before anything else: a mistake under /S ends
// with its exit code alone, /? shows the switches, and neither touches the
// installation.
TEST_F(UninstallTest, SwitchesComeFirstAndRemoveNothing) {
  Install();
  const Lines installed = Take();
  {
    Started run(Quoted(uninstaller) + L" /X /S", target);
    ASSERT_TRUE(run.ok());
    EXPECT_FALSE(ShowsAWindowUntilItEnds(run));
    EXPECT_EQ(run.Wait(), installer::kExitBadCommandLine);
  }
  {
    Started run(Quoted(uninstaller) + L" /?", target);
    ASSERT_TRUE(run.ok());
    EXPECT_EQ(Answer(run, IDOK, false), base::GbkToWide(uninstaller::texts::kSwitchesHelp));
    EXPECT_EQ(run.Wait(), installer::kExitDone);
  }
  Sleep(3000);  // a clean-up would have deleted the uninstaller by now
  const Lines after = Take();
  EXPECT_TRUE(after == installed) << Difference(installed, after);
}

TEST_F(UninstallTest, ADamagedOrMissingRecordCopyIsRefusedAndNothingIsRemoved) {
  Install();
  base::Bytes copy = ReadFileW(record_copy);
  ASSERT_GT(copy.size(), 16u);
  auto write_copy = [&](const base::Bytes& bytes) {
    HANDLE f =
        CreateFileW(record_copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
  };
  const std::wstring refusal =
      base::FormatWithPath(uninstaller::texts::kRecordUnreadable, record_copy);

  // One byte of the zlib data changed: a message, and nothing is touched.
  base::Bytes damaged = copy;
  damaged[4 + (damaged.size() - 4) / 2] ^= 0x55;
  write_copy(damaged);
  const Lines damaged_state = Take();
  {
    Started run(Quoted(uninstaller), target);
    ASSERT_TRUE(run.ok());
    const std::wstring message = Answer(run, IDOK, false);
    EXPECT_TRUE(message.starts_with(refusal)) << Utf8(message);
    EXPECT_EQ(run.Wait(), installer::kExitRefused);
  }
  Lines after = Take();
  EXPECT_TRUE(after == damaged_state) << Difference(damaged_state, after);

  // Cut short, and then gone: refused silently under /S.
  write_copy(base::Bytes(copy.begin(), copy.begin() + copy.size() / 2));
  const Lines cut_state = Take();
  for (bool missing : {false, true}) {
    if (missing) DeleteFileW(record_copy.c_str());
    const Lines state = missing ? Take() : cut_state;
    Started run(Quoted(uninstaller) + L" /S", target);
    ASSERT_TRUE(run.ok());
    EXPECT_FALSE(ShowsAWindowUntilItEnds(run));
    EXPECT_EQ(run.Wait(), installer::kExitRefused) << (missing ? "missing" : "cut");
    Sleep(3000);  // a clean-up would have deleted the uninstaller by now
    after = Take();
    EXPECT_TRUE(after == state) << Difference(state, after);
  }
}

}  // namespace
