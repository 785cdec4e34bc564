#pragma once
// A stored layout as a program carries it: packed by the build
// (tools/mklayout) as a packed block, the form the installer's own records
// travel in (installer::PackBlock): a 4-byte little-endian length N, then
// a zlib stream of exactly N bytes, which are the layout compiled
// (compiled_layout.h). A
// layout's text packs to a quarter and compiles to less. Unpacking also
// takes bytes that are not packed, as they are: text holds no NUL byte and
// packed layouts are under 16 MB, so the fourth byte tells them apart.
#include <string>

#include "base/bytes.h"

namespace framework {

// The stored layout's bytes, unpacked. Unlike the installer's reading of
// its records, which stops after N bytes as the record format demands, the
// whole stream is checked: throws base::Error "Stored layout NAME is
// damaged" when a packed one does not unpack to exactly its length, with a
// correct Adler-32.
std::string UnpackStoredLayout(base::ByteView stored, const std::string& name);

}  // namespace framework
