#include "framework/graphics/bitmap.h"

#include <cstring>
#include <new>
#include <utility>

#include "base/error.h"

namespace graphics {

TBitmap::TBitmap(TBitmap&& other) noexcept
    : transparent_(other.transparent_),
      transparent_color_set_(other.transparent_color_set_),
      transparent_color_(other.transparent_color_) {
  TakeImage(std::move(other));
}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
  if (this != &other) {
    transparent_ = other.transparent_;
    transparent_color_set_ = other.transparent_color_set_;
    transparent_color_ = other.transparent_color_;
    TakeImage(std::move(other));
  }
  return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::Release() noexcept {
  storage_.reset();
  pixels_ = nullptr;
  width_ = height_ = 0;
  native_pending_ = false;
}

void TBitmap::SetSize(int width, int height) {
  if (width < 0 || height < 0 || width > kMaxBitmapSide || height > kMaxBitmapSide)
    throw base::Error("Invalid bitmap size");
  Release();
  if (width == 0 || height == 0) {
    // An empty bitmap keeps its sides (0 x 5 is a valid, empty size) but
    // has no pixels to store.
    width_ = width;
    height_ = height;
    return;
  }
  try {
    storage_ = detail::CreatePixelStorage(width, height);
  } catch (const std::bad_alloc&) {
    throw base::Error("Out of memory");
  }
  pixels_ = storage_->Pixels();
  width_ = width;
  height_ = height;
}

TColor TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kNoPixel;
  return PixelToColor(Row(y)[x]);
}

void TBitmap::SetPixel(int x, int y, TColor color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Row(y)[x] = ColorToPixel(ColorToRGB(color));
}

TColor TBitmap::TransparentColor() const {
  if (transparent_color_set_) return transparent_color_;
  return Pixel(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
  transparent_color_ = ColorToRGB(color);
  transparent_color_set_ = true;
}

void TBitmap::Assign(const TBitmap& other) {
  if (this == &other) return;
  SetSize(other.width_, other.height_);
  if (!Empty()) {
    std::memcpy(Row(0), other.Row(0),
                static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4);
  }
  transparent_ = other.transparent_;
  transparent_color_set_ = other.transparent_color_set_;
  transparent_color_ = other.transparent_color_;
}

void TBitmap::TakeImage(TBitmap&& other) noexcept {
  if (this == &other) return;
  storage_ = std::move(other.storage_);
  pixels_ = std::exchange(other.pixels_, nullptr);
  width_ = std::exchange(other.width_, 0);
  height_ = std::exchange(other.height_, 0);
  native_pending_ = std::exchange(other.native_pending_, false);
}

void* TBitmap::NativeContext() {
  if (!storage_) return nullptr;
  void* context = storage_->NativeContext();
  if (context) native_pending_ = true;
  return context;
}

void TBitmap::FlushNative() const {
  storage_->FlushNative();
  native_pending_ = false;
}

}  // namespace graphics
