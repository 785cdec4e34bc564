// A whole installation through the Windows adapters (the native file
// system, the registry over advapi32, the shell helpers' shortcuts), of a
// record and package made here, into a Chinese-named folder. Everything is
// read back through the wide API, so a text that went through an ANSI call
// on the way shows up as a wrong name or value under the rig's default code
// page; the same run under code page 936 shows the result does not depend
// on it.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/com_ptr_win.h"
#include "base/error.h"
#include "base/file_system.h"
#include "base/text_codec.h"
#include "installer/installation.h"
#include "installer/packed_block.h"
#include "installer/registry_win.h"
#include "installer/shell_shortcuts_win.h"
#include "installer/texts.h"
#include "tests/host/gbk_literal.h"
#include "tests/win32/support/folders.h"
#include "tests/win32/support/product_registry.h"
#include "tests/win32/support/com_apartment.h"

namespace {

using namespace testing_support;
using testing_support::Gbk;

const std::wstring kRoot = L"C:\\墨柘安装测试";
const std::wstring kInstallDir = kRoot + L"\\产品 目录";
const std::wstring kDesktop = kRoot + L"\\桌面";
const std::wstring kPrograms = kRoot + L"\\程序";
const std::wstring kProduct = L"VANTO 墨柘";
const std::wstring kPublisherKey = L"Software\\墨柘软件测试";
const std::wstring kProductKey = kPublisherKey + L"\\VANTO-T";
const std::wstring kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + kProduct;
const std::wstring kExtrasKey = L"Software\\墨柘额外值";
const std::wstring kShellFoldersKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// Where the shell keeps the folders itself: it rewrites the Shell Folders
// values from here whenever it looks one up, making a link included.
const std::wstring kUserShellFoldersKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";


std::string ToGbk(const std::wstring& wide) { return base::WideToGbkLossy(wide); }




std::optional<base::Bytes> ReadFileBytes(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  base::Bytes data;
  std::uint8_t buffer[65536];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0)
    data.insert(data.end(), buffer, buffer + got);
  CloseHandle(h);
  return data;
}

void WriteFileBytes(const std::wstring& path, const base::Bytes& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  Require(h != INVALID_HANDLE_VALUE, "create " + ToGbk(path));
  DWORD put = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(h);
  Require(put == bytes.size(), "write " + ToGbk(path));
}

// A registry value as stored: its type and its data as text (REG_SZ) or
// number (REG_DWORD). type 0 when there is none.
struct RegValue {
  DWORD type = 0;
  std::wstring text;
  DWORD number = 0;
};

RegValue ReadValue(HKEY root, const std::wstring& key, const std::wstring& name) {
  RegValue value;
  HKEY h;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | installer::kProductRegistryView, &h) !=
      ERROR_SUCCESS)
    return value;
  DWORD size = 0;
  if (RegQueryValueExW(h, name.c_str(), nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
    std::vector<BYTE> data(size);
    RegQueryValueExW(h, name.c_str(), nullptr, nullptr, data.data(), &size);
    if (value.type == REG_DWORD && size == sizeof(DWORD)) {
      std::memcpy(&value.number, data.data(), sizeof(DWORD));
    } else if (value.type == REG_SZ) {
      // The stored size must count exactly one terminating NUL.
      value.text.assign(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
      if (!value.text.empty() && value.text.back() == L'\0') value.text.pop_back();
      else value.text += L"(not terminated)";
    }
  }
  RegCloseKey(h);
  return value;
}

RegValue Text(const std::wstring& text) { return {REG_SZ, text, 0}; }
RegValue Number(DWORD n) { return {REG_DWORD, L"", n}; }
bool operator==(const RegValue& a, const RegValue& b) {
  return a.type == b.type && a.text == b.text && a.number == b.number;
}
void PrintTo(const RegValue& v, std::ostream* os) {
  *os << "type " << v.type << " text \"" << base::GbkToUtf8(ToGbk(v.text)) << "\" number "
      << static_cast<std::int32_t>(v.number);
}

bool KeyExists(HKEY root, const std::wstring& key) {
  HKEY h;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | installer::kProductRegistryView, &h) !=
      ERROR_SUCCESS)
    return false;
  RegCloseKey(h);
  return true;
}

// One HKCU value as it was before the test (type and bytes), put back after
// it, or removed when there was none.
class SavedUserValue {
public:
  SavedUserValue(std::wstring key, std::wstring name)
      : key_(std::move(key)), name_(std::move(name)) {
    HKEY h;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS)
      return;
    DWORD size = 0;
    if (RegQueryValueExW(h, name_.c_str(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
      data_.resize(size);
      existed_ = RegQueryValueExW(h, name_.c_str(), nullptr, &type_, data_.data(), &size) ==
                 ERROR_SUCCESS;
    }
    RegCloseKey(h);
  }
  SavedUserValue(const SavedUserValue&) = delete;
  SavedUserValue& operator=(const SavedUserValue&) = delete;
  ~SavedUserValue() {
    HKEY h;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h,
                        nullptr) != ERROR_SUCCESS)
      return;
    if (existed_)
      RegSetValueExW(h, name_.c_str(), 0, type_, data_.data(), static_cast<DWORD>(data_.size()));
    else
      RegDeleteValueW(h, name_.c_str());
    RegCloseKey(h);
  }

