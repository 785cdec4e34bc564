#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "base/error.h"
#include "base/text_codec.h"
#include "framework/controls/font_cache.h"

#include "base/win_api.h"

namespace framework {
namespace {

using FontKey = std::tuple<std::string, int, graphics::TFontStyles, std::uint8_t>;

HFONT MakeFont(const graphics::TFont& font) {
  LOGFONTW lf{};
  lf.lfHeight = -font.Height;
  lf.lfWeight = (font.Style & graphics::fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (font.Style & graphics::fsItalic) ? TRUE : FALSE;
  lf.lfUnderline = (font.Style & graphics::fsUnderline) ? TRUE : FALSE;
  lf.lfStrikeOut = (font.Style & graphics::fsStrikeOut) ? TRUE : FALSE;
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

// Controls are made on the GUI thread, but a worker that measures text
// could ask too; the lock costs nothing next to creating a window.
std::mutex& CacheMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

HFONT__* CachedFont(const graphics::TFont& font) {
  static auto* fonts = new std::map<FontKey, HFONT>;  // never freed: see font_cache.h
  FontKey key{font.Name, font.Height, font.Style, font.Charset};
  std::lock_guard lock(CacheMutex());
  auto it = fonts->find(key);
  if (it != fonts->end()) return it->second;
  HFONT handle = MakeFont(font);
  fonts->emplace(std::move(key), handle);
  return handle;
}

HBRUSH__* CachedBrush(graphics::TColor color) {
  static auto* brushes = new std::map<graphics::TColor, HBRUSH>;
  std::lock_guard lock(CacheMutex());
  auto it = brushes->find(color);
  if (it != brushes->end()) return it->second;
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(graphics::ColorToRGB(color)));
  if (!brush) throw base::Error("Out of system resources");
  brushes->emplace(color, brush);
  return brush;
}

}  // namespace framework
