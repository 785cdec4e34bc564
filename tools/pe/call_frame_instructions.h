#pragma once
// The instructions of a DWARF call frame entry: a program that says, address by address, where
// the caller's frame and saved registers are. A compiler that writes its own tables cannot know
// how far apart its labels will be, so it stores every advance in four bytes; most fit in one.
#include "base/bytes.h"

namespace pe::eh {

// The same program with each advance in its shortest form and the DW_CFA_nop padding at the
// end dropped. Throws base::Error on an instruction it does not know, on one cut short, and on
// DW_CFA_set_loc, whose address would have to move with the entry.
base::Bytes CompactInstructions(base::ByteView instructions);

}  // namespace pe::eh
