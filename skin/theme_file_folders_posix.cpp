#include <unistd.h>

#include "skin/sui_file_theme.h"

namespace skin {

// Tools and native tests: only the executable's own folder; there is no
// Windows or system folder to look in.
TThemeFileFolders PlatformThemeFileFolders() {
  TThemeFileFolders folders;
  char buffer[4096];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n > 0) {
    std::string exe(buffer, static_cast<std::size_t>(n));
    const std::size_t slash = exe.rfind('/');
    if (slash != std::string::npos) folders.executable = exe.substr(0, slash + 1);
  }
  return folders;
}

}  // namespace skin
