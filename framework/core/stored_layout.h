#pragma once
// A stored layout as a program carries it: packed by the build
// (tools/mklayout): a 4-byte little-endian length N, then a zlib stream of
// exactly N bytes, which are the layout compiled (compiled_layout.h). A
// layout's text packs to a quarter and compiles to less. Unpacking also
// takes bytes that are not packed, as they are: text holds no NUL byte and
// packed layouts are under 16 MB, so the fourth byte tells them apart.
#include <string>

#include "base/bytes.h"

namespace framework {

// The stored layout's bytes, unpacked. Throws base::Error "Stored layout
// NAME is damaged" when a packed one does not unpack to exactly its length,
// with a correct Adler-32.
std::string UnpackStoredLayout(base::ByteView stored, const std::string& name);

// The packed form of bytes (under 16 MB, zlib level 9). In an object of
// its own (stored_layout_pack.cpp), so that zlib's compressor stays out of
// the programs that only read layouts.
base::Bytes PackStoredLayout(base::ByteView bytes);

}  // namespace framework
