#include "tools/mksetup/parallel_zlib.h"

#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <limits>
#include <mutex>
#include <new>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "base/buffer.h"
#include "base/error.h"

namespace mksetup {
namespace {

static_assert(kParallelChunkSize >= kDictionarySize,
              "a chunk's dictionary must lie wholly in the chunk before it");
static_assert(kParallelChunkSize <= std::numeric_limits<uInt>::max(),
              "a chunk is handed to deflate in one call");

// Level 7: on a product of binaries, libraries and documents it packs
// 0.15% larger than level 9 in 53% of the time (level 8 saves nothing, level
// 6 is 0.54% larger), and packing is most of a build's time. Memory level 8
// and a 32 KB window as deflateInit's, so that a chunk compresses as it
// would inside a single stream; negative windowBits asks for raw Deflate,
// the wrapper being written here once for all chunks.
constexpr int kLevel = 7;
constexpr int kRawWindowBits = -15;
constexpr int kMemLevel = 8;

// CMF 0x78: CM 8 (Deflate), CINFO 7 (32 KB window). FLG 0xDA: FLEVEL 3
// (what zlib writes for levels 7 to 9), FDICT 0, FCHECK 26 so that
// CMF * 256 + FLG is a multiple of 31.
constexpr std::uint8_t kZlibHeader[2] = {0x78, 0xDA};
static_assert((kZlibHeader[0] * 256 + kZlibHeader[1]) % 31 == 0);
constexpr std::size_t kAdlerSize = 4;
constexpr std::size_t kLengthFieldSize = 4;

// deflateBound covers a stream ended by Z_FINISH. A sync flush ends the
// last block without BFINAL and adds an empty stored block (3 header bits,
// padding to the byte, LEN and NLEN): a few bytes more, covered by this.
constexpr std::size_t kFlushMargin = 64;

// One chunk's input: its dictionary, then its data at a fixed offset, in a
// buffer that returns to a pool once the chunk is deflated.
struct Chunk {
  std::uint64_t index = 0;
  base::Buffer input;  // kDictionarySize + kParallelChunkSize bytes
  std::size_t size = 0;
  bool last = false;

