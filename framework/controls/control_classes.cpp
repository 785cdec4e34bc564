// Published properties of the toolkit's control classes.
#include "framework/controls/color_names.h"
#include "framework/controls/control.h"
#include "framework/controls/control_font.h"
#include "framework/controls/custom_control.h"
#include "framework/controls/form.h"
#include "framework/controls/label.h"
#include "framework/controls/menus.h"
#include "framework/controls/timer.h"
#include "framework/controls/win_control.h"

namespace framework {

namespace {

constexpr TEnumName kFontStyleNames[] = {{"fsBold", 0}, {"fsItalic", 1}, {"fsUnderline", 2},
                                         {"fsStrikeOut", 3}};
constexpr TEnumInfo kFontStyles{"TFontStyle", kFontStyleNames};

constexpr TEnumName kColorNames[] = {
    {"clBlack", graphics::clBlack},     {"clWhite", graphics::clWhite},
    {"clGray", graphics::clGray},       {"clSilver", graphics::clSilver},
    {"clRed", graphics::clRed},         {"clBlue", graphics::clBlue},
    {"clLime", graphics::clLime},       {"clFuchsia", graphics::clFuchsia},
    {"clBtnFace", graphics::clBtnFace}, {"clWindow", graphics::clWindow},
    {"clWindowText", graphics::clWindowText}, {"clBtnText", graphics::clBtnText},
    {"clHighlight", graphics::clHighlight}, {"clGrayText", graphics::clGrayText}};
constexpr TEnumInfo kColors{"TColor", kColorNames};

constexpr TEnumName kBorderStyleNames[] = {{"bsNone", TFormBorderStyle::bsNone},
                                           {"bsSingle", TFormBorderStyle::bsSingle},
                                           {"bsSizeable", TFormBorderStyle::bsSizeable},
                                           {"bsDialog", TFormBorderStyle::bsDialog}};
constexpr TEnumInfo kBorderStyles{"TFormBorderStyle", kBorderStyleNames};
constexpr TEnumName kBorderIconNames[] = {{"biSystemMenu", biSystemMenu},
                                          {"biMinimize", biMinimize},
                                          {"biMaximize", biMaximize}};
constexpr TEnumInfo kBorderIconSet{"TBorderIcons", kBorderIconNames};
constexpr TEnumName kPositionNames[] = {{"poDesigned", TPosition::poDesigned},
                                        {"poScreenCenter", TPosition::poScreenCenter}};
constexpr TEnumInfo kPositions{"TPosition", kPositionNames};

constexpr TEnumName kAlignmentNames[] = {{"taLeftJustify", TAlignment::taLeftJustify},
                                         {"taRightJustify", TAlignment::taRightJustify},
                                         {"taCenter", TAlignment::taCenter}};
constexpr TEnumInfo kAlignments{"TAlignment", kAlignmentNames};
constexpr TEnumName kTextLayoutNames[] = {{"tlTop", TTextLayout::tlTop},
                                          {"tlCenter", TTextLayout::tlCenter},
                                          {"tlBottom", TTextLayout::tlBottom}};
constexpr TEnumInfo kTextLayouts{"TTextLayout", kTextLayoutNames};

constexpr TEnumName kBiDiModeNames[] = {
    {"bdLeftToRight", TBiDiMode::bdLeftToRight},
    {"bdRightToLeft", TBiDiMode::bdRightToLeft},
    {"bdRightToLeftNoAlign", TBiDiMode::bdRightToLeftNoAlign},
    {"bdRightToLeftReadingOnly", TBiDiMode::bdRightToLeftReadingOnly}};
constexpr TEnumInfo kBiDiModes{"TBiDiMode", kBiDiModeNames};
constexpr TEnumName kAlignNames[] = {{"alNone", TAlign::alNone},     {"alTop", TAlign::alTop},
                                     {"alBottom", TAlign::alBottom}, {"alLeft", TAlign::alLeft},
                                     {"alRight", TAlign::alRight},   {"alClient", TAlign::alClient},
                                     {"alCustom", TAlign::alCustom}};
constexpr TEnumInfo kAligns{"TAlign", kAlignNames};

}  // namespace

const TEnumInfo& ColorNames() { return kColors; }

const graphics::TFont& TControlFont::Get() const { return control_.Font(); }

void TControlFont::Apply(const graphics::TFont& font) { control_.SetFont(font); }

const TClassInfo& TControlFont::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TControlFont::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TControlFont, TPersistent>("TFont")
          .Prop("Name", &TControlFont::Name, &TControlFont::SetName)
          .Prop("Height", &TControlFont::Height, &TControlFont::SetHeight)
          .ColorProp("Color", &TControlFont::Color, &TControlFont::SetColor, &kColors)
          .SetProp("Style", kFontStyles, &TControlFont::Style, &TControlFont::SetStyle)
          .Prop("Charset", &TControlFont::Charset, &TControlFont::SetCharset)
          .Done();
  return info;
}

