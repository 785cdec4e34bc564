// Published properties of the skinned form, in the order layouts and
// property lists show them (the panel's own, such as Caption, Color and
// Font, come from its classes).
#include "skin/sui_form.h"
#include "skin/sui_style_names.h"

namespace skin {

const framework::TClassInfo& TsuiForm::ClassInfo() const { return StaticClassInfo(); }
const framework::TClassInfo& TsuiForm::StaticClassInfo() {
  static const framework::TClassInfo& info =
      framework::TClassInfo::Define<TsuiForm, TsuiCustomPanel>("TsuiForm")
          .Factory()
          .Prop("TitleBarCustom", &TsuiForm::TitleBarCustom, &TsuiForm::SetTitleBarCustom)
          .Prop("FileTheme", &TsuiForm::FileTheme, &TsuiForm::SetFileTheme)
          .EnumProp("UIStyle", kUIStyles, &TsuiForm::UIStyle, &TsuiForm::SetUIStyle)
          .Prop("UIStyleAutoUpdateSub", &TsuiForm::UIStyleAutoUpdateSub,
                &TsuiForm::SetUIStyleAutoUpdateSub)
          .ColorProp("BorderColor", &TsuiForm::BorderColor, &TsuiForm::SetBorderColor)
          .Prop("BorderWidth", &TsuiForm::BorderWidth, &TsuiForm::SetBorderWidth)
          .Prop("TitleBarVisible", &TsuiForm::TitleBarVisible, &TsuiForm::SetTitleBarVisible)
          .Prop("FormPanel", &TsuiForm::FormPanel, &TsuiForm::SetFormPanel)
          .Prop("TitleBarDrawAppIcon", &TsuiForm::TitleBarDrawAppIcon,
                &TsuiForm::SetTitleBarDrawAppIcon)
          .Prop("Menu", &TsuiForm::Menu, &TsuiForm::SetMenu)
          .ColorProp("MenuBarColor", &TsuiForm::MenuBarColor, &TsuiForm::SetMenuBarColor)
          .ColorProp("MenuBarToColor", &TsuiForm::MenuBarToColor, &TsuiForm::SetMenuBarToColor)
          .Prop("MenuBarHeight", &TsuiForm::MenuBarHeight, &TsuiForm::SetMenuBarHeight)
          .Prop("RoundCorner", &TsuiForm::RoundCorner, &TsuiForm::SetRoundCorner)
          .Prop("RoundCornerBottom", &TsuiForm::RoundCornerBottom, &TsuiForm::SetRoundCornerBottom)
          .Prop("Version", &TsuiForm::Version, &TsuiForm::SetVersion)
          .ColorProp("InactiveCaptionColor", &TsuiForm::InactiveCaptionColor,
                &TsuiForm::SetInactiveCaptionColor)
          .Done();
  return info;
}

}  // namespace skin
