// Published properties of the title bar's sections, buttons, their lists
// and the window menu.
#include "skin/sui_title_bar_classes.h"

#include "skin/sui_style_names.h"

namespace skin {

using framework::TClassInfo;

const TClassInfo& TsuiTitleBarSection::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TsuiTitleBarSection::StaticClassInfo() {
  using S = TsuiTitleBarSection;
  static const TClassInfo& info =
      TClassInfo::Define<S, framework::TCollectionItem>("TsuiTitleBarSection")
          .Prop("AutoSize", &S::AutoSize, &S::SetAutoSize)
          .Prop("Width", &S::Width, &S::SetWidth)
          .EnumProp("Align", kTitleBarAligns, &S::Align, &S::SetAlign)
          .PictureProp("Picture", &S::Picture, &S::SetPicture)
          .Prop("Stretch", &S::Stretch, &S::SetStretch)
          .Prop("CapSec", &S::CapSec, &S::SetCapSec)
          .Done();
  return info;
}

const TClassInfo& TsuiTitleBarButton::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TsuiTitleBarButton::StaticClassInfo() {
  using B = TsuiTitleBarButton;
  static const TClassInfo& info =
      TClassInfo::Define<B, framework::TCollectionItem>("TsuiTitleBarButton")
          .EnumProp("UIStyle", kUIStyles, &B::UIStyle, &B::SetUIStyle)
          .EnumProp("ButtonType", kTitleBarBtnTypes, &B::ButtonType, &B::SetButtonType)
          .Prop("Transparent", &B::Transparent, &B::SetTransparent)
          .Prop("Top", &B::Top, &B::SetTop)
          .Prop("ControlBoxMenu", &B::ControlBoxMenu, &B::SetControlBoxMenu)
          .Prop("Visible", &B::Visible, &B::SetVisible)
          .PictureProp("PicNormal", &B::PicNormal, &B::SetPicNormal)
          .PictureProp("PicMouseOn", &B::PicMouseOn, &B::SetPicMouseOn)
          .PictureProp("PicMouseDown", &B::PicMouseDown, &B::SetPicMouseDown)
          .Done();
  return info;
}

const TClassInfo& TsuiTitleBarSections::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TsuiTitleBarSections::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TsuiTitleBarSections, framework::TCollection>("TsuiTitleBarSections")
          .Done();
  return info;
}

const TClassInfo& TsuiTitleBarButtons::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TsuiTitleBarButtons::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TsuiTitleBarButtons, framework::TCollection>("TsuiTitleBarButtons").Done();
  return info;
}

const TClassInfo& TsuiTitleBarPopupMenu::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TsuiTitleBarPopupMenu::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TsuiTitleBarPopupMenu, TsuiPopupMenu>("TsuiTitleBarPopupMenu")
          .Factory()
          .Done();
  return info;
}

}  // namespace skin
