#include "tools/mksetup/import_check.h"

#include <algorithm>

#include "tools/pe/system_dlls.h"

namespace mksetup {

std::vector<std::string> ForeignDlls(const pe::ImageImports& imports) {
  std::vector<std::string> foreign;
  for (const pe::ImportedDll& dll : imports.dlls) {
    if (!pe::IsWindowsSystemDll(dll.name)) foreign.push_back(dll.name);
  }
  return foreign;
}

bool ImportsPass(const pe::ImageImports& imports, std::optional<std::uint16_t> machine) {
  if (machine && imports.machine != *machine) return false;
  return std::all_of(imports.dlls.begin(), imports.dlls.end(),
                     [](const pe::ImportedDll& dll) { return pe::IsWindowsSystemDll(dll.name); });
}

std::string DescribeImports(const pe::ImageImports& imports,
                            std::optional<std::uint16_t> machine) {
  std::string line = pe::MachineName(imports.machine);
  if (machine && imports.machine != *machine) line += " (not " + pe::MachineName(*machine) + ")";
  line += ":";
  if (imports.dlls.empty()) return line + " no imported DLLs";
  const char* separator = " ";
  for (const pe::ImportedDll& dll : imports.dlls) {
    line += separator + dll.name;
    separator = ", ";
    const bool foreign = !pe::IsWindowsSystemDll(dll.name);
    if (dll.delay_loaded && foreign) {
      line += " (delay-loaded, not part of Windows)";
    } else if (dll.delay_loaded) {
      line += " (delay-loaded)";
    } else if (foreign) {
      line += " (not part of Windows)";
    }
  }
  return line;
}

}  // namespace mksetup
