// The shell helpers against the real Win32 API under Wine: folders on disk,
// registry values, .lnk files read back through the shell, a started helper
// program and the folder dialog. The rig runs with an ANSI code page that
// has no Chinese, so any trip through an ANSI API would mangle the Chinese
// names used here.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "base/com_ptr_win.h"
#include "base/error.h"
#include "base/file_system.h"
#include "base/text_codec.h"
#include "installer/shell.h"
#include "installer/shell_paths.h"
#include "tests/win32/support/com_apartment.h"
#include "tests/win32/support/folders.h"

namespace {

using namespace testing_support;

// Chinese names as the installer holds them (GBK bytes, checked with iconv)
// next to the UTF-16 that must reach the disk.
// 墨柘测试
const std::string kMozheGbk = "\xC4\xAB\xE8\xCF\xB2\xE2\xCA\xD4";
const std::wstring kMozheWide = L"\u58A8\u67D8\u6D4B\u8BD5";
// 快捷方式
const std::string kShortcutGbk = "\xBF\xEC\xBD\xDD\xB7\xBD\xCA\xBD";
const std::wstring kShortcutWide = L"\u5FEB\u6377\u65B9\u5F0F";
// 誠: its second byte is 0x5C, a backslash to byte-wise path code.
const std::string kChengGbk = "\xD5\x5C";
const std::wstring kChengWide = L"\u8AA0";

const std::wstring kShellFoldersKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::wstring kHtmlOpenCommandKey = L"htmlfile\\shell\\open\\command";


std::string Gbk(const std::wstring& wide) { return base::WideToGbkLossy(wide); }

bool WideDirectoryExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool WideFileExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeFile(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  Require(h != INVALID_HANDLE_VALUE, "create file " + Gbk(path));
  CloseHandle(h);
}




// A folder that exists for one test and is removed with its contents after.
class ScopedFolder {
public:
  explicit ScopedFolder(std::wstring path) : path_(std::move(path)) { MakeFolder(path_); }
  ScopedFolder(const ScopedFolder&) = delete;
  ScopedFolder& operator=(const ScopedFolder&) = delete;
  ~ScopedFolder() { RemoveTree(path_); }

  // A new, empty folder under the temp folder.
  static std::wstring UniqueTempPath() {
    static int counter = 0;
    wchar_t temp[MAX_PATH];
    DWORD n = GetTempPathW(MAX_PATH, temp);
    Require(n > 0 && n < MAX_PATH, "GetTempPathW");
    return std::wstring(temp) + L"vanto-shell-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
  }

  const std::wstring& wide() const { return path_; }
  std::wstring wide(const std::wstring& name) const { return path_ + L"\\" + name; }
  std::string gbk() const { return Gbk(path_); }

private:
  std::wstring path_;
};

// Puts one registry key back as it was when the test ends: its values are
// saved here, and the key (which must have no subkeys) is recreated from
// them, or deleted when it did not exist. Tests may change or delete it.
class RegistryKeySnapshot {
public:
  RegistryKeySnapshot(HKEY root, std::wstring subkey) : root_(root), subkey_(std::move(subkey)) {
    HKEY key;
    existed_ = RegOpenKeyExW(root_, subkey_.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (!existed_) return;
    DWORD subkeys = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr);
    for (DWORD i = 0;; ++i) {
      wchar_t name[16384];
      DWORD name_length = 16384, type = 0, size = 0;
      LONG status = RegEnumValueW(key, i, name, &name_length, nullptr, &type, nullptr, &size);
      if (status != ERROR_SUCCESS) break;
      Value value{std::wstring(name, name_length), type, std::vector<BYTE>(size)};
      name_length = 16384;
      RegEnumValueW(key, i, name, &name_length, nullptr, &type, value.data.data(), &size);
      values_.push_back(std::move(value));
    }
    RegCloseKey(key);
    Require(subkeys == 0, "snapshot of a registry key with subkeys");
  }
  RegistryKeySnapshot(const RegistryKeySnapshot&) = delete;
  RegistryKeySnapshot& operator=(const RegistryKeySnapshot&) = delete;
  ~RegistryKeySnapshot() {
    RegDeleteKeyW(root_, subkey_.c_str());
    if (!existed_) return;
    HKEY key;
    if (RegCreateKeyExW(root_, subkey_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
      return;
    for (const Value& v : values_)
      RegSetValueExW(key, v.name.c_str(), 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size()));
    RegCloseKey(key);
  }

private:
  struct Value {
    std::wstring name;
    DWORD type;
    std::vector<BYTE> data;
  };
  HKEY root_;
  std::wstring subkey_;
  bool existed_ = false;
  std::vector<Value> values_;
};

// name "" is the key's default value. terminate = false stores the text
// without its NUL, as careless writers of the registry do. The registry adds
// the NUL itself when the character after the counted data is one, so the
// data passed goes on with another character.
void SetRegistryText(HKEY root, const std::wstring& subkey, const std::wstring& name,
                     const std::wstring& text, DWORD type = REG_SZ, bool terminate = true) {
  HKEY key;
  Require(RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr) == ERROR_SUCCESS,
          "create registry key");
  std::wstring data = terminate ? text : text + L"#";
  DWORD size = static_cast<DWORD>((text.size() + (terminate ? 1 : 0)) * sizeof(wchar_t));
  LONG status = RegSetValueExW(key, name.c_str(), 0, type,
                               reinterpret_cast<const BYTE*>(data.c_str()), size);
  RegCloseKey(key);
  Require(status == ERROR_SUCCESS, "set registry value");
}

void SetRegistryDword(HKEY root, const std::wstring& subkey, const std::wstring& name, DWORD n) {
  HKEY key;
  Require(RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr) == ERROR_SUCCESS,
          "create registry key");
  LONG status = RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&n),
                               sizeof n);
  RegCloseKey(key);
  Require(status == ERROR_SUCCESS, "set registry value");
}

