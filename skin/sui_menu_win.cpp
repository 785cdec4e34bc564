// The skinned menus' Windows side: the owner form, the system's menu font
// and locale, and the frame of a flat menu's window.
#include "framework/controls/control.h"
#include "framework/controls/form.h"
#include "framework/controls/menu_native.h"
#include "framework/graphics/gdi_handles_win.h"
#include "skin/sui_menu.h"
#include "skin/sui_style_rules.h"

#include "base/win_api.h"

namespace skin::menu_platform {

TsuiUIStyle OwnerStyle(framework::TComponent* owner) { return GetOwnerUIStyle(owner); }

void ClearOwnerFormMenu(framework::TComponent* owner) {
  if (auto* form = dynamic_cast<framework::TCustomForm*>(owner)) form->SetMenu(nullptr);
}

graphics::TFont SystemMenuFont() { return framework::SystemMenuFont(); }

bool RightToLeftLocale() { return framework::SystemUsesRightToLeftLocale(); }

void DrawFlatMenuFrame(graphics::TColor line_color) {
  const framework::TMenuDrawTarget* target = framework::CurrentMenuDrawTarget();
  if (!target || !target->window) return;
  HWND window = static_cast<HWND>(target->window);
  RECT r;
  if (!GetWindowRect(window, &r)) return;
  // The menu window's frame is drawn over on the desktop, in screen
  // coordinates: the system paints the frame itself, outside any item.
  r.top += 1;
  r.right -= 1;
  r.bottom -= 1;
  graphics::WindowDC desktop(nullptr);
  if (!desktop.get()) return;
  graphics::OwnedBrush black(CreateSolidBrush(0x000000));
  graphics::OwnedBrush white(CreateSolidBrush(0xFFFFFF));
  FrameRect(desktop.get(), &r, black.get());
  RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  FrameRect(desktop.get(), &inner, white.get());
  graphics::OwnedPen pen(CreatePen(PS_SOLID, 1, graphics::ColorToRGB(line_color)));
  graphics::ScopedSelect select(desktop.get(), pen.get());
  MoveToEx(desktop.get(), r.left, r.bottom - 1, nullptr);
  LineTo(desktop.get(), r.right - 1, r.bottom - 1);
  LineTo(desktop.get(), r.right - 1, r.top);
  LineTo(desktop.get(), r.left - 1, r.top);
}

}  // namespace skin::menu_platform
