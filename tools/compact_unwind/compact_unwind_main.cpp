// compact_unwind IMAGE: compacts a linked 32-bit image's unwind tables in place
// (tools/pe/unwind_table_compaction.h) and says what it saved. The build runs it on every
// i686 program after the link; an image it cannot rewrite safely fails the build with why, and
// is left as it was.
#include <cstdio>
#include <exception>

#include "base/bytes.h"
#include "base/error.h"
#include "tools/common/binary_file.h"
#include "tools/pe/unwind_table_compaction.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: compact_unwind IMAGE\n");
    return 2;
  }
  try {
    const base::Bytes image = tools::ReadBinaryFile(argv[1]);
    pe::UnwindCompaction r;
    const base::Bytes compacted = pe::CompactUnwindTables(image, &r);
    if (!r.compacted) {
      std::printf("%s: no unwind table\n", argv[1]);
      return 0;
    }
    tools::WriteBinaryFile(argv[1], compacted);
    std::printf("%s: unwind table %zu -> %zu bytes (%zu -> %zu common entries, %zu -> %zu frame "
                "entries); file %zu -> %zu bytes\n",
                argv[1], r.table_bytes_before, r.table_bytes_after, r.commons_before,
                r.commons_after, r.frames_before, r.frames_after, r.file_bytes_before,
                r.file_bytes_after);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "compact_unwind: %s: %s\n", argv[1], e.what());
    return 1;
  }
  return 0;
}