const TClassInfo& TControl::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TControl::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TControl, TComponent>("TControl")
          .Prop("Left", &TControl::Left, &TControl::SetLeft)
          .Prop("Top", &TControl::Top, &TControl::SetTop)
          .Prop("Width", &TControl::Width, &TControl::SetWidth)
          .Prop("Height", &TControl::Height, &TControl::SetHeight)
          .Prop("Visible", &TControl::Visible, &TControl::SetVisible)
          .Prop("Enabled", &TControl::Enabled, &TControl::SetEnabled)
          .Prop("Caption", &TControl::Caption, &TControl::SetCaption)
          .ColorProp("Color", &TControl::Color, &TControl::SetColor, &kColors)
          .Prop("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
          .Prop("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
          .ObjectProp("Font", [](const TControl& c) { return c.FontObject(); })
          .Prop("Cursor", &TControl::Cursor, &TControl::SetCursor)
          .Prop("Hint", &TControl::Hint, &TControl::SetHint)
          .Prop("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
          .EnumProp("BiDiMode", kBiDiModes, &TControl::BiDiMode, &TControl::SetBiDiMode)
          .Prop("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode)
          .EnumProp("Align", kAligns, &TControl::Align, &TControl::SetAlign)
          .NamedClassProp("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu, "TPopupMenu")
          .Event("OnClick", &TControl::OnClick)
          .Event("OnDblClick", &TControl::OnDblClick)
          .Event("OnMouseDown", &TControl::OnMouseDown)
          .Event("OnMouseUp", &TControl::OnMouseUp)
          .Event("OnMouseMove", &TControl::OnMouseMove)
          .Done();
  return info;
}

const TClassInfo& TWinControl::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TWinControl::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TWinControl, TControl>("TWinControl")
          .Prop("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
          .Prop("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
          .Event("OnEnter", &TWinControl::OnEnter)
          .Event("OnExit", &TWinControl::OnExit)
          .Event("OnKeyDown", &TWinControl::OnKeyDown)
          .Event("OnKeyUp", &TWinControl::OnKeyUp)
          .Event("OnKeyPress", &TWinControl::OnKeyPress)
          .Done();
  return info;
}

const TClassInfo& TCustomControl::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TCustomControl::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TCustomControl, TWinControl>("TCustomControl").Done();
  return info;
}

const TClassInfo& TGraphicControl::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TGraphicControl::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TGraphicControl, TControl>("TGraphicControl").Done();
  return info;
}

const TClassInfo& TCustomForm::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TCustomForm::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TCustomForm, TWinControl>("TCustomForm")
          .Prop("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
          .EnumProp("BorderStyle", kBorderStyles, &TCustomForm::BorderStyle,
                    &TCustomForm::SetBorderStyle)
          .SetProp("BorderIcons", kBorderIconSet, &TCustomForm::BorderIcons,
                   &TCustomForm::SetBorderIcons)
          .EnumProp("Position", kPositions, &TCustomForm::Position, &TCustomForm::SetPosition)
          .Prop("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth)
          .Prop("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight)
          .NamedClassProp("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu, "TMainMenu")
          .Event("OnCreate", &TCustomForm::OnCreate)
          .Event("OnDestroy", &TCustomForm::OnDestroy)
          .Event("OnShow", &TCustomForm::OnShow)
          .Event("OnCloseQuery", &TCustomForm::OnCloseQuery)
          .Done();
  return info;
}

const TClassInfo& TForm::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TForm::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TForm, TCustomForm>("TForm").Factory().Done();
  return info;
}

const TClassInfo& TCustomLabel::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TCustomLabel::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TCustomLabel, TGraphicControl>("TCustomLabel")
          .Prop("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize)
          .Prop("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap)
          .Prop("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent)
          .EnumProp("Alignment", kAlignments, &TCustomLabel::Alignment, &TCustomLabel::SetAlignment)
          .EnumProp("Layout", kTextLayouts, &TCustomLabel::Layout, &TCustomLabel::SetLayout)
          .Prop("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar)
          .Done();
  return info;
}

const TClassInfo& TLabel::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TLabel::StaticClassInfo() {
  static const TClassInfo& info = TClassInfo::Define<TLabel, TCustomLabel>("TLabel").Factory().Done();
  return info;
}

const TClassInfo& TTimer::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TTimer::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TTimer, TComponent>("TTimer")
          .Factory()
          .Prop("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
          .Prop("Interval", [](const TTimer& t) { return static_cast<int>(t.Interval()); },
                [](TTimer& t, int v) { t.SetInterval(static_cast<std::uint32_t>(std::max(v, 0))); })
          .Event("OnTimer", &TTimer::OnTimer)
          .Done();
  return info;
}

}  // namespace framework
