#pragma once
// Compiled layouts: the tree that ParseLayout makes of a layout's text,
// written as bytes by the build (tools/mklayout) so that a program reads
// its forms without the text parser. The tree read back is the one the
// text gives, positions included, so the loader's messages still point
// into the layout's source.
//
// Form: "\0VLC", then the root object. Numbers are unsigned LEB128
// (integer values zigzag-coded first), texts a length and their GBK bytes.
// A position is the step from the one written before it (from line 1,
// column 1): the line's step (zigzag), then on the same line the column's
// step (zigzag), else the column.
//   object   = position name position class position
//              count { property } count { object }
//   property = path position value
//   value    = kind position (integer | boolean byte | text | count { value })
//   position = line column
// Set and StringList items are values of kind Identifier and String.
#include <string>

#include "base/bytes.h"
#include "framework/core/layout_parser.h"

namespace framework {

// True for bytes that start as a compiled layout does (text holds no NUL).
bool IsCompiledLayout(base::ByteView bytes);

std::string CompileLayout(const TLayoutObject& root);

// Throws base::Error "Compiled layout NAME is damaged" for bytes that are
// not exactly one compiled layout (truncated, trailing bytes, a kind or an
// item of the wrong kind, objects nested deeper than kMaxLayoutDepth).
TLayoutObject ReadCompiledLayout(base::ByteView bytes, const std::string& name);

}  // namespace framework
