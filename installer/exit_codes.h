#pragma once
// The exit codes of the installer and of the uninstaller, for deployment
// tools and package managers that run them unattended. 1 and 2 are the
// toolkit's (framework::RunProgram): an unexpected error was reported, or
// the last-resort report ended the program. Documented in docs/unattended.md.
namespace installer {

inline constexpr int kExitDone = 0;             // installed / removed
inline constexpr int kExitCancelled = 3;        // the user said no, or cancelled
inline constexpr int kExitRefused = 4;          // bad record, damaged or mismatched package,
                                                // invalid folder; nothing of the product written
inline constexpr int kExitDoneWithErrors = 5;   // installed / removed, but not everything
inline constexpr int kExitBadCommandLine = 6;   // an unknown or malformed switch

}  // namespace installer
