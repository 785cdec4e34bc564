// Folders whose names GBK cannot write: a Spanish user's "Muñoz", a Korean
// user's "한국어". The installer must run from them, install into them and
// put its shortcuts into such a desktop, under any system code page; and the
// conversion below it must never produce a look-alike path.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/system_path_win.h"
#include "base/text_codec.h"
#include "base/win_api.h"
#include "installer/texts.h"
#include "tests/host/gbk_literal.h"
#include "tests/win32/support/process_driver.h"
#include "tests/win32/support/wizard_driver.h"

namespace {

using namespace testing_support::wizard;
namespace fs = std::filesystem;

const std::wstring kInstaller = VANTO_EXAMPLE_INSTALLER;
const std::wstring kResources = VANTO_EXAMPLE_RESOURCES;

const std::wstring kSpanish = L"Mu\x00F1oz";            // Muñoz
const std::wstring kKorean = L"\xD55C\xAD6D\xC5B4";      // 한국어
const std::wstring kChinese = L"\x58A8\x67D8";           // 墨柘, which GBK has


std::wstring LongPath(const std::wstring& path) {
  wchar_t buffer[1024] = {};
  DWORD n = GetLongPathNameW(path.c_str(), buffer, 1024);
  return n > 0 && n < 1024 ? std::wstring(buffer, n) : L"(none: " + path + L")";
}

std::wstring FreshFolder(const std::wstring& path) {
  fs::remove_all(path);
  fs::create_directories(path);
  return path;
}

// ---------------------------------------------------------------------------
// The conversion

TEST(SystemPathToGbk, APathThatGbkWritesIsTakenAsItIsWhetherOrNotItExists) {
  const std::wstring path = L"C:\\" + kChinese + L"\\not-made-yet\\x.txt";
  auto gbk = base::SystemPathToGbk(path);
  ASSERT_TRUE(gbk);
  EXPECT_EQ(base::GbkToWide(*gbk), path);
}

TEST(SystemPathToGbk, ACharacterWithoutAGbkFormIsNeverApproximated) {
  // A best-fit mapping would turn ñ into n and name another folder.
  EXPECT_FALSE(base::EncodeExactly(936, kSpanish));
  EXPECT_FALSE(base::EncodeExactly(936, kKorean));
  EXPECT_EQ(base::EncodeExactly(936, kChinese), testing_support::Gbk(u8"墨柘"));
  EXPECT_EQ(base::EncodeExactly(936, L""), std::string());
}

class ForeignName : public ::testing::TestWithParam<std::wstring> {};

TEST_P(ForeignName, AnExistingComponentTakesItsShortNameAndTheRestStays) {
  const std::wstring parent = FreshFolder(L"C:\\vanto-paths\\" + GetParam() + L" folder");
  const std::wstring path = parent + L"\\" + kChinese + L"\\file.txt";  // below it: not made
  auto gbk = base::SystemPathToGbk(path);
  ASSERT_TRUE(gbk) << "no short name under this system";
  const std::wstring back = base::GbkToWide(*gbk);
  EXPECT_EQ(back.find(L'?'), std::wstring::npos);
  // The components GBK writes are kept, the foreign one is replaced.
  const std::wstring tail = L"\\" + kChinese + L"\\file.txt";
  ASSERT_GT(back.size(), tail.size());
  EXPECT_EQ(back.rfind(L"C:\\vanto-paths\\", 0), 0u);
  EXPECT_EQ(back.substr(back.size() - tail.size()), tail);
  // And it names the same folder.
  EXPECT_EQ(LongPath(back.substr(0, back.size() - tail.size())), parent);
}

TEST_P(ForeignName, AForeignComponentThatDoesNotExistHasNoForm) {
  fs::remove_all(L"C:\\vanto-paths\\" + GetParam());
  EXPECT_FALSE(base::SystemPathToGbk(L"C:\\vanto-paths\\" + GetParam()));
  EXPECT_FALSE(base::SystemPathToGbk(L"Q:\\" + GetParam() + L"\\x"));
}

INSTANTIATE_TEST_SUITE_P(Names, ForeignName, ::testing::Values(kSpanish, kKorean));

// ---------------------------------------------------------------------------
// The installer, end to end

// One value of the current user's registry, set for the time of one test.
class UserValue {
public:
  UserValue(const wchar_t* key, const wchar_t* name, const std::wstring& value) : name_(name) {
    RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                    nullptr, &key_, nullptr);
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    if (RegQueryValueExW(key_, name, nullptr, &type_, reinterpret_cast<BYTE*>(buffer), &size) ==
        ERROR_SUCCESS)
      old_ = std::wstring(buffer);
    Set(REG_SZ, value);
  }
  ~UserValue() {
    if (old_) Set(type_, *old_);
    else RegDeleteValueW(key_, name_);
    RegCloseKey(key_);
  }
  UserValue(const UserValue&) = delete;
  UserValue& operator=(const UserValue&) = delete;

private:
  void Set(DWORD type, const std::wstring& value) {
    RegSetValueExW(key_, name_, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  HKEY key_ = nullptr;
  const wchar_t* name_;
  DWORD type_ = REG_SZ;
  std::optional<std::wstring> old_;
};

// The desktop pointed elsewhere: the shell keeps "Shell Folders" in step
// with "User Shell Folders", so both are set.
struct DesktopFolder {
  explicit DesktopFolder(const std::wstring& folder)
      : user(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
             L"Desktop", folder),
        legacy(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
               L"Desktop", folder) {}
  UserValue user, legacy;
};

class ForeignInstallation : public ::testing::TestWithParam<std::wstring> {
protected:
  // Every test starts as a first installation and leaves none behind.
  void SetUp() override { ForgetEarlierInstallation(); }
  void TearDown() override {
    ForgetEarlierInstallation();
    system("taskkill /im VANTO-X.exe /f >nul 2>nul");
  }
};

TEST_P(ForeignInstallation, StartedFromInstallingIntoAndLinkingOnAForeignNamedDesktop) {
  const std::wstring name = GetParam();
  // Started from the user's downloads, as every user does.
  const std::wstring downloads = FreshFolder(L"C:\\users\\" + name + L"\\Descargas");
  const std::wstring exe = downloads + L"\\VANTO-X-setup.exe";
  ASSERT_TRUE(CopyFileW(kInstaller.c_str(), exe.c_str(), FALSE));
  const std::wstring desktop = FreshFolder(L"C:\\users\\" + name + L"\\Escritorio");
  DesktopFolder desktop_setting(desktop);
  const std::wstring target = L"C:\\Program Files\\" + name + L" VANTO";  // not there yet
  fs::remove_all(target);

  Wizard w(exe);
  ASSERT_TRUE(w.window) << "the wizard did not open; a message said: "
                        << base::WideToGbkLossy(w.Answer(IDOK));
  EXPECT_FALSE(fs::exists(downloads + L"\\tmp.cx"));
  w.ToFolderPage();
  w.SetFolder(target);
  ClickButton(w.Button(kNext));  // to the confirmation page
  ASSERT_TRUE(fs::is_directory(target));
  ClickButton(w.Button(kNext));  // install
  HWND finish = w.WaitForFinish();
  ASSERT_TRUE(finish) << "the wizard did not reach the finish page";

  PackagedProduct(kResources).ExpectInstalledIn(target);
  // The folder recorded in a form GBK writes (its foreign component by its
  // short name), naming the folder the files went to.
  const std::wstring recorded = RegString(HKEY_LOCAL_MACHINE, kProductKey, L"Folder");
  EXPECT_EQ(recorded.find(L'?'), std::wstring::npos) << base::WideToGbkLossy(recorded);
  EXPECT_EQ(LongPath(recorded), target);
  EXPECT_TRUE(fs::exists(desktop + L"\\VANTO-X.lnk")) << "no desktop shortcut";

  // The program starts through the launch batch file, written beside the
  // installer in its foreign-named folder.
  ClickButton(finish);
  EXPECT_EQ(w.process->Wait(10000), 0u);
  bool started = false;
  for (int i = 0; i < 150 && !started; ++i, Sleep(100)) started = fs::exists(target + L"\\started.txt");
  EXPECT_TRUE(started) << "the installed program did not start";
}

TEST_P(ForeignInstallation, AForeignFolderThatCannotBeMadeIsRefusedByName) {
  Wizard w(kInstaller);
  ASSERT_TRUE(w.window);
  w.ToFolderPage();
  // Drive Q: does not exist in the rig: the folder cannot be made, so it has
  // no short name, and no GBK form.
  const std::wstring folder = L"Q:\\" + GetParam();
  w.SetFolder(folder);
  ClickButton(w.Button(kNext));
  EXPECT_EQ(w.Answer(IDOK), base::FormatWithPath(installer::texts::kUnusableFolder, folder));
  // Still on the folder page, with the text as typed.
  EXPECT_EQ(w.Folder(), folder);
  EXPECT_TRUE(w.Shows(kPrev));
}

INSTANTIATE_TEST_SUITE_P(Names, ForeignInstallation, ::testing::Values(kSpanish, kKorean));

}  // namespace
