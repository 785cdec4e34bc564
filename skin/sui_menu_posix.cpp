// Without a window system there are no forms, no desktop to draw a menu
// frame on, and the locale reads left to right.
#include "skin/sui_menu.h"

namespace skin::menu_platform {

TsuiUIStyle OwnerStyle(framework::TComponent*) { return DeepBlue; }

void ClearOwnerFormMenu(framework::TComponent*) {}

graphics::TFont SystemMenuFont() {
  graphics::TFont font;
  font.Color = graphics::kSystemColorFlag | 7;  // COLOR_MENUTEXT
  return font;
}

bool RightToLeftLocale() { return false; }

void DrawFlatMenuFrame(graphics::TColor) {}

}  // namespace skin::menu_platform
