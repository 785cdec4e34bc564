#pragma once
// TsuiMenuBar: the skinned form's menu bar, a toolkit tool bar (flat,
// captions shown, wrapping, sized to its rows) with one button per
// top-level item of a main menu. The bar and its buttons are drawn in the
// look of the style in force: the skinned main menu's own style and file
// theme when the menu is one, else those the form hands in (SetLook).
//
// A button in its hot or pressed look carries the tag 888; while one does,
// a menu is being worked with, and accelerators reach the bar without Alt.
#include "framework/controls/tool_bar.h"
#include "framework/core/component_ref.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_themes.h"

namespace skin {

class TsuiMainMenu;

class TsuiMenuBar : public framework::TToolBar {
public:
  explicit TsuiMenuBar(framework::TComponent* owner);

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  // Not owned; cleared when it goes. Rebuild makes the buttons again.
  framework::TMenu* Menu() const { return menu_.get(); }
  void SetMenu(framework::TMenu* menu);
  // Frees every button and makes one for each top-level item, in order,
  // owned by the bar's owner; takes the font of a skinned main menu.
  void Rebuild();
  // Reads a skinned main menu's font again and repaints.
  void MenuFontChanged();

  // The form's style, file theme and bar colours (a vertical gradient when
  // they differ).
  void SetLook(TsuiUIStyle style, TsuiFileTheme* file_theme, graphics::TColor color,
               graphics::TColor to_color);
  TsuiUIStyle StyleInForce() const;
  TsuiFileTheme* FileThemeInForce() const;

protected:
  bool WantsAccelerator(bool alt) const override;
  void Notification(framework::TComponent* component, framework::TOperation operation) override;

private:
  void DrawBar(graphics::TCanvas& canvas, const graphics::TRect& rect);
  void DrawMenuButton(framework::TToolButton& button, graphics::TCanvas& canvas,
                      const graphics::TRect& rect, unsigned flags);
  const TsuiMainMenu* SkinnedMenu() const;
  graphics::TFont MenuFont() const;

  framework::TComponentRef<framework::TMenu> menu_{*this};
  framework::TComponentRef<TsuiFileTheme> file_theme_{*this};
  TsuiUIStyle style_ = DeepBlue;
  graphics::TColor to_color_ = graphics::clBtnFace;
};

}  // namespace skin
