#pragma once
// Replacing the resources of an existing PE image, without a compiler or linker.
#include "base/bytes.h"
#include "tools/pe/resource_tree.h"

namespace pe {

// A new file image: `original_pe` with its resource tree replaced by `tree`.
//
// The resource section is rewritten where it is, at the same RVA and file offset, when it and
// the sections after it end the image and those sections can move: only the base relocation
// section qualifies, since its blocks name the pages they fix rather than their own place. It
// then moves up or down to just after the new resources, its bytes unchanged and its data
// directory entry rebased. A linker's ".rsrc, .reloc" tail thus leaves no dead copy of the old
// resources behind. Otherwise, or when a base relocation patches the resource or relocation
// section (an absolute address there would move or be overwritten), a new ".rsrc" section is
// appended and the old one, renamed ".oldrsrc", stays unused.
//
// Overlay data after the sections, such as a COFF symbol table, is kept after the new section
// data. Section and image sizes, the resource directory and the checksum are updated; an
// Authenticode signature cannot survive any change and is dropped.
//
// Throws base::Error when the original is malformed, has no room for one more section header
// and must get one, or the result would exceed PE limits.
base::Bytes WriteResources(base::ByteView original_pe, const ResourceTree& tree);

}  // namespace pe
