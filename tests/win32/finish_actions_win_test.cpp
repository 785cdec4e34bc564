// The finish actions against the real system under Wine: processes stopped
// by their exact name, the tutorial page reaching the registered browser,
// installed programs started through their batch files by the command
// interpreter, and the shell asked to show the install folder. Helper
// programs next to this test stand in for the product: idle_process for a
// running copy, trace_args for a program (or browser) that records how it
// was started. The rig's default ANSI code page has no Chinese, so a Chinese
// path that took a wrong turn through a code page would not arrive.
#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "installer/finish_actions.h"
#include "installer/finish_actions_win.h"
#include "installer/setup_record.h"
#include "tests/win32/support/process_driver.h"
#include "tests/win32/support/com_apartment.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ChildProcess;
using Names = std::vector<std::wstring>;

// 墨柘 测试 (with its blank) and 墨柘 安装.
const std::wstring kProgramFolderName = L"\u58A8\u67D8 \u6D4B\u8BD5";
const std::wstring kInstallerFolderName = L"\u58A8\u67D8 \u5B89\u88C5";
const std::wstring kMozhe = L"\u58A8\u67D8";
const std::wstring kHtmlOpenCommandKey = L"htmlfile\\shell\\open\\command";

void Require(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error("test set-up failed: " + what);
}

std::string Gbk(const std::wstring& wide) { return base::WideToGbkLossy(wide); }

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  Require(n > 0 && n < MAX_PATH, "GetModuleFileNameW");
  std::wstring own(path, n);
  return own.substr(0, own.rfind(L'\\') + 1);
}

// A helper program copied under another name.
void CopyHelper(const wchar_t* helper, const std::wstring& to) {
  std::error_code error;
  fs::copy_file(OwnFolder() + helper, to, fs::copy_options::overwrite_existing, error);
  Require(!error, "copy " + Gbk(helper) + " to " + Gbk(to));
}

// A folder that exists for one test and is removed with its contents after.
class ScopedFolder {
public:
  explicit ScopedFolder(std::wstring path) : path_(std::move(path)) {
    fs::remove_all(path_);
    std::error_code error;
    fs::create_directories(path_, error);
    Require(!error, "create folder " + Gbk(path_));
  }
  ScopedFolder(const ScopedFolder&) = delete;
  ScopedFolder& operator=(const ScopedFolder&) = delete;
  ~ScopedFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }

  // A new folder under the temp folder (or another parent).
  static std::wstring Unique(const std::wstring& name, std::wstring parent = {}) {
    static int counter = 0;
    if (parent.empty()) {
      wchar_t temp[MAX_PATH];
      DWORD n = GetTempPathW(MAX_PATH, temp);
      Require(n > 0 && n < MAX_PATH, "GetTempPathW");
      parent.assign(temp, n);
    }
    if (parent.back() != L'\\') parent += L'\\';
    return parent + name + L" " + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
  }

  const std::wstring& wide() const { return path_; }
  std::wstring wide(const std::wstring& name) const { return path_ + L"\\" + name; }
  std::string gbk() const { return Gbk(path_); }

private:
  std::wstring path_;
};

std::wstring ProgramFilesFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"ProgramFiles", path, MAX_PATH);
  Require(n > 0 && n < MAX_PATH, "%ProgramFiles%");
  return std::wstring(path, n);
}

std::wstring LongPath(const std::wstring& path) {
  wchar_t buffer[1024];
  DWORD n = GetLongPathNameW(path.c_str(), buffer, 1024);
  return n > 0 && n < 1024 ? std::wstring(buffer, n) : path;
}

// Two names of one existing file or folder, whatever their form (short or
// long, any case).
bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(LongPath(a).c_str(), -1, LongPath(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring Decode(UINT code_page, const std::string& bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  int n = MultiByteToWideChar(code_page, 0, bytes.data(), size, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(code_page, 0, bytes.data(), size, out.data(), n);
  return out;
}

std::string ReadFileBytes(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string data;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) data.append(buffer, got);
  CloseHandle(h);
  return data;
}

bool WaitUntil(DWORD timeout_ms, const std::function<bool()>& done) {
  ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(50);
  }
}

// Records what trace_args writes: the command lines of the programs started
// while the test runs, one per line (UTF-8), split into arguments.
class Trace {
public:
  Trace() { SetEnvironmentVariableW(L"VANTO_TRACE_ARGS_FILE", file_.c_str()); }
  Trace(const Trace&) = delete;
  Trace& operator=(const Trace&) = delete;
  ~Trace() { SetEnvironmentVariableW(L"VANTO_TRACE_ARGS_FILE", nullptr); }

  std::vector<Names> Commands() const {
    std::string text = ReadFileBytes(file_);
    std::vector<Names> commands;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      std::wstring line = Decode(CP_UTF8, text.substr(start, end - start));
      int argc = 0;
      wchar_t** argv = CommandLineToArgvW(line.c_str(), &argc);
      commands.emplace_back(argv, argv + (argv ? argc : 0));
      LocalFree(argv);
    }
    return commands;
  }

  // Waits up to timeout_ms for count commands, then a little longer for any
  // that should not come; returns all that came.
  std::vector<Names> WaitFor(std::size_t count, DWORD timeout_ms, DWORD settle_ms = 1000) const {
    WaitUntil(timeout_ms, [&] { return Commands().size() >= count; });
    Sleep(settle_ms);
    return Commands();
  }

private:
  ScopedFolder folder_{ScopedFolder::Unique(L"vanto-trace")};
  std::wstring file_ = folder_.wide(L"trace.txt");
};

