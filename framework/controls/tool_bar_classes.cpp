// Published properties of the tool bar and its buttons.
#include "framework/controls/tool_bar.h"

namespace framework {

const TClassInfo& TToolButton::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TToolButton::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TToolButton, TGraphicControl>("TToolButton")
          .Factory()
          .Prop("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped)
          .Prop("AutoSize", &TToolButton::AutoSize, &TToolButton::SetAutoSize)
          .Prop("MenuItem", &TToolButton::MenuItem, &TToolButton::SetMenuItem)
          .Done();
  return info;
}

const TClassInfo& TToolBar::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TToolBar::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TToolBar, TCustomControl>("TToolBar")
          .Factory()
          .Prop("Flat", &TToolBar::Flat, &TToolBar::SetFlat)
          .Prop("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions)
          .Prop("Wrapable", &TToolBar::Wrapable, &TToolBar::SetWrapable)
          .Prop("AutoSize", &TToolBar::AutoSize, &TToolBar::SetAutoSize)
          .Prop("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight)
          .Done();
  return info;
}

}  // namespace framework
