// The installer's entry point. Without switches: the application, the
// wizard window (whose creation runs start-up) and the message loop until
// the program ends. With /S: the installation without a window. /? and a
// command line that cannot be read show the switches (command_line.h).
// RunProgram holds the COM apartment and catches whatever escapes, the
// wizard's creation included (a layout that cannot be loaded).
#include "base/text_codec.h"
#include "framework/controls/application.h"
#include "installer/command_line.h"
#include "installer/exit_codes.h"
#include "installer/main_form.h"
#include "installer/texts.h"
#include "installer/switches_box_win.h"
#include "installer/unattended_texts.h"
#include "installer/unattended_win.h"

#include "base/win_api.h"

namespace {

void ShowSwitches(const std::wstring& problem) {
  installer::ShowSwitchesBox(installer::unattended_texts::kSwitchesHelp,
                             installer::texts::kMessageCaption, problem);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const installer::SetupCommandLine command =
      installer::ParseSetupSwitches(installer::SwitchesOf(GetCommandLineW()));
  const installer::SetupOptions& options = command.options;
  if (!command.error.empty()) {
    // A deployment tool that asked for silence gets the exit code alone.
    if (!options.silent) ShowSwitches(command.error);
    return installer::kExitBadCommandLine;
  }
  if (options.help) {
    ShowSwitches(L"");
    return installer::kExitDone;
  }
  // Until start-up names the product, errors are reported under this title.
  if (options.silent) {
    int code = installer::kExitDone;
    const int failed = framework::RunProgram(
        "Setup", [&](framework::TApplication&) { code = installer::RunUnattendedInstall(options); });
    return failed != 0 ? failed : code;
  }
  return framework::RunProgram("Setup", [&](framework::TApplication& app) {
    app.Initialize();
    auto* form = new installer::TMainForm(nullptr, options);
    app.AdoptForm(form, true);
    app.Run();
  });
}
