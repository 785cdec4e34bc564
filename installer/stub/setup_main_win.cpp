// The installer's entry point while the wizard window is being built: it
// runs the payload half of start-up and reports what it found.
#include <windows.h>

#include "base/error.h"
#include "base/file_system.h"
#include "base/text_codec.h"
#include "installer/module_resources_win.h"
#include "installer/setup_package.h"
#include "installer/shell_paths.h"
#include "installer/startup_payload.h"
#include "installer/texts.h"

namespace {

std::string InstallerFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return installer::ExtractFilePath(base::WideToGbk(path));
}

int Show(const std::string& text, const std::string& caption, UINT flags) {
  return MessageBoxW(nullptr, base::GbkToWide(text).c_str(), base::GbkToWide(caption).c_str(),
                     flags);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  installer::ModuleResourceSource resources;
  installer::LoadedPayload payload;
  try {
    installer::LoadValidatedRecord(resources, base::NativeFileSystem(), InstallerFolder(),
                                   payload.record);
    const std::string title = payload.record.ProductName.Value() + installer::texts::kWizardTitleSuffix;
    bool ok = installer::LoadValidatedPackage(resources, payload.record, payload.package);
    if (!ok &&
        Show(installer::texts::kChecksumQuestion, installer::texts::kMessageCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
      return 0;
    Show(title + "\r\n" + std::to_string(payload.package->Size()) + " bytes, " +
             std::to_string(installer::UsedEntries(payload.record.FileCount)) + " files",
         installer::texts::kMessageCaption, MB_OK | MB_ICONINFORMATION);
  } catch (const base::Error& e) {
    std::string text = e.what();
    if (text.empty() || text.back() != '.') text += '.';
    Show(text, "Setup", MB_OK | MB_ICONERROR);
    return 1;
  }
  return 0;
}
