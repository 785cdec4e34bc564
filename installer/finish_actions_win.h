#pragma once
// The wizard's actions around the installation, on Windows: stopping the
// product's running programs, the tutorial page, starting the installed
// programs and showing the install folder. Every one of them fails silently:
// they are conveniences, and none of their failures is worth a message.
// Texts are GBK; UI thread only.
#include <string>

#include "base/win_api.h"
#include "installer/finish_actions.h"
#include "installer/setup_record.h"

namespace installer {

// One call of ShellExecuteW. Empty parameters and directory are passed as
// none.
struct ShellRequest {
  HWND owner = nullptr;
  std::wstring verb;
  std::wstring file;
  std::wstring parameters;
  std::wstring directory;
  int show = SW_SHOWNORMAL;
};

// The shell's "do this with that file" call; its outcome is not looked at.
class ShellExecutor {
public:
  virtual ~ShellExecutor() = default;
  virtual void Execute(const ShellRequest& request) = 0;
};

// The real system behind the seams: the Toolhelp process snapshot with
// OpenProcess and TerminateProcess, wininet's InternetGetConnectedState, and
// ShellExecuteW.
ProcessTable& SystemProcesses();
Connectivity& SystemConnectivity();
ShellExecutor& SystemShell();

// Ends every running process whose executable is called name (GBK), with
// the exit code kStoppedExitCode. The name is compared exactly, with case,
// as UTF-16 against the system's process list.
void StopProcessesNamed(const std::string& name, ProcessTable& processes = SystemProcesses());

// Opens TutorialUrl(tutorial_site, product_name) in the registered browser
// (OpenUrlWithBrowser) once for every connection bit the system reports, and
// not at all when it reports the machine offline. The site is a parameter,
// not a constant of the program: the wizard passes TutorialSite of the
// record's WebSite, so each product's installer leads to its own site. An
// empty site opens nothing.
void OpenTutorialPage(const std::string& tutorial_site, const std::string& product_name,
                      Connectivity& connectivity = SystemConnectivity());

// Starts every program of LaunchTargets(record) through a batch file of its
// own in installer_folder (the folder of the running installer; see
// LaunchBatchFileName): writes the file, waits kLaunchPauseMs, and has the
// shell open it with its window hidden, owned by owner. A batch file that
// cannot be written is not started; the next program is still tried.
void LaunchPrograms(const TSetupRecord& record, const std::string& installer_folder, HWND owner,
                    ShellExecutor& shell = SystemShell());

// Shows folder in Explorer (verb "explore"), working in the folder that
// holds it: its text up to and including its last backslash.
void OpenInstallFolder(const std::string& folder, ShellExecutor& shell = SystemShell());

// path (GBK) as bytes that the command interpreter reads back as the same
// path from a batch file. The interpreter decodes a batch file in its
// console's code page, which for the hidden window it is started in is the
// system's OEM code page (on Chinese Windows 936, the ANSI one too; on
// Western Windows 437 or 850, not the ANSI 1252). A path with a character
// that code page lacks is given by its short 8.3 form, which the file system
// makes to fit that code page. Should that form still not fit
// (short names turned off for the volume), the path is written as well as
// the code page allows, and that program will not start.
std::string PathForBatchFile(const std::string& path);

}  // namespace installer
