#pragma once
// SUIPopupMenu and SUIMainMenu: the toolkit's popup and main menus with
// every item drawn by the menu in the colours of the theme in force.
//
// Both keep their published values in a TsuiMenuLook (sui_menu_rules.h)
// and hook their items: each item of the tree, and each item that joins it
// later (added, inserted, loaded, or handed over to the menu's owner), gets
// the menu's measure and draw handlers. An item that outlives its menu
// keeps handlers that then do nothing.
//
// The skinned form (TsuiForm) is a later layer. A main menu knows the form
// that shows it only through TsuiMenuBarHost, which that form implements;
// until there is one, the pointer stays null and nothing is called.
#include <memory>
#include <string>

#include "framework/controls/image_list_component.h"
#include "framework/core/component_ref.h"
#include "framework/controls/menus.h"
#include "framework/graphics/image_list.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_menu_rules.h"
#include "skin/sui_themes.h"

namespace skin {

// What a main menu asks of the skinned form that shows it in its menu bar.
class TsuiMenuBarHost {
public:
  // Make the menu bar's buttons again from the menu's top-level items.
  virtual void RebuildMenuBar() = 0;
  // Copy each top-level item's caption and enabled state to its button.
  virtual void UpdateMenuBarItems() = 0;
  // Read the menu bar font from the menu again (UseSystemFont, FontName,
  // FontSize, FontCharset) and repaint.
  virtual void MenuBarFontChanged() = 0;

protected:
  ~TsuiMenuBarHost() = default;
};

// The part both menus share, on top of either toolkit menu.
template <typename Base>
class TsuiMenuBase : public Base {
public:
  explicit TsuiMenuBase(framework::TComponent* owner);
  ~TsuiMenuBase() override;

  // Always owner-drawn; written values are ignored.
  bool OwnerDraw() const override { return true; }
  void SetOwnerDraw(bool) override {}

  TsuiFileTheme* FileTheme() const { return file_theme_.get(); }
  void SetFileTheme(TsuiFileTheme* theme);
  TsuiUIStyle UIStyle() const { return look_.UIStyle; }
  void SetUIStyle(TsuiUIStyle style);

  int MenuItemHeight() const { return look_.MenuItemHeight; }
  virtual void SetMenuItemHeight(int v);
  int SeparatorHeight() const { return look_.SeparatorHeight; }
  // Ignored while UIStyle is MacOS.
  void SetSeparatorHeight(int v);
  int BarWidth() const { return look_.BarWidth; }
  void SetBarWidth(int v) { Set(look_.BarWidth, v); }
  graphics::TColor BarColor() const { return look_.BarColor; }
  void SetBarColor(graphics::TColor v) { Set(look_.BarColor, v); }
  graphics::TColor BarToColor() const { return look_.BarToColor; }
  void SetBarToColor(graphics::TColor v) { Set(look_.BarToColor, v); }
  graphics::TColor Color() const { return look_.Color; }
  void SetColor(graphics::TColor v) { Set(look_.Color, v); }
  graphics::TColor SeparatorColor() const { return look_.SeparatorColor; }
  void SetSeparatorColor(graphics::TColor v) { Set(look_.SeparatorColor, v); }
  graphics::TColor SelectedBorderColor() const { return look_.SelectedBorderColor; }
  void SetSelectedBorderColor(graphics::TColor v) { Set(look_.SelectedBorderColor, v); }
  graphics::TColor SelectedColor() const { return look_.SelectedColor; }
  void SetSelectedColor(graphics::TColor v) { Set(look_.SelectedColor, v); }
  graphics::TColor SelectedFontColor() const { return look_.SelectedFontColor; }
  void SetSelectedFontColor(graphics::TColor v) { Set(look_.SelectedFontColor, v); }
  graphics::TColor FontColor() const { return look_.FontColor; }
  void SetFontColor(graphics::TColor v) { Set(look_.FontColor, v); }
  graphics::TColor BorderColor() const { return look_.BorderColor; }
  void SetBorderColor(graphics::TColor v) { Set(look_.BorderColor, v); }
  bool FlatMenu() const { return look_.FlatMenu; }
  void SetFlatMenu(bool v) { Set(look_.FlatMenu, v); }
  const std::string& FontName() const { return look_.FontName; }
  void SetFontName(const std::string& v) { Set(look_.FontName, v); }
  int FontSize() const { return look_.FontSize; }
  void SetFontSize(int v) { Set(look_.FontSize, v); }
  std::uint8_t FontCharset() const { return look_.FontCharset; }
  void SetFontCharset(std::uint8_t v) { Set(look_.FontCharset, v); }
  bool UseSystemFont() const { return look_.UseSystemFont; }
  virtual void SetUseSystemFont(bool v) { Set(look_.UseSystemFont, v); }

