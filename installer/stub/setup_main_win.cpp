// The installer's entry point: the application, the wizard window (whose
// creation runs start-up) and the message loop until the program ends.
#include "framework/controls/application.h"
#include "installer/main_form.h"

#include "base/win_api.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  framework::TApplication& app = framework::Application();
  app.Initialize();
  // Until start-up names the product, errors are reported under this title.
  app.SetTitle("Setup");
  auto* form = new installer::TMainForm(nullptr);
  app.AdoptForm(form, true);
  app.Run();
  return 0;
}
