#include "uninstaller/uninstall_command_line.h"

#include "installer/switch_words.h"

namespace uninstaller {

using installer::switch_words::IsBlank;
using installer::switch_words::StartsWithSwitch;
using installer::switch_words::TrimBlanks;


UninstallCommandLine ParseUninstallSwitches(std::wstring_view switches) {
  UninstallCommandLine result;
  UninstallOptions& o = result.options;
  auto mistake = [&](std::wstring text) {
    if (result.error.empty()) result.error = std::move(text);
  };
  std::wstring_view rest = TrimBlanks(switches);
  while (!rest.empty()) {
    if (StartsWithSwitch(rest, L"/LOG=")) {
      // A file name may hold blanks: the rest of the line is the name.
      std::wstring_view file = TrimBlanks(rest.substr(5));
      if (file.size() >= 2 && file.front() == L'"' && file.back() == L'"')
        file = file.substr(1, file.size() - 2);
      if (file.empty())
        mistake(L"/LOG= names no file");
      else
        o.log = std::wstring(file);
      break;
    }
    std::size_t end = 0;
    while (end < rest.size() && !IsBlank(rest[end])) ++end;
    const std::wstring_view word = rest.substr(0, end);
    rest = TrimBlanks(rest.substr(end));
    if (word == L"/?")
      o.help = true;
    else if (word.size() == 2 && StartsWithSwitch(word, L"/S"))
      o.silent = true;
    else
      mistake(L"unknown switch " + std::wstring(word));
  }
  return result;
}

}  // namespace uninstaller
