#pragma once
// Reading the resource directory of an image into a ResourceTree.
#include "base/bytes.h"
#include "tools/pe/pe_headers.h"
#include "tools/pe/resource_tree.h"

namespace pe {

// The tree of the image's resource directory, empty when it has none. Throws base::Error when
// the directory is malformed: out of bounds, nested deeper than type/name/language (which is
// how cycles show), shared so much that walking it would explode, or pointing at data outside
// the image's sections.
ResourceTree ReadResourceTree(base::ByteView file, const PeHeaders& headers);

}  // namespace pe
