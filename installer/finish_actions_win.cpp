#include "installer/finish_actions_win.h"

#include <shellapi.h>
#include <tlhelp32.h>
#include <wininet.h>

#include <optional>
#include <vector>

#include "base/error.h"
#include "base/file_system.h"
#include "base/system_path_win.h"
#include "base/text_codec.h"
#include "installer/shell.h"
#include "installer/shell_paths.h"

namespace installer {
namespace {

class ToolhelpProcessTable final : public ProcessTable {
public:
  std::vector<ProcessEntry> List() override {
    std::vector<ProcessEntry> processes;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return processes;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
      // The name field is meant to end in a NUL, but its size is the bound.
      std::wstring_view name(entry.szExeFile, std::size(entry.szExeFile));
      processes.push_back({entry.th32ProcessID, std::wstring(name.substr(0, name.find(L'\0')))});
    }
    CloseHandle(snapshot);
    return processes;
  }

  void Terminate(std::uint32_t id, std::uint32_t exit_code) override {
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id);
    if (!process) return;
    TerminateProcess(process, exit_code);
    CloseHandle(process);
  }
};

class WininetConnectivity final : public Connectivity {
public:
  std::optional<std::uint32_t> ConnectionFlags() override {
    DWORD flags = 0;
    if (!InternetGetConnectedState(&flags, 0)) return std::nullopt;
    return flags;
  }
};

class SystemShellExecutor final : public ShellExecutor {
public:
  void Execute(const ShellRequest& r) override {
    auto text_or_none = [](const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); };
    ShellExecuteW(r.owner, r.verb.c_str(), r.file.c_str(), text_or_none(r.parameters),
                  text_or_none(r.directory), r.show);
  }
};

std::string LossyEncode(UINT code_page, const std::wstring& wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  if (n <= 0) return {};
  std::string bytes(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), n,
                      nullptr, nullptr);
  return bytes;
}

}  // namespace

ProcessTable& SystemProcesses() {
  static ToolhelpProcessTable table;
  return table;
}

Connectivity& SystemConnectivity() {
  static WininetConnectivity connectivity;
  return connectivity;
}

ShellExecutor& SystemShell() {
  static SystemShellExecutor shell;
  return shell;
}

void StopProcessesNamed(const std::string& name, ProcessTable& processes) {
  StopMatchingProcesses(processes, base::GbkToWide(name), GetCurrentProcessId());
}

void OpenTutorialPage(const std::string& tutorial_site, const std::string& product_name,
                      Connectivity& connectivity) {
  if (tutorial_site.empty()) return;
  const std::string url = TutorialUrl(tutorial_site, product_name);
  for (int n = TutorialOpenCount(connectivity.ConnectionFlags()); n > 0; --n)
    OpenUrlWithBrowser(url);
}

std::string PathForBatchFile(const std::string& path) {
  const UINT code_page = GetOEMCP();
  const std::wstring wide = base::GbkToWide(path);
  if (auto bytes = base::EncodeExactly(code_page, wide)) return *bytes;
  const std::wstring short_path = base::ShortPathOf(wide);
  if (auto bytes = base::EncodeExactly(code_page, short_path)) return *bytes;
  return LossyEncode(code_page, wide);
}

void LaunchPrograms(const TSetupRecord& record, const std::string& installer_folder, HWND owner,
                    ShellExecutor& shell) {
  const std::vector<std::string> targets = LaunchTargets(record);
  if (targets.empty()) return;
  const std::string folder = IncludeTrailingBackslash(installer_folder);
  const std::string folder_for_batch = PathForBatchFile(folder);
  for (std::size_t n = 0; n < targets.size(); ++n) {
    // A program that the installation could not write is not there to
    // start; a batch file for it would only end in the system's error box.
    if (!base::NativeFileSystem().FileExists(targets[n])) continue;
    const std::string name = LaunchBatchFileName(n);
    const std::string batch_file = folder + name;
    const std::string text = LaunchBatchText(PathForBatchFile(targets[n]), folder_for_batch + name);
    try {
      base::NativeFileSystem().WriteWholeFile(
          batch_file, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    } catch (const base::Error&) {
      continue;
    }
    Sleep(kLaunchPauseMs);
    shell.Execute({owner, L"open", base::GbkToWide(batch_file), L"", L"", SW_HIDE});
  }
}

void OpenInstallFolder(const std::string& folder, ShellExecutor& shell) {
  shell.Execute(
      {nullptr, L"explore", base::GbkToWide(folder), L"", base::GbkToWide(ExtractFilePath(folder)),
       SW_SHOWNORMAL});
}

}  // namespace installer
