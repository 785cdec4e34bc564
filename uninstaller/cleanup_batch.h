#pragma once
// The clean-up after the uninstaller has ended: a running program cannot
// delete its own file, so it leaves behind a batch file (in the temporary
// folder, never the install folder) that the command interpreter runs once
// it has gone. The batch retries deleting the uninstaller for a while (it
// may still be ending), then removes the install folder when that is empty
// (rmdir refuses one that is not, so a user's document keeps it), then
// deletes itself.
//
// The batch names no path itself: it is ASCII, and the paths reach it as
// environment variables (UTF-16 in the process's environment block), so no
// code page the interpreter may read the file in can change a character of
// them. Each one stands inside quotes, where & ( ) ^ are plain characters.
// Windows' interpreter never expands a value again; Wine's expands an
// immediately expanded one (%X%) again for %, and a delayed one (!X!) again
// for !, so the batch uses delayed expansion unless a value holds a '!'.
#include <string>
#include <string_view>
#include <vector>

namespace uninstaller {

// The variables the batch reads.
inline constexpr wchar_t kUninstallerVariable[] = L"VANTO_UNINSTALLER";
inline constexpr wchar_t kInstallFolderVariable[] = L"VANTO_INSTALL_FOLDER";
inline constexpr wchar_t kCleanupBatchVariable[] = L"VANTO_CLEANUP_BATCH";

// How many times the batch tries to delete the uninstaller, about a second
// apart (ping's one-second wait between two echo requests).
inline constexpr int kCleanupAttempts = 30;

enum class Expansion { kDelayed, kImmediate };

// kImmediate when a value holds a '!', which delayed expansion would take.
Expansion ExpansionFor(const std::vector<std::wstring_view>& values);

// The batch's text, ASCII with CR LF line ends.
std::string CleanupBatchText(Expansion expansion, int attempts = kCleanupAttempts);

}  // namespace uninstaller
