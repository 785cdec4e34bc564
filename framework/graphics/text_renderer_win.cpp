#include "base/win_api.h"
#include "framework/graphics/font_win.h"

#include <algorithm>
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
// uses a memory DC of its own. Everything is put back and released when
// the step ends, and GDI's batch is flushed so the pixels are final.
class TextDC {
public:
  TextDC(TBitmap& target, const TFont& font) : dc_(NativeDC(target)) {
    if (!dc_) {
      own_dc_ = CreateCompatibleDC(nullptr);
      if (!own_dc_) throw base::Error("Out of system resources");
      dc_ = own_dc_;
    }
    font_ = CreateFontHandle(font);
    old_font_ = SelectObject(dc_, font_);
    old_colour_ = SetTextColor(dc_, static_cast<COLORREF>(ColorToRGB(font.Color)));
    old_mode_ = SetBkMode(dc_, TRANSPARENT);
  }
  TextDC(const TextDC&) = delete;
  TextDC& operator=(const TextDC&) = delete;
  ~TextDC() {
    SetBkMode(dc_, old_mode_);
    SetTextColor(dc_, old_colour_);
    SelectObject(dc_, old_font_);
    DeleteObject(font_);
    if (own_dc_) DeleteDC(own_dc_);
    GdiFlush();
  }
  HDC get() const { return dc_; }

private:
  HDC dc_ = nullptr;
  HDC own_dc_ = nullptr;
  HFONT font_ = nullptr;
  HGDIOBJ old_font_ = nullptr;
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

HFONT CreateFontHandle(const TFont& font) {
  LOGFONTW lf{};
  lf.lfHeight = -font.Height;
  lf.lfWeight = (font.Style & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (font.Style & fsItalic) ? TRUE : FALSE;
  lf.lfUnderline = (font.Style & fsUnderline) ? TRUE : FALSE;
  lf.lfStrikeOut = (font.Style & fsStrikeOut) ? TRUE : FALSE;
  lf.lfCharSet = font.Charset;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  std::wstring face = base::GbkToWide(font.Name);
  face.resize(std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  std::copy(face.begin(), face.end(), lf.lfFaceName);
  HFONT handle = CreateFontIndirectW(&lf);
  if (!handle) throw base::Error("Out of system resources");
  return handle;
}

}  // namespace graphics
