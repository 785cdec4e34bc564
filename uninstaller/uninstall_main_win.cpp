// Uninstall.exe: removes what the installation of its product wrote, as its
// record copy (V_an.cx, beside it) names it. One question, then the work,
// then one message; /S does the same without either, /LOG writes every
// step, and the exit code tells deployment tools how it went
// (installer/exit_codes.h). It needs no window of its own, so it stands on
// no toolkit: message boxes and a catch-all at the entry are all it shows.
#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "base/error.h"
#include "base/file_system.h"
#include "base/last_resort_win.h"
#include "base/system_path_win.h"
#include "base/text_codec.h"
#include "base/win_api.h"
#include "installer/command_line.h"
#include "installer/exit_codes.h"
#include "installer/finish_actions.h"
#include "installer/finish_actions_win.h"
#include "installer/install_log_win.h"
#include "installer/record_file.h"
#include "installer/shell_paths.h"
#include "installer/switches_box_win.h"
#include "uninstaller/installed_record.h"
#include "uninstaller/uninstall_command_line.h"
#include "uninstaller/uninstall_plan.h"
#include "uninstaller/uninstall_run.h"
#include "uninstaller/uninstall_seams_win.h"
#include "uninstaller/uninstall_texts.h"

namespace {

using uninstaller::UninstallOptions;
namespace texts = uninstaller::texts;

std::wstring Wide(const std::string& gbk) { return base::GbkToWide(gbk); }

std::wstring Format(const char* pattern, const std::string& gbk_argument) {
  return Wide(base::FormatText(pattern, {gbk_argument}));
}

// The running program's own file, as the system names it.
std::wstring OwnModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// Whether folder holds anything but the file named except (what the clean-up
// will delete).
bool HoldsOtherThan(const std::wstring& folder, const std::wstring& except) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool other = false;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L".." &&
        CompareStringOrdinal(name.c_str(), -1, except.c_str(), -1, TRUE) != CSTR_EQUAL)
      other = true;
  } while (!other && FindNextFileW(search, &found));
  FindClose(search);
  return other;
}

class Uninstall {
public:
  explicit Uninstall(const UninstallOptions& options) : options_(options) {}

  int Run() {
    const std::wstring own_path = OwnModulePath();
    const std::size_t cut = own_path.find_last_of(L'\\');
    own_folder_ = own_path.substr(0, cut);
    own_name_ = own_path.substr(cut + 1);
    // Not the install folder: a process's current folder cannot be removed.
    wchar_t temp[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH + 1, temp)) SetCurrentDirectoryW(temp);

    if (options_.log) {
      try {
        log_ = std::make_unique<installer::FileInstallLog>(*options_.log);
      } catch (const std::exception&) {
        return Refuse(base::FormatWithPath(texts::kLogUnwritable, *options_.log));
      }
    }
    const std::optional<std::string> folder = base::SystemPathToGbk(own_folder_ + L"\\");
    if (!folder) {
      Log("REFUSED: the uninstaller's folder has no GBK form, not even a short one");
      return Refuse(base::FormatWithPath(texts::kUnusableOwnFolder, own_folder_));
    }

    const std::string record_path = *folder + installer::kInstalledRecordFileName;
    std::unique_ptr<installer::TSetupRecord> record;
    try {
      record = uninstaller::ReadInstalledRecord(base::NativeFileSystem(), record_path);
    } catch (const std::exception& e) {
      Log(std::string("REFUSED: ") + e.what());
      return Refuse(
          base::FormatWithPath(texts::kRecordUnreadable,
                               own_folder_ + L"\\" + Wide(installer::kInstalledRecordFileName)) +
          L"\r\n\r\n" + Wide(e.what()));
    }
    product_ = record->ProductName.Value();

    if (!options_.silent &&
        Ask(Format(texts::kConfirmQuestion, product_), MB_YESNO | MB_ICONQUESTION) != IDYES) {
      Log("Cancelled: nothing was removed");
      return installer::kExitCancelled;
    }
    // As the installer does before it writes: a running program keeps its
    // files.
    installer::StopProcessesNamed(installer::kProductProgramName);
    installer::StopProcessesNamed(installer::kUpdaterProgramName);

