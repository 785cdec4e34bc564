#include "installer/unattended_win.h"

#include <exception>
#include <memory>

#include "base/error.h"
#include "base/file_system.h"
#include "base/system_path_win.h"
#include "base/text_codec.h"
#include "installer/exit_codes.h"
#include "installer/finish_actions_win.h"
#include "installer/install_log_win.h"
#include "installer/installation.h"
#include "installer/module_resources_win.h"
#include "installer/registry_win.h"
#include "installer/shell.h"
#include "installer/shell_shortcuts_win.h"
#include "installer/startup_payload.h"
#include "installer/texts.h"
#include "installer/wizard_rules.h"

#include "base/win_api.h"
#include <shlobj.h>

namespace installer {
namespace {

// The folder checks of the wizard's folder page, on a file system that
// claims every folder exists: the text's form is judged and nothing is
// made. The real check, which makes the folder, comes once everything else
// has passed.
class EverythingExists final : public base::FileSystem {
public:
  bool FileExists(const std::string&) override { return false; }
  bool DirectoryExists(const std::string&) override { return true; }
  bool MakeDirectory(const std::string&) override { return true; }
  bool RemoveEmptyDirectory(const std::string&) override { return false; }
  bool RemoveFile(const std::string&) override { return false; }
  base::Bytes ReadWholeFile(const std::string& path) override {
    throw base::Error("Cannot open file \"" + path + "\"");
  }
  void WriteWholeFile(const std::string& path, base::ByteView) override {
    throw base::Error("Cannot create file \"" + path + "\"");
  }
};

struct Refusal {
  std::string reason;  // GBK
};

// /D's folder as GBK, made first when its name has characters GBK lacks
// (only an existing folder has a short form).
std::string FolderSwitchToGbk(const std::wstring& folder) {
  if (auto exact = base::EncodeExactly(936, folder)) return *exact;
  if (auto gbk = base::SystemPathToGbk(folder)) return *gbk;
  SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  if (auto gbk = base::SystemPathToGbk(folder)) return *gbk;
  throw Refusal{base::WideToGbkLossy(base::FormatWithPath(texts::kUnusableFolder, folder))};
}

void RefuseBadFolderForm(const std::wstring& folder) {
  EverythingExists pretend;
  const FolderDecision d = ValidateTargetFolder(base::WideToGbkLossy(folder), pretend);
  if (d.message) throw Refusal{std::string("the folder \"") + d.folder + "\": " + d.message};
}

class Unattended {
public:
  explicit Unattended(const SetupOptions& options) : options_(options) {}

  int Run() {
    if (options_.log) log_ = std::make_unique<FileInstallLog>(*options_.log);
    try {
      Check();
    } catch (const Refusal& r) {
      Log("REFUSED: " + r.reason);
      return kExitRefused;
    } catch (const std::exception& e) {
      Log(std::string("REFUSED: ") + e.what());
      return kExitRefused;
    }
    return Install();
  }

private:
  void Log(const std::string& line) { LogLine(log_.get(), line); }

  // Everything that may refuse, in the wizard's order; nothing is written
  // but the short-lived "tmp.cx" in the installer's own folder.
  void Check() {
    if (options_.folder) RefuseBadFolderForm(*options_.folder);
    LoadValidatedRecord(resources_, base::NativeFileSystem(), OwnProgramFolder(), record_);
    Log("Setup of " + record_.ProductName.Value() + " " + record_.Version.Value());
    publisher_key_ = "\\Software\\" + record_.PublisherKey.Value();
    product_key_ = publisher_key_ + "\\" + record_.ShortName.Value();
    if (!LoadValidatedPackage(resources_, record_, package_))
      throw Refusal{"the package does not match its checksum: it is damaged"};
    const EarlierInstallation earlier = ReadEarlierInstallation(product_key_, false);
    if (earlier.installed) Log("Earlier installation in " + earlier.folder + ": overwritten");
    std::string folder;
    if (options_.folder) {
      folder = FolderSwitchToGbk(*options_.folder);
    } else {
      const std::string drive = DirectoryExists("D: ") ? "D:\\" : "C:\\";
      folder = InitialInstallDir(earlier.folder, DirectoryExists(earlier.folder), drive,
                                 record_.ShortName.Value());
    }
    const FolderDecision d = ValidateTargetFolder(folder, base::NativeFileSystem());
    if (d.message || !d.accepted)
      throw Refusal{"the folder \"" + d.folder + "\": " + (d.message ? d.message : "not usable")};
    record_.InstallDir.Assign(d.folder);
  }

  int Install() {
    StopProcessesNamed(kProductProgramName);
    StopProcessesNamed(kUpdaterProgramName);
    // The copying page without a page: a file that cannot be written is
    // in the log already, and in FailedFiles.
    SilentInstallView view;
    InstallationContext context{record_,           *package_,
                                resources_,        publisher_key_,
                                product_key_,      base::NativeFileSystem(),
                                WindowsRegistry(), ShellShortcutMaker(),
                                view,              log_.get()};
    InstallationState state;
    try {
      RunInstallation(context, state);
    } catch (const std::exception& e) {
      Log(std::string("FAILED: ") + e.what() + "; the installation stopped there");
      return kExitDoneWithErrors;
    }
    if (!state.FailedFiles.empty()) {
      Log("Installed with errors: " + std::to_string(state.FailedFiles.size()) +
          " files could not be written");
      return kExitDoneWithErrors;
    }
    Log("Installed");
    return kExitDone;
  }

  const SetupOptions& options_;
  std::unique_ptr<FileInstallLog> log_;
  ModuleResourceSource resources_;
  // 207 KB: not on the stack of the program's entry.
  std::unique_ptr<TSetupRecord> record_holder_ = std::make_unique<TSetupRecord>();
  TSetupRecord& record_ = *record_holder_;
  std::unique_ptr<base::MemoryStream> package_;
  std::string publisher_key_, product_key_;
};

}  // namespace

int RunUnattendedInstall(const SetupOptions& options) noexcept {
  try {
    return Unattended(options).Run();
  } catch (...) {
    // The log could not be made, or memory ran out before anything was
    // written: nothing of the product is there.
    return kExitRefused;
  }
}

std::optional<std::string> FolderSwitchForWizard(const std::wstring& folder) {
  if (auto exact = base::EncodeExactly(936, folder)) return *exact;
  return base::SystemPathToGbk(folder);
}

}  // namespace installer
