#pragma once
// Whether an installer, or the stub it is made from, can start on a clean Windows: every DLL
// it imports must be one Windows ships. The tests run under Wine, which carries many more DLLs
// (zlib1.dll, the MinGW runtime's), so a missing one only shows on a real machine.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/pe/import_reader.h"

namespace mksetup {

// The imported DLLs that are not part of Windows, in table order.
std::vector<std::string> ForeignDlls(const pe::ImageImports& imports);

// True when every DLL is Windows' own and, if `machine` is given, the image is built for it.
bool ImportsPass(const pe::ImageImports& imports, std::optional<std::uint16_t> machine);

// One line without the newline: the machine, then the DLLs in table order, each one that is
// not part of Windows marked, e.g.
//   "x86: KERNEL32.dll, msvcrt.dll, zlib1.dll (not part of Windows)"
//   "x64 (not x86): KERNEL32.dll, dwmapi.dll (delay-loaded)"
std::string DescribeImports(const pe::ImageImports& imports,
                            std::optional<std::uint16_t> machine);

}  // namespace mksetup