void DeleteRegistryValue(HKEY root, const std::wstring& subkey, const std::wstring& name) {
  HKEY key;
  Require(RegOpenKeyExW(root, subkey.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS,
          "open registry key");
  LONG status = RegDeleteValueW(key, name.c_str());
  RegCloseKey(key);
  Require(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND, "delete registry value");
}

bool RegistryKeyExists(HKEY root, const std::wstring& subkey) {
  HKEY key;
  if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}



// Restores the process's current directory, which some helpers move.
class ScopedCurrentDirectory {
public:
  ScopedCurrentDirectory() {
    wchar_t dir[MAX_PATH];
    DWORD n = GetCurrentDirectoryW(MAX_PATH, dir);
    Require(n > 0 && n < MAX_PATH, "GetCurrentDirectoryW");
    saved_.assign(dir, n);
  }
  ~ScopedCurrentDirectory() { SetCurrentDirectoryW(saved_.c_str()); }

private:
  std::wstring saved_;
};

std::wstring CurrentDirectory() {
  wchar_t dir[MAX_PATH];
  DWORD n = GetCurrentDirectoryW(MAX_PATH, dir);
  return std::wstring(dir, n < MAX_PATH ? n : 0);
}

// ---------------------------------------------------------------------------

class DirectoryExistsTest : public ::testing::Test {
protected:
  ScopedFolder temp_{ScopedFolder::UniqueTempPath()};
};

TEST_F(DirectoryExistsTest, TellsFoldersFromFilesAndMissingPaths) {
  MakeFolder(temp_.wide(L"folder"));
  MakeFile(temp_.wide(L"file.txt"));

  EXPECT_TRUE(installer::DirectoryExists(temp_.gbk()));
  EXPECT_TRUE(installer::DirectoryExists(temp_.gbk() + "\\folder"));
  EXPECT_FALSE(installer::DirectoryExists(temp_.gbk() + "\\file.txt"));
  EXPECT_FALSE(installer::DirectoryExists(temp_.gbk() + "\\missing"));
  EXPECT_FALSE(installer::DirectoryExists(temp_.gbk() + "\\file.txt\\below"));
  EXPECT_FALSE(installer::DirectoryExists(""));
}

TEST_F(DirectoryExistsTest, FindsChineseFolderMadeThroughTheWideApi) {
  MakeFolder(temp_.wide(kMozheWide));
  MakeFolder(temp_.wide(kChengWide));

  EXPECT_TRUE(installer::DirectoryExists(temp_.gbk() + "\\" + kMozheGbk));
  EXPECT_TRUE(installer::DirectoryExists(temp_.gbk() + "\\" + kChengGbk));
  // Another Chinese name of the same length must not match.
  EXPECT_FALSE(installer::DirectoryExists(temp_.gbk() + "\\" + kShortcutGbk));
}

TEST_F(DirectoryExistsTest, NativeFileSystemWritesTheUtf16NameToDisk) {
  ASSERT_TRUE(base::NativeFileSystem().MakeDirectory(temp_.gbk() + "\\" + kMozheGbk));
  EXPECT_EQ(ListNames(temp_.wide()), Names{kMozheWide});
  EXPECT_TRUE(WideDirectoryExists(temp_.wide(kMozheWide)));
}

// ---------------------------------------------------------------------------

class ForceFoldersTest : public ::testing::Test {
protected:
  ScopedFolder temp_{ScopedFolder::UniqueTempPath()};
};

TEST_F(ForceFoldersTest, CreatesEveryMissingLevelWithChineseNames) {
  // 誠 ends in byte 0x5C: splitting there would make a stray folder.
  std::string path = temp_.gbk() + "\\" + kMozheGbk + "\\sub\\" + kChengGbk + "x";
  ASSERT_TRUE(installer::ForceFolders(base::NativeFileSystem(), path));

  EXPECT_EQ(ListNames(temp_.wide()), Names{kMozheWide});
  EXPECT_EQ(ListNames(temp_.wide(kMozheWide)), Names{L"sub"});
  EXPECT_EQ(ListNames(temp_.wide(kMozheWide + L"\\sub")), Names{kChengWide + L"x"});
  EXPECT_TRUE(installer::DirectoryExists(path));
}

TEST_F(ForceFoldersTest, FolderUnderUnmappedDriveFails) {
  ASSERT_EQ(GetLogicalDrives() & (1u << ('Q' - 'A')), 0u) << "drive Q: is mapped in this prefix";
  EXPECT_FALSE(installer::ForceFolders(base::NativeFileSystem(), "Q:\\x\\y"));
  EXPECT_FALSE(installer::DirectoryExists("Q:\\x"));
}

TEST_F(ForceFoldersTest, ExistingPathSucceedsAndChangesNothing) {
  MakeFolder(temp_.wide(L"a"));
  MakeFolder(temp_.wide(L"a\\b"));
  MakeFile(temp_.wide(L"a\\b\\keep.txt"));

  EXPECT_TRUE(installer::ForceFolders(base::NativeFileSystem(), temp_.gbk() + "\\a\\b"));
  EXPECT_TRUE(installer::ForceFolders(base::NativeFileSystem(), temp_.gbk() + "\\a\\b\\"));
  EXPECT_EQ(ListNames(temp_.wide()), Names{L"a"});
  EXPECT_EQ(ListNames(temp_.wide(L"a\\b")), Names{L"keep.txt"});
}

TEST_F(ForceFoldersTest, FileInTheWayFailsButKeepsTheFoldersBeforeIt) {
  MakeFolder(temp_.wide(L"a"));
  MakeFile(temp_.wide(L"a\\blocker"));

  EXPECT_FALSE(
      installer::ForceFolders(base::NativeFileSystem(), temp_.gbk() + "\\a\\blocker\\c\\d"));
  EXPECT_EQ(ListNames(temp_.wide(L"a")), Names{L"blocker"});
  EXPECT_TRUE(WideFileExists(temp_.wide(L"a\\blocker")));
}

// ---------------------------------------------------------------------------

class ShellFoldersTest : public ::testing::Test {
protected:
  RegistryKeySnapshot saved_{HKEY_CURRENT_USER, kShellFoldersKey};
};

TEST_F(ShellFoldersTest, ReadsTheRecordedFoldersAsGbk) {
  SetRegistryText(HKEY_CURRENT_USER, kShellFoldersKey, L"Desktop",
                  L"C:\\users\\test\\" + kMozheWide);
  SetRegistryText(HKEY_CURRENT_USER, kShellFoldersKey, L"Programs",
                  L"D:\\Start Menu\\" + kShortcutWide + L"\\Programs");

  EXPECT_EQ(installer::GetDesktopFolder(), "C:\\users\\test\\" + kMozheGbk);
  EXPECT_EQ(installer::GetProgramsFolder(), "D:\\Start Menu\\" + kShortcutGbk + "\\Programs");
}

TEST_F(ShellFoldersTest, ReadsExpandableTextAndTextWithoutTerminatingNul) {
  SetRegistryText(HKEY_CURRENT_USER, kShellFoldersKey, L"Desktop", L"C:\\Desk", REG_SZ,
                  /*terminate=*/false);
  SetRegistryText(HKEY_CURRENT_USER, kShellFoldersKey, L"Programs", L"C:\\Progs", REG_EXPAND_SZ,
                  /*terminate=*/false);

  EXPECT_EQ(installer::GetDesktopFolder(), "C:\\Desk");
  EXPECT_EQ(installer::GetProgramsFolder(), "C:\\Progs");
}

TEST_F(ShellFoldersTest, MissingOrNonTextValuesGiveEmptyText) {
  DeleteRegistryValue(HKEY_CURRENT_USER, kShellFoldersKey, L"Desktop");
  SetRegistryDword(HKEY_CURRENT_USER, kShellFoldersKey, L"Programs", 0x5C3A43);  // "C:\" as bytes

  EXPECT_EQ(installer::GetDesktopFolder(), "");
  EXPECT_EQ(installer::GetProgramsFolder(), "");
}

TEST_F(ShellFoldersTest, MissingKeyGivesEmptyTextAndIsNotCreated) {
  ASSERT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, kShellFoldersKey.c_str()), ERROR_SUCCESS);

  EXPECT_EQ(installer::GetDesktopFolder(), "");
  EXPECT_EQ(installer::GetProgramsFolder(), "");
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kShellFoldersKey));
}

