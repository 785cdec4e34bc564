// The installer's entry point: the application, the wizard window (whose
// creation runs start-up) and the message loop until the program ends.
// RunProgram holds the COM apartment and catches whatever escapes, the
// wizard's creation included (a layout that cannot be loaded).
#include "framework/controls/application.h"
#include "installer/main_form.h"

#include "base/win_api.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Until start-up names the product, errors are reported under this title.
  return framework::RunProgram("Setup", [](framework::TApplication& app) {
    app.Initialize();
    auto* form = new installer::TMainForm(nullptr);
    app.AdoptForm(form, true);
    app.Run();
  });
}
