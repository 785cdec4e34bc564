#pragma once
// The wizard's rules that need no window: validating the target folder,
// the text a browsed folder leaves in the edit box, the release date as the
// window's foot shows it, and the start-up choice of the target folder.
#include <string>
#include <string_view>

#include "base/file_system.h"

namespace installer {

// What Next on the folder page decided. message is one of the wizard's
// folder messages (GBK) when the folder was refused; folder is the trimmed
// text, which the edit box takes in every case.
struct FolderDecision {
  std::string folder;
  const char* message = nullptr;  // not owned: a wizard text
  bool accepted = false;
};

// Trims characters of code 32 or less at both ends, refuses an empty text,
// one whose second byte is not ':', a drive or drive root (':' as the last
// or second-to-last byte), creates a missing folder (ForceFolders), and
// accepts the folder once it exists. Positions count GBK bytes.
FolderDecision ValidateTargetFolder(std::string_view text, base::FileSystem& fs);

// The edit box text after browsing to chosen: chosen + "\" + short_name,
// or chosen + short_name for a drive root (fewer than four bytes).
std::string BrowsedFolderText(const std::string& chosen, const std::string& short_name);

// "20240301" → "2024.03.01 " (with its trailing space); shorter dates give
// what their bytes give.
std::string ReleaseDateText(const std::string& release_date);

// The target folder at start-up: the earlier installation's folder when it
// is longer than 3 bytes and exists, else the default drive + short_name.
std::string InitialInstallDir(const std::string& previous_folder, bool previous_folder_exists,
                              const std::string& default_drive, const std::string& short_name);

// "\Software\X" → "Software\X": registry paths from the root key.
std::string RegistryPathFromRoot(const std::string& path);

}  // namespace installer