// ---------------------------------------------------------------------------

class ShellLinkTest : public ::testing::Test {
protected:
  void SetUp() override {
    MakeFolder(temp_.wide(L"app"));
    MakeFile(temp_.wide(L"app\\tool.exe"));
    MakeFile(temp_.wide(L"app\\other.exe"));
  }
  std::string Target() const { return temp_.gbk() + "\\app\\tool.exe"; }

  ScopedFolder temp_{ScopedFolder::UniqueTempPath()};
};

TEST_F(ShellLinkTest, LinkStartsTargetWithArgumentsInItsFolder) {
  installer::CreateShellLink(Target(), "Tool", temp_.gbk(), "--mode \"two words\" 2");

  EXPECT_EQ(ListNames(temp_.wide()), (Names{L"Tool.lnk", L"app"}));
  LinkInfo link = ReadLink(temp_.wide(L"Tool.lnk"));
  ASSERT_TRUE(link.loaded);
  EXPECT_EQ(link.path, temp_.wide(L"app\\tool.exe"));
  EXPECT_EQ(link.arguments, L"--mode \"two words\" 2");
  EXPECT_EQ(link.working_directory, temp_.wide(L"app\\"));
  EXPECT_EQ(link.icon_path, temp_.wide(L"app\\tool.exe"));
  EXPECT_EQ(link.icon_index, 0);
}

