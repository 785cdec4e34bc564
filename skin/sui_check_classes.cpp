// Published properties of the check boxes, radio buttons, the panel and
// the groups, in the order layouts and property lists show them.
#include "framework/controls/color_names.h"
#include "skin/sui_check_box.h"
#include "skin/sui_group_box.h"
#include "skin/sui_image_panel.h"
#include "skin/sui_radio_group.h"
#include "skin/sui_style_names.h"

namespace skin {

namespace {

constexpr framework::TEnumName kStateNames[] = {
    {"cbUnchecked", cbUnchecked}, {"cbChecked", cbChecked}, {"cbGrayed", cbGrayed}};
constexpr framework::TEnumInfo kStates{"TCheckBoxState", kStateNames};

template <typename T>
framework::TNotifyEvent T::*ClickEvent() {
  return static_cast<framework::TNotifyEvent T::*>(&framework::TControl::OnClick);
}

}  // namespace

const framework::TClassInfo& TsuiCheckBox::ClassInfo() const { return StaticClassInfo(); }
const framework::TClassInfo& TsuiCheckBox::StaticClassInfo() {
  static const framework::TClassInfo& info =
      framework::TClassInfo::Define<TsuiCheckBox, framework::TCustomControl>("TsuiCheckBox")
          .Factory()
          .Prop("Checked", &TsuiCheckBox::Checked, &TsuiCheckBox::SetChecked)
          .EnumProp("UIStyle", kUIStyles, &TsuiCheckBox::UIStyle, &TsuiCheckBox::SetUIStyle)
          .Prop("FileTheme", &TsuiCheckBox::FileTheme, &TsuiCheckBox::SetFileTheme)
          .Prop("Transparent", &TsuiCheckBox::Transparent, &TsuiCheckBox::SetTransparent)
          .Prop("AutoSize", &TsuiCheckBox::AutoSize, &TsuiCheckBox::SetAutoSize)
          .Event("OnClick", ClickEvent<TsuiCheckBox>())
          .EnumProp("State", kStates, &TsuiCheckBox::State, &TsuiCheckBox::SetState)
          .Done();
  return info;
}

const framework::TClassInfo& TsuiRadioButton::ClassInfo() const { return StaticClassInfo(); }
const framework::TClassInfo& TsuiRadioButton::StaticClassInfo() {
  static const framework::TClassInfo& info =
      framework::TClassInfo::Define<TsuiRadioButton, TsuiCheckBox>("TsuiRadioButton")
          .Factory()
          .Prop("GroupIndex", &TsuiRadioButton::GroupIndex, &TsuiRadioButton::SetGroupIndex)
          .Done();
  return info;
}

const framework::TClassInfo& TsuiCheckGroupButton::ClassInfo() const { return StaticClassInfo(); }
const framework::TClassInfo& TsuiCheckGroupButton::StaticClassInfo() {
  static const framework::TClassInfo& info =
      framework::TClassInfo::Define<TsuiCheckGroupButton, TsuiCheckBox>("TsuiCheckGroupButton")
          .Done();
  return info;
}

const framework::TClassInfo& TsuiRadioGroupButton::ClassInfo() const { return StaticClassInfo(); }
const framework::TClassInfo& TsuiRadioGroupButton::StaticClassInfo() {
  static const framework::TClassInfo& info =
      framework::TClassInfo::Define<TsuiRadioGroupButton, TsuiRadioButton>("TsuiRadioGroupButton")
          .Done();
  return info;
}

const framework::TClassInfo& TsuiCustomPanel::ClassInfo() const { return StaticClassInfo(); }
const framework::TClassInfo& TsuiCustomPanel::StaticClassInfo() {
  // Nothing of its own is published: the descendants choose.
  static const framework::TClassInfo& info =
      framework::TClassInfo::Define<TsuiCustomPanel, framework::TCustomControl>("TsuiCustomPanel")
          .Done();
  return info;
}

const framework::TClassInfo& TsuiCustomGroupBox::ClassInfo() const { return StaticClassInfo(); }
const framework::TClassInfo& TsuiCustomGroupBox::StaticClassInfo() {
  static const framework::TClassInfo& info =
      framework::TClassInfo::Define<TsuiCustomGroupBox, TsuiCustomPanel>("TsuiCustomGroupBox")
          .Factory()
          .Prop("FileTheme", &TsuiCustomGroupBox::FileTheme, &TsuiCustomGroupBox::SetFileTheme)
          .EnumProp("UIStyle", kUIStyles, &TsuiCustomGroupBox::UIStyle,
                    &TsuiCustomGroupBox::SetUIStyle)
          .ColorProp("BorderColor", &TsuiCustomGroupBox::BorderColor,
                     &TsuiCustomGroupBox::SetBorderColor, &framework::ColorNames())
          .Prop("Caption", &TsuiCustomGroupBox::GroupCaption,
                [](TsuiCustomGroupBox& g, const std::string& v) { g.SetGroupCaption(v); })
          .Prop("Transparent", &TsuiCustomGroupBox::Transparent,
                [](TsuiCustomGroupBox& g, bool v) { g.SetTransparent(v); })
          .Done();
  return info;
}

const framework::TClassInfo& TsuiCheckGroup::ClassInfo() const { return StaticClassInfo(); }
const framework::TClassInfo& TsuiCheckGroup::StaticClassInfo() {
  static const framework::TClassInfo& info =
      framework::TClassInfo::Define<TsuiCheckGroup, TsuiCustomGroupBox>("TsuiCheckGroup")
          .Factory()
          .Prop("Items", &TsuiCheckGroup::ItemStrings,
                [](TsuiCheckGroup& g, const std::vector<std::string>& v) { g.SetItems(v); })
          .Prop("Columns", &TsuiCheckGroup::Columns, &TsuiCheckGroup::SetColumns)
          .Prop("TopMargin", &TsuiCheckGroup::TopMargin, &TsuiCheckGroup::SetTopMargin)
          .ColorProp("FontColor", &TsuiCheckGroup::FontColor, &TsuiCheckGroup::SetFontColor,
                     &framework::ColorNames())
          .Prop("Cursor", &TsuiCheckGroup::ItemCursor, &TsuiCheckGroup::SetItemCursor)
          .Event("OnClick", ClickEvent<TsuiCheckGroup>())
          .Done();
  return info;
}

const framework::TClassInfo& TsuiRadioGroup::ClassInfo() const { return StaticClassInfo(); }
const framework::TClassInfo& TsuiRadioGroup::StaticClassInfo() {
  static const framework::TClassInfo& info =
      framework::TClassInfo::Define<TsuiRadioGroup, TsuiCheckGroup>("TsuiRadioGroup")
          .Factory()
          .Prop("ItemIndex", &TsuiRadioGroup::ItemIndex, &TsuiRadioGroup::SetItemIndex)
          .Done();
  return info;
}

}  // namespace skin