private:
  std::wstring key_, name_;
  bool existed_ = false;
  DWORD type_ = 0;
  std::vector<BYTE> data_;
};

void SetUserText(const std::wstring& subkey, const wchar_t* name, const std::wstring& text) {
  HKEY key;
  Require(RegCreateKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &key, nullptr) == ERROR_SUCCESS,
          "create HKCU key");
  LONG status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  Require(status == ERROR_SUCCESS, "set HKCU value");
}

// Points the user's Desktop or Programs folder at folder, for the installer
// (which reads Shell Folders) and for the shell (which keeps User Shell
// Folders and copies it over Shell Folders).
void SetShellFolder(const wchar_t* name, const std::wstring& folder) {
  SetUserText(kUserShellFoldersKey, name, folder);
  SetUserText(kShellFoldersKey, name, folder);
}



class RecordingView final : public installer::InstallView {
public:
  std::vector<std::string> steps, file_labels, messages;
  std::vector<int> positions;

  void SetLabelText(Label label, const std::string& text) override {
    if (label == Label::kStep) steps.push_back(text);
    if (label == Label::kFileName) file_labels.push_back(text);
  }
  void SetLabelWidth(Label, int) override {}
  void HideLabel(Label) override {}
  void RepaintLabel(Label) override {}
  void SetProgressColour(std::uint32_t) override {}
  void SetProgressPosition(int position) override { positions.push_back(position); }
  void ShowFileError(const std::string& message) override { messages.push_back(message); }
};

struct PackageFile {
  std::string name;  // GBK, as the record holds it
  base::Bytes bytes;
};

base::Bytes Pattern(std::size_t size, std::uint8_t seed) {
  base::Bytes b(size);
  for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 7 + (i >> 8));
  return b;
}

class InstallationWinTest : public ::testing::Test {
protected:
  void SetUp() override {
    CleanUp();
    MakeFolder(kRoot);
    MakeFolder(kInstallDir);
    MakeFolder(kDesktop);
    MakeFolder(kPrograms);
    SetShellFolder(L"Desktop", kDesktop);
    SetShellFolder(L"Programs", kPrograms);
    GetCurrentDirectoryW(MAX_PATH, saved_cwd_);

    files_ = {
        {"\\VANTO-T.exe", Pattern(150000, 1)},
        {Gbk(u8"\\说明.txt"), base::Bytes(text_.begin(), text_.end())},
        {Gbk(u8"\\sub\\目录\\数据.bin"), Pattern(4096, 9)},
        {"\\empty.dat", {}},
        {"\\*.txt", Pattern(10, 3)},
        {Gbk(u8"\\a誠.txt"), Pattern(33, 5)},  // 誠 ends in byte 0x5C
        {"\\uninstall.exe", Pattern(2048, 11)},
    };
    installer::TSetupRecord& r = *record_;
    r.Author.Assign(Gbk(u8"墨柘软件"));
    r.PublisherKey.Assign(Gbk(u8"墨柘软件测试"));
    r.WebSite.Assign(Gbk(u8"http://www.vanto.example.com/墨柘"));
    r.Version.Assign("V26.8");
    r.ProductName.Assign(Gbk(u8"VANTO 墨柘"));
    r.ShortName.Assign("VANTO-T");
    r.Date1.Assign("20240225");
    r.InstallDir.Assign(ToGbk(kInstallDir));
    for (const PackageFile& f : files_) {
      auto& e = r.Files[r.FileCount++];
      e.Name.Assign(f.name);
      e.Offset = static_cast<std::uint32_t>(package_.size());
      e.Size = static_cast<std::uint32_t>(f.bytes.size());
      package_.insert(package_.end(), f.bytes.begin(), f.bytes.end());
    }
    AddShortcut(Gbk(u8"墨柘程序"), 0, 0, Gbk(u8"-run 墨柘"));
    AddShortcut(Gbk(u8"说明"), 1, 1, "");
    AddShortcut("Both", 0, 2, "/x");

    const std::string extras = "\\" + ToGbk(kExtrasKey);
    AddValue(true, extras, Gbk(u8"名字"), installer::kRegString).StrValue.Assign(Gbk(u8"值"));
    AddValue(true, Gbk(u8"子键"), "Count", installer::kRegInteger).IntValue = -5;
    AddValue(false, extras, "Flag", installer::kRegBool).BoolValue = 1;
    AddValue(false, extras, "Number", installer::kRegInteger).IntValue = 0x12345678;
    AddValue(false, extras, "Nothing", 3).IntValue = 9;

    ini_ = installer::PackBlock(installer::RecordBytes(r));
    resources_.Set("SETUPINI", ini_);
  }