TEST_F(ShellLinkTest, ChineseLinkNameTargetAndFolder) {
  MakeFolder(temp_.wide(kMozheWide));
  MakeFile(temp_.wide(kMozheWide + L"\\" + kChengWide + L".exe"));
  std::string folder = temp_.gbk() + "\\" + kMozheGbk;

  installer::CreateShellLink(folder + "\\" + kChengGbk + ".exe", kShortcutGbk, folder,
                             kMozheGbk);

  EXPECT_EQ(ListNames(temp_.wide(kMozheWide)), (Names{kShortcutWide + L".lnk", kChengWide + L".exe"}));
  LinkInfo link = ReadLink(temp_.wide(kMozheWide + L"\\" + kShortcutWide + L".lnk"));
  ASSERT_TRUE(link.loaded);
  // The target is checked through the item ID list, which is what starts the
  // link: Wine writes the link's plain path in the ANSI code page only, so
  // GetPath after Load cannot give back Chinese under the rig's code page.
  EXPECT_EQ(link.id_list_path, temp_.wide(kMozheWide + L"\\" + kChengWide + L".exe"));
  EXPECT_EQ(link.icon_path, temp_.wide(kMozheWide + L"\\" + kChengWide + L".exe"));
  EXPECT_EQ(link.arguments, kMozheWide);
  EXPECT_EQ(link.working_directory, temp_.wide(kMozheWide + L"\\"));
}

