#pragma once
// The toolkit's bitmap: 32 bits per pixel, rows top-down, each pixel a
// uint32 0x00RRGGBB as in a 32-bit DIB. Note the byte order: a pixel keeps
// red in bits 16-23 where a TColor keeps it in bits 0-7; Pixel/SetPixel
// speak TColor, Row() hands out raw pixels, and ColorToPixel/PixelToColor
// translate.
//
// Storage goes through a platform seam: on Windows the pixels live in a DIB
// section, so that GDI can draw text straight into them (bitmap_win.h); on
// other platforms they are plain heap memory.
//
// Bitmaps copy deeply: a copy owns its own pixels, and moving hands the
// pixels over, so no storage is ever released twice.
#include <cstdint>
#include <memory>

#include "framework/graphics/color.h"

namespace graphics {

using Pixel32 = std::uint32_t;

// colour must already be RGB (see ColorToRGB); its high byte is dropped.
constexpr Pixel32 ColorToPixel(TColor rgb) {
  return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}
// The pixel's fourth byte (GDI leaves it 0; a 32-bit BMP may carry alpha
// there) is not part of the colour.
constexpr TColor PixelToColor(Pixel32 p) {
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

// The answer of Pixel() outside the bitmap: a value that is neither an RGB
// colour nor a system colour, so it never equals a pixel.
inline constexpr TColor kNoPixel = 0x1FFFFFFF;

// Larger sides are refused. Far beyond any picture of this program, and it
// keeps width * height * 4 well inside a 32-bit size_t.
inline constexpr int kMaxBitmapSide = 16384;

// A picture's sides as a codec reads them from its headers, before any
// pixel is allocated.
struct TPictureSize {
  int width = 0;
  int height = 0;
};

namespace detail {

// Where a bitmap's pixels live. Width * height pixels, rows top-down and
// contiguous (a 32-bit row needs no padding).
class PixelStorage {
public:
  virtual ~PixelStorage() = default;
  virtual Pixel32* Pixels() = 0;
  // A drawing context for the platform's own drawing (an HDC with the
  // pixels selected, on Windows); nullptr where there is none.
  virtual void* NativeContext() { return nullptr; }
  // Waits until drawing through the native context has reached the pixels.
  virtual void FlushNative() {}
};

// Pixels for a width x height bitmap (both at least 1), all black.
// bitmap_storage_posix.cpp / bitmap_storage_win.cpp.
std::unique_ptr<PixelStorage> CreatePixelStorage(int width, int height);

}  // namespace detail

class TBitmap {
public:
  TBitmap() = default;
  TBitmap(int width, int height) { SetSize(width, height); }
  TBitmap(const TBitmap& other) { Assign(other); }
  TBitmap& operator=(const TBitmap& other) {
    Assign(other);
    return *this;
  }
  TBitmap(TBitmap&& other) noexcept;
  TBitmap& operator=(TBitmap&& other) noexcept;
  ~TBitmap();

  int Width() const { return width_; }
  int Height() const { return height_; }
  // No pixels: width or height 0.
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // A new image of that size, every pixel black; nothing of the old one is
  // kept. Throws base::Error "Invalid bitmap size" for a negative side or
  // one above kMaxBitmapSide, and "Out of memory" when the pixels cannot be
  // had.
  void SetSize(int width, int height);

  // TColor of a pixel; kNoPixel outside the bitmap.
  TColor Pixel(int x, int y) const;
  // System colours are resolved first; writes outside the bitmap are
  // ignored.
  void SetPixel(int x, int y, TColor color);

  // Raw access to row y (0 <= y < Height()).
  Pixel32* Row(int y) {
    Sync();
    return pixels_ + static_cast<std::ptrdiff_t>(y) * width_;
  }
  const Pixel32* Row(int y) const {
    Sync();
    return pixels_ + static_cast<std::ptrdiff_t>(y) * width_;
  }

  // When set, drawing this bitmap onto a canvas leaves out the pixels whose
  // colour is exactly TransparentColor().
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent) { transparent_ = transparent; }
  // The colour set with SetTransparentColor (resolved to RGB); until one is
  // set, or after ResetTransparentColor, the colour of the bottom-left
  // pixel, as the toolkit's bitmaps choose it (kNoPixel for an empty
  // bitmap, so nothing is left out).
  TColor TransparentColor() const;
  void SetTransparentColor(TColor color);
  void ResetTransparentColor() { transparent_color_set_ = false; }

  // Becomes a copy of other: size, pixels and transparency settings.
  void Assign(const TBitmap& other);
  // Takes other's size and pixels and keeps this bitmap's transparency
  // settings, the way loading a picture into a bitmap does; other is left
  // empty.
  void TakeImage(TBitmap&& other) noexcept;

  // For the platform layer only (bitmap_win.h): the native drawing context
  // of the pixels, or nullptr for an empty bitmap. The next pixel access
  // waits for whatever was drawn through it.
  void* NativeContext();

private:
  void Sync() const {
    if (native_pending_) FlushNative();
  }
  void FlushNative() const;
  void Release() noexcept;

  std::unique_ptr<detail::PixelStorage> storage_;
  Pixel32* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  bool transparent_ = false;
  bool transparent_color_set_ = false;
  TColor transparent_color_ = clBlack;
  mutable bool native_pending_ = false;
};

}  // namespace graphics
