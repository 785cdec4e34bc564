#pragma once
// TApplication: the one message loop, the main form, the application's
// title, and the general error report. An error that escapes an event
// handler ends up here: a message box with its text (a full stop appended
// when it has none), an error icon and the title as caption; then the
// program goes on in the state reached.
//
// Every catch of the toolkit (window and timer procedures, the message
// loop, form destruction, program entry) hands what it caught to
// HandleCurrentException, so the policy is written once: a std::exception
// is reported as above; anything else, or an error while reporting, cannot
// be put into words and gets the last resort (base/last_resort_win.h: a
// fixed English box naming the title), after which the program ends in
// order: the message loop stops and the entry point returns a non-zero
// exit code. Nothing is ever thrown into the system, so std::terminate is
// never reached.
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace framework {

class TCustomForm;

class TApplication {
public:
  TApplication();
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  void Initialize();
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);

  TCustomForm* MainForm() const { return main_form_; }
  // The first form created through CreateForm becomes the main form.
  template <typename Form>
  Form* CreateForm() {
    auto* form = new Form(nullptr);
    forms_.emplace_back(form);
    if (!main_form_) main_form_ = form;
    return form;
  }
  // Takes a form made elsewhere; the application frees it at the end.
  void AdoptForm(TCustomForm* form, bool main);
  // Frees the forms (through TComponent::Free, so each hears OnDestroy
  // while whole), in reverse order of creation, the main form last. The
  // destructor does it for whatever is left.
  void DestroyForms() noexcept;

  // Shows the main form and runs the message loop until Terminate.
  void Run();
  // Ends the message loop (as soon as it runs, when it has not started).
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles every waiting message, then returns.
  void ProcessMessages();
  // Handles one message, waiting for it when wait is set; false when the
  // message was WM_QUIT.
  bool HandleMessage(bool wait);
  bool Active() const;

  // Reports the error (see above); a report that fails itself ends in the
  // last resort. Never throws.
  void HandleException(const std::exception& error) noexcept;
  // Reports the exception being handled, of whatever type; call it inside
  // a catch block (outside one it takes the last resort). Never throws.
  void HandleCurrentException() noexcept;
  // 0 while all is well; the code of the orderly end once the last resort
  // has ended the program (or what a WM_QUIT carried), or the one the
  // program set.
  int ExitCode() const { return exit_code_; }
  // The code the program ends with, for whoever started it (a deployment
  // tool reads why an installer stopped). The first reason counts: a code
  // once set, or the last resort's, is not replaced.
  void SetExitCode(int code) {
    if (exit_code_ == 0) exit_code_ = code;
  }
  // Replaces the error report (tests record errors instead of showing them).
  using ExceptionHandler = std::function<void(const std::string& message)>;
  void SetExceptionHandler(ExceptionHandler handler) { exception_handler_ = std::move(handler); }

  // A message as the loop takes it from the queue.
  struct TQueuedMessage {
    void* window;  // HWND
    std::uint32_t msg;
    std::uintptr_t wparam;
    std::intptr_t lparam;
  };
  // Sees every queued message before anything else does (dialog keys,
  // dispatch); true: handled, it goes no further. Hooks are asked in the
  // order they were added; AddMessageHook returns the number that removes
  // the hook again (never 0). A hook may remove itself while it runs.
  using MessageHook = std::function<bool(const TQueuedMessage& message)>;
  int AddMessageHook(MessageHook hook);
  void RemoveMessageHook(int id);

  // The text the error report shows for a message: a full stop appended
  // when it does not end in one.
  static std::string ErrorText(std::string message);

private:
  struct FreeForm {
    void operator()(TCustomForm* form) const noexcept;
  };
  // The box, once (errors while it is up change nothing), then the end.
  void LastResort() noexcept;

  std::string title_;
  TCustomForm* main_form_ = nullptr;
  std::vector<std::unique_ptr<TCustomForm, FreeForm>> forms_;
  bool terminated_ = false;
  bool last_resort_taken_ = false;
  bool last_resort_showing_ = false;
  int exit_code_ = 0;
  ExceptionHandler exception_handler_;
  std::vector<std::pair<int, MessageHook>> message_hooks_;
  int last_message_hook_ = 0;
};

// The program's application object.
TApplication& Application();

// The body of a toolkit program's wWinMain: enters the GUI thread's COM
// apartment (the folder dialog, ShellExecute and shell links need one),
// sets the title errors are reported under, runs body, frees the forms
// while the apartment still stands, and leaves it. Whatever escapes body
// goes to HandleCurrentException. Returns the exit code: 0;
// base::kReportedErrorExitCode when an error escaped body;
// base::kLastResortExitCode after the last resort.
int RunProgram(const std::string& title, const std::function<void(TApplication&)>& body) noexcept;

}  // namespace framework
