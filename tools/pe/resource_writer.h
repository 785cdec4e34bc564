#pragma once
// Replacing the resources of an existing PE image, without a compiler or linker.
#include "base/bytes.h"
#include "tools/pe/resource_tree.h"

namespace pe {

// A new file image: `original_pe` with its resource tree replaced by `tree`.
//
// A resource section that is the image's last section (and holds nothing else) is rewritten in
// place; otherwise a new ".rsrc" section is appended and the old bytes stay unused. Overlay data
// after the sections, such as a COFF symbol table, is kept after the new section. Section and
// image sizes, the resource directory and the checksum are updated; an Authenticode signature
// cannot survive any change and is dropped.
//
// Throws base::Error when the original is malformed, has no room for one more section header
// and must get one, or the result would exceed PE limits.
base::Bytes WriteResources(base::ByteView original_pe, const ResourceTree& tree);

}  // namespace pe
