#pragma once
// Points, sizes and rectangles in pixels. A rectangle's right and bottom are
// exclusive: (0, 0, 10, 5) covers columns 0-9 and rows 0-4.
#include <algorithm>

namespace graphics {

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  // Negative when the rectangle is inverted; callers that need a size
  // clamp it themselves, so that the arithmetic of layout code stays exact.
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  // True when no pixel lies inside (zero or negative width or height).
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  void Offset(int dx, int dy) {
    Left += dx;
    Right += dx;
    Top += dy;
    Bottom += dy;
  }
  // Inside with the usual exclusive right and bottom edges.
  bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

// The common part of two rectangles; empty (possibly inverted) when they do
// not overlap.
inline TRect Intersect(const TRect& a, const TRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
}

}  // namespace graphics
