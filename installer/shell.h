#pragma once
// The installer's contact with the Windows shell: folders that the user picks
// or that Explorer keeps (desktop, Start menu programs), shortcuts placed in
// them, and the browser that opens a web page. Text is GBK; each function
// converts it at the Windows boundary and calls the wide API, so the
// installer behaves the same under any system locale. UI thread only; no
// state is kept between calls.
#include <string>

namespace installer {

// True when path names an existing folder (a file is not one).
bool DirectoryExists(const std::string& path);

// Shows the shell's folder picker rooted at the special folder root (a CSIDL
// value), with title above the folder tree. result becomes the chosen
// file-system folder (in short form where its name has characters GBK
// lacks); it stays as it was when the user cancels or when root names no
// folder on this system. Throws base::WideTextError naming the folder when
// it has no GBK form at all.
void BrowseForFolder(int root, const std::string& title, std::string& result);

// The folder of the running program, with a trailing backslash, as GBK (in
// short form where its name has characters GBK lacks). Throws
// base::WideTextError naming the folder when it has no GBK form at all.
std::string OwnProgramFolder();

// The current user's desktop and Start menu "Programs" folders as Explorer
// records them (see base::SystemPathToGbk); "" when they are not recorded
// or have no GBK form. The shortcut functions below use the recorded
// folders as they are, whatever their names.
std::string GetDesktopFolder();
std::string GetProgramsFolder();

// Writes folder\name.lnk starting target with arguments, with the target's
// folder as working directory and the target's first icon. An existing link
// of that name is replaced; a link that cannot be saved (missing folder, no
// access) is simply not made. Throws base::Error when the shell offers no
// link object, and when the thread is in no single-threaded apartment
// (programs enter one at their start, see framework::RunProgram).
void CreateShellLink(const std::string& target, const std::string& name, const std::string& folder,
                     const std::string& arguments);

// CreateShellLink into the desktop folder; nothing when there is none.
void CreateDesktopShortcut(const std::string& target, const std::string& name,
                           const std::string& arguments);

// CreateShellLink into the Start menu group Programs\group, creating the
// group when needed; nothing when there is no Programs folder. The process's
// current directory is left in the group. Throws base::Error with an
// input/output error text when the group cannot be entered.
void CreateProgramsShortcut(const std::string& group, const std::string& target,
                            const std::string& name, const std::string& arguments);

// Starts the program registered to open HTML files with url as its only
// argument. False when no such program is registered; true otherwise, also
// when it could not be started.
bool OpenUrlWithBrowser(const std::string& url);

}  // namespace installer
