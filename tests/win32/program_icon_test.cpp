// The icon the installer and the uninstaller carry (PNG entries, drawn by
// resources/make_icon.py), loaded from the built programs at each of its
// sizes the way the shell and the window manager load it: a system that
// could not read an entry would give no icon, or a stretched other size.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/win32/support/data_module.h"

namespace {

using testing_support::DataModule;

// The icon's colour pixels, top row first, as BGRA.
std::vector<std::uint32_t> IconPixels(HICON icon, int size) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {};
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size);
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
  bmi.bmiHeader.biWidth = size;
  bmi.bmiHeader.biHeight = -size;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  HDC dc = GetDC(nullptr);
  const int rows = GetDIBits(dc, info.hbmColor, 0, size, pixels.data(), &bmi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  if (rows != size) return {};
  return pixels;
}

void ExpectTheIcon(const wchar_t* program) {
  DataModule data(program);
  ASSERT_NE(data.module, nullptr) << program;
  for (int size : {16, 32, 48}) {
    SCOPED_TRACE(size);
    HICON icon = static_cast<HICON>(
        LoadImageW(data.module, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bm{};
    GetObjectW(info.hbmColor, sizeof(bm), &bm);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(bm.bmWidth, size);
    EXPECT_EQ(bm.bmHeight, size);
    const auto pixels = IconPixels(icon, size);
    DestroyIcon(icon);
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(size) * size);
    auto at = [&](double u, double v) {
      return pixels[static_cast<int>(v * size) * size + static_cast<int>(u * size)];
    };
    // Outside the rounded corner: transparent. The square's left edge at
    // mid height: opaque blue. The arrow's shaft: opaque white.
    EXPECT_EQ(at(0.0, 0.0) >> 24, 0u);
    const std::uint32_t blue = at(0.1, 0.5);
    EXPECT_EQ(blue >> 24, 0xFFu);
    EXPECT_GT(blue & 0xFF, (blue >> 16) & 0xFF);  // blue above red
    EXPECT_EQ(at(0.5, 0.3), 0xFFFFFFFFu);
  }
}

TEST(ProgramIcon, TheInstallerStubsIconLoadsAtEachSize) { ExpectTheIcon(VANTO_STUB_PATH); }

TEST(ProgramIcon, TheUninstallersIconLoadsAtEachSize) { ExpectTheIcon(VANTO_UNINSTALLER_PATH); }

}  // namespace
