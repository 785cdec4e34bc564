#pragma once
// The registry seam over advapi32. Key paths, value names and texts are
// converted from GBK to UTF-16 and go through the wide API, so what lands in
// the registry does not depend on the system's ANSI code page.
#include "installer/registry.h"

namespace installer {

// The system's registry. Keys are opened for writing (creating a key below
// them needs that too) in the registry view of this 32-bit program.
Registry& WindowsRegistry();

}  // namespace installer
