// The package checksum is the installer's only integrity test, and cutting
// files out of the package must give exactly their bytes.
#include "installer/setup_package.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "base/error.h"
#include "installer/packed_block.h"

namespace {

using base::Bytes;

std::uint32_t NaiveSum(base::ByteView b) {
  return std::accumulate(b.begin(), b.end(), std::uint32_t{0});
}

TEST(PackageChecksum, KnownSums) {
  EXPECT_EQ(installer::PackageChecksum({}), 0u);
  EXPECT_EQ(installer::PackageChecksum(base::AsBytes("abc")), 294u);
  // 17000000 * 255 = 4335000000, which wraps to 40032704.
  Bytes ff(17000000, 0xFF);
  EXPECT_EQ(installer::PackageChecksum(ff), 40032704u);
}

TEST(PackageChecksum, MatchesAPlainSumAtEveryLengthAndAlignmentAndIgnoresOrder) {
  std::mt19937 rng(42);
  Bytes data(4096 + 64);
  for (auto& x : data) x = static_cast<std::uint8_t>(rng());
  for (std::size_t start = 0; start < 17; ++start)
    for (std::size_t len : {0u, 1u, 15u, 16u, 17u, 31u, 33u, 1000u, 4096u}) {
      base::ByteView v(data.data() + start, len);
      ASSERT_EQ(installer::PackageChecksum(v), NaiveSum(v)) << start << "+" << len;
    }
  Bytes shuffled = data;
  std::shuffle(shuffled.begin(), shuffled.end(), rng);
  EXPECT_EQ(installer::PackageChecksum(shuffled), installer::PackageChecksum(data));
}

TEST(SetupPackage, LoadsUnpacksAndVerifies) {
  Bytes package = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  installer::MemoryResourceSource resources;
  resources.Set("SETUPPACK", installer::PackBlock(package));
  std::unique_ptr<base::MemoryStream> stream;
  installer::LoadPackage(resources, stream);
  ASSERT_TRUE(stream);
  EXPECT_EQ(Bytes(stream->View().begin(), stream->View().end()), package);
  EXPECT_TRUE(installer::VerifyPackage(*stream, 45));
  EXPECT_EQ(stream->Position(), stream->Size());
  EXPECT_FALSE(installer::VerifyPackage(*stream, 44));
}

TEST(SetupPackage, EmptyPackageHasChecksumZero) {
  installer::MemoryResourceSource resources;
  resources.Set("SETUPPACK", installer::PackBlock({}));
  std::unique_ptr<base::MemoryStream> stream;
  installer::LoadPackage(resources, stream);
  EXPECT_EQ(stream->Size(), 0u);
  EXPECT_TRUE(installer::VerifyPackage(*stream, 0));
}

TEST(SetupPackage, MissingOrDamagedResources) {
  installer::MemoryResourceSource resources;
  std::unique_ptr<base::MemoryStream> stream;
  try {
    installer::LoadPackage(resources, stream);
    FAIL() << "no error";
  } catch (const base::Error& e) {
    EXPECT_STREQ(e.what(), "Resource SETUPPACK not found");
  }
  EXPECT_FALSE(stream);  // no package stream after a missing resource

  Bytes damaged = installer::PackBlock(Bytes(1000, 7));
  damaged.resize(8);
  resources.Set("SETUPPACK", damaged);
  EXPECT_THROW(installer::LoadPackage(resources, stream), base::Error);
  ASSERT_TRUE(stream);  // the form owns the stream, which holds no package
  EXPECT_EQ(stream->Size(), 0u);
}

TEST(SetupPackage, ReadingAFileSeeksFirstAndStaysInside) {
  base::MemoryStream package(Bytes{10, 11, 12, 13, 14, 15});
  installer::TSetupFileEntry e{};
  e.Offset = 2;
  e.Size = 3;
  package.Seek(package.Size());  // where the checksum pass leaves it
  EXPECT_EQ(installer::ReadPackageFile(package, e), (Bytes{12, 13, 14}));
  EXPECT_EQ(installer::ReadPackageFile(package, e), (Bytes{12, 13, 14}));
  e.Size = 0;
  EXPECT_TRUE(installer::ReadPackageFile(package, e).empty());
  e.Offset = 4;
  e.Size = 3;
  EXPECT_THROW(installer::ReadPackageFile(package, e), base::Error);
  e.Offset = 0xFFFFFFFF;
  e.Size = 2;
  EXPECT_THROW(installer::ReadPackageFile(package, e), base::Error);
}

}  // namespace
