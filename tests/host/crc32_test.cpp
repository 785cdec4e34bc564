// CRC-32: the check value, running values as zlib counts them, and the raw
// register step the PKWARE keys use.
#include "base/crc32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

TEST(Crc32, AgreesWithZlibWholeAndInPieces) {
  const std::string check = "123456789";
  EXPECT_EQ(base::Crc32(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()),
            0xCBF43926u);
  EXPECT_EQ(base::Crc32(nullptr, 0), 0u);

  std::mt19937 random(7);
  std::vector<std::uint8_t> data(5000);
  for (auto& b : data) b = static_cast<std::uint8_t>(random());
  const uLong whole = crc32(0, data.data(), static_cast<uInt>(data.size()));
  EXPECT_EQ(base::Crc32(data.data(), data.size()), whole);
  for (std::size_t split : {std::size_t{0}, std::size_t{1}, std::size_t{2999}, data.size()}) {
    const std::uint32_t first = base::Crc32(data.data(), split);
    EXPECT_EQ(first, crc32(0, data.data(), static_cast<uInt>(split)));
    EXPECT_EQ(base::Crc32(data.data() + split, data.size() - split, first), whole) << split;
  }
}

TEST(Crc32, TheRegisterStepIsTheCrcWithoutItsInversions) {
  const std::uint8_t bytes[] = {0x00, 0x5A, 0xFF};
  std::uint32_t reg = 0xFFFFFFFFu;
  for (std::uint8_t b : bytes) reg = base::Crc32Update(reg, b);
  EXPECT_EQ(~reg, base::Crc32(bytes, sizeof bytes));
  // From a register of zero, one byte's step is the table entry for it.
  EXPECT_EQ(base::Crc32Update(0, 0x80), 0xEDB88320u);
}

}  // namespace
