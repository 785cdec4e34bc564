#pragma once
// Starting a Windows program from a test and driving the message boxes it
// shows, the way a user would answer them.
#include <windows.h>

#include <optional>
#include <string>

namespace testing_support {

// A started process; the destructor ends it if it is still running.
class ChildProcess {
public:
  // Starts exe (with the given command-line tail) in its own folder.
  static std::optional<ChildProcess> Start(const std::wstring& exe, const std::wstring& args = L"");
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  DWORD id() const { return info_.dwProcessId; }
  // The exit code, or nothing when it did not end within timeout_ms.
  std::optional<DWORD> Wait(DWORD timeout_ms);

private:
  explicit ChildProcess(const PROCESS_INFORMATION& info) : info_(info) {}
  PROCESS_INFORMATION info_{};
};

// The first visible dialog-class window (message boxes are) of the process,
// waiting up to timeout_ms for one to appear.
HWND WaitForDialog(DWORD process_id, DWORD timeout_ms);

// The first visible top-level window of that class in the process.
HWND WaitForWindow(DWORD process_id, const std::wstring& window_class, DWORD timeout_ms);

// A message box's caption and its message text.
std::wstring WindowText(HWND hwnd);
std::wstring MessageBoxText(HWND box);

// Presses the button with that id (IDOK, IDYES, ...): posted, since the box
// closes and the process goes on.
void PressButton(HWND dialog, int id);

std::wstring Utf8ToWide(const std::string& utf8);

}  // namespace testing_support
