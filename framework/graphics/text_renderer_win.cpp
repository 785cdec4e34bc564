#include "base/win_api.h"
#include "framework/graphics/font_win.h"

#include <optional>
#include <string>

#include "base/error.h"
#include "base/text_codec.h"
#include "framework/graphics/bitmap_win.h"
#include "framework/graphics/text_renderer.h"

namespace graphics {
namespace {

static_assert(dt::Center == DT_CENTER && dt::Right == DT_RIGHT && dt::VCenter == DT_VCENTER &&
              dt::Bottom == DT_BOTTOM && dt::WordBreak == DT_WORDBREAK &&
              dt::SingleLine == DT_SINGLELINE && dt::ExpandTabs == DT_EXPANDTABS &&
              dt::NoClip == DT_NOCLIP && dt::CalcRect == DT_CALCRECT &&
              dt::NoPrefix == DT_NOPREFIX);


// The bitmap's DC with the font selected, text drawn in the font colour on
// a transparent background; an empty bitmap has no DC, and measuring then
// uses a memory DC of its own. The font comes from the cache: a paint
// draws many texts in few fonts. Everything is put back and released when
// the step ends (also when getting the font throws: the members own what
// was made so far), and GDI's batch is flushed so the pixels are final.
class TextDC {
public:
  TextDC(TBitmap& target, const TFont& font) : dc_(NativeDC(target)) {
    if (!dc_) {
      own_dc_.reset(CreateCompatibleDC(nullptr));
      if (!own_dc_) throw base::Error("Out of system resources");
      dc_ = own_dc_.get();
    }
    font_.emplace(dc_, CachedFont(font));
    old_colour_ = SetTextColor(dc_, static_cast<COLORREF>(ColorToRGB(font.Color)));
    old_mode_ = SetBkMode(dc_, TRANSPARENT);
  }
  TextDC(const TextDC&) = delete;
  TextDC& operator=(const TextDC&) = delete;
  ~TextDC() {
    SetBkMode(dc_, old_mode_);
    SetTextColor(dc_, old_colour_);
    font_.reset();
    GdiFlush();
  }
  HDC get() const { return dc_; }

private:
  HDC dc_ = nullptr;  // the bitmap's (not owned) or own_dc_
  OwnedDC own_dc_;
  // Declared after own_dc_: the font is put back before that DC goes.
  std::optional<ScopedSelect> font_;
  COLORREF old_colour_ = 0;
  int old_mode_ = 0;
};

class GdiTextRenderer final : public TextRenderer {
public:
  TSize TextExtent(TBitmap& target, const TFont& font, std::string_view text) override {
    TextDC dc(target, font);
    std::wstring wide = base::GbkToWide(text);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
    return {size.cx, size.cy};
  }

  void TextOut(TBitmap& target, const TFont& font, int x, int y, std::string_view text) override {
    if (target.Empty()) return;
    TextDC dc(target, font);
    std::wstring wide = base::GbkToWide(text);
    TextOutW(dc.get(), x, y, wide.c_str(), static_cast<int>(wide.size()));
  }

  int DrawText(TBitmap& target, const TFont& font, std::string_view text, TRect& rect,
               unsigned flags) override {
    if (target.Empty() && !(flags & dt::CalcRect)) return 0;
    TextDC dc(target, font);
    std::wstring wide = base::GbkToWide(text);
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    int height = DrawTextW(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &r, flags);
    if (flags & dt::CalcRect) rect = {r.left, r.top, r.right, r.bottom};
    return height;
  }
};

}  // namespace

TextRenderer& PlatformTextRenderer() {
  static GdiTextRenderer renderer;
  return renderer;
}

}  // namespace graphics
