#pragma once
// Compacting a linked 32-bit image's DWARF unwind tables (its ".eh_frame" section).
//
// GNU ld merges nothing in these tables on PE: each object and each inline function's group
// brings its own common entry, a frame entry stays behind for every inline function copy the
// linker discarded, and a compiler that writes the tables itself stores every advance in four
// bytes. Compaction rewrites the table in place: identical common entries become one (two
// personality pointers are identical when their slots hold the same routine), frame entries for
// discarded code (their code address is 0, which the runtime skips) and exact repeats are left
// out, advances are stored in their shortest form. The section keeps its place and size in
// memory, where the rest is zero-filled; in the file it shrinks and what follows it moves up.
//
// Every absolute address that names a place in the table (the start-up code registers the
// table by its first entry) is found through the base relocations and moved with its entry.
// Anything that would make that unsafe is refused with base::Error: a 64-bit image, whose code
// may name the table by a relative address that has no relocation; an image without
// relocations; a relocation inside the table; an address that names the middle of an entry
// (the first entry excepted, which is then kept byte for byte at its place) or a place after
// the terminator; a signature; a debug directory (it holds file offsets). What
// follows the terminator is dropped: the runtime stops reading there.
#include <cstddef>

#include "base/bytes.h"

namespace pe {

struct UnwindCompaction {
  bool compacted = false;  // false: the image has no unwind table, and is returned as it was.
  std::size_t table_bytes_before = 0;  // Up to and including the terminator.
  std::size_t table_bytes_after = 0;
  std::size_t commons_before = 0;
  std::size_t commons_after = 0;
  std::size_t frames_before = 0;
  std::size_t frames_after = 0;
  std::size_t file_bytes_before = 0;
  std::size_t file_bytes_after = 0;
};

base::Bytes CompactUnwindTables(base::ByteView file, UnwindCompaction* report = nullptr);

}  // namespace pe