TEST_F(ShellLinkTest, ExistingLinkIsReplaced) {
  installer::CreateShellLink(Target(), "Tool", temp_.gbk(), "first");
  installer::CreateShellLink(temp_.gbk() + "\\app\\other.exe", "Tool", temp_.gbk(), "second");

  EXPECT_EQ(ListNames(temp_.wide()), (Names{L"Tool.lnk", L"app"}));
  LinkInfo link = ReadLink(temp_.wide(L"Tool.lnk"));
  ASSERT_TRUE(link.loaded);
  EXPECT_EQ(link.path, temp_.wide(L"app\\other.exe"));
  EXPECT_EQ(link.arguments, L"second");
}

TEST_F(ShellLinkTest, LinkIntoMissingFolderIsQuietlyNotMade) {
  EXPECT_NO_THROW(installer::CreateShellLink(Target(), "missing\\Tool", temp_.gbk(), ""));
  EXPECT_NO_THROW(installer::CreateShellLink(Target(), "Tool", temp_.gbk() + "\\gone", ""));
  EXPECT_EQ(ListNames(temp_.wide()), Names{L"app"});
}

// The shell helpers use the apartment the program entered at its start. A
// thread in a multithreaded one is told so, gets no link, and its
// apartment is left alone.
TEST_F(ShellLinkTest, ThreadInMultithreadedApartmentIsToldAndKeepsItsApartment) {
  HRESULT entered = E_FAIL, after = E_FAIL;
  std::string error;
  std::thread worker([&] {
    entered = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    try {
      installer::CreateShellLink(Target(), "Tool", temp_.gbk(), "");
    } catch (const base::Error& e) {
      error = e.what();
    }
    after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(after)) CoUninitialize();
    if (SUCCEEDED(entered)) CoUninitialize();
  });
  worker.join();

  ASSERT_EQ(entered, S_OK);
  EXPECT_NE(error.find("COM is not initialised"), std::string::npos) << error;
  EXPECT_EQ(after, S_FALSE) << "the thread's multithreaded apartment was torn down";
  EXPECT_EQ(ListNames(temp_.wide()), Names{L"app"});
}

// A thread without COM is told as well, and is left free to choose.
TEST_F(ShellLinkTest, ThreadWithoutComIsToldAndLeftWithout) {
  HRESULT after = E_FAIL;
  bool threw = false;
  std::thread worker([&] {
    try {
      installer::CreateShellLink(Target(), "Tool", temp_.gbk(), "");
    } catch (const base::Error&) {
      threw = true;
    }
    after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(after)) CoUninitialize();
  });
  worker.join();

  EXPECT_TRUE(threw);
  EXPECT_EQ(after, S_OK);
  EXPECT_EQ(ListNames(temp_.wide()), Names{L"app"});
}

// ---------------------------------------------------------------------------

class ShortcutFolderTest : public ::testing::Test {
protected:
  void SetUp() override {
    MakeFolder(temp_.wide(L"app"));
    MakeFile(temp_.wide(L"app\\tool.exe"));
  }
  std::string Target() const { return temp_.gbk() + "\\app\\tool.exe"; }
  void RecordShellFolder(const wchar_t* value, const std::wstring& folder) {
    SetRegistryText(HKEY_CURRENT_USER, kShellFoldersKey, value, folder);
  }

  RegistryKeySnapshot saved_{HKEY_CURRENT_USER, kShellFoldersKey};
  ScopedFolder temp_{ScopedFolder::UniqueTempPath()};
  ScopedCurrentDirectory cwd_;  // restored before temp_ goes
};

using DesktopShortcutTest = ShortcutFolderTest;

TEST_F(DesktopShortcutTest, ExistingDesktopGetsTheLink) {
  MakeFolder(temp_.wide(L"desk"));
  RecordShellFolder(L"Desktop", temp_.wide(L"desk"));

  installer::CreateDesktopShortcut(Target(), kShortcutGbk, "-run");

  EXPECT_EQ(ListNames(temp_.wide(L"desk")), Names{kShortcutWide + L".lnk"});
  LinkInfo link = ReadLink(temp_.wide(L"desk\\" + kShortcutWide + L".lnk"));
  ASSERT_TRUE(link.loaded);
  EXPECT_EQ(link.path, temp_.wide(L"app\\tool.exe"));
  EXPECT_EQ(link.arguments, L"-run");
}

TEST_F(DesktopShortcutTest, MissingDesktopFolderGetsNothing) {
  RecordShellFolder(L"Desktop", temp_.wide(L"desk"));

  installer::CreateDesktopShortcut(Target(), "Tool", "");

  EXPECT_EQ(ListNames(temp_.wide()), Names{L"app"});
}