  void TearDown() override {
    SetCurrentDirectoryW(saved_cwd_);  // the Programs shortcut leaves us in the group
    CleanUp();
  }

  void CleanUp() {
    RemoveTree(kRoot);
    testing_support::DeleteProductTree(HKEY_LOCAL_MACHINE, kPublisherKey);
    testing_support::DeleteProductTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    testing_support::DeleteProductTree(HKEY_LOCAL_MACHINE, kExtrasKey);
    testing_support::DeleteProductTree(HKEY_CURRENT_USER, kExtrasKey);
  }

  void AddShortcut(const std::string& name, int file, std::uint8_t location,
                   const std::string& arguments) {
    auto& s = record_->Shortcuts[record_->ShortcutCount++];
    s.Name.Assign(name);
    s.FileIndex = file;
    s.Location = location;
    s.Arguments.Assign(arguments);
  }
  installer::TSetupRegValueEntry& AddValue(bool current_user, const std::string& key,
                                           const std::string& name, std::uint8_t kind) {
    auto& v = record_->RegValues[record_->RegValueCount++];
    v.CurrentUser = current_user;
    v.KeyPath.Assign(key);
    v.ValueName.Assign(name);
    v.Kind = kind;
    return v;
  }

  // The keys as start-up builds them.
  void Run() {
    const std::string publisher = "\\Software\\" + record_->PublisherKey.Value();
    base::MemoryStream package{base::ByteView(package_)};
    installer::InstallationContext context{*record_,
                                           package,
                                           resources_,
                                           publisher,
                                           publisher + "\\" + record_->ShortName.Value(),
                                           base::NativeFileSystem(),
                                           installer::WindowsRegistry(),
                                           installer::ShellShortcutMaker(),
                                           view_};
    installer::RunInstallation(context, state_);
  }

  const std::string text_ = Gbk(u8"墨柘软件：说明\r\n第二行\r\n");
  std::unique_ptr<installer::TSetupRecord> record_ = std::make_unique<installer::TSetupRecord>();
  std::vector<PackageFile> files_;
  base::Bytes package_, ini_;
  installer::MemoryResourceSource resources_;
  installer::InstallationState state_;
  RecordingView view_;
  wchar_t saved_cwd_[MAX_PATH] = {};
  SavedUserValue saved_[4] = {{kShellFoldersKey, L"Desktop"},
                              {kShellFoldersKey, L"Programs"},
                              {kUserShellFoldersKey, L"Desktop"},
                              {kUserShellFoldersKey, L"Programs"}};
};