  bool HasDictionary() const { return index > 0; }
  const std::uint8_t* Dictionary() const { return input.data(); }
  const std::uint8_t* Data() const { return input.data() + kDictionarySize; }
};

struct Deflated {
  base::Bytes bytes;
  std::uint32_t adler = 1;  // of the chunk's data alone
  std::size_t input_size = 0;
};

base::Buffer NewChunkBuffer() {
  try {
    return base::Buffer(kDictionarySize + kParallelChunkSize);
  } catch (const std::bad_alloc&) {
    throw base::Error("Out of memory");
  }
}

// Owns one deflater for one chunk. A fresh one per chunk rather than one
// per worker, reset: deflateReset keeps the old window, and that its stale
// bytes never sway the output is a property of zlib's match finder, not a
// promise of its interface. Fresh, a chunk's bytes depend on the chunk alone
// whichever worker took it, at the cost of a few hundred KB allocated per
// MB deflated.
class RawDeflater {
public:
  RawDeflater() {
    int rc = deflateInit2(&z_, kLevel, Z_DEFLATED, kRawWindowBits, kMemLevel, Z_DEFAULT_STRATEGY);
    if (rc == Z_MEM_ERROR) throw base::Error("Out of memory");
    if (rc != Z_OK) throw base::Error("Error");
  }
  RawDeflater(const RawDeflater&) = delete;
  RawDeflater& operator=(const RawDeflater&) = delete;
  ~RawDeflater() { deflateEnd(&z_); }
  z_stream* get() { return &z_; }

private:
  z_stream z_{};
};

// Deflates one chunk into scratch (kept by the caller between chunks) and
// returns an exact-size copy. Every chunk goes through here, on a worker or
// on the calling thread alike.
Deflated DeflateChunk(const Chunk& chunk, base::Bytes& scratch) {
  RawDeflater deflater;
  z_stream* z = deflater.get();
  if (chunk.HasDictionary() &&
      deflateSetDictionary(z, chunk.Dictionary(), static_cast<uInt>(kDictionarySize)) != Z_OK)
    throw base::Error("Error");

  z->next_in = const_cast<Bytef*>(chunk.Data());
  z->avail_in = static_cast<uInt>(chunk.size);
  const int flush = chunk.last ? Z_FINISH : Z_SYNC_FLUSH;
  // The room offered depends on the chunk alone, never on what scratch
  // happens to hold: a flush that runs out of room exactly at its end would
  // otherwise write one more empty block on the call after, on some
  // workers and not others.
  std::size_t room = deflateBound(z, static_cast<uLong>(chunk.size)) + kFlushMargin;
  std::size_t produced = 0;
  for (;;) {
    if (scratch.size() < room) scratch.resize(room);
    z->next_out = scratch.data() + produced;
    z->avail_out = static_cast<uInt>(room - produced);
    int rc = deflate(z, flush);
    produced = room - z->avail_out;
    if (rc == Z_STREAM_END) break;
    if (rc != Z_OK) throw base::Error("Error");
    // A flush is complete when it returns with room left over.
    if (flush == Z_SYNC_FLUSH && z->avail_out > 0) break;
    room *= 2;
  }

  Deflated out;
  out.bytes.assign(scratch.begin(), scratch.begin() + static_cast<std::ptrdiff_t>(produced));
  out.adler = static_cast<std::uint32_t>(adler32(1, chunk.Data(), static_cast<uInt>(chunk.size)));
  out.input_size = chunk.size;
  return out;
}

// Room for the whole stream of `input` bytes: the sum of the chunks'
// bounds, the wrapper and the length field.
std::size_t StreamBound(std::uint64_t input) {
  const std::uint64_t chunks = input / kParallelChunkSize + 1;
  const std::uint64_t bound = input + (input >> 12) + (input >> 14) + chunks * (16 + kFlushMargin) +
                              kLengthFieldSize + sizeof kZlibHeader + kAdlerSize;
  return static_cast<std::size_t>(
      std::min<std::uint64_t>(bound, std::numeric_limits<std::size_t>::max() / 2));
}

}  // namespace

int DefaultJobs() { return static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

// The calling thread (the feeder) fills one chunk at a time and queues it;
// workers deflate queued chunks in any order and leave each result in the
// slot of its index; the feeder takes results out in index order, whenever
// it passes by, and appends them to the output. Everything the workers
// touch is guarded by `mutex`; the rest is the feeder's alone.
struct ParallelZlibCompressor::State {
  explicit State(const ParallelZlibOptions& options);
  ~State() { StopWorkers(); }

  void Write(base::ByteView data);
  base::Bytes Finish(bool as_block);

  void Submit(bool last);
  // Appends, in order, the results that are ready; with wait_for_all, until
  // every submitted chunk is in. Rethrows a worker's failure.
  void Collect(std::unique_lock<std::mutex>& lock, bool wait_for_all);
  void Append(Deflated&& deflated);
  base::Buffer TakeBuffer();
  void WorkerLoop();
  void StopWorkers();

  // The feeder's.
  ParallelProgress progress;
  std::size_t max_in_flight = 1;
  base::Buffer pending;  // the chunk being filled
  std::size_t pending_size = 0;
  std::uint64_t submitted = 0;
  std::uint64_t input_size = 0;
  std::uint64_t done = 0;   // input bytes whose deflated form is in `out`
  std::uint32_t adler = 1;  // of those bytes
  base::Bytes out;          // room for the length field, the header, the chunks so far
  base::Bytes scratch;      // DeflateChunk's, when there are no workers
  bool finished = false;

  // Shared with the workers.
  std::mutex mutex;
  std::condition_variable work_ready;
  std::condition_variable result_ready;
  std::deque<Chunk> queue;
  std::vector<std::optional<Deflated>> slots;  // chunk i's result in slot i % max_in_flight
  std::uint64_t collected = 0;                 // results appended to `out`
  std::vector<base::Buffer> spare;
  std::exception_ptr failure;
  bool stopping = false;
  std::vector<std::thread> workers;
};

ParallelZlibCompressor::State::State(const ParallelZlibOptions& options)
    : progress(options.progress) {
  out.reserve(StreamBound(options.expected_size));
  out.resize(kLengthFieldSize);
  out.insert(out.end(), std::begin(kZlibHeader), std::end(kZlibHeader));
  pending = NewChunkBuffer();
  if (options.jobs <= 1) return;
  // Two chunks per worker: one being deflated and one waiting, so a worker
  // never idles while the feeder copies the next chunk in.
  max_in_flight = 2 * static_cast<std::size_t>(options.jobs);
  slots.resize(max_in_flight);
  try {
    for (int i = 0; i < options.jobs; ++i) workers.emplace_back([this] { WorkerLoop(); });
  } catch (...) {
    StopWorkers();
    throw;
  }
}

void ParallelZlibCompressor::State::StopWorkers() {
  {
    std::lock_guard lock(mutex);
    stopping = true;
  }
  work_ready.notify_all();
  for (std::thread& t : workers) t.join();
  workers.clear();
}

void ParallelZlibCompressor::State::WorkerLoop() {
  base::Bytes worker_scratch;
  for (;;) {
    Chunk chunk;
    {
      std::unique_lock lock(mutex);
      work_ready.wait(lock, [this] { return stopping || !queue.empty(); });
      if (stopping) return;
      chunk = std::move(queue.front());
      queue.pop_front();
    }
    try {
      Deflated result = DeflateChunk(chunk, worker_scratch);
      std::lock_guard lock(mutex);
      slots[chunk.index % max_in_flight] = std::move(result);
      spare.push_back(std::move(chunk.input));
    } catch (...) {
      std::lock_guard lock(mutex);
      if (!failure) failure = std::current_exception();
    }
    result_ready.notify_one();
  }
}

base::Buffer ParallelZlibCompressor::State::TakeBuffer() {
  {
    std::lock_guard lock(mutex);
    if (!spare.empty()) {
      base::Buffer b = std::move(spare.back());
      spare.pop_back();
      return b;
    }
  }
  return NewChunkBuffer();
}

void ParallelZlibCompressor::State::Write(base::ByteView data) {
  if (finished) throw std::logic_error("ParallelZlibCompressor: Write after Finish");
  while (!data.empty()) {
    // A full chunk waits for the next byte: only then is it known not to be
    // the last one, which Finish ends differently.
    if (pending_size == kParallelChunkSize) Submit(false);
    std::size_t n = std::min(kParallelChunkSize - pending_size, data.size());
    std::memcpy(pending.data() + kDictionarySize + pending_size, data.data(), n);
    pending_size += n;
    input_size += n;
    data = data.subspan(n);
  }
}

void ParallelZlibCompressor::State::Submit(bool last) {
  Chunk chunk{submitted++, std::move(pending), pending_size, last};
  pending_size = 0;
  if (!last) {
    // The next chunk's dictionary is this chunk's tail.
    pending = TakeBuffer();
    std::memcpy(pending.data(), chunk.Data() + chunk.size - kDictionarySize, kDictionarySize);
  }
  if (workers.empty()) {
    Append(DeflateChunk(chunk, scratch));
    if (!last) spare.push_back(std::move(chunk.input));
    return;
  }
  std::unique_lock lock(mutex);
  // Bounded memory: the chunk goes in only when its slot is free. Results
  // are taken on every pass, so progress and the output keep up.
  for (;;) {
    Collect(lock, false);
    if (chunk.index - collected < max_in_flight) break;
    result_ready.wait(lock);
  }
  queue.push_back(std::move(chunk));
  lock.unlock();
  work_ready.notify_one();
}

void ParallelZlibCompressor::State::Collect(std::unique_lock<std::mutex>& lock, bool wait_for_all) {
  for (;;) {
    if (failure) std::rethrow_exception(failure);
    std::optional<Deflated>& slot = slots[collected % max_in_flight];
    if (slot) {
      Deflated result = std::move(*slot);
      slot.reset();
      ++collected;
      // Appending copies up to a chunk and calls back: not while the
      // workers are locked out.
      lock.unlock();
      Append(std::move(result));
      lock.lock();
      continue;
    }
    if (!wait_for_all || collected == submitted) return;
    result_ready.wait(lock);
  }
}

void ParallelZlibCompressor::State::Append(Deflated&& deflated) {
  out.insert(out.end(), deflated.bytes.begin(), deflated.bytes.end());
  adler = static_cast<std::uint32_t>(
      adler32_combine(adler, deflated.adler, static_cast<z_off_t>(deflated.input_size)));
  done += deflated.input_size;
  if (progress) progress(done);
}

base::Bytes ParallelZlibCompressor::State::Finish(bool as_block) {
  if (finished) throw std::logic_error("ParallelZlibCompressor: Finish after Finish");
  finished = true;
  if (as_block && input_size > std::numeric_limits<std::uint32_t>::max())
    throw base::Error("Data too large for a packed block");
  // Whatever is pending is the last chunk; for an empty input it is empty,
  // and Z_FINISH still writes the one final block a stream needs.
  Submit(true);
  if (!workers.empty()) {
    std::unique_lock lock(mutex);
    Collect(lock, true);
    lock.unlock();
    StopWorkers();
  }
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(adler >> shift));
  if (as_block) {
    base::PutU32(out.data(), static_cast<std::uint32_t>(input_size));
  } else {
    out.erase(out.begin(), out.begin() + kLengthFieldSize);
  }
  return std::move(out);
}

ParallelZlibCompressor::ParallelZlibCompressor(ParallelZlibOptions options)
    : state_(std::make_unique<State>(options)) {}

ParallelZlibCompressor::~ParallelZlibCompressor() = default;

void ParallelZlibCompressor::Write(base::ByteView data) { state_->Write(data); }

base::Bytes ParallelZlibCompressor::Finish() { return state_->Finish(false); }

base::Bytes ParallelZlibCompressor::FinishBlock() { return state_->Finish(true); }

std::uint64_t ParallelZlibCompressor::InputSize() const { return state_->input_size; }

base::Bytes PackBlockParallel(base::ByteView data, int jobs, const ParallelProgress& progress) {
  if (data.size() > std::numeric_limits<std::uint32_t>::max())
    throw base::Error("Data too large for a packed block");
  ParallelZlibCompressor compressor({.jobs = jobs, .progress = progress, .expected_size = data.size()});
  compressor.Write(data);
  return compressor.FinishBlock();
}

}  // namespace mksetup
