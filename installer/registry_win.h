#pragma once
// The registry seam over advapi32. Key paths, value names and texts are
// converted from GBK to UTF-16 and go through the wide API, so what lands in
// the registry does not depend on the system's ANSI code page.
#include <windows.h>

#include <string>

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

// The earlier installation recorded under the product key (GBK path from
// the root, "\Software\Publisher\Product"): "Setup" first, "Folder" only
// when "Setup" was read; a folder without a GBK form counts as none. Every
// failure leaves the defaults. With create_key the key is made when it is
// missing, as the wizard's start-up has always done; an unattended run
// that may still be refused opens it only, so it writes nothing.
struct EarlierInstallation {
  bool installed = false;
  std::string folder;
};
EarlierInstallation ReadEarlierInstallation(const std::string& product_key, bool create_key);

}  // namespace installer
