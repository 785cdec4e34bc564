#pragma once
// The installer without a window (/S): the wizard's start-up and its
// installation, with every question answered the way /S promises. The
// record's and the package's checks refuse as the wizard does, but before
// anything of the product is written; an earlier installation is
// overwritten; the target folder is /D's or the one the wizard would
// propose. Nothing is shown: what happened goes to the log (/LOG) and the
// exit code (exit_codes.h).
#include <optional>
#include <string>

#include "installer/command_line.h"

namespace installer {

// Runs the unattended installation and returns its exit code. Needs the
// COM apartment of framework::RunProgram (shell links); throws nothing.
int RunUnattendedInstall(const SetupOptions& options) noexcept;

// /D's folder as GBK for the wizard's folder box: exactly when GBK has its
// characters, else the short form of the folder when it exists; nothing
// when neither (the wizard then proposes its own).
std::optional<std::string> FolderSwitchForWizard(const std::wstring& folder);

}  // namespace installer
