#include "framework/controls/keyboard.h"

#include "base/win_api.h"

namespace framework {

bool ModifierHeld() {
  return GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
}

}  // namespace framework
