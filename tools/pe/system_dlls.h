#pragma once
// Whether a DLL is one that every Windows installation has.
#include <string_view>

namespace pe {

// True, ignoring ASCII case, for the DLLs that ship with every Windows 7 or later and for the
// API sets ("api-ms-win-*", "ext-ms-win-*"), which the loader resolves to them. A name without
// an extension means the ".dll" the loader adds. A path is never a system DLL.
bool IsWindowsSystemDll(std::string_view name);

}  // namespace pe
