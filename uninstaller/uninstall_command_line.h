#pragma once
// The uninstaller's switches:
//   /S          remove without a question and without any message
//   /LOG=file   write every step to file (UTF-8); the last switch, taken to
//               the end of the command line (blanks included; quotes around
//               the whole name are dropped)
//   /?          show the switches
// Switch names ignore case. The command line is UTF-16, as Windows gives it.
#include <optional>
#include <string>
#include <string_view>

namespace uninstaller {

struct UninstallOptions {
  bool silent = false;
  bool help = false;
  std::optional<std::wstring> log;
};

struct UninstallCommandLine {
  UninstallOptions options;
  // What is wrong (English, naming the switch); empty when nothing is. The
  // first mistake is reported and the switches after it are still read, so
  // that a /S among them keeps the mistake silent.
  std::wstring error;
};

// Reads the switches after the program's name (installer::SwitchesOf).
UninstallCommandLine ParseUninstallSwitches(std::wstring_view switches);

}  // namespace uninstaller
