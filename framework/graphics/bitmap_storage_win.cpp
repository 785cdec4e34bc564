#include "base/win_api.h"

#include <cstring>
#include <memory>
#include <optional>

#include "base/error.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/gdi_handles_win.h"

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
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || !bits) throw base::Error("Out of system resources");
    pixels_ = static_cast<Pixel32*>(bits);
    std::memset(pixels_, 0, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  }

  Pixel32* Pixels() override { return pixels_; }

  void* NativeContext() override {
    if (!dc_) {
      OwnedDC dc(CreateCompatibleDC(nullptr));
      if (!dc) throw base::Error("Out of system resources");
      selection_.emplace(dc.get(), bitmap_.get());
      dc_ = std::move(dc);
    }
    return dc_.get();
  }

  void FlushNative() override { GdiFlush(); }

private:
  // Destroyed in reverse: the bitmap is put out of the DC, the DC deleted,
  // then the bitmap.
  OwnedBitmap bitmap_;
  Pixel32* pixels_ = nullptr;
  OwnedDC dc_;
  std::optional<ScopedSelect> selection_;
};

}  // namespace

std::unique_ptr<PixelStorage> CreatePixelStorage(int width, int height) {
  return std::make_unique<DibStorage>(width, height);
}

}  // namespace graphics::detail