// ---------------------------------------------------------------------------

class StopProcessesTest : public ::testing::Test {
protected:
  ChildProcess StartIdle(const std::wstring& subfolder, const std::wstring& name) {
    std::wstring folder = temp_.wide(subfolder);
    fs::create_directories(folder);
    CopyHelper(L"idle_process.exe", folder + L"\\" + name);
    std::optional<ChildProcess> child = ChildProcess::Start(folder + L"\\" + name);
    Require(child.has_value(), "start " + Gbk(name));
    return std::move(*child);
  }

  ScopedFolder temp_{ScopedFolder::Unique(L"vanto-stop")};
};

// Wine's file names ignore case, but a process keeps the case of the name it
// was started by; the two copies live in different folders for that reason.
TEST_F(StopProcessesTest, StopsExactlyTheNamedProgramWithExitCodeMinusOne) {
  ChildProcess upper = StartIdle(L"a", L"VANTO-X.exe");
  ChildProcess lower = StartIdle(L"b", L"vanto-x.exe");
  ChildProcess other = StartIdle(L"c", L"ZEF-H-Up.exe");

  installer::StopProcessesNamed(installer::kProductProgramName);

  EXPECT_EQ(upper.Wait(5000), std::optional<DWORD>(0xFFFFFFFF));
  EXPECT_EQ(lower.Wait(500), std::nullopt) << "vanto-x.exe was stopped too";
  EXPECT_EQ(other.Wait(0), std::nullopt);

  // The other names are listed and stop when asked for by their own case.
  installer::StopProcessesNamed("vanto-x.exe");
  installer::StopProcessesNamed(installer::kUpdaterProgramName);
  EXPECT_EQ(lower.Wait(5000), std::optional<DWORD>(0xFFFFFFFF));
  EXPECT_EQ(other.Wait(5000), std::optional<DWORD>(0xFFFFFFFF));
}

TEST_F(StopProcessesTest, StopsEveryRunningCopyAndChineseNames) {
  ChildProcess first = StartIdle(L"a", kMozhe + L".exe");
  ChildProcess second = StartIdle(L"b", kMozhe + L".exe");
  ChildProcess longer = StartIdle(L"c", kMozhe + L"2.exe");

  installer::StopProcessesNamed(Gbk(kMozhe + L".exe"));

  EXPECT_EQ(first.Wait(5000), std::optional<DWORD>(0xFFFFFFFF));
  EXPECT_EQ(second.Wait(5000), std::optional<DWORD>(0xFFFFFFFF));
  EXPECT_EQ(longer.Wait(500), std::nullopt);
}

// ---------------------------------------------------------------------------

// A connection state given by the test.
class FakeConnectivity : public installer::Connectivity {
public:
  explicit FakeConnectivity(std::optional<std::uint32_t> flags) : flags_(flags) {}
  std::optional<std::uint32_t> ConnectionFlags() override { return flags_; }

private:
  std::optional<std::uint32_t> flags_;
};

// Puts the registered browser command (the key's default value) back as it
// was.
class SavedBrowserCommand {
public:
  SavedBrowserCommand() {
    wchar_t text[2048];
    LONG size = sizeof text;
    if (RegQueryValueW(HKEY_CLASSES_ROOT, kHtmlOpenCommandKey.c_str(), text, &size) ==
        ERROR_SUCCESS)
      saved_ = text;
  }
  SavedBrowserCommand(const SavedBrowserCommand&) = delete;
  SavedBrowserCommand& operator=(const SavedBrowserCommand&) = delete;
  ~SavedBrowserCommand() {
    if (saved_)
      Set(*saved_);
    else
      RegDeleteKeyW(HKEY_CLASSES_ROOT, kHtmlOpenCommandKey.c_str());
  }
  static void Set(const std::wstring& command) {
    Require(RegSetValueW(HKEY_CLASSES_ROOT, kHtmlOpenCommandKey.c_str(), REG_SZ, command.c_str(),
                         0) == ERROR_SUCCESS,
            "register the browser");
  }

private:
  std::optional<std::wstring> saved_;
};

