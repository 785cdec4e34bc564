// The example product's program. It proves it ran by writing started.txt
// (the time and its command line, UTF-8) into its own folder, then shows a
// small window.
#include <windows.h>

#include <string>

#include "base/com_ptr_win.h"
#include "base/last_resort_win.h"

namespace {

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L'\\') + 1);
}

void WriteTrace() {
  std::wstring line = GetCommandLineW();
  SYSTEMTIME t;
  GetLocalTime(&t);
  wchar_t stamp[64];
  wsprintfW(stamp, L"%04d-%02d-%02d %02d:%02d:%02d ", t.wYear, t.wMonth, t.wDay, t.wHour,
            t.wMinute, t.wSecond);
  std::wstring text = stamp + line + L"\r\n";
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), n,
                      nullptr, nullptr);
  HANDLE f = CreateFileW((OwnFolder() + L"started.txt").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written;
  WriteFile(f, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(f);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    DrawTextW(dc, L"VANTO-X V26.8\n\n这是安装程序自带的示例产品。", -1, &r, DT_CENTER | DT_WORDBREAK);
    EndPaint(hwnd, &ps);
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

int Run(HINSTANCE instance, int show) {
  WriteTrace();
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"VantoXDemo";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowW(L"VantoXDemo", L"VANTO-X", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, 360, 160, nullptr, nullptr, instance, nullptr);
  ShowWindow(hwnd, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace

// The program stands on no toolkit, so it holds its apartment and its
// catch-all itself, with the same last resort as the toolkit's programs.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  const base::ComApartment apartment;
  try {
    return Run(instance, show);
  } catch (...) {
    base::ShowLastResortMessage(L"VANTO-X");
    return base::kLastResortExitCode;
  }
}
