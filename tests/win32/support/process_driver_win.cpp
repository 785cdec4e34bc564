#include "tests/win32/support/process_driver.h"

namespace testing_support {

std::optional<ChildProcess> ChildProcess::Start(const std::wstring& exe, const std::wstring& args) {
  std::wstring command = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
  std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &si, &pi))
    return std::nullopt;
  return ChildProcess(pi);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept : info_(other.info_) {
  other.info_ = PROCESS_INFORMATION{};
}

ChildProcess::~ChildProcess() {
  if (!info_.hProcess) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

std::optional<DWORD> ChildProcess::Wait(DWORD timeout_ms) {
  if (WaitForSingleObject(info_.hProcess, timeout_ms) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

namespace {

struct Search {
  DWORD process_id;
  const std::wstring* window_class;
  HWND found;
};

BOOL CALLBACK FindWindowOfClass(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (pid == search->process_id && IsWindowVisible(hwnd) && *search->window_class == cls) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND WaitForWindow(DWORD process_id, const std::wstring& window_class, DWORD timeout_ms) {
  for (DWORD waited = 0; waited <= timeout_ms; waited += 50) {
    Search search{process_id, &window_class, nullptr};
    EnumWindows(FindWindowOfClass, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(50);
  }
  return nullptr;
}

HWND WaitForDialog(DWORD process_id, DWORD timeout_ms) {
  return WaitForWindow(process_id, L"#32770", timeout_ms);
}

std::wstring WindowText(HWND hwnd) {
  wchar_t buffer[4096] = {};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer),
                      SMTO_ABORTIFHUNG, 2000, &ignored);
  return buffer;
}

std::wstring MessageBoxText(HWND box) {
  // The message of a system message box is the static control 0xFFFF.
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? WindowText(text) : L"";
}

void PressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::wstring Utf8ToWide(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

}  // namespace testing_support