  const TsuiMenuLook& Look() const { return look_; }

  // Gives item and all its sub-items this menu's measure and draw handlers.
  void HookItem(framework::TMenuItem* item);
  void HookAllItems() { HookItem(this->Items()); }

protected:
  void Notification(framework::TComponent* component, framework::TOperation operation) override;
  void ItemAdded(framework::TMenuItem* item) override { HookItem(item); }
  void Loaded() override;

  // The list the items' images come from, and the one whose image 0 is
  // the check mark.
  virtual const graphics::TImageList* ItemImages() const;
  virtual const graphics::TImageList* CheckMarks() const = 0;

  void MeasureItem(framework::TMenuItem& item, graphics::TCanvas& canvas, int& width,
                   int& height);
  void DrawItem(framework::TMenuItem& item, graphics::TCanvas& canvas,
                const graphics::TRect& rect, bool selected);

  template <typename T>
  void Set(T& field, const T& value) {
    field = value;
    this->MenuChanged(nullptr, false);
  }

  TsuiMenuLook look_;

private:
  framework::TComponentRef<TsuiFileTheme> file_theme_{*this};
  // What the items' handlers hold: the menu while it lives, null after.
  std::shared_ptr<TsuiMenuBase*> self_;
};

class TsuiPopupMenu : public TsuiMenuBase<framework::TPopupMenu> {
public:
  explicit TsuiPopupMenu(framework::TComponent* owner);

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  // Ignored while UIStyle is MacOS.
  void SetMenuItemHeight(int v) override;

protected:
  // The program's one check-mark list, made on first use.
  const graphics::TImageList* CheckMarks() const override;
};

class TsuiMainMenu : public TsuiMenuBase<framework::TMainMenu> {
public:
  // When owner is a form, the form's own Menu becomes none, so that the
  // native menu bar is never shown for the skinned form.
  explicit TsuiMainMenu(framework::TComponent* owner);

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  // None while the menu's own check-mark list is in use (that is, until a
  // list is set); setting none brings the own list back.
  framework::TImageListComponent* Images() const { return framework::TMainMenu::Images(); }

  void SetUseSystemFont(bool v) override;

  // The skinned form that shows the menu; set and cleared by that form.
  TsuiMenuBarHost* SkinnedForm() const { return skinned_form_; }
  void SetSkinnedForm(TsuiMenuBarHost* form) { skinned_form_ = form; }

protected:
  void MenuChanged(framework::TMenuItem* source, bool structure) override;
  void Loaded() override;
  const graphics::TImageList* ItemImages() const override;
  const graphics::TImageList* CheckMarks() const override { return &own_checks_; }

private:
  graphics::TImageList own_checks_{16, 16};
  TsuiMenuBarHost* skinned_form_ = nullptr;  // not owned
};

// The platform's part (sui_menu_win.cpp; sui_menu_posix.cpp has no forms,
// no desktop and a left-to-right locale).
namespace menu_platform {
// GetOwnerUIStyle of the owner.
TsuiUIStyle OwnerStyle(framework::TComponent* owner);
// The owner's Menu := none when the owner is a form.
void ClearOwnerFormMenu(framework::TComponent* owner);
graphics::TFont SystemMenuFont();
bool RightToLeftLocale();
// Redraws the frame of the window of the menu being drawn (flat menus).
void DrawFlatMenuFrame(graphics::TColor line_color);
}  // namespace menu_platform

extern template class TsuiMenuBase<framework::TPopupMenu>;
extern template class TsuiMenuBase<framework::TMainMenu>;

}  // namespace skin
