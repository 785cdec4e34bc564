
#include "base/text_codec.h"
#include "framework/controls/application.h"
#include "framework/controls/form.h"

#include "base/win_api.h"
#include <commctrl.h>

namespace framework {

namespace {

// Keys a focused control can refuse (through WM_GETDLGCODE), which the form
// then uses for navigation and default/cancel buttons.
bool IsDialogKey(HWND focus, const MSG& msg) {
  const auto key = static_cast<UINT>(msg.wParam);
  if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE && key != VK_CANCEL &&
      key != VK_EXECUTE)
    return false;
  MSG copy = msg;
  const LRESULT code = SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&copy));
  if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  if (key == VK_TAB && (code & DLGC_WANTTAB)) return false;
  return true;
}

TCustomForm* FormOf(HWND window) {
  for (HWND w = window; w; w = GetParent(w)) {
    if (TWinControl* c = TWinControl::FromHandle(w)) {
      if (TCustomForm* form = c->ParentForm()) return form;
    }
  }
  return nullptr;
}

// Offers keyboard messages to the form first; true when it took them.
bool IsKeyMessageForForm(const MSG& msg) {
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
    if (!IsDialogKey(msg.hwnd, msg)) return false;
    TCustomForm* form = FormOf(msg.hwnd);
    return form && form->Perform(CM_DIALOGKEY, msg.wParam, msg.lParam) != 0;
  }
  if (msg.message == WM_SYSCHAR) {
    TCustomForm* form = FormOf(msg.hwnd);
    return form && form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
  }
  if (msg.message == WM_CHAR) {
    // A character the focused control does not take may be a button's
    // accelerator.
    const LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, 0);
    if (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) return false;
    TCustomForm* form = FormOf(msg.hwnd);
    return form && form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
  }
  return false;
}

}  // namespace

TApplication::TApplication() = default;
TApplication::~TApplication() {
  // Forms go in reverse order of creation, the main form last.
  while (!forms_.empty()) forms_.pop_back();
}

TApplication& Application() {
  static TApplication app;
  return app;
}

void TApplication::Initialize() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
}

void TApplication::SetTitle(const std::string& title) { title_ = title; }

void TApplication::AdoptForm(TCustomForm* form, bool main) {
  forms_.emplace_back(form);
  if (main || !main_form_) main_form_ = form;
}

bool TApplication::HandleMessage(bool wait) {
  MSG msg;
  if (wait) {
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      terminated_ = true;
      return false;
    }
  } else if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    return true;
  } else if (msg.message == WM_QUIT) {
    terminated_ = true;
    return false;
  }
  try {
    if (IsKeyMessageForForm(msg)) return true;
  } catch (const std::exception& e) {
    HandleException(e);
    return true;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (!terminated_ && PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (!HandleMessage(false)) break;
  }
}

void TApplication::Run() {
  if (main_form_ && !terminated_) {
    try {
      main_form_->Show();
    } catch (const std::exception& e) {
      HandleException(e);
    }
  }
  while (!terminated_) HandleMessage(true);
}

void TApplication::Terminate() {
  if (!terminated_) PostQuitMessage(0);
  terminated_ = true;
}

bool TApplication::Active() const {
  HWND active = GetActiveWindow();
  DWORD pid = 0;
  if (active) GetWindowThreadProcessId(active, &pid);
  return active && pid == GetCurrentProcessId();
}

std::string TApplication::ErrorText(std::string message) {
  if (message.empty() || message.back() != '.') message += '.';
  return message;
}

void TApplication::HandleException(const std::exception& error) {
  std::string text = ErrorText(error.what());
  if (exception_handler_) {
    exception_handler_(text);
    return;
  }
  HWND owner = GetActiveWindow();
  MessageBoxW(owner, base::GbkToWide(text).c_str(), base::GbkToWide(title_).c_str(),
              MB_OK | MB_ICONERROR);
}

}  // namespace framework
