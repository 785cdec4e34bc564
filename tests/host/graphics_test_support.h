#pragma once
// Helpers of the graphics and skin tests: pictures whose pixels name their
// own coordinates, and fixed system colours and text rendering, so that
// results are the same natively and under Wine.
#include <string>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/color.h"
#include "framework/graphics/fixed_cell_text_renderer.h"
#include "framework/graphics/text_renderer.h"

namespace testing_support {

using graphics::TBitmap;
using graphics::TColor;

// Red = x, green = y, blue = marker: the colour of a pixel says which
// source pixel it came from (and from which picture). Markers must not be
// 0xFF with x = 0xFF (that would be magenta, the mask colour).
inline TColor Coord(int x, int y, int marker = 0x80) {
  return static_cast<TColor>(x) | (static_cast<TColor>(y) << 8) |
         (static_cast<TColor>(marker) << 16);
}

inline TBitmap CoordBitmap(int width, int height, int marker = 0x80) {
  TBitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, Coord(x, y, marker));
  }
  return b;
}

inline TBitmap Filled(int width, int height, TColor colour) {
  TBitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, colour);
  }
  return b;
}

// System colour i reads as RGB(i, 2 * i, 3 * i) while in scope.
class ScopedFakeSysColors {
public:
  ScopedFakeSysColors() : previous_(graphics::SetSysColorResolver(&Fake)) {}
  ~ScopedFakeSysColors() { graphics::SetSysColorResolver(previous_); }
  ScopedFakeSysColors(const ScopedFakeSysColors&) = delete;
  ScopedFakeSysColors& operator=(const ScopedFakeSysColors&) = delete;

  static TColor Fake(int i) {
    return graphics::RGB(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(2 * i),
                         static_cast<std::uint8_t>(3 * i));
  }

private:
  graphics::SysColorResolver previous_;
};

// Every canvas without a renderer of its own uses the fixed-cell renderer.
class ScopedFixedCellText {
public:
  ScopedFixedCellText() : previous_(graphics::SetDefaultTextRenderer(&renderer_)) {}
  ~ScopedFixedCellText() { graphics::SetDefaultTextRenderer(previous_); }
  ScopedFixedCellText(const ScopedFixedCellText&) = delete;
  ScopedFixedCellText& operator=(const ScopedFixedCellText&) = delete;

private:
  graphics::FixedCellTextRenderer renderer_;
  graphics::TextRenderer* previous_;
};

}  // namespace testing_support
