#include <map>
#include <mutex>

#include "base/error.h"
#include "framework/controls/font_cache.h"

#include "base/win_api.h"
#include "framework/graphics/font_win.h"
#include "framework/graphics/gdi_handles_win.h"

namespace framework {

HFONT__* CachedFont(const graphics::TFont& font) { return graphics::CachedFont(font); }

HBRUSH__* CachedBrush(graphics::TColor color) {
  static auto* brushes = new std::map<graphics::TColor, graphics::OwnedBrush>;  // never freed
  // Controls are made on the GUI thread, but a worker could ask too; the
  // lock costs nothing next to creating a window.
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  auto it = brushes->find(color);
  if (it != brushes->end()) return it->second.get();
  graphics::OwnedBrush brush(CreateSolidBrush(static_cast<COLORREF>(graphics::ColorToRGB(color))));
  if (!brush) throw base::Error("Out of system resources");
  return brushes->emplace(color, std::move(brush)).first->second.get();
}

}  // namespace framework
