#include "framework/graphics/font_win.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "base/error.h"
#include "base/text_codec.h"

namespace graphics {

OwnedFont MakeFont(const TFont& font) {
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
  OwnedFont handle(CreateFontIndirectW(&lf));
  if (!handle) throw base::Error("Out of system resources");
  return handle;
}

HFONT CachedFont(const TFont& font) {
  // Everything MakeFont reads, and nothing else.
  using Key = std::tuple<std::string, int, TFontStyles, std::uint8_t>;
  // Never freed: fonts handed out may be in use by windows until the end.
  static auto* fonts = new std::map<Key, OwnedFont>;
  // Paint runs on the GUI thread, but a worker that measures text could
  // ask too; the lock costs nothing next to drawing the text.
  static std::mutex mutex;
  Key key{font.Name, font.Height, font.Style, font.Charset};
  std::lock_guard lock(mutex);
  auto it = fonts->find(key);
  if (it == fonts->end()) it = fonts->emplace(std::move(key), MakeFont(font)).first;
  return it->second.get();
}

}  // namespace graphics