TEST(TutorialPageTest, OpensOncePerConnectionBitAndNeverOffline) {
  SavedBrowserCommand saved;
  const std::wstring browser = OwnFolder() + L"trace_args.exe";
  SavedBrowserCommand::Set(L"\"" + browser + L"\" -nohome \"%1\"");
  Trace trace;
  const std::string site = "http://www.vanto.example.com/";

  FakeConnectivity offline(std::nullopt), modem(1u), lan_and_proxy(2u | 4u | 0x40u);
  installer::OpenTutorialPage(site, "VANTO-X", offline);
  installer::OpenTutorialPage(site, "VANTO-" + Gbk(kMozhe), modem);
  installer::OpenTutorialPage(site, "VANTO-ZEF", lan_and_proxy);
  installer::OpenTutorialPage("", "VANTO-X", lan_and_proxy);  // no site, no page

  std::vector<Names> commands = trace.WaitFor(3, 10000);
  std::vector<std::wstring> urls;
  for (const Names& args : commands) {
    ASSERT_EQ(args.size(), 2u);
    EXPECT_TRUE(SamePath(args[0], browser)) << Gbk(args[0]);
    urls.push_back(args[1]);
  }
  std::sort(urls.begin(), urls.end());
  EXPECT_EQ(urls, (Names{L"http://www.vanto.example.com/jiaocheng.html",
                         L"http://www.vanto.example.com/jiaocheng.html",
                         L"http://www.vanto.example.com/" + kMozhe + L"-jiaocheng.html"}));
}

// ---------------------------------------------------------------------------

// Remembers the shell calls instead of making them.
class RecordingShell : public installer::ShellExecutor {
public:
  void Execute(const installer::ShellRequest& request) override {
    calls.push_back({request, GetTickCount64()});
  }
  struct Call {
    installer::ShellRequest request;
    ULONGLONG at;
  };
  std::vector<Call> calls;
};

// A record whose InstallDir is folder and whose file i is "\" + names[i].
std::unique_ptr<installer::TSetupRecord> RecordFor(const std::wstring& folder,
                                                   const std::vector<std::wstring>& names) {
  auto record = std::make_unique<installer::TSetupRecord>();
  record->InstallDir.Assign(Gbk(folder));
  for (const std::wstring& name : names)
    record->Files[record->FileCount++].Name.Assign(Gbk(L"\\" + name));
  return record;
}

void AddShortcut(installer::TSetupRecord& record, int file, std::uint8_t location) {
  installer::TSetupShortcutEntry& s = record.Shortcuts[record.ShortcutCount++];
  s.FileIndex = file;
  s.Location = location;
}

class LaunchProgramsTest : public ::testing::Test {
protected:
  // A product folder with blanks and Chinese in its name, as a user may
  // choose one, under Program Files, whose blank is the usual trap.
  ScopedFolder product_{ScopedFolder::Unique(kProgramFolderName, ProgramFilesFolder())};
  ScopedFolder installer_{ScopedFolder::Unique(kInstallerFolderName)};
};

TEST_F(LaunchProgramsTest, BatchFileStartsTheProgramAndDeletesItself) {
  CopyHelper(L"trace_args.exe", product_.wide(L"VANTO-X.exe"));
  auto record = RecordFor(product_.wide(), {L"VANTO-X.exe"});
  AddShortcut(*record, 0, 0);
  Trace trace;

  installer::LaunchPrograms(*record, installer_.gbk(), nullptr);

  // The batch file waits three seconds before it starts anything.
  EXPECT_TRUE(Exists(installer_.wide(L"temp.bat")));
  std::vector<Names> commands = trace.WaitFor(1, 15000);
  ASSERT_EQ(commands.size(), 1u) << "the program did not start (or started more than once)";
  ASSERT_FALSE(commands[0].empty());
  EXPECT_TRUE(SamePath(commands[0][0], product_.wide(L"VANTO-X.exe"))) << Gbk(commands[0][0]);
  EXPECT_TRUE(WaitUntil(5000, [&] { return !Exists(installer_.wide(L"temp.bat")); }))
      << "the batch file did not delete itself";
}