TEST_F(InstallationWinTest, InstallsFilesRecordRegistryAndShortcuts) {
  ASSERT_NO_THROW(Run());
  EXPECT_EQ(state_.InstallBusy, 0);
  EXPECT_TRUE(view_.messages.empty()) << view_.messages.front();

  // Files: every name as UTF-16 on disk, every byte as in the package; the
  // pattern entry made nothing.
  EXPECT_EQ(ListNames(kInstallDir), (Names{L"VANTO-T.exe", L"V_an.cx", L"a誠.txt", L"empty.dat",
                                           L"sub", L"uninstall.exe", L"说明.txt"}));
  EXPECT_EQ(ReadFileBytes(kInstallDir + L"\\VANTO-T.exe"), files_[0].bytes);
  EXPECT_EQ(ReadFileBytes(kInstallDir + L"\\说明.txt"), files_[1].bytes);
  EXPECT_EQ(ReadFileBytes(kInstallDir + L"\\sub\\目录\\数据.bin"), files_[2].bytes);
  EXPECT_EQ(ReadFileBytes(kInstallDir + L"\\empty.dat"), base::Bytes{});
  EXPECT_EQ(ReadFileBytes(kInstallDir + L"\\a誠.txt"), files_[5].bytes);
  EXPECT_EQ(ReadFileBytes(kInstallDir + L"\\uninstall.exe"), files_[6].bytes);
  EXPECT_EQ(ReadFileBytes(kInstallDir + L"\\V_an.cx"), ini_);
  EXPECT_EQ(view_.positions, (std::vector<int>{0, 14, 28, 42, 71, 85}));

  // The product's own registry entries.
  const std::wstring dir = kInstallDir;
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kPublisherKey, L"Site"),
            Text(L"http://www.vanto.example.com/墨柘"));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kPublisherKey, L"Author"), Text(L"墨柘软件"));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kProductKey, L"Setup"), Number(1));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kProductKey, L"Version"), Text(L"V26.8"));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kProductKey, L"Folder"), Text(dir));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kProductKey, L"Date"), Text(L"20240225"));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), Text(kProduct));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString"),
            Text(L"\"" + dir + L"\\uninstall.exe\""));
  // A 64-bit installer writes the same keys as the 32-bit one: nothing lands
  // in the 64-bit view, so there is one uninstall entry, never two.
  EXPECT_FALSE(testing_support::KeyInOtherView(HKEY_LOCAL_MACHINE, kPublisherKey));
  EXPECT_FALSE(testing_support::KeyInOtherView(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_FALSE(testing_support::KeyInOtherView(HKEY_LOCAL_MACHINE, kExtrasKey));

  // The extra values, by kind and root; a relative path continues below the
  // key before it.
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kExtrasKey, L"名字"), Text(L"值"));
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kExtrasKey + L"\\子键", L"Count"),
            Number(static_cast<DWORD>(-5)));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kExtrasKey, L"Flag"), Number(1));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kExtrasKey, L"Number"), Number(0x12345678));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kExtrasKey, L"Nothing").type, 0u);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kExtrasKey + L"\\子键"));

  // Shortcuts: Location 0 on the desktop, 1 in the group, 2 in both; the
  // uninstaller's link in the group.
  EXPECT_EQ(ListNames(kDesktop), (Names{L"Both.lnk", L"墨柘程序.lnk"}));
  EXPECT_EQ(ListNames(kPrograms), Names{kProduct});
  const std::wstring group = kPrograms + L"\\" + kProduct;
  EXPECT_EQ(ListNames(group), (Names{L"Both.lnk", L"卸载VANTO 墨柘.lnk", L"说明.lnk"}));
  struct Expected {
    std::wstring link, target, arguments;
  };
  const Expected links[] = {
      {kDesktop + L"\\墨柘程序.lnk", dir + L"\\VANTO-T.exe", L"-run 墨柘"},
      {kDesktop + L"\\Both.lnk", dir + L"\\VANTO-T.exe", L"/x"},
      {group + L"\\Both.lnk", dir + L"\\VANTO-T.exe", L"/x"},
      {group + L"\\说明.lnk", dir + L"\\说明.txt", L""},
      {group + L"\\卸载VANTO 墨柘.lnk", dir + L"\\uninstall.exe", L""},
  };
  for (const Expected& e : links) {
    LinkInfo link = ReadLink(e.link);
    ASSERT_TRUE(link.loaded) << ToGbk(e.link);
    EXPECT_EQ(link.id_list_path, e.target) << ToGbk(e.link);
    EXPECT_EQ(link.arguments, e.arguments) << ToGbk(e.link);
  }
}

TEST_F(InstallationWinTest, ReadOnlyFileGetsOneMessageAndStaysAsItWas) {
  const std::wstring locked = kInstallDir + L"\\说明.txt";
  const base::Bytes old = {'o', 'l', 'd'};
  WriteFileBytes(locked, old);
  Require(SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY), "read-only attribute");

  ASSERT_NO_THROW(Run());

  EXPECT_EQ(view_.messages,
            std::vector<std::string>{installer::texts::kFileErrorMessage + ToGbk(locked)});
  EXPECT_EQ(ReadFileBytes(locked), old);
  EXPECT_EQ(GetFileAttributesW(locked.c_str()) & FILE_ATTRIBUTE_READONLY,
            static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  // The files after it, and everything after the files, still came.
  EXPECT_EQ(ReadFileBytes(kInstallDir + L"\\uninstall.exe"), files_[6].bytes);
  EXPECT_EQ(view_.positions.size(), 6u);
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), Text(kProduct));
  EXPECT_EQ(ListNames(kDesktop).size(), 2u);
  EXPECT_EQ(state_.InstallBusy, 0);
}

// Windows keeps non-volatile keys out of a volatile one, so a product key
// below a volatile publisher key cannot be created: its first value ends the
// run with the framework's message, and nothing after it is done.
TEST_F(InstallationWinTest, ProductKeyThatCannotBeCreatedEndsTheRun) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPublisherKey.c_str(), 0, nullptr,
                            REG_OPTION_VOLATILE, KEY_ALL_ACCESS | installer::kProductRegistryView,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);

  try {
    Run();
    ADD_FAILURE() << "no error";
  } catch (const base::Error& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'Setup'");
  }

  // The product key is the first thing written, so nothing else was.
  EXPECT_EQ(state_.InstallBusy, 1);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kExtrasKey));
  EXPECT_TRUE(ListNames(kDesktop).empty());
  EXPECT_TRUE(ListNames(kInstallDir).empty());
}

}  // namespace
