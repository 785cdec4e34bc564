#include "framework/controls/keyboard.h"

#include "base/text_codec.h"

#include "base/win_api.h"

namespace framework {
namespace {

wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? c - (L'a' - L'A') : c; }

}  // namespace

bool IsAccelerator(std::uintptr_t utf16_unit, const std::string& caption) {
  if (utf16_unit == 0 || utf16_unit > 0xFFFF) return false;
  const std::string_view accelerator = AcceleratorOf(caption);
  if (accelerator.empty()) return false;
  // GBK has no character outside the Basic Multilingual Plane: one unit.
  const std::wstring wide = base::GbkToWide(accelerator);
  if (wide.size() != 1) return false;
  return AsciiUpper(wide[0]) == AsciiUpper(static_cast<wchar_t>(utf16_unit));
}

bool ModifierHeld() {
  return GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
}

}  // namespace framework
