#pragma once
// What the wizard does around the installation proper, as far as it needs
// no Windows API: which running programs it stops, which tutorial page it
// opens and how often, which installed programs it starts and the batch file
// that starts each of them. The Windows side (finish_actions_win.h) reaches
// processes, the network state and the shell through the seams declared
// here and in that header, so tests can stand in for them.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "installer/setup_record.h"

namespace installer {

// The product's programs, stopped before every step of the wizard so that
// none of their files is in use when the installation writes over them.
inline constexpr char kProductProgramName[] = "VANTO-X.exe";
inline constexpr char kUpdaterProgramName[] = "ZEF-H-Up.exe";

// The exit code a stopped program is given.
inline constexpr std::uint32_t kStoppedExitCode = 0xFFFFFFFF;

// A running process as the system lists it: its id and the file name of its
// executable (no folder).
struct ProcessEntry {
  std::uint32_t id;
  std::wstring exe_name;
};

// The system's process list. Both operations fail silently: a list that
// cannot be taken is empty, a process that cannot be ended goes on running.
class ProcessTable {
public:
  virtual ~ProcessTable() = default;
  virtual std::vector<ProcessEntry> List() = 0;
  virtual void Terminate(std::uint32_t id, std::uint32_t exit_code) = 0;
};

// Ends every process whose executable is called exe_name, compared exactly
// and with case: "vanto-x.exe" is another program than "VANTO-X.exe".
// spared_id is never ended: the installer itself, should its own file
// carry the product's program name.
void StopMatchingProcesses(ProcessTable& processes, std::wstring_view exe_name,
                           std::uint32_t spared_id = 0);

// ---------------------------------------------------------------------------
// The tutorial page.

// Bits of the connection state that the system reports; each one that is set
// opens the tutorial page once (a machine on a LAN behind a proxy gets it
// twice, as it always has).
inline constexpr std::uint32_t kConnectionModem = 1;
inline constexpr std::uint32_t kConnectionLan = 2;
inline constexpr std::uint32_t kConnectionProxy = 4;

// The machine's connection state: the reported flags, or nothing when the
// system says it is offline.
class Connectivity {
public:
  virtual ~Connectivity() = default;
  virtual std::optional<std::uint32_t> ConnectionFlags() = 0;
};

// How many times the tutorial page opens for a connection state.
int TutorialOpenCount(std::optional<std::uint32_t> connection_flags);

// The site the tutorial pages live on: the product's web site (the record's
// WebSite) with a slash at its end. A product without a web site has no
// tutorial site: "".
std::string TutorialSite(std::string_view web_site);

// The tutorial page of a product: tutorial_site + V + "-jiaocheng.html",
// where V is product_name with every "VANTO-" removed; the ZEF product's page
// is tutorial_site + "jiaocheng.html". "VANTO-" is matched with case and only
// at character starts, so the trail byte of a Chinese character is never
// taken for its "V".
std::string TutorialUrl(std::string_view tutorial_site, std::string_view product_name);

// ---------------------------------------------------------------------------
// Starting the installed programs.

// A shortcut whose Location is exactly 0 (desktop) or 2 (desktop and
// Programs group) names a program to start when the wizard finishes. Other
// values above 1 also put a shortcut on the desktop but start nothing.
bool IsLaunchEntry(const TSetupShortcutEntry& shortcut);

// The programs to start, in table order: InstallDir + the file's Name for
// every launch entry. An entry whose file index lies outside the used file
// table (which validation refuses anyway) is passed over.
std::vector<std::string> LaunchTargets(const TSetupRecord& record);

// The batch file that starts the n-th (0-based) program: "temp.bat", then
// "temp2.bat", "temp3.bat", ... Each program has a file of its own, so a
// batch file still waiting to start one program is never overwritten by the
// next.
std::string LaunchBatchFileName(std::size_t n);

// Pause between writing a batch file and starting it.
inline constexpr unsigned kLaunchPauseMs = 500;

// The text of a batch file that waits three seconds (the installer has ended
// by then), starts program, and deletes itself (batch_file is its own path).
// Both paths are given in the code page the command interpreter reads and
// are written quoted, so folders with spaces work; "%" is doubled, since the
// interpreter would expand it even inside quotes. Lines end in CR LF.
std::string LaunchBatchText(std::string_view program, std::string_view batch_file);

}  // namespace installer
