#pragma once
// Keyboard rules that buttons share: a caption's accelerator and whether
// a modifier key is held (a held modifier turns Enter or Esc into another
// command).
#include <cstdint>
#include <string>

namespace framework {

// Whether key is the character after a single '&' of caption ("&&" is a
// plain '&'), compared without regard to ASCII case.
bool IsAccelerator(std::uintptr_t key, const std::string& caption);

// Shift, Ctrl or Alt is held (keyboard_win.cpp).
bool ModifierHeld();

}  // namespace framework
