#include "base/win_api.h"

#include <cstring>
#include <memory>

#include "base/error.h"
#include "framework/graphics/bitmap.h"

namespace graphics::detail {
namespace {

// A 32-bit top-down DIB section. Its memory DC is made on first demand:
// most bitmaps (temporary pieces of skin pictures) never meet GDI.
class DibStorage final : public PixelStorage {
public:
  DibStorage(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: rows top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_ || !bits) throw base::Error("Out of system resources");
    pixels_ = static_cast<Pixel32*>(bits);
    std::memset(pixels_, 0, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  }
  DibStorage(const DibStorage&) = delete;
  DibStorage& operator=(const DibStorage&) = delete;
  ~DibStorage() override {
    if (dc_) {
      SelectObject(dc_, old_);
      DeleteDC(dc_);
    }
    DeleteObject(bitmap_);
  }

  Pixel32* Pixels() override { return pixels_; }

  void* NativeContext() override {
    if (!dc_) {
      dc_ = CreateCompatibleDC(nullptr);
      if (!dc_) throw base::Error("Out of system resources");
      old_ = SelectObject(dc_, bitmap_);
    }
    return dc_;
  }

  void FlushNative() override { GdiFlush(); }

private:
  HBITMAP bitmap_ = nullptr;
  Pixel32* pixels_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

}  // namespace

std::unique_ptr<PixelStorage> CreatePixelStorage(int width, int height) {
  return std::make_unique<DibStorage>(width, height);
}

}  // namespace graphics::detail
