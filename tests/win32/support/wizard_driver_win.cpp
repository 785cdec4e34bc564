#include "tests/win32/support/wizard_driver.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "base/file_system.h"
#include "base/system_path_win.h"
#include "base/text_codec.h"
#include "installer/packed_block.h"
#include "installer/record_file.h"
#include "installer/registry_win.h"
#include "installer/setup_package.h"
#include "tests/win32/support/product_registry.h"

namespace testing_support::wizard {
namespace {

struct ChildSearch {
  std::wstring cls, text;
  bool visible_only = true;
  HWND found = nullptr;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<ChildSearch*>(param);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (s->cls != cls) return TRUE;
  if (!s->text.empty() && WindowText(hwnd) != s->text) return TRUE;
  if (s->visible_only && !IsWindowVisible(hwnd)) return TRUE;
  s->found = hwnd;
  return FALSE;
}

}  // namespace

HWND Child(HWND parent, const std::wstring& cls, const std::wstring& text) {
  ChildSearch s{cls, text};
  EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND AnyChild(HWND parent, const std::wstring& cls, const std::wstring& text) {
  ChildSearch s{cls, text, false};
  EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::wstring Wide(const char* gbk) { return base::GbkToWide(gbk); }

void ClickButton(HWND button) {
  PostMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  Sleep(400);
}

Wizard::Wizard(const std::wstring& exe, bool wait_for_window, const std::wstring& args)
    : process(ChildProcess::Start(exe, args)) {
  if (process && wait_for_window) WaitForWindow(20000);
}

bool Wizard::WaitForWindow(DWORD timeout_ms) {
  window = testing_support::WaitForWindow(process->id(), L"VantoControl", timeout_ms);
  return window != nullptr;
}

HWND Wizard::Button(const char* caption_gbk) {
  return Child(window, L"VantoControl", Wide(caption_gbk));
}

bool Wizard::Shows(const char* caption_gbk) {
  HWND button = AnyChild(window, L"VantoControl", Wide(caption_gbk));
  return button && IsWindowVisible(button);
}

bool Wizard::InView(const char* caption_gbk) {
  HWND button = AnyChild(window, L"VantoControl", Wide(caption_gbk));
  if (!button || !IsWindowVisible(button)) return false;
  RECT r{}, client{}, overlap{};
  GetWindowRect(button, &r);
  MapWindowPoints(nullptr, GetParent(button), reinterpret_cast<POINT*>(&r), 2);
  GetClientRect(GetParent(button), &client);
  return IntersectRect(&overlap, &r, &client) != FALSE;
}

std::wstring Wizard::Answer(int id) {
  HWND box = WaitForDialog(process->id(), 10000);
  if (!box) return L"(no message)";
  std::wstring text = MessageBoxText(box);
  PressButton(box, id);
  Sleep(300);
  return text;
}

void Wizard::SetFolder(const std::wstring& folder) {
  HWND edit = Child(window, L"Edit");
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
}

std::wstring Wizard::Folder() { return WindowText(Child(window, L"Edit")); }

void Wizard::ToFolderPage() {
  ClickButton(Button(kNext));
  ClickButton(Button(kAgree));
}

HWND Wizard::WaitForFinish(DWORD timeout_ms) {
  HWND finish = nullptr;
  for (DWORD waited = 0; waited < timeout_ms && !finish; waited += 100, Sleep(100))
    finish = Button(kFinish);
  return finish;
}

void ForgetEarlierInstallation() {
  DeleteProductValue(HKEY_LOCAL_MACHINE, kProductKey, L"Setup");
  DeleteProductValue(HKEY_LOCAL_MACHINE, kProductKey, L"Folder");
}

EarlierInstallation::EarlierInstallation(const std::wstring& folder) {
  HKEY key = nullptr;
  ok_ = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0,
                        KEY_SET_VALUE | installer::kProductRegistryView, nullptr, &key,
                        nullptr) == ERROR_SUCCESS;
  if (!ok_) return;
  const DWORD setup = 1;
  ok_ = RegSetValueExW(key, L"Setup", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&setup),
                       sizeof setup) == ERROR_SUCCESS &&
        RegSetValueExW(key, L"Folder", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  RegCloseKey(key);
}

base::Bytes ReadFileW(const std::wstring& path) {
  auto gbk = base::SystemPathToGbk(path);
  if (!gbk) throw std::runtime_error("no GBK form for a test path");
  return base::NativeFileSystem().ReadWholeFile(*gbk);
}

PackagedProduct::PackagedProduct(const std::wstring& resources)
    : record(std::make_unique<installer::TSetupRecord>()),
      setup_ini(ReadFileW(resources + L"\\SETUPINI")),
      package(installer::UnpackToBuffer(ReadFileW(resources + L"\\SETUPPACK"))) {
  installer::LoadRecordBytes(*record, installer::UnpackBlock(setup_ini));
}

std::wstring PackagedProduct::Name(int i) const {
  return base::GbkToWide(record->Files[i].Name.Value());
}

base::Bytes PackagedProduct::Bytes(int i) {
  return installer::ReadPackageFile(package, record->Files[i]);
}

int PackagedProduct::Index(const std::wstring& name) const {
  for (int i = 0; i < FileCount(); ++i)
    if (Name(i) == name) return i;
  return -1;
}

void PackagedProduct::ExpectInstalledIn(const std::wstring& target, const std::wstring& except) {
  for (int i = 0; i < FileCount(); ++i) {
    if (Name(i) == except) continue;
    EXPECT_EQ(ReadFileW(target + Name(i)), Bytes(i)) << record->Files[i].Name.Value();
  }
  EXPECT_EQ(ReadFileW(target + L"\\" + base::GbkToWide(installer::kInstalledRecordFileName)),
            setup_ini);
}

std::optional<DWORD> RegDword(HKEY root, const std::wstring& key, const std::wstring& name) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | installer::kProductRegistryView, &h) !=
      ERROR_SUCCESS)
    return std::nullopt;
  DWORD value = 0, size = sizeof value;
  const LONG status =
      RegGetValueW(h, nullptr, name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size);
  RegCloseKey(h);
  if (status != ERROR_SUCCESS) return std::nullopt;
  return value;
}

std::wstring RegString(HKEY root, const std::wstring& key, const std::wstring& name) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer;
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | installer::kProductRegistryView, &h) !=
      ERROR_SUCCESS)
    return L"(missing)";
  const LONG status = RegGetValueW(h, nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, buffer, &size);
  RegCloseKey(h);
  if (status != ERROR_SUCCESS) return L"(missing)";
  return buffer;
}

}  // namespace testing_support::wizard
