#pragma once
// The registry seam over advapi32. Key paths, value names and texts are
// converted from GBK to UTF-16 and go through the wide API, so what lands in
// the registry does not depend on the system's ANSI code page.
#include <windows.h>

#include "installer/registry.h"

namespace installer {

// Every key under HKEY_LOCAL_MACHINE that the installer reads or writes (the
// publisher and product keys, the uninstall entry, the record's extra
// values) is in the 32-bit view of the registry, whichever build of the
// installer runs. The product is a 32-bit program and reads its keys there;
// and the i686 and x86_64 installers of one product must find each other's
// installation, leaving one uninstall entry, never two. On 32-bit Windows
// the flag is ignored: there is only one view.
inline constexpr REGSAM kProductRegistryView = KEY_WOW64_32KEY;

// The system's registry. Keys are opened for writing (creating a key below
// them needs that too) in kProductRegistryView.
Registry& WindowsRegistry();

}  // namespace installer
