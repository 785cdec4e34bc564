#pragma once
// The installation's shortcuts made by the shell helpers (shell.h).
#include "installer/installation.h"

namespace installer {

// Passes every call to CreateDesktopShortcut / CreateProgramsShortcut and
// lets their errors through: a Programs group that cannot be entered ends
// the installation, as it does when called directly.
ShortcutMaker& ShellShortcutMaker();

}  // namespace installer
