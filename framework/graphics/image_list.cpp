#include "framework/graphics/image_list.h"

namespace graphics {

int TImageList::Append(const TBitmap& strip, bool use_mask, TColor mask) {
  if (width_ < 1 || height_ < 1) return -1;
  const int count = strip.Width() / width_;
  if (count == 0) return -1;
  const Pixel32 key = ColorToPixel(ColorToRGB(mask));
  const int first = Count();
  for (int n = 0; n < count; ++n) {
    Image image;
    image.mask = ColorToRGB(mask);
    image.pixels.SetSize(width_, height_);
    if (use_mask) image.masked.assign(static_cast<std::size_t>(width_) * height_, false);
    for (int y = 0; y < height_; ++y) {
      Pixel32* dst = image.pixels.Row(y);
      const Pixel32* src = y < strip.Height() ? strip.Row(y) + n * width_ : nullptr;
      for (int x = 0; x < width_; ++x) {
        const Pixel32 p = src ? src[x] & 0xFFFFFF : 0;
        const bool masked = use_mask && (!src || p == key);
        if (masked) {
          image.masked[static_cast<std::size_t>(y) * width_ + x] = true;
        } else {
          dst[x] = p;
        }
      }
    }
    images_.push_back(std::move(image));
  }
  return first;
}

int TImageList::AddMasked(const TBitmap& strip, TColor mask) { return Append(strip, true, mask); }

int TImageList::Add(const TBitmap& strip) { return Append(strip, false, clBlack); }

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  const Image& image = images_[static_cast<std::size_t>(index)];
  TBitmap& target = canvas.Bitmap();
  auto is_masked = [&](int ix, int iy) {
    return !image.masked.empty() && image.masked[static_cast<std::size_t>(iy) * width_ + ix];
  };
  auto put = [&](int px, int py, Pixel32 p) {
    if (px >= 0 && py >= 0 && px < target.Width() && py < target.Height()) target.Row(py)[px] = p;
  };

  if (enabled) {
    for (int iy = 0; iy < height_; ++iy) {
      const Pixel32* src = image.pixels.Row(iy);
      for (int ix = 0; ix < width_; ++ix) {
        if (!is_masked(ix, iy)) put(x + ix, y + iy, src[ix]);
      }
    }
    return;
  }

  const Pixel32 highlight = ColorToPixel(ColorToRGB(clBtnHighlight));
  const Pixel32 shadow = ColorToPixel(ColorToRGB(clBtnShadow));
  constexpr Pixel32 kWhite = 0xFFFFFF;
  for (int pass = 0; pass < 2; ++pass) {
    const int offset = pass == 0 ? 1 : 0;
    const Pixel32 colour = pass == 0 ? highlight : shadow;
    for (int iy = 0; iy < height_; ++iy) {
      const Pixel32* src = image.pixels.Row(iy);
      for (int ix = 0; ix < width_; ++ix) {
        if (!is_masked(ix, iy) && src[ix] != kWhite) put(x + ix + offset, y + iy + offset, colour);
      }
    }
  }
}

void TImageList::GetBitmap(int index, TBitmap& out) const {
  if (index < 0 || index >= Count()) {
    out.SetSize(0, 0);
    return;
  }
  const Image& image = images_[static_cast<std::size_t>(index)];
  out.Assign(image.pixels);
  out.SetTransparent(!image.masked.empty());
  if (image.masked.empty()) return;
  out.SetTransparentColor(image.mask);
  const Pixel32 key = ColorToPixel(image.mask);
  for (int y = 0; y < height_; ++y) {
    Pixel32* row = out.Row(y);
    for (int x = 0; x < width_; ++x) {
      if (image.masked[static_cast<std::size_t>(y) * width_ + x]) row[x] = key;
    }
  }
}

}  // namespace graphics