TEST_F(DesktopShortcutTest, DesktopThatIsAFileGetsNothing) {
  MakeFile(temp_.wide(L"desk"));
  RecordShellFolder(L"Desktop", temp_.wide(L"desk"));

  installer::CreateDesktopShortcut(Target(), "Tool", "");

  EXPECT_EQ(ListNames(temp_.wide()), (Names{L"app", L"desk"}));
  EXPECT_TRUE(WideFileExists(temp_.wide(L"desk")));
}

using ProgramsShortcutTest = ShortcutFolderTest;

TEST_F(ProgramsShortcutTest, MakesTheGroupPutsTheLinkInItAndStaysThere) {
  MakeFolder(temp_.wide(L"progs"));
  RecordShellFolder(L"Programs", temp_.wide(L"progs"));

  installer::CreateProgramsShortcut(kMozheGbk, Target(), "Tool", "/s");

  std::wstring group = temp_.wide(L"progs\\" + kMozheWide);
  EXPECT_EQ(ListNames(temp_.wide(L"progs")), Names{kMozheWide});
  EXPECT_EQ(ListNames(group), Names{L"Tool.lnk"});
  LinkInfo link = ReadLink(group + L"\\Tool.lnk");
  ASSERT_TRUE(link.loaded);
  EXPECT_EQ(link.path, temp_.wide(L"app\\tool.exe"));
  EXPECT_EQ(link.arguments, L"/s");
  EXPECT_EQ(CurrentDirectory(), group);
}

TEST_F(ProgramsShortcutTest, ExistingGroupIsReused) {
  MakeFolder(temp_.wide(L"progs"));
  MakeFolder(temp_.wide(L"progs\\Group"));
  MakeFile(temp_.wide(L"progs\\Group\\readme.txt"));
  RecordShellFolder(L"Programs", temp_.wide(L"progs"));

  installer::CreateProgramsShortcut("Group", Target(), "One", "");
  installer::CreateProgramsShortcut("Group", Target(), "Two", "");

  EXPECT_EQ(ListNames(temp_.wide(L"progs\\Group")), (Names{L"One.lnk", L"Two.lnk", L"readme.txt"}));
  EXPECT_EQ(CurrentDirectory(), temp_.wide(L"progs\\Group"));
}

// Working from temp_ shows a group made relative to the current directory.
TEST_F(ProgramsShortcutTest, MissingProgramsFolderGetsNothing) {
  RecordShellFolder(L"Programs", temp_.wide(L"progs"));
  ASSERT_TRUE(SetCurrentDirectoryW(temp_.wide().c_str()));

  installer::CreateProgramsShortcut("Group", Target(), "Tool", "");

  EXPECT_EQ(ListNames(temp_.wide()), Names{L"app"});
  EXPECT_EQ(CurrentDirectory(), temp_.wide());
}

// The text of the error tells why the group could not be entered.
std::string ProgramsShortcutError(const std::string& group, const std::string& target) {
  try {
    installer::CreateProgramsShortcut(group, target, "Tool", "");
  } catch (const base::Error& e) {
    return e.what();
  }
  return "(no error)";
}

TEST_F(ProgramsShortcutTest, GroupThatCannotBeEnteredThrowsInputOutputError) {
  MakeFolder(temp_.wide(L"progs"));
  MakeFile(temp_.wide(L"progs\\Group"));
  RecordShellFolder(L"Programs", temp_.wide(L"progs"));

  // A file of the group's name: Windows says ERROR_DIRECTORY (267), which
  // has no word of its own.
  EXPECT_EQ(ProgramsShortcutError("Group", Target()), "I/O error 267");
  // A group below a missing folder cannot be made: the path is not found.
  EXPECT_EQ(ProgramsShortcutError("missing\\Group", Target()), "Invalid filename");
  EXPECT_EQ(ListNames(temp_.wide(L"progs")), Names{L"Group"});
  EXPECT_TRUE(WideFileExists(temp_.wide(L"progs\\Group")));
}

// ---------------------------------------------------------------------------

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  Require(n > 0 && n < MAX_PATH, "GetModuleFileNameW");
  std::wstring own(path, n);
  return own.substr(0, own.rfind(L'\\') + 1);
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

