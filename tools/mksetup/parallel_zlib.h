#pragma once
// Packing on several cores: one standard zlib stream, made of fixed-size
// chunks that worker threads deflate independently.
//
// Format notes. The stream is the zlib header of levels 7-9 (0x78 0xDA), the
// chunks' raw Deflate data one after another, and the big-endian Adler-32
// of the whole input. Each chunk is kParallelChunkSize bytes of input (the
// last one may be shorter), deflated at level 7 with the kDictionarySize
// bytes of input just before it as its preset dictionary, so that matches
// reach back across the cut as they would in a single stream. Every chunk
// but the last ends with a sync flush: its last block is not final and it
// ends on a byte boundary (an empty stored block), so the next chunk's first
// block header starts at bit 0 of the next byte. The last chunk is finished,
// which sets BFINAL on its last block. The cut points depend on nothing but
// the input, so the bytes are the same whatever the number of jobs and
// however the input is handed over. Any inflater reads the result as one
// stream; installer::UnpackStream needs no change.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "base/bytes.h"

namespace mksetup {

// Input bytes per chunk: part of the output's format (see above), not a
// tuning knob. 1 MiB keeps the cost of the cuts (a block header and a
// 5-byte empty stored block each) far below 0.1%.
inline constexpr std::size_t kParallelChunkSize = std::size_t{1} << 20;
// Deflate's window: the most a match can reach back.
inline constexpr std::size_t kDictionarySize = 32768;

// The machine's core count (at least 1).
int DefaultJobs();

// Called on the thread that calls Write and Finish (never on a worker) with
// the number of input bytes whose deflated form is complete, in order.
using ParallelProgress = std::function<void(std::uint64_t done)>;

struct ParallelZlibOptions {
  // Worker threads. 0 or 1 deflates on the calling thread; the output is the
  // same either way.
  int jobs = DefaultJobs();
  ParallelProgress progress;
  // The input size the caller expects (0: unknown). The output's room is
  // then reserved once, untouched until written, instead of growing by
  // copies that would hold the output twice for a moment.
  std::uint64_t expected_size = 0;
};

// Takes the input piece by piece, as the builder reads the product's files,
// so the whole uncompressed package is never held. Memory stays at the
// deflated output so far plus about 2 x jobs chunks of input in flight (and
// each worker's deflate state). Not thread-safe: one thread feeds it.
class ParallelZlibCompressor {
public:
  explicit ParallelZlibCompressor(ParallelZlibOptions options = {});
  // Stops the workers; unfinished work is dropped.
  ~ParallelZlibCompressor();
  ParallelZlibCompressor(const ParallelZlibCompressor&) = delete;
  ParallelZlibCompressor& operator=(const ParallelZlibCompressor&) = delete;

  // Appends input. May wait for workers when the chunks in flight are at
  // their bound. Throws base::Error when deflating failed (in a worker too).
  void Write(base::ByteView data);

  // Ends the input and returns the zlib stream. Once either Finish is
  // called, the compressor is spent: Write and Finish throw std::logic_error.
  base::Bytes Finish();
  // The same as a packed block (installer/packed_block.h): the input's
  // 4-byte little-endian length, then the stream. Throws base::Error when
  // more than 4 GiB - 1 bytes were written.
  base::Bytes FinishBlock();

  // Input bytes written so far.
  std::uint64_t InputSize() const;

private:
  struct State;
  std::unique_ptr<State> state_;
};

// installer::PackBlock's layout, deflated on `jobs` threads.
base::Bytes PackBlockParallel(base::ByteView data, int jobs = DefaultJobs(),
                              const ParallelProgress& progress = nullptr);

}  // namespace mksetup
