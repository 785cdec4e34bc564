#pragma once
// A stored layout as a program carries it: the layout's text, or that text
// packed by the build (resources/pack_layout.py): a 4-byte little-endian
// length N, then a zlib stream of exactly N bytes. A program's layouts are
// a few kilobytes of text that pack to a quarter. Text holds no NUL byte
// and packed layouts are under 16 MB, so the fourth byte tells the two
// forms apart.
#include <string>

#include "base/bytes.h"

namespace framework {

// The text of a stored layout in either form. Throws base::Error "Stored
// layout NAME is damaged" when a packed one does not unpack to exactly its
// length, with a correct Adler-32.
std::string StoredLayoutText(base::ByteView stored, const std::string& name);

}  // namespace framework
