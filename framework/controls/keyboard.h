#pragma once
// Keyboard rules that buttons share: a caption's accelerator and whether
// a modifier key is held (a held modifier turns Enter or Esc into another
// command).
#include <cstdint>
#include <string>
#include <string_view>

namespace framework {

// The character after the first single '&' of caption ("&&" is a plain
// '&'): its GBK bytes, one or two; empty when the caption has none.
std::string_view AcceleratorOf(std::string_view caption);

// Whether a typed character is caption's accelerator. The character is what
// a wide window's WM_CHAR carries, a UTF-16 unit: the whole unit is
// compared with the accelerator's UTF-16 form, ASCII letters without regard
// to case (keyboard_win.cpp).
bool IsAccelerator(std::uintptr_t utf16_unit, const std::string& caption);

// Shift, Ctrl or Alt is held (keyboard_win.cpp).
bool ModifierHeld();

}  // namespace framework
