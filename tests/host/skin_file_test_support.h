#pragma once
// Helpers of the skin file tests: a scratch folder per test, BMP files of a
// given depth, whole files in and out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/bytes.h"
#include "framework/graphics/bmp_codec.h"

namespace testing_support {

namespace fs = std::filesystem;

inline void WriteBytes(const fs::path& path, base::ByteView bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

inline void WriteText(const fs::path& path, const std::string& text) {
  WriteBytes(path, base::AsBytes(text));
}

inline base::Bytes ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  const std::string text = s.str();
  return base::Bytes(text.begin(), text.end());
}

// A picture whose pixels depend on their place, so that two pictures of
// one size still differ, as a BMP file of 24 or 32 bits per pixel.
inline base::Bytes BmpFile(int width, int height, int bits_per_pixel = 24, int seed = 0) {
  graphics::TBitmap bitmap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      bitmap.SetPixel(x, y,
                      static_cast<graphics::TColor>((x * 37 + y * 91 + seed * 13) & 0xFFFFFF));
  return graphics::WriteBmp(bitmap, bits_per_pixel);
}

// An 8-bit BMP with a 2-colour palette (BITMAPINFOHEADER, bottom-up).
inline base::Bytes Bmp8File(int width, int height) {
  const int stride = (width + 3) / 4 * 4;
  const std::size_t pixels_at = 14 + 40 + 2 * 4;
  base::Bytes b(pixels_at + static_cast<std::size_t>(stride) * height, 0);
  b[0] = 'B';
  b[1] = 'M';
  base::PutU32(&b[2], static_cast<std::uint32_t>(b.size()));
  base::PutU32(&b[10], static_cast<std::uint32_t>(pixels_at));
  base::PutU32(&b[14], 40);
  base::PutU32(&b[18], static_cast<std::uint32_t>(width));
  base::PutU32(&b[22], static_cast<std::uint32_t>(height));
  base::PutU16(&b[26], 1);
  base::PutU16(&b[28], 8);
  base::PutU32(&b[46], 2);  // colours used
  base::PutU32(&b[54 + 4], 0x00FFFFFF);  // palette entry 1: white
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      b[pixels_at + y * stride + x] = static_cast<std::uint8_t>((x + y) & 1);
  return b;
}

// A scratch folder named after the running test, removed afterwards.
class ScratchDirTest : public ::testing::Test {
protected:
  fs::path dir = fs::temp_directory_path() / ScratchName();

  static std::string ScratchName() {
    const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
    return std::string("vanto-") + unit.current_test_info()->test_suite_name() + "-" +
           unit.current_test_info()->name() + "-" + std::to_string(unit.random_seed());
  }
  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
};

}  // namespace testing_support
