#include "skin/sui_menu_bar.h"

#include <vector>

#include "framework/controls/menu_native.h"
#include "skin/sui_form_rules.h"
#include "skin/sui_menu.h"
#include "skin/sui_menu_rules.h"

namespace skin {

using framework::TComponent;
using framework::TOperation;
using framework::TToolButton;

TsuiMenuBar::TsuiMenuBar(TComponent* owner) : framework::TToolBar(owner) {
  SetFlat(true);
  SetShowCaptions(true);
  SetWrapable(true);
  SetAutoSize(true);
  OnCustomDraw = [this](framework::TToolBar&, graphics::TCanvas& canvas,
                        const graphics::TRect& rect) { DrawBar(canvas, rect); };
  OnCustomDrawButton = [this](framework::TToolBar&, TToolButton& button,
                              graphics::TCanvas& canvas, const graphics::TRect& rect,
                              unsigned flags, bool& default_draw) {
    default_draw = false;
    DrawMenuButton(button, canvas, rect, flags);
  };
}

const TsuiMainMenu* TsuiMenuBar::SkinnedMenu() const {
  return dynamic_cast<const TsuiMainMenu*>(menu_.get());
}

TsuiUIStyle TsuiMenuBar::StyleInForce() const {
  if (const TsuiMainMenu* menu = SkinnedMenu()) return menu->UIStyle();
  return style_;
}

TsuiFileTheme* TsuiMenuBar::FileThemeInForce() const {
  if (const TsuiMainMenu* menu = SkinnedMenu()) return menu->FileTheme();
  return file_theme_.get();
}

void TsuiMenuBar::SetMenu(framework::TMenu* menu) {
  menu_.Set(menu);
  Rebuild();
}

void TsuiMenuBar::SetLook(TsuiUIStyle style, TsuiFileTheme* file_theme, graphics::TColor color,
                          graphics::TColor to_color) {
  style_ = style;
  file_theme_.Set(file_theme);
  to_color_ = to_color;
  SetColor(color);
  Invalidate();
}

graphics::TFont TsuiMenuBar::MenuFont() const {
  const graphics::TFont system_font = framework::SystemMenuFont();
  const TsuiMainMenu* menu = SkinnedMenu();
  if (!menu) return system_font;
  graphics::TFont font = MenuItemFont(menu->Look(), system_font);
  if (!menu->UseSystemFont()) font.Color = menu->FontColor();
  return font;
}

void TsuiMenuBar::Rebuild() {
  std::vector<TToolButton*> old;
  for (int i = 0; i < ButtonCount(); ++i) old.push_back(Buttons(i));
  for (TToolButton* button : old) TComponent::Free(button);
  SetFont(MenuFont());
  framework::TMenu* menu = menu_.get();
  if (!menu) {
    ArrangeButtons();
    return;
  }
  framework::TMenuItem* root = menu->Items();
  for (int i = 0; i < root->Count(); ++i) {
    auto* button = new TToolButton(Owner() ? Owner() : this);
    button->SetGrouped(true);
    button->SetAutoSize(true);
    button->SetMenuItem(root->Items(i));
    button->SetParent(this);
  }
  ArrangeButtons();
}

void TsuiMenuBar::MenuFontChanged() {
  SetFont(MenuFont());
  Invalidate();
}

void TsuiMenuBar::DrawBar(graphics::TCanvas& canvas, const graphics::TRect& rect) {
  const TsuiUIStyle style = StyleInForce();
  // Without the picture the bar keeps the colour it was filled with.
  const graphics::TBitmap* macos_bar = style == MacOS ? &ThemePicture("MACOS_MENU_BAR") : nullptr;
  DrawMenuBarBackground(canvas, rect, style, Color(), to_color_,
                        macos_bar && !macos_bar->Empty() ? macos_bar : nullptr);
}

void TsuiMenuBar::DrawMenuButton(TToolButton& button, graphics::TCanvas& canvas,
                                 const graphics::TRect& rect, unsigned flags) {
  const bool hot = (flags & (framework::tdHot | framework::tdPressed)) != 0;
  const TMenuBarButtonLook look = MenuBarButtonLook(StyleInForce(), FileThemeInForce(), rect, hot,
                                                    (flags & framework::tdDisabled) == 0);
  button.SetTag(look.Tag);
  // Without the picture: the caption alone.
  const graphics::TBitmap* macos_select = look.MacSelect ? &ThemePicture("MACOS_MENU_SELECT") : nullptr;
  canvas.Font = Font();
  DrawMenuBarButton(canvas, rect, button.Caption(), look,
                    macos_select && !macos_select->Empty() ? macos_select : nullptr);
}

bool TsuiMenuBar::WantsAccelerator(bool alt) const {
  if (alt) return true;
  for (int i = 0; i < ButtonCount(); ++i)
    if (Buttons(i)->Tag() == kMenuBarHotTag) return true;
  return false;
}

void TsuiMenuBar::Notification(TComponent* component, TOperation operation) {
  framework::TToolBar::Notification(component, operation);
  // Not while the form that owns the buttons frees its components.
  const bool going = IsDestroying() || (Owner() && Owner()->IsDestroying());
  if (menu_.Released(component, operation) && !going) Rebuild();
  if (file_theme_.Released(component, operation)) Invalidate();
}

const framework::TClassInfo& TsuiMenuBar::ClassInfo() const { return StaticClassInfo(); }
const framework::TClassInfo& TsuiMenuBar::StaticClassInfo() {
  static const framework::TClassInfo& info =
      framework::TClassInfo::Define<TsuiMenuBar, framework::TToolBar>("TsuiMenuBar").Done();
  return info;
}

}  // namespace skin
