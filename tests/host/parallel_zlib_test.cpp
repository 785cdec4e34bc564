// The parallel compressor must write one standard zlib stream that the
// installer and plain zlib both read back, at every chunk edge, with the
// same bytes whatever the job count and however the input arrives, and
// about as small as a single stream: its chunks find their matches in the
// chunk before them.
#include "tools/mksetup/parallel_zlib.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <thread>
#include <vector>

#include "base/bytes.h"
#include "bench/product_like_data.h"
#include "installer/packed_block.h"

namespace {

using base::Bytes;
using mksetup::kParallelChunkSize;
using mksetup::ParallelZlibCompressor;

constexpr std::size_t kChunk = kParallelChunkSize;

// ---- data ------------------------------------------------------------------

Bytes Compressible(std::size_t n, unsigned seed = 1) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b) x = static_cast<std::uint8_t>('a' + rng() % 7);
  return b;
}

Bytes Noise(std::size_t n, unsigned seed = 2) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b) x = static_cast<std::uint8_t>(rng());
  return b;
}

// A random pattern over and over: after its first copy every byte is a
// match, and each chunk's nearest copy begins in the chunk before it.
Bytes RepeatedNoise(std::size_t n, std::size_t pattern_size) {
  Bytes pattern = Noise(pattern_size, 3);
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = pattern[i % pattern_size];
  return b;
}

// ---- packing and reading back ------------------------------------------------

Bytes Pack(const Bytes& data, int jobs, std::size_t piece = 0) {
  ParallelZlibCompressor compressor({.jobs = jobs});
  if (piece == 0) piece = std::max<std::size_t>(data.size(), 1);
  for (std::size_t at = 0; at < data.size(); at += piece)
    compressor.Write(base::ByteView(data).subspan(at, std::min(piece, data.size() - at)));
  return compressor.Finish();
}

// Plain zlib: fails unless the stream is whole, ends exactly at its last
// byte and its Adler-32 matches.
Bytes ZlibUncompress(const Bytes& stream, std::size_t size) {
  Bytes out(size + 1);  // one more than expected: a longer result shows
  uLongf out_size = static_cast<uLongf>(out.size());
  uLong in_size = static_cast<uLong>(stream.size());
  EXPECT_EQ(uncompress2(out.data(), &out_size, stream.data(), &in_size), Z_OK);
  EXPECT_EQ(in_size, stream.size()) << "bytes after the stream's end";
  out.resize(out_size);
  return out;
}

void ExpectRoundTrip(const Bytes& data, int jobs) {
  Bytes stream = Pack(data, jobs);
  EXPECT_TRUE(ZlibUncompress(stream, data.size()) == data) << data.size() << " bytes";

  Bytes block = mksetup::PackBlockParallel(data, jobs);
  ASSERT_GE(block.size(), 4u);
  EXPECT_EQ(installer::PackedBlockLength(block), data.size());
  EXPECT_TRUE(Bytes(block.begin() + 4, block.end()) == stream) << "block differs from the stream";
  base::Buffer unpacked = installer::UnpackToBuffer(block);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), unpacked.data(), unpacked.data() + unpacked.size()))
      << data.size() << " bytes through the installer";
}

std::uint32_t BigEndianTail(const Bytes& stream) {
  return base::GetU32Be(stream.data() + stream.size() - 4);
}

// ---- the stream --------------------------------------------------------------

TEST(ParallelZlib, RoundTripsAtEveryChunkEdge) {
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, kChunk - 1, kChunk, kChunk + 1,
                           2 * kChunk, 3 * kChunk + 12345})
    ExpectRoundTrip(Compressible(size), 2);
}

TEST(ParallelZlib, RoundTripsIncompressibleAndUniformData) {
  ExpectRoundTrip(Noise(2 * kChunk + kChunk / 2), 3);
  ExpectRoundTrip(Bytes(2 * kChunk + 5, 0), 3);
}

TEST(ParallelZlib, OneChunkIsExactlyWhatZlibWritesAtLevel9) {
  // No cut, no dictionary: nothing may differ from a single stream, the
  // empty input's lone final block included.
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{1000}, kChunk}) {
    Bytes data = Compressible(size, 7);
    Bytes expected(compressBound(static_cast<uLong>(size)));
    uLongf n = static_cast<uLongf>(expected.size());
    ASSERT_EQ(compress2(expected.data(), &n, data.data(), static_cast<uLong>(size), 9), Z_OK);
    expected.resize(n);
    EXPECT_TRUE(Pack(data, 2) == expected) << size << " bytes";
  }
}

