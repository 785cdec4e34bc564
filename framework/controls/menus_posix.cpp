// Without a window system a popup menu has nowhere to show: Popup only
// announces itself, so portable code that opens menus still runs.
#include "framework/controls/menus.h"

namespace framework {

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Popup(int, int) {
  if (OnPopup) OnPopup(this);
}

}  // namespace framework
