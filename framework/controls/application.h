#pragma once
// TApplication: the one message loop, the main form, the application's
// title, and the general error report. An error that escapes an event
// handler ends up here: a message box with its text (a full stop appended
// when it has none), an error icon and the title as caption; then the
// program goes on in the state reached.
#include <exception>
#include <functional>
#include <memory>
#include <string>
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

  void HandleException(const std::exception& error);
  // Replaces the error report (tests record errors instead of showing them).
  using ExceptionHandler = std::function<void(const std::string& message)>;
  void SetExceptionHandler(ExceptionHandler handler) { exception_handler_ = std::move(handler); }

  // The text the error report shows for a message: a full stop appended
  // when it does not end in one.
  static std::string ErrorText(std::string message);

private:
  std::string title_;
  TCustomForm* main_form_ = nullptr;
  std::vector<std::unique_ptr<TCustomForm>> forms_;
  bool terminated_ = false;
  ExceptionHandler exception_handler_;
};

// The program's application object.
TApplication& Application();

}  // namespace framework
