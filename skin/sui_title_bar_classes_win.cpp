// Published properties of the title bar, in the order it declares them.
#include "framework/controls/color_names.h"
#include "skin/sui_style_names.h"
#include "skin/sui_title_bar.h"
#include "skin/sui_title_bar_classes.h"

namespace skin {

using framework::TClassInfo;

const TClassInfo& TsuiTitleBar::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TsuiTitleBar::StaticClassInfo() {
  using T = TsuiTitleBar;
  static const TClassInfo& info = []() -> const TClassInfo& {
    // BiDiMode is published again at its place here, with the toolkit's names.
    const framework::TEnumInfo& bidi_modes =
        *framework::TControl::StaticClassInfo().FindProperty("BiDiMode")->EnumInfo();
    auto b = TClassInfo::Define<T, TsuiCustomPanel>("TsuiTitleBar");
    b.Factory()
        .Prop("Custom", &T::Custom, &T::SetCustom)
        .Prop("FileTheme", &T::FileTheme, &T::SetFileTheme)
        .EnumProp("UIStyle", kUIStyles, &T::UIStyle, &T::SetUIStyle)
        .Prop("AutoSize", &T::AutoSize, &T::SetAutoSize)
        .EnumProp("BiDiMode", bidi_modes, &T::BiDiMode, &T::SetBiDiMode)
        .Prop("Height", &T::Height, &T::SetHeight)
        .ObjectProp("Sections", [](T& t) -> TsuiTitleBarSections& { return t.Sections(); })
        .ObjectProp("Buttons", [](T& t) -> TsuiTitleBarButtons& { return t.Buttons(); })
        .Prop("ButtonInterval", &T::ButtonInterval, &T::SetButtonInterval)
        .Prop(
            "Caption", [](const T& t) { return t.Caption(); },
            [](T& t, const std::string& v) { t.SetCaption(v); })
        .ObjectProp("Font", [](const T& t) { return t.FontObject(); })
        .Prop("FormActive", &T::FormActive, &T::SetFormActive)
        .Prop("LeftBtnXOffset", &T::LeftBtnXOffset, &T::SetLeftBtnXOffset)
        .Prop("RightBtnXOffset", &T::RightBtnXOffset, &T::SetRightBtnXOffset)
        .Prop("DrawAppIcon", &T::DrawAppIcon, &T::SetDrawAppIcon)
        .Prop("RoundCorner", &T::RoundCorner, &T::SetRoundCorner)
        .Prop("RoundCornerBottom", &T::RoundCornerBottom, &T::SetRoundCornerBottom)
        .ColorProp("InactiveCaptionColor", &T::InactiveCaptionColor, &T::SetInactiveCaptionColor,
                   &framework::ColorNames())
        .Event("OnCustomBtnsClick", &T::OnCustomBtnsClick)
        .Event("OnHelpBtnClick", &T::OnHelpBtnClick)
        .Event("OnResize", &T::OnResize);
    return b.Done();
  }();
  return info;
}

}  // namespace skin
