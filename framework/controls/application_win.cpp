
#include "base/com_ptr_win.h"
#include "base/last_resort_win.h"
#include "base/system_path_win.h"
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

// A WM_QUIT already posted (the program is ending, and a form's OnDestroy
// failed on the way out) would close a message box at once, before anyone
// read it: it is held back while the box is up and posted again after.
class HeldQuit {
public:
  HeldQuit() noexcept {
    MSG msg;
    held_ = PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    if (held_) code_ = static_cast<int>(msg.wParam);
  }
  HeldQuit(const HeldQuit&) = delete;
  HeldQuit& operator=(const HeldQuit&) = delete;
  ~HeldQuit() {
    if (held_) PostQuitMessage(code_);
  }

private:
  bool held_ = false;
  int code_ = 0;
};

}  // namespace

void TApplication::FreeForm::operator()(TCustomForm* form) const noexcept {
  TComponent::Free(form);
}

TApplication::TApplication() = default;
TApplication::~TApplication() { DestroyForms(); }

void TApplication::DestroyForms() noexcept {
  // Forms go in reverse order of creation, the main form last.
  while (!forms_.empty()) {
    TCustomForm* form = forms_.back().get();
    // The main form stays MainForm() for its own OnDestroy.
    forms_.back().reset();
    forms_.pop_back();
    if (form == main_form_) main_form_ = nullptr;
  }
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

int TApplication::AddMessageHook(MessageHook hook) {
  message_hooks_.emplace_back(++last_message_hook_, std::move(hook));
  return last_message_hook_;
}

void TApplication::RemoveMessageHook(int id) {
  std::erase_if(message_hooks_, [id](const auto& entry) { return entry.first == id; });
}

void TApplication::AdoptForm(TCustomForm* form, bool main) {
  forms_.emplace_back(form);
  if (main || !main_form_) main_form_ = form;
}

bool TApplication::HandleMessage(bool wait) {
  MSG msg;
  if (wait) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      terminated_ = true;
      if (got == 0 && exit_code_ == 0) exit_code_ = static_cast<int>(msg.wParam);
      return false;
    }
  } else if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    return true;
  } else if (msg.message == WM_QUIT) {
    terminated_ = true;
    if (exit_code_ == 0) exit_code_ = static_cast<int>(msg.wParam);
    return false;
  }
  try {
    if (!message_hooks_.empty()) {
      const TQueuedMessage queued{msg.hwnd, msg.message, msg.wParam, msg.lParam};
      // A copy: a hook may add or remove hooks.
      const auto hooks = message_hooks_;
      for (const auto& [id, hook] : hooks)
        if (hook(queued)) return true;
    }
    if (IsKeyMessageForForm(msg)) return true;
  } catch (...) {
    HandleCurrentException();
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
    } catch (...) {
      HandleCurrentException();
    }
  }
  while (!terminated_) HandleMessage(true);
}

void TApplication::Terminate() {
  if (!terminated_) PostQuitMessage(exit_code_);
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

void TApplication::HandleException(const std::exception& error) noexcept {
  try {
    std::string text = ErrorText(error.what());
    if (exception_handler_) {
      exception_handler_(text);
      return;
    }
    HWND owner = GetActiveWindow();
    // An error that names a folder GBK cannot write carries its exact text.
    const auto* wide_error = dynamic_cast<const base::WideTextError*>(&error);
    const std::wstring wide_text = wide_error ? wide_error->wide_text() : base::GbkToWide(text);
    const std::wstring wide_title = base::GbkToWide(title_);
    const HeldQuit held;
    MessageBoxW(owner, wide_text.c_str(), wide_title.c_str(), MB_OK | MB_ICONERROR);
  } catch (...) {
    // The report itself failed (no memory for the text, a reporter that
    // throws): the error cannot be told.
    LastResort();
  }
}

void TApplication::HandleCurrentException() noexcept {
  const std::exception_ptr error = std::current_exception();
  if (!error) {
    LastResort();
    return;
  }
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    HandleException(e);
  } catch (...) {
    LastResort();
  }
}

void TApplication::LastResort() noexcept {
  exit_code_ = base::kLastResortExitCode;
  if (last_resort_taken_) {
    // The box runs a message loop, and what it dispatches (a timer, a
    // paint) may fail again: no second box, and no end yet either, since a
    // WM_QUIT would close the box before anyone has read it.
    if (!last_resort_showing_) Terminate();
    return;
  }
  last_resort_taken_ = true;
  std::wstring title;
  try {
    title = base::GbkToWide(title_);
  } catch (...) {
    title.clear();  // the box names no program then
  }
  last_resort_showing_ = true;
  {
    const HeldQuit held;
    base::ShowLastResortMessage(title);
  }
  last_resort_showing_ = false;
  Terminate();
}

int RunProgram(const std::string& title, const std::function<void(TApplication&)>& body) noexcept {
  TApplication& app = Application();
  bool escaped = false;
  {
    const base::ComApartment apartment;
    try {
      app.SetTitle(title);
      body(app);
    } catch (...) {
      escaped = true;
      app.HandleCurrentException();
    }
    // While the apartment stands: forms may hold what needs it.
    app.DestroyForms();
  }
  if (app.ExitCode() != 0) return app.ExitCode();
  return escaped ? base::kReportedErrorExitCode : 0;
}

}  // namespace framework
