#pragma once
// Raw Deflate (RFC 1951, no zlib header) decoding for the members of skin
// files, table-driven and on its own rather than through zlib. The input is
// untrusted: every length it names is checked before it is used, and output
// never grows past the size the caller expects.
#include <cstddef>

#include "base/bytes.h"

namespace skin::deflate {

enum class TInflateResult { Done, Failed };

// Why decoding failed, named after the field of the format that was wrong.
enum class TInflateFailure {
  None,
  InputEnded,       // the input ended before the final block did (also a
                    // stored block's LEN running past it)
  Hlit,             // HLIT above 286
  Hdist,            // HDIST above 30
  CodeLengths,      // a repeat at the first position or past HLIT + HDIST
  BadSymbol,        // a bit string no code has, or symbol 286, 287, 30, 31
  DistanceTooFar,   // a distance reaching before the first byte written
  OutputTooLong,    // more output than expected_size
  EmptyBlocks,      // too many blocks in a row that add nothing
};

// Decodes input until the end of its final block; output receives the
// bytes (replacing its content). Done says only that the stream was whole;
// the caller compares output.size() with the size it expected. Bytes after
// the final block are not examined. failure, when given, names the reason.
TInflateResult InflateRaw(base::ByteView input, std::size_t expected_size, base::Bytes& output,
                          TInflateFailure* failure = nullptr);

}  // namespace skin::deflate
