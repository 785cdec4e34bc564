#pragma once
// The installer's switches, the conventions deployment tools and package
// managers share with other installers:
//   /S          install without a window or a question
//   /LOG=file   write every step to file (UTF-8); quote it when it has blanks
//   /D=folder   the target folder; the last switch, taken to the end of the
//               command line as it stands (blanks included, no quotes)
//   /?          show the switches
// Switch names ignore case. The command line is UTF-16, as Windows gives
// it, so folders keep every character until they reach the file system.
#include <optional>
#include <string>
#include <string_view>

namespace installer {

struct SetupOptions {
  bool silent = false;
  bool help = false;
  std::optional<std::wstring> folder;
  std::optional<std::wstring> log;
};

// The result of reading a command line: the options, or what is wrong with
// it (an English text naming the switch; the installer shows it with the
// list of switches).
struct SetupCommandLine {
  SetupOptions options;
  std::wstring error;  // empty when the command line is fine
};

// Reads the switches after the program's name. An empty "/D=" or "/LOG="
// and any other word is an error; the first one is reported, and the
// switches around it are still read (a /S after a mistake still counts).
SetupCommandLine ParseSetupSwitches(std::wstring_view switches);

// What follows the program's name in a full command line (GetCommandLineW):
// the name is quoted or ends at the first blank.
std::wstring_view SwitchesOf(std::wstring_view command_line);

}  // namespace installer