// "é" is 0xE9 in the Western ANSI code page and 0x82 in its OEM one, which
// is the one the command interpreter reads. Where the Chinese folders above
// are given by their short names (which have no blanks), these long ones
// still are, so the blanks in both paths are met under every code page.
TEST_F(LaunchProgramsTest, AccentedFoldersWithBlanksReachTheInterpreterAsTheyAre) {
  ScopedFolder cafe(ScopedFolder::Unique(L"Caf\u00E9", ProgramFilesFolder()));
  ScopedFolder setup(ScopedFolder::Unique(L"Setup Caf\u00E9"));
  CopyHelper(L"trace_args.exe", cafe.wide(L"r\u00E9sum\u00E9.exe"));
  auto record = RecordFor(cafe.wide(), {L"r\u00E9sum\u00E9.exe"});
  AddShortcut(*record, 0, 2);
  Trace trace;

  installer::LaunchPrograms(*record, setup.gbk(), nullptr);

  std::vector<Names> commands = trace.WaitFor(1, 15000);
  ASSERT_EQ(commands.size(), 1u) << "the program did not start (or started more than once)";
  EXPECT_TRUE(SamePath(commands[0][0], cafe.wide(L"r\u00E9sum\u00E9.exe"))) << Gbk(commands[0][0]);
  EXPECT_TRUE(WaitUntil(5000, [&] { return !Exists(setup.wide(L"temp.bat")); }))
      << "the batch file did not delete itself";
}

TEST_F(LaunchProgramsTest, EveryLaunchEntryStartsItsOwnProgram) {
  for (const wchar_t* name : {L"A.exe", L"B.exe", L"C.exe"})
    CopyHelper(L"trace_args.exe", product_.wide(name));
  auto record = RecordFor(product_.wide(), {L"A.exe", L"B.exe", L"C.exe"});
  AddShortcut(*record, 0, 0);
  AddShortcut(*record, 2, 1);  // Programs group only: not started
  AddShortcut(*record, 1, 2);
  Trace trace;

  installer::LaunchPrograms(*record, installer_.gbk(), nullptr);

  std::vector<Names> commands = trace.WaitFor(2, 15000, 1500);
  Names started;
  for (const Names& args : commands) started.push_back(args.empty() ? L"" : LongPath(args[0]));
  std::sort(started.begin(), started.end());
  ASSERT_EQ(started.size(), 2u);
  EXPECT_TRUE(SamePath(started[0], product_.wide(L"A.exe"))) << Gbk(started[0]);
  EXPECT_TRUE(SamePath(started[1], product_.wide(L"B.exe"))) << Gbk(started[1]);
  EXPECT_TRUE(WaitUntil(5000, [&] {
    return !Exists(installer_.wide(L"temp.bat")) && !Exists(installer_.wide(L"temp2.bat"));
  })) << "a batch file did not delete itself";
}

TEST_F(LaunchProgramsTest, EachBatchFileIsOpenedHiddenHalfASecondAfterTheLast) {
  for (const wchar_t* name : {L"A.exe", L"B.exe"}) CopyHelper(L"trace_args.exe", product_.wide(name));
  auto record = RecordFor(product_.wide(), {L"A.exe", L"B.exe"});
  AddShortcut(*record, 0, 2);
  AddShortcut(*record, 1, 0);
  RecordingShell shell;
  HWND owner = GetDesktopWindow();

  ULONGLONG start = GetTickCount64();
  installer::LaunchPrograms(*record, installer_.gbk(), owner, shell);

  ASSERT_EQ(shell.calls.size(), 2u);
  const Names files{installer_.wide(L"temp.bat"), installer_.wide(L"temp2.bat")};
  ULONGLONG previous = start;
  for (std::size_t i = 0; i < 2; ++i) {
    const installer::ShellRequest& r = shell.calls[i].request;
    EXPECT_EQ(r.owner, owner);
    EXPECT_EQ(r.verb, L"open");
    EXPECT_EQ(r.file, files[i]);
    EXPECT_EQ(r.parameters, L"");
    EXPECT_EQ(r.directory, L"");
    EXPECT_EQ(r.show, SW_HIDE);
    EXPECT_GE(shell.calls[i].at - previous, 450u) << "call " << i;  // tick granularity
    previous = shell.calls[i].at;
    EXPECT_EQ(ReadFileBytes(files[i]).rfind("@echo off\r\n", 0), 0u) << Gbk(files[i]);
  }
}

