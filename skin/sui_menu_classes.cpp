// Published properties of the skinned menus. Both publish the same menu
// properties in the same order; the main menu puts Images first.
#include "skin/sui_menu.h"
#include "skin/sui_style_names.h"

namespace skin {

namespace {

template <typename M>
framework::TClassBuilder<M>& MenuLookProps(framework::TClassBuilder<M>& b) {
  return b
      .Prop("OwnerDraw", [](const M& m) { return m.OwnerDraw(); },
            [](M& m, bool v) { m.SetOwnerDraw(v); })
      .Prop("FileTheme", &M::FileTheme, &M::SetFileTheme)
      .EnumProp("UIStyle", kUIStyles, &M::UIStyle, &M::SetUIStyle)
      .Prop("MenuItemHeight", &M::MenuItemHeight, [](M& m, int v) { m.SetMenuItemHeight(v); })
      .Prop("SeparatorHeight", &M::SeparatorHeight, &M::SetSeparatorHeight)
      .Prop("BarWidth", &M::BarWidth, &M::SetBarWidth)
      .ColorProp("BarColor", &M::BarColor, &M::SetBarColor)
      .ColorProp("BarToColor", &M::BarToColor, &M::SetBarToColor)
      .ColorProp("Color", &M::Color, &M::SetColor)
      .ColorProp("SeparatorColor", &M::SeparatorColor, &M::SetSeparatorColor)
      .ColorProp("SelectedBorderColor", &M::SelectedBorderColor, &M::SetSelectedBorderColor)
      .ColorProp("SelectedColor", &M::SelectedColor, &M::SetSelectedColor)
      .ColorProp("SelectedFontColor", &M::SelectedFontColor, &M::SetSelectedFontColor)
      .ColorProp("FontColor", &M::FontColor, &M::SetFontColor)
      .ColorProp("BorderColor", &M::BorderColor, &M::SetBorderColor)
      .Prop("FlatMenu", &M::FlatMenu, &M::SetFlatMenu)
      .Prop("FontName", &M::FontName, &M::SetFontName)
      .Prop("FontSize", &M::FontSize, &M::SetFontSize)
      .Prop("FontCharset", &M::FontCharset, &M::SetFontCharset)
      .Prop("UseSystemFont", &M::UseSystemFont, [](M& m, bool v) { m.SetUseSystemFont(v); });
}

}  // namespace

const framework::TClassInfo& TsuiPopupMenu::ClassInfo() const { return StaticClassInfo(); }
const framework::TClassInfo& TsuiPopupMenu::StaticClassInfo() {
  static const framework::TClassInfo& info = []() -> const framework::TClassInfo& {
    auto b = framework::TClassInfo::Define<TsuiPopupMenu, framework::TPopupMenu>("TsuiPopupMenu");
    b.Factory();
    return MenuLookProps(b).Done();
  }();
  return info;
}

const framework::TClassInfo& TsuiMainMenu::ClassInfo() const { return StaticClassInfo(); }
const framework::TClassInfo& TsuiMainMenu::StaticClassInfo() {
  static const framework::TClassInfo& info = []() -> const framework::TClassInfo& {
    auto b = framework::TClassInfo::Define<TsuiMainMenu, framework::TMainMenu>("TsuiMainMenu");
    b.Factory().Prop("Images", &TsuiMainMenu::Images,
                     [](TsuiMainMenu& m, framework::TImageListComponent* images) {
                       m.SetImages(images);
                     });
    return MenuLookProps(b).Done();
  }();
  return info;
}

}  // namespace skin
