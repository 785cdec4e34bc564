#pragma once
// The last resort of a program that met an error it cannot name (an
// exception that is no std::exception, or one thrown while an error was
// being reported): a plain system message box in fixed English words,
// then the program ends with kLastResortExitCode. Nothing that could fail
// again is used to say so: no GBK text, no resource, no toolkit window.
#include <string>

#include "base/win_api.h"

namespace base {

// abort(), and so std::terminate, ends a process with 3; the orderly ends
// differ from it, so that a test (or a user's script) can tell them apart.
inline constexpr int kReportedErrorExitCode = 1;
inline constexpr int kLastResortExitCode = 2;

// Shows the box, naming the program by title (UTF-16; empty: "The
// program"). Never throws: when even the text cannot be put together, the
// box says the same without the title.
inline void ShowLastResortMessage(const std::wstring& title) noexcept {
  const wchar_t* fallback = L"The program met an unexpected error and has to close.";
  try {
    const std::wstring name = title.empty() ? std::wstring(L"The program") : title;
    const std::wstring text = name + L" met an unexpected error and has to close.";
    MessageBoxW(nullptr, text.c_str(), name.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
  } catch (...) {
    MessageBoxW(nullptr, fallback, L"Error", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  }
}

}  // namespace base
