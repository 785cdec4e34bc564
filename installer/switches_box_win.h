#pragma once
// The list of a program's switches in a message box (/?), under what is
// wrong with the command line when something is: for the installer and
// the uninstaller, which have no console to print to.
#include <string>

namespace installer {

// switches_help and caption are GBK; problem is the parser's own text, ""
// for /?.
void ShowSwitchesBox(const char* switches_help, const char* caption, const std::wstring& problem);

}  // namespace installer
