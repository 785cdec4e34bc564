#pragma once
// The system behind the uninstaller's seams (uninstall_run.h): the registry
// through advapi32 in the installer's view, the shell links in the Desktop
// and Programs folders Explorer records (kept in UTF-16 from the registry to
// the file system, whatever their names), and the clean-up batch started
// through the command interpreter. Names are GBK and converted at the call.
#include <string>

#include "uninstaller/uninstall_run.h"

namespace uninstaller {

RegistryEraser& SystemRegistryEraser();
ShortcutRemover& SystemShortcutRemover();

// Writes the clean-up batch (cleanup_batch.h) into the temporary folder and
// starts it hidden, in that folder, to delete own_program and then remove
// install_folder when it is empty. The paths are the system's, in UTF-16.
// False when the batch could not be written or started.
bool ScheduleCleanup(const std::wstring& own_program, const std::wstring& install_folder);

}  // namespace uninstaller