// The command lines that trace_args recorded, split like its C runtime
// would; waits up to timeout for the first one to arrive.
std::vector<Names> WaitForTracedCommands(const std::wstring& trace_file, DWORD timeout_ms) {
  ULONGLONG deadline = GetTickCount64() + timeout_ms;
  std::string text;
  for (;;) {
    text = ReadFileBytes(trace_file);
    if ((!text.empty() && text.back() == '\n') || GetTickCount64() >= deadline)
      break;
    Sleep(50);
  }
  std::vector<Names> commands;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string utf8 = text.substr(start, end - start);
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring line(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), line.data(), n);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(line.c_str(), &argc);
    Names args(argv, argv + (argv ? argc : 0));
    LocalFree(argv);
    commands.push_back(args);
  }
  return commands;
}

class OpenUrlTest : public ::testing::Test {
protected:
  void SetUp() override {
    Require(WideFileExists(browser_), "trace_args.exe next to the test program");
    SetEnvironmentVariableW(L"VANTO_TRACE_ARGS_FILE", trace_file_.c_str());
  }
  void TearDown() override { SetEnvironmentVariableW(L"VANTO_TRACE_ARGS_FILE", nullptr); }
  void RegisterBrowser(const std::wstring& command) {
    SetRegistryText(HKEY_CLASSES_ROOT, kHtmlOpenCommandKey, L"", command);
  }

  RegistryKeySnapshot saved_{HKEY_CLASSES_ROOT, kHtmlOpenCommandKey};
  ScopedFolder temp_{ScopedFolder::UniqueTempPath()};
  std::wstring browser_ = OwnFolder() + L"trace_args.exe";
  std::wstring trace_file_ = temp_.wide(L"trace.txt");
};

TEST_F(OpenUrlTest, StartsTheRegisteredProgramWithTheUrlAlone) {
  RegisterBrowser(L"\"" + browser_ + L"\" -nohome");

  EXPECT_TRUE(installer::OpenUrlWithBrowser("http://example.invalid/" + kMozheGbk + "?a=1&b=2"));

  std::vector<Names> commands = WaitForTracedCommands(trace_file_, 10000);
  ASSERT_EQ(commands.size(), 1u) << "trace_args did not run (or ran more than once)";
  ASSERT_EQ(commands[0].size(), 2u);
  EXPECT_EQ(CompareStringOrdinal(commands[0][0].c_str(), -1, browser_.c_str(), -1, TRUE),
            CSTR_EQUAL)
      << "started " << Gbk(commands[0][0]);
  EXPECT_EQ(commands[0][1], L"http://example.invalid/" + kMozheWide + L"?a=1&b=2");
}

TEST_F(OpenUrlTest, NoRegisteredCommandGivesFalse) {
  ASSERT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, kHtmlOpenCommandKey.c_str()), ERROR_SUCCESS);
  EXPECT_FALSE(installer::OpenUrlWithBrowser("http://example.invalid/"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kHtmlOpenCommandKey));

  SetRegistryText(HKEY_CLASSES_ROOT, kHtmlOpenCommandKey, L"", L"");
  EXPECT_FALSE(installer::OpenUrlWithBrowser("http://example.invalid/"));
}

// Only a quoted program is taken from the command; without one nothing is
// started, yet the browser counts as registered. Both commands would start
// trace_args if the text around a missing quote were taken as the program.
TEST_F(OpenUrlTest, CommandWithoutQuotedProgramStartsNothing) {
  for (const std::wstring& command : {browser_, L"\"" + browser_}) {
    RegisterBrowser(command);
    EXPECT_TRUE(installer::OpenUrlWithBrowser("http://example.invalid/")) << Gbk(command);
  }
  // trace_args writes within a fraction of a second of being started.
  EXPECT_TRUE(WaitForTracedCommands(trace_file_, 3000).empty());
  EXPECT_FALSE(WideFileExists(trace_file_));
}

// ---------------------------------------------------------------------------

// Acts on this process's folder dialog from a second thread. The dialog runs
// its modal loop on the test's thread, so only another thread can press its
// buttons. A dialog that the code under test shows keeps it from returning,
// so once it has returned, Finish() tells whether one was shown.
class DialogDriver {
public:
  explicit DialogDriver(std::function<void(HWND)> act)
      : thread_([this, act = std::move(act)] { Run(act); }) {}
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;
  ~DialogDriver() { Finish(); }

