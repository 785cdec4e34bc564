#pragma once
// The DLLs a PE image imports, read without loading it: the builder checks that an installer
// stub needs nothing a clean Windows lacks. Wine carries DLLs of its own (zlib1.dll among
// them), so a stub that depends on one starts under Wine and fails on Windows.
#include <cstdint>
#include <string>
#include <vector>

#include "base/bytes.h"

namespace pe {

// COFF Machine values of the two architectures the product is built for; any other value is
// reported as it stands.
inline constexpr std::uint16_t kMachineI386 = 0x14C;
inline constexpr std::uint16_t kMachineAmd64 = 0x8664;

struct ImportedDll {
  std::string name;  // As the image spells it, e.g. "KERNEL32.dll".
  bool delay_loaded = false;
  // Where the name lies in the image: the resource writer must not move or overwrite it.
  std::uint32_t name_rva = 0;
};

struct ImageImports {
  std::uint16_t machine = 0;
  // The import directory's DLLs, then the delay-load directory's, each in table order.
  std::vector<ImportedDll> dlls;
};

// Throws base::Error when the headers or either import table are malformed: a table or a name
// outside the file data of the image's sections, a table without its terminating entry, or a
// name that does not end within its section. A directory entry of size zero counts as absent.
ImageImports ReadImports(base::ByteView file);

// "x86", "x64", or the number in hex ("0x1C4").
std::string MachineName(std::uint16_t machine);

}  // namespace pe
