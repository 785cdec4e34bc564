#pragma once
// The base relocation table of a PE image: every place the loader patches when it maps the
// image somewhere other than its preferred base, i.e. every absolute address the image stores.
#include <cstdint>
#include <vector>

#include "base/bytes.h"
#include "tools/pe/pe_headers.h"

namespace pe {

struct BaseRelocation {
  std::uint64_t rva = 0;  // The place patched (64-bit: a page near 4 GiB plus its offset).
  unsigned type = 0;      // IMAGE_REL_BASED_*; padding entries are left out.
};

// Every entry in the order of the table; empty when the image has none. Throws base::Error
// when the table is malformed or lies outside the sections' file data.
std::vector<BaseRelocation> ReadBaseRelocations(base::ByteView file, const PeHeaders& headers);

}  // namespace pe
