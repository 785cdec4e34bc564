// A toolkit program that fails on purpose, in the one way its command line
// names, for error_policy_test: its entry point is RunProgram, as in the
// installer and the gallery, so what the test sees (which box, which exit
// code) is what those programs do when the same goes wrong.
//
//   failing_program click|timer|paint|report|destroy|layout|entry|close
#include <string>

#include "base/error.h"
#include "framework/controls/application.h"
#include "framework/controls/custom_control.h"
#include "framework/controls/form.h"
#include "framework/controls/form_layout.h"
#include "framework/controls/timer.h"

#include "base/win_api.h"

namespace {

using namespace framework;

// Not a std::exception: the toolkit cannot say what it is.
struct Unknown {};

class Thrower : public TCustomControl {
public:
  explicit Thrower(TComponent* owner) : TCustomControl(owner) {}
  bool throw_in_paint = false;

protected:
  void Paint() override {
    if (throw_in_paint) throw Unknown{};
  }
};

// A form whose stored layout names a handler, and whose handler lookup
// fails while the layout is being loaded.
class BrokenLayoutForm : public TForm {
public:
  explicit BrokenLayoutForm(TComponent* owner) : TForm(owner) {
    LoadLayoutText(*this, "object BrokenLayoutForm: TForm\n  OnShow = FormShow\nend\n",
                   ControlLayoutContext());
  }
  std::optional<TMethod> FindMethod(const std::string&) override { throw Unknown{}; }
};

void Post(TWinControl& control, UINT msg, WPARAM wp) {
  PostMessageW(control.Handle(), msg, wp, MAKELPARAM(5, 5));
}

void Fail(TApplication& app, const std::wstring& mode) {
  app.Initialize();
  if (mode == L"layout") {
    app.AdoptForm(new BrokenLayoutForm(nullptr), true);
    app.Run();
    return;
  }
  auto* form = app.CreateForm<TForm>();
  form->SetBounds(100, 100, 300, 200);
  auto* control = new Thrower(form);
  control->SetParent(form);
  control->SetBounds(20, 20, 100, 40);
  if (mode == L"click") {
    control->OnClick = [](TComponent*) { throw Unknown{}; };
  } else if (mode == L"report") {
    app.SetExceptionHandler([](const std::string&) { throw Unknown{}; });
    control->OnClick = [](TComponent*) { throw base::Error("Disk full"); };
  } else if (mode == L"paint") {
    control->throw_in_paint = true;
  } else if (mode == L"timer") {
    auto* timer = new TTimer(form);
    timer->SetInterval(20);
    timer->OnTimer = [](TComponent*) { throw Unknown{}; };
  } else if (mode == L"destroy") {
    // The failure comes as the forms are freed after the loop has ended.
    form->OnDestroy = [](TComponent*) { throw Unknown{}; };
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
  } else if (mode == L"entry") {
    throw base::Error("Cannot start");
  } else if (mode == L"close") {
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
  }
  if (mode == L"click" || mode == L"report") {
    Post(*control, WM_LBUTTONDOWN, MK_LBUTTON);
    Post(*control, WM_LBUTTONUP, 0);
  }
  app.Run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
  const std::wstring mode = command_line ? command_line : L"";
  return RunProgram("Failing program", [&mode](TApplication& app) { Fail(app, mode); });
}