TEST_F(LaunchProgramsTest, BatchFileThatCannotBeWrittenIsNotOpened) {
  for (const wchar_t* name : {L"A.exe", L"B.exe"}) CopyHelper(L"trace_args.exe", product_.wide(name));
  auto record = RecordFor(product_.wide(), {L"A.exe", L"B.exe"});
  AddShortcut(*record, 0, 0);
  AddShortcut(*record, 1, 0);
  fs::create_directory(installer_.wide(L"temp.bat"));  // a folder in the first one's way
  RecordingShell shell;

  installer::LaunchPrograms(*record, installer_.gbk(), nullptr, shell);

  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].request.file, installer_.wide(L"temp2.bat"));

  shell.calls.clear();
  installer::LaunchPrograms(*record, installer_.gbk() + "\\missing", nullptr, shell);
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_FALSE(Exists(installer_.wide(L"missing")));
}

TEST_F(LaunchProgramsTest, AProgramThatWasNotInstalledGetsNoBatchFile) {
  CopyHelper(L"trace_args.exe", product_.wide(L"B.exe"));  // A.exe could not be written
  auto record = RecordFor(product_.wide(), {L"A.exe", L"B.exe"});
  AddShortcut(*record, 0, 0);
  AddShortcut(*record, 1, 0);
  RecordingShell shell;

  installer::LaunchPrograms(*record, installer_.gbk(), nullptr, shell);

  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].request.file, installer_.wide(L"temp2.bat"));
  EXPECT_FALSE(Exists(installer_.wide(L"temp.bat")));
}

TEST_F(LaunchProgramsTest, RecordWithoutLaunchEntriesWritesAndStartsNothing) {
  auto record = RecordFor(product_.wide(), {L"A.exe"});
  AddShortcut(*record, 0, 1);
  AddShortcut(*record, 0, 3);
  RecordingShell shell;

  installer::LaunchPrograms(*record, installer_.gbk(), nullptr, shell);

  EXPECT_TRUE(shell.calls.empty());
  EXPECT_TRUE(fs::is_empty(installer_.wide()));
}

// ---------------------------------------------------------------------------

TEST(PathForBatchFileTest, ReadsBackAsTheSamePathInTheInterpretersCodePage) {
  ScopedFolder folder(ScopedFolder::Unique(kProgramFolderName));
  const std::wstring file = folder.wide(kMozhe + L".exe");
  CopyHelper(L"idle_process.exe", file);

  EXPECT_EQ(installer::PathForBatchFile("C:\\Program Files\\X\\a.exe"),
            "C:\\Program Files\\X\\a.exe");
  for (const std::wstring& path : {folder.wide(), folder.wide() + L"\\", file}) {
    std::string bytes = installer::PathForBatchFile(Gbk(path));
    std::wstring read_back = Decode(GetOEMCP(), bytes);
    EXPECT_TRUE(Exists(read_back)) << Gbk(read_back);
    EXPECT_TRUE(SamePath(read_back, path)) << Gbk(read_back);
    if (GetOEMCP() == 936) {
      EXPECT_EQ(bytes, Gbk(path)) << "a Chinese system reads the path as it is";
    }
  }
}

// ---------------------------------------------------------------------------

TEST(OpenInstallFolderTest, AsksTheShellToExploreTheFolderFromItsParent) {
  RecordingShell shell;
  const std::wstring folder = L"C:\\Program Files\\" + kProgramFolderName;

  installer::OpenInstallFolder(Gbk(folder), shell);

  ASSERT_EQ(shell.calls.size(), 1u);
  const installer::ShellRequest& r = shell.calls[0].request;
  EXPECT_EQ(r.owner, nullptr);
  EXPECT_EQ(r.verb, L"explore");
  EXPECT_EQ(r.file, folder);
  EXPECT_EQ(r.parameters, L"");
  EXPECT_EQ(r.directory, L"C:\\Program Files\\");
  EXPECT_EQ(r.show, SW_SHOWNORMAL);
}

TEST(OpenInstallFolderTest, WorkingFolderEndsAtTheLastRealBackslash) {
  // 誠 (GBK D5 5C) ends in a backslash byte that is no separator.
  const std::wstring cheng = L"\u8AA0";
  const std::vector<std::pair<std::wstring, std::wstring>> cases = {
      {L"D:\\" + cheng + L"x", L"D:\\"},
      {L"D:\\" + cheng + L"\\" + cheng, L"D:\\" + cheng + L"\\"},
      {L"D:\\Tools\\", L"D:\\Tools\\"},
      {L"Tools", L""},
  };
  for (const auto& [folder, directory] : cases) {
    RecordingShell shell;
    installer::OpenInstallFolder(Gbk(folder), shell);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].request.file, folder);
    EXPECT_EQ(shell.calls[0].request.directory, directory) << Gbk(folder);
  }
}

}  // namespace