TEST(ParallelZlib, WrapsTheChunksInLevel9sHeaderAndTheWholeInputsAdler32) {
  Bytes data = Compressible(3 * kChunk + 99, 4);
  Bytes stream = Pack(data, 2);
  ASSERT_GT(stream.size(), 6u);
  EXPECT_EQ(stream[0], 0x78);
  EXPECT_EQ(stream[1], 0xDA);
  EXPECT_EQ(BigEndianTail(stream), adler32(1, data.data(), static_cast<uInt>(data.size())));
}

TEST(ParallelZlib, SameBytesWhateverTheJobCountAndThePieces) {
  Bytes data = bench::ProductLikeData(3 * kChunk + 777);
  Bytes reference = Pack(data, 1);
  for (int jobs : {0, 2, 3, 8}) EXPECT_TRUE(Pack(data, jobs) == reference) << jobs << " jobs";
  EXPECT_TRUE(Pack(data, 8) == reference) << "8 jobs, second run";
  for (std::size_t piece : {std::size_t{1}, std::size_t{7}, kChunk})
    EXPECT_TRUE(Pack(data, 2, piece) == reference) << "pieces of " << piece;
  EXPECT_TRUE(Pack(data, 1, 7) == reference) << "pieces of 7 on the calling thread";
}

// ---- the cuts' cost ----------------------------------------------------------

TEST(ParallelZlib, MatchesReachBackIntoTheChunkBefore) {
  constexpr std::size_t kPattern = 20000;
  Bytes data = RepeatedNoise(4 * kChunk + 4321, kPattern);
  Bytes stream = Pack(data, 2);
  Bytes single(compressBound(static_cast<uLong>(data.size())));
  uLongf single_size = static_cast<uLongf>(single.size());
  ASSERT_EQ(compress2(single.data(), &single_size, data.data(), static_cast<uLong>(data.size()), 9),
            Z_OK);
  // A single stream spells the pattern out once. A chunk that could not
  // see the one before would spell it out again: 20000 bytes more per cut,
  // where a cut may cost a block header and an empty stored block.
  EXPECT_LT(stream.size(), single_size + 4 * 1024) << "single stream: " << single_size;
  EXPECT_TRUE(ZlibUncompress(stream, data.size()) == data);
}

TEST(ParallelZlib, WithinHalfAPercentOfASingleStreamOnProductLikeData) {
  Bytes data = bench::ProductLikeData(8 << 20);
  const std::size_t single = installer::PackBlock(data, 9).size();
  const std::size_t parallel = mksetup::PackBlockParallel(data, 2).size();
  EXPECT_LE(static_cast<double>(parallel), 1.005 * static_cast<double>(single))
      << parallel << " against " << single;
}

// ---- the compressor's use ----------------------------------------------------

TEST(ParallelZlib, ReportsEachChunkInOrderOnTheCallingThread) {
  const Bytes data = Compressible(3 * kChunk + 500, 5);
  std::vector<std::uint64_t> reports;
  std::uint64_t written = 0;
  const std::thread::id feeder = std::this_thread::get_id();
  ParallelZlibCompressor compressor({.jobs = 3, .progress = [&](std::uint64_t done) {
                                       EXPECT_EQ(std::this_thread::get_id(), feeder);
                                       EXPECT_LE(done, written);
                                       reports.push_back(done);
                                     }});
  for (std::size_t at = 0; at < data.size(); at += 100000) {
    const std::size_t n = std::min<std::size_t>(100000, data.size() - at);
    written += n;
    compressor.Write(base::ByteView(data).subspan(at, n));
  }
  EXPECT_EQ(compressor.InputSize(), data.size());
  compressor.Finish();
  EXPECT_EQ(reports, (std::vector<std::uint64_t>{kChunk, 2 * kChunk, 3 * kChunk, data.size()}));
}

TEST(ParallelZlib, IsSpentOnceFinished) {
  ParallelZlibCompressor compressor({.jobs = 2});
  compressor.Write(Compressible(10));
  compressor.Finish();
  EXPECT_THROW(compressor.Write(Compressible(10)), std::logic_error);
  EXPECT_THROW(compressor.Finish(), std::logic_error);
  EXPECT_THROW(compressor.FinishBlock(), std::logic_error);
}

}  // namespace
