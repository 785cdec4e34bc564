// The DLLs an installer may import and still start on a clean Windows 7 or later. `mksetup
// check-imports` and `mksetup build` warn about anything else, because Wine, where the tests
// run, carries many more DLLs than Windows does and so hides a missing dependency. Add a name
// only if it is part of every Windows 7 or later installation, not of a redistributable (the
// Universal CRT, "ucrtbase.dll", is one on Windows 7).
#include "tools/pe/system_dlls.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace pe {
namespace {

constexpr std::string_view kSystemDlls[] = {
    "advapi32.dll", "bcrypt.dll",   "comctl32.dll", "comdlg32.dll", "crypt32.dll",
    "dwmapi.dll",   "gdi32.dll",    "imm32.dll",    "kernel32.dll", "msimg32.dll",
    "msvcrt.dll",   "ntdll.dll",    "ole32.dll",    "oleaut32.dll", "psapi.dll",
    "rpcrt4.dll",   "secur32.dll",  "shell32.dll",  "shlwapi.dll",  "user32.dll",
    "userenv.dll",  "uxtheme.dll",  "version.dll",  "wininet.dll",  "winmm.dll",
    "winspool.drv", "ws2_32.dll",
};

// API set names are contracts, not files: "api-ms-win-core-file-l1-1-0.dll" and the like.
constexpr std::string_view kApiSetPrefixes[] = {"api-ms-win-", "ext-ms-win-"};

// ASCII only: DLL names are ASCII, and folding bytes above 0x7F would be wrong for GBK.
std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

}  // namespace

bool IsWindowsSystemDll(std::string_view name) {
  if (name.find_first_of("\\/:") != std::string_view::npos) return false;
  std::string lower = LowerAscii(name);
  for (std::string_view prefix : kApiSetPrefixes) {
    if (lower.size() > prefix.size() && lower.starts_with(prefix)) return true;
  }
  if (lower.find('.') == std::string::npos) lower += ".dll";
  return std::find(std::begin(kSystemDlls), std::end(kSystemDlls), lower) != std::end(kSystemDlls);
}

}  // namespace pe
