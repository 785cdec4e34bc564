// Unpacking guards the installer's first step: a damaged or truncated block
// must fail with the right message and never read or allocate beyond reason.
#include "installer/packed_block.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "base/error.h"

namespace {

using base::Bytes;

Bytes Pattern(std::size_t n, unsigned seed = 1) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b) x = static_cast<std::uint8_t>(rng() % 7);  // compressible, not trivial
  return b;
}

// A block whose length field says n but whose stream holds data.
Bytes BlockClaiming(std::uint32_t n, const Bytes& data) {
  Bytes block = installer::PackBlock(data);
  base::PutU32(block.data(), n);
  return block;
}

std::string ErrorOf(const Bytes& block) {
  try {
    installer::UnpackBlock(block);
  } catch (const base::Error& e) {
    return e.what();
  }
  return "no error";
}

TEST(PackedBlock, RoundTripsAndStartsWithTheLengthAndMaxLevelHeader) {
  Bytes data = Pattern(300000);
  Bytes block = installer::PackBlock(data, 9);
  EXPECT_EQ(installer::PackedBlockLength(block), 300000u);
  EXPECT_EQ(block[4], 0x78);
  EXPECT_EQ(block[5], 0xDA);
  EXPECT_EQ(installer::UnpackBlock(block), data);
}

TEST(PackedBlock, UnpackStreamReplacesTheContent) {
  Bytes data = Pattern(1000);
  base::MemoryStream stream(installer::PackBlock(data));
  stream.Seek(17);
  installer::UnpackStream(stream);
  EXPECT_EQ(stream.Size(), 1000u);
  EXPECT_EQ(Bytes(stream.View().begin(), stream.View().end()), data);
}

TEST(PackedBlock, ZeroLengthIsEmptyWhateverFollows) {
  EXPECT_TRUE(installer::UnpackBlock(Bytes{0, 0, 0, 0}).empty());
  EXPECT_TRUE(installer::UnpackBlock(Bytes{0, 0, 0, 0, 0xFF, 0xFF}).empty());
}

TEST(PackedBlock, StreamLongerThanLengthGivesTheFirstNBytes) {
  Bytes data = Pattern(5000);
  Bytes out = installer::UnpackBlock(BlockClaiming(1234, data));
  EXPECT_EQ(out, Bytes(data.begin(), data.begin() + 1234));
}

TEST(PackedBlock, ShortBlocksAndShortStreamsAreReadErrors) {
  EXPECT_EQ(ErrorOf({}), "Stream read error");
  EXPECT_EQ(ErrorOf({1, 0, 0}), "Stream read error");
  // The stream ends (cleanly) before N bytes came out.
  EXPECT_EQ(ErrorOf(BlockClaiming(5001, Pattern(5000))), "Stream read error");
  // The stream is cut off in the middle.
  Bytes cut = installer::PackBlock(Pattern(100000, 7));
  cut.resize(cut.size() / 2);
  EXPECT_EQ(ErrorOf(cut), "Stream read error");
  // A length no deflate stream of this size could produce is refused before
  // any buffer is allocated for it.
  EXPECT_EQ(ErrorOf(BlockClaiming(0xFFFFFFFFu, Pattern(10))), "Stream read error");
}

TEST(PackedBlock, DamagedDataIsAnError) {
  Bytes block = installer::PackBlock(Pattern(2000));
  block[4] = 0x00;  // zlib header check fails
  EXPECT_EQ(ErrorOf(block), "Error");
  Bytes bad_type = {10, 0, 0, 0, 0x78, 0x9C, 0x07};  // BTYPE 11 is reserved
  EXPECT_EQ(ErrorOf(bad_type), "Error");
}

TEST(PackedBlock, ChecksumAndTrailingBytesAreNotExamined) {
  Bytes data = Pattern(4000);
  Bytes block = installer::PackBlock(data);
  block.back() ^= 0xFF;  // Adler-32 damaged
  block.push_back(0x42);
  EXPECT_EQ(installer::UnpackBlock(block), data);
}

TEST(PackedBlock, AcceptsAnyValidZlibStream) {
  Bytes data = Pattern(10000, 3);
  for (int level : {0, 1, 6}) {
    uLongf size = compressBound(data.size());
    Bytes z(size);
    ASSERT_EQ(compress2(z.data(), &size, data.data(), data.size(), level), Z_OK);
    Bytes block(4);
    base::PutU32(block.data(), static_cast<std::uint32_t>(data.size()));
    block.insert(block.end(), z.begin(), z.begin() + size);
    EXPECT_EQ(installer::UnpackBlock(block), data) << "level " << level;
  }
}

}  // namespace