    const std::optional<std::string> own_name = base::SystemPathToGbk(own_path);
    const uninstaller::UninstallPlan plan = uninstaller::MakeUninstallPlan(
        *record, *folder, own_name ? installer::ExtractFileName(*own_name) : std::string());
    const uninstaller::UninstallResult result = uninstaller::RunUninstall(
        plan, {base::NativeFileSystem(), uninstaller::SystemRegistryEraser(),
               uninstaller::SystemShortcutRemover(), log_.get()});

    if (!options_.silent) Tell(FinalMessage(result), result.failed.empty());
    // Last, once the message is closed: the batch waits only so long for
    // this program to end.
    bool scheduled = uninstaller::ScheduleCleanup(own_path, own_folder_);
    Log(scheduled ? "Clean-up started: the uninstaller and then the empty install folder go"
                  : "FAILED clean-up: the batch could not be started; the uninstaller stays");
    return result.failed.empty() && scheduled ? installer::kExitDone
                                              : installer::kExitDoneWithErrors;
  }

private:
  void Log(const std::string& line) { installer::LogLine(log_.get(), line); }

  std::wstring Caption() const {
    return product_.empty() ? Wide(texts::kCaption) : Wide(product_ + texts::kCaptionSuffix);
  }

  int Ask(const std::wstring& text, UINT flags) const {
    return MessageBoxW(nullptr, text.c_str(), Caption().c_str(), flags | MB_SETFOREGROUND);
  }

  void Tell(const std::wstring& text, bool fine) const {
    Ask(text, MB_OK | (fine ? MB_ICONINFORMATION : MB_ICONWARNING));
  }

  int Refuse(const std::wstring& text) {
    if (!options_.silent) Ask(text, MB_OK | MB_ICONERROR);
    return installer::kExitRefused;
  }

  std::wstring FinalMessage(const uninstaller::UninstallResult& result) const {
    std::wstring text;
    if (result.failed.empty()) {
      text = Format(texts::kDone, product_);
    } else {
      text = Format(texts::kDoneWithErrors, product_);
      const std::size_t listed = std::min<std::size_t>(result.failed.size(), texts::kListedItems);
      for (std::size_t i = 0; i < listed; ++i) text += L"\r\n" + Wide(result.failed[i]);
      if (result.failed.size() > listed)
        text += L"\r\n" + Format(texts::kMoreItems, std::to_string(result.failed.size() - listed));
    }
    if (HoldsOtherThan(own_folder_, own_name_))
      text += L"\r\n\r\n" + base::FormatWithPath(texts::kFolderKept, own_folder_);
    return text;
  }

  const UninstallOptions& options_;
  std::unique_ptr<installer::FileInstallLog> log_;
  std::wstring own_folder_;  // without a trailing backslash
  std::wstring own_name_;
  std::string product_;
};

void ShowSwitches(const std::wstring& problem) {
  installer::ShowSwitchesBox(texts::kSwitchesHelp, texts::kCaption, problem);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const uninstaller::UninstallCommandLine command =
      uninstaller::ParseUninstallSwitches(installer::SwitchesOf(GetCommandLineW()));
  const UninstallOptions& options = command.options;
  if (!command.error.empty()) {
    // A deployment tool that asked for silence gets the exit code alone.
    if (!options.silent) ShowSwitches(command.error);
    return installer::kExitBadCommandLine;
  }
  if (options.help) {
    ShowSwitches(L"");
    return installer::kExitDone;
  }
  try {
    return Uninstall(options).Run();
  } catch (const std::exception& e) {
    if (!options.silent) {
      const std::wstring text = Format(texts::kUnexpectedError, e.what());
      MessageBoxW(nullptr, text.c_str(), Wide(texts::kCaption).c_str(), MB_OK | MB_ICONERROR);
    }
    return base::kReportedErrorExitCode;
  } catch (...) {
    if (!options.silent) base::ShowLastResortMessage(L"Uninstall");
    return base::kLastResortExitCode;
  }
}
