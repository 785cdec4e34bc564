#pragma once
// Message boxes: the system's, with GBK texts, owned by the active window
// of the program, so that the window waits for the answer. The answer is a
// modal result (mrOk, mrCancel, mrYes, mrNo, mrAbort, mrRetry, mrIgnore).
//
// <windows.h> turns the name MessageBox into MessageBoxW; a Windows file
// includes this header after base/win_api.h, which is where the name is
// given back.
#include <cstdint>
#include <string>

#include "framework/controls/form.h"

#ifdef MessageBox
#undef MessageBox
#endif

namespace framework {

inline constexpr int mrAbort = 3;
inline constexpr int mrRetry = 4;
inline constexpr int mrIgnore = 5;

enum class TMsgButtons : std::uint8_t {
  mbOK,
  mbOKCancel,
  mbAbortRetryIgnore,
  mbYesNoCancel,
  mbYesNo,
  mbRetryCancel,
};
enum class TMsgIcon : std::uint8_t { miNone, miError, miQuestion, miWarning, miInformation };
// Which button has the focus when the box opens.
enum class TMsgDefault : std::uint8_t { mdFirst, mdSecond, mdThird };

int MessageBox(const std::string& text, const std::string& caption, TMsgButtons buttons,
               TMsgIcon icon = TMsgIcon::miNone, TMsgDefault default_button = TMsgDefault::mdFirst);

// The program's own question: Yes and No, captioned with the application's
// title; true for Yes.
bool ConfirmDialog(const std::string& text);

}  // namespace framework
