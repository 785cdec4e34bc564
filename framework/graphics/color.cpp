#include "framework/graphics/color.h"

#include <array>

namespace graphics {
namespace {

SysColorResolver g_resolver = nullptr;

// COLOR_SCROLLBAR (0) to COLOR_MENUBAR (30) in the classic scheme. Index 25
// is unused by Windows and reads as black.
constexpr std::array<TColor, 31> kClassic = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128),
    RGB(212, 208, 200), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(0, 0, 0),       RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),
    RGB(255, 255, 225), RGB(0, 0, 0),       RGB(0, 0, 128),     RGB(166, 202, 240),
    RGB(192, 192, 192), RGB(10, 36, 106),   RGB(212, 208, 200),
};

}  // namespace

TColor ClassicSysColor(int index) {
  if (index < 0 || index >= static_cast<int>(kClassic.size())) return clBlack;
  return kClassic[static_cast<std::size_t>(index)];
}

SysColorResolver SetSysColorResolver(SysColorResolver resolver) {
  SysColorResolver previous = g_resolver ? g_resolver : &PlatformSysColor;
  g_resolver = resolver;
  return previous;
}

TColor ColorToRGB(TColor color) {
  if (!IsSystemColor(color)) return color & 0xFFFFFF;
  SysColorResolver resolve = g_resolver ? g_resolver : &PlatformSysColor;
  return resolve(static_cast<int>(color & 0xFF)) & 0xFFFFFF;
}

}  // namespace graphics