  bool Finish() {
    done_ = true;
    if (thread_.joinable()) thread_.join();
    return acted_;
  }

private:
  struct Search {
    DWORD process;
    HWND found;
  };
  static BOOL CALLBACK Visit(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t class_name[16] = {};
    GetClassNameW(window, class_name, 16);
    if (process != search->process || !IsWindowVisible(window) ||
        std::wstring(class_name) != L"#32770")
      return TRUE;
    search->found = window;
    return FALSE;
  }

  void Run(const std::function<void(HWND)>& act) {
    ULONGLONG deadline = GetTickCount64() + 15000;
    while (!done_ && GetTickCount64() < deadline) {
      Search search{GetCurrentProcessId(), nullptr};
      EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
      if (search.found) {
        act(search.found);
        acted_ = true;
        return;
      }
      Sleep(20);
    }
  }

  std::atomic<bool> done_{false};
  std::atomic<bool> acted_{false};
  std::thread thread_;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
  return TRUE;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

Names ChildTexts(HWND dialog) {
  Names texts;
  for (HWND child : ChildWindows(dialog)) {
    wchar_t text[512] = {};
    GetWindowTextW(child, text, 512);
    texts.push_back(text);
  }
  return texts;
}

// Selects the item called name among the children of the tree's top item.
bool SelectTopLevelChild(HWND dialog, const std::wstring& name) {
  HWND tree = nullptr;
  for (HWND child : ChildWindows(dialog)) {
    wchar_t class_name[32] = {};
    GetClassNameW(child, class_name, 32);
    if (std::wstring(class_name) == WC_TREEVIEWW) tree = child;
  }
  if (!tree) return false;
  auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
  auto item = reinterpret_cast<HTREEITEM>(
      SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
  for (; item; item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT,
                                                               reinterpret_cast<LPARAM>(item)))) {
    wchar_t text[MAX_PATH] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = MAX_PATH;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    if (name == text)
      return SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
  }
  return false;
}

class BrowseForFolderTest : public ::testing::Test {
protected:
  void SetUp() override {
    wchar_t desktop[MAX_PATH];
    Require(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE, nullptr, 0,
                             desktop) == S_OK,
            "desktop directory");
    desktop_ = desktop;
  }
  std::wstring desktop_;
  // The dialog's title, a Chinese text with GBK trail byte 0x5C in it.
  const std::string title_ = kMozheGbk + " " + kChengGbk;
  const std::wstring title_wide_ = kMozheWide + L" " + kChengWide;
};

TEST_F(BrowseForFolderTest, CancelledLeavesResultAsItWas) {
  Names texts;
  DialogDriver driver([&](HWND dialog) {
    texts = ChildTexts(dialog);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  std::string result = "unchanged";

  installer::BrowseForFolder(CSIDL_DESKTOPDIRECTORY, title_, result);

  ASSERT_TRUE(driver.Finish()) << "no folder dialog was shown";
  EXPECT_EQ(result, "unchanged");
  EXPECT_NE(std::find(texts.begin(), texts.end(), title_wide_), texts.end())
      << "the dialog does not show the title";
}

TEST_F(BrowseForFolderTest, ChosenFolderIsReturnedAsGbk) {
  ScopedFolder chosen(desktop_ + L"\\" + kMozheWide);
  bool selected = false;
  DialogDriver driver([&](HWND dialog) {
    selected = SelectTopLevelChild(dialog, kMozheWide);
    PostMessageW(dialog, WM_COMMAND, selected ? IDOK : IDCANCEL, 0);
  });
  std::string result = "unchanged";

  installer::BrowseForFolder(CSIDL_DESKTOPDIRECTORY, title_, result);

  ASSERT_TRUE(driver.Finish()) << "no folder dialog was shown";
  ASSERT_TRUE(selected) << "the folder is not in the dialog's tree";
  EXPECT_EQ(result, Gbk(desktop_) + "\\" + kMozheGbk);
}

TEST_F(BrowseForFolderTest, UnknownRootShowsNoDialog) {
  DialogDriver driver([](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
  std::string result = "unchanged";

  installer::BrowseForFolder(0x7F, title_, result);  // no CSIDL has this value

  EXPECT_FALSE(driver.Finish());
  EXPECT_EQ(result, "unchanged");
}

}  // namespace
