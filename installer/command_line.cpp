#include "installer/command_line.h"

#include "installer/switch_words.h"

namespace installer {
namespace {

using switch_words::IsBlank;
using switch_words::StartsWithSwitch;
using switch_words::TrimBlanks;

// The next word: up to a blank outside quotes; quotes are dropped, so both
// "/LOG=C:\a b.txt" and /LOG="C:\a b.txt" give /LOG=C:\a b.txt.
std::wstring NextWord(std::wstring_view& rest) {
  std::wstring word;
  bool quoted = false;
  while (!rest.empty() && (quoted || !IsBlank(rest.front()))) {
    if (rest.front() == L'"') quoted = !quoted;
    else word += rest.front();
    rest.remove_prefix(1);
  }
  return word;
}

}  // namespace

SetupCommandLine ParseSetupSwitches(std::wstring_view switches) {
  SetupCommandLine result;
  SetupOptions& o = result.options;
  std::wstring_view rest = switches;
  for (;;) {
    rest = TrimBlanks(rest);
    if (rest.empty()) break;
    if (StartsWithSwitch(rest, L"/D=")) {
      // The rest of the line is the folder, as it stands: a folder name may
      // hold blanks and even quotes are the user's.
      std::wstring_view folder = TrimBlanks(rest.substr(3));
      if (folder.empty()) {
        if (result.error.empty()) result.error = L"/D= names no folder";
        return result;
      }
      o.folder = std::wstring(folder);
      break;
    }
    const std::wstring word = NextWord(rest);
    if (StartsWithSwitch(word, L"/D=")) {
      // Quoted as a whole ("/D=C:\Some Dir"), as tools that quote every
      // argument with a blank write it.
      std::wstring_view folder = TrimBlanks(std::wstring_view(word).substr(3));
      if (folder.empty() && result.error.empty()) result.error = L"/D= names no folder";
      if (!folder.empty()) o.folder = std::wstring(folder);
    } else if (StartsWithSwitch(word, L"/LOG=")) {
      if (word.size() == 5) {
        if (result.error.empty()) result.error = L"/LOG= names no file";
      } else {
        o.log = word.substr(5);
      }
    } else if (word == L"/?" || (word.size() == 5 && StartsWithSwitch(word, L"/HELP"))) {
      o.help = true;
    } else if (word.size() == 2 && StartsWithSwitch(word, L"/S")) {
      o.silent = true;
    } else if (result.error.empty()) {
      // The first mistake is the one reported; the words after it are
      // still read, so that a /S among them keeps the error silent.
      result.error = L"unknown switch " + word;
    }
  }
  return result;
}

std::wstring_view SwitchesOf(std::wstring_view command_line) {
  std::size_t i = 0;
  if (!command_line.empty() && command_line.front() == L'"') {
    const std::size_t close = command_line.find(L'"', 1);
    i = close == std::wstring_view::npos ? command_line.size() : close + 1;
  } else {
    while (i < command_line.size() && !IsBlank(command_line[i])) ++i;
  }
  return command_line.substr(i);
}

}  // namespace installer
