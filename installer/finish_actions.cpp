#include "installer/finish_actions.h"

#include "base/gbk_text.h"

namespace installer {
namespace {

// text without any occurrence of what (ASCII) that starts at a character
// start. Occurrences are those of the original text: what the removal joins
// together is not looked at again.
std::string RemoveAll(std::string_view text, std::string_view what) {
  std::string out;
  std::size_t skip_to = 0;
  base::ForEachGbkChar(text, [&](std::size_t i) {
    if (i < skip_to) return true;
    if (text.substr(i, what.size()) == what) {
      skip_to = i + what.size();
      return true;
    }
    out.append(text.substr(i, base::GbkCharLength(text, i)));
    return true;
  });
  return out;
}

// A path as the command interpreter takes it literally between quotes.
std::string EscapePercent(std::string_view path) {
  std::string out;
  for (char c : path) {
    out += c;
    if (c == '%') out += '%';
  }
  return out;
}

}  // namespace

void StopMatchingProcesses(ProcessTable& processes, std::wstring_view exe_name,
                           std::uint32_t spared_id) {
  for (const ProcessEntry& process : processes.List())
    if (process.exe_name == exe_name && process.id != spared_id)
      processes.Terminate(process.id, kStoppedExitCode);
}

int TutorialOpenCount(std::optional<std::uint32_t> connection_flags) {
  if (!connection_flags) return 0;
  int count = 0;
  for (std::uint32_t bit : {kConnectionModem, kConnectionLan, kConnectionProxy})
    if (*connection_flags & bit) ++count;
  return count;
}

std::string TutorialSite(std::string_view web_site) {
  std::string site(web_site);
  if (!site.empty() && site.back() != '/') site += '/';
  return site;
}

std::string TutorialUrl(std::string_view tutorial_site, std::string_view product_name) {
  std::string name = RemoveAll(product_name, "VANTO-");
  std::string url(tutorial_site);
  if (name != "ZEF") url += name + "-";
  return url + "jiaocheng.html";
}

bool IsLaunchEntry(const TSetupShortcutEntry& shortcut) {
  return shortcut.Location == kDesktopOnly || shortcut.Location == kDesktopAndPrograms;
}

std::vector<std::string> LaunchTargets(const TSetupRecord& record) {
  std::vector<std::string> targets;
  const int files = UsedEntries(record.FileCount);
  for (int j = 0; j < UsedEntries(record.ShortcutCount); ++j) {
    const TSetupShortcutEntry& shortcut = record.Shortcuts[j];
    if (!IsLaunchEntry(shortcut) || shortcut.FileIndex < 0 || shortcut.FileIndex >= files) continue;
    targets.push_back(record.InstallDir.Value() + record.Files[shortcut.FileIndex].Name.Value());
  }
  return targets;
}

std::string LaunchBatchFileName(std::size_t n) {
  return n == 0 ? "temp.bat" : "temp" + std::to_string(n + 1) + ".bat";
}

std::string LaunchBatchText(std::string_view program, std::string_view batch_file) {
  // The lines are those the product's launch has always used; only the two
  // paths are now quoted. Unquoted, a program under "C:\Program Files" never
  // started: the interpreter took "C:\Program" for the program and "Files\..."
  // for its arguments, and the batch file's own path broke "Del" the same way.
  // "echoc" is no command; it prints nothing where it matters, since the
  // batch window is hidden.
  std::string text =
      "@echo off\r\n"
      "echoc\r\n"
      "CHOICE /T 3 /C ync /CS /D y /n \r\n"
      "echoc\r\n";
  text += "start \"\" \"" + EscapePercent(program) + "\"\r\n";
  text += "echoc\r\n";
  text += "Del \"" + EscapePercent(batch_file) + "\"\r\n";
  text += "echoc\r\n";
  text += "exit\r\n";
  return text;
}

}  // namespace installer
