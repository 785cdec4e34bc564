#pragma once
// Carrying out an UninstallPlan. Everything it touches comes through seams:
// the file system (base::FileSystem), the registry and the shell links
// below; on Windows the program hands it the system's, and the native tests
// fakes that record the order of every step.
//
// What may go and what must stay:
//   - a file is deleted when it is there; one that cannot be (held open) is
//     an error, and the rest goes on;
//   - a folder, the Programs group and a registry key of the product's own
//     are removed only when empty: a document the user saved in the install
//     folder keeps the folder, and a value some other program added keeps
//     the key; being kept is no error;
//   - the uninstall entry's key is the product's alone and goes as a whole;
//   - the product key loses its four values, then goes when empty;
//   - the publisher key keeps Site and Author while any sub-key is left in
//     it (another product of the same publisher is still installed), and
//     goes when empty;
//   - each extra value is deleted; its key goes when it is empty and lies
//     below the publisher's key, never elsewhere.
#include <string>
#include <vector>

#include "base/file_system.h"
#include "installer/install_log.h"
#include "uninstaller/uninstall_plan.h"

namespace uninstaller {

enum class EraseOutcome {
  kRemoved,
  kAbsent,  // nothing there to remove
  kKept,    // not empty (a folder or key); left as it is
  kFailed,  // there, and could not be removed
};

// The registry as the uninstaller sees it. Key paths are below the root,
// without a leading backslash; names and paths are GBK. HKEY_LOCAL_MACHINE
// is seen in the installer's view (installer::kProductRegistryView).
class RegistryEraser {
public:
  virtual ~RegistryEraser() = default;
  virtual EraseOutcome DeleteValue(RegistryRoot root, const std::string& key,
                                   const std::string& name) = 0;
  // Removes the key only when it has neither values nor sub-keys (kKept
  // otherwise).
  virtual EraseOutcome DeleteEmptyKey(RegistryRoot root, const std::string& key) = 0;
  // Removes the key with everything below it.
  virtual EraseOutcome DeleteKeyTree(RegistryRoot root, const std::string& key) = 0;
  // Whether the key exists and has a sub-key.
  virtual bool HasSubkeys(RegistryRoot root, const std::string& key) = 0;
};

// The current user's shell links and the Programs group, as the installer's
// shell helpers placed them (the Desktop and Programs folders that Explorer
// records). Names are GBK, without ".lnk".
class ShortcutRemover {
public:
  virtual ~ShortcutRemover() = default;
  virtual EraseOutcome RemoveDesktopLink(const std::string& name) = 0;
  virtual EraseOutcome RemoveProgramsLink(const std::string& group, const std::string& name) = 0;
  // Removes <Programs>\group only when it is empty.
  virtual EraseOutcome RemoveProgramsGroup(const std::string& group) = 0;
};

struct UninstallSeams {
  base::FileSystem& fs;
  RegistryEraser& registry;
  ShortcutRemover& shortcuts;
  installer::InstallLog* log = nullptr;  // every step, when there is one
};

struct UninstallResult {
  // What could not be removed (GBK, as the final message names them: file
  // paths, "Desktop\name.lnk", "HKLM\key" or "HKLM\key\value"). Each one
  // counts as an error.
  std::vector<std::string> failed;
  // Folders that stayed because something is left in them, deepest first.
  std::vector<std::string> kept_folders;
};

// Runs the plan: the links first (nothing should start the product while
// it goes), the files, the registry but the uninstall entry, the record
// copy, the folders, and the uninstall entry last: until the record copy
// goes, a run cut short can be started again from the system's list.
// Never throws for a step that fails: each is logged and the next follows.
UninstallResult RunUninstall(const UninstallPlan& plan, const UninstallSeams& seams);

}  // namespace uninstaller
