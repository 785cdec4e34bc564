#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "base/error.h"
#include "base/text_codec.h"
#include "framework/controls/font_cache.h"

#include "base/win_api.h"
#include "framework/graphics/font_win.h"

namespace framework {
namespace {

using FontKey = std::tuple<std::string, int, graphics::TFontStyles, std::uint8_t>;


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
  HFONT handle = graphics::CreateFontHandle(font);
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
