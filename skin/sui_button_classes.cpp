// Published properties of the skinned buttons.
#include "skin/sui_button.h"
#include "skin/sui_style_names.h"

namespace skin {

namespace {

constexpr framework::TEnumName kLayoutNames[] = {{"blGlyphLeft", blGlyphLeft},
                                                 {"blGlyphRight", blGlyphRight},
                                                 {"blGlyphTop", blGlyphTop},
                                                 {"blGlyphBottom", blGlyphBottom}};
constexpr framework::TEnumInfo kLayouts{"TButtonLayout", kLayoutNames};

}  // namespace

const framework::TClassInfo& TsuiCustomButton::ClassInfo() const { return StaticClassInfo(); }
const framework::TClassInfo& TsuiCustomButton::StaticClassInfo() {
  static const framework::TClassInfo& info =
      framework::TClassInfo::Define<TsuiCustomButton, framework::TCustomControl>(
          "TsuiCustomButton")
          .Prop("AutoSize", &TsuiCustomButton::AutoSize, &TsuiCustomButton::SetAutoSize)
          .Prop("Cancel", &TsuiCustomButton::Cancel, &TsuiCustomButton::SetCancel)
          .Prop("Default", &TsuiCustomButton::Default, &TsuiCustomButton::SetDefault)
          .Prop("Transparent", &TsuiCustomButton::Transparent, &TsuiCustomButton::SetTransparent)
          .Prop("ModalResult", &TsuiCustomButton::ModalResult, &TsuiCustomButton::SetModalResult)
          .Prop("MouseContinuouslyDownInterval", &TsuiCustomButton::MouseContinuouslyDownInterval,
                &TsuiCustomButton::SetMouseContinuouslyDownInterval)
          .Prop("FocusedRectMargin", &TsuiCustomButton::FocusedRectMargin,
                &TsuiCustomButton::SetFocusedRectMargin)
          .Event("OnMouseEnter", &TsuiCustomButton::OnMouseEnter)
          .Event("OnMouseExit", &TsuiCustomButton::OnMouseExit)
          .Event("OnMouseContinuouslyDown", &TsuiCustomButton::OnMouseContinuouslyDown)
          .Done();
  return info;
}

const framework::TClassInfo& TsuiButton::ClassInfo() const { return StaticClassInfo(); }
const framework::TClassInfo& TsuiButton::StaticClassInfo() {
  static const framework::TClassInfo& info =
      framework::TClassInfo::Define<TsuiButton, TsuiCustomButton>("TsuiButton")
          .Factory()
          .EnumProp("UIStyle", kUIStyles, &TsuiButton::UIStyle, &TsuiButton::SetUIStyle)
          .Prop("FileTheme", &TsuiButton::FileTheme, &TsuiButton::SetFileTheme)
          .PictureProp("Glyph", &TsuiButton::Glyph, &TsuiButton::SetGlyph)
          .EnumProp("Layout", kLayouts, &TsuiButton::Layout, &TsuiButton::SetLayout)
          .Prop("Spacing", &TsuiButton::Spacing, &TsuiButton::SetSpacing)
          // Kept for layouts that carry it: always 0, writes ignored.
          .Prop("ResHandle", [](const TsuiButton&) { return 0; },
                [](TsuiButton&, int) {})
          .Done();
  return info;
}

const framework::TClassInfo& TsuiImageButton::ClassInfo() const { return StaticClassInfo(); }
const framework::TClassInfo& TsuiImageButton::StaticClassInfo() {
  static const framework::TClassInfo& info =
      framework::TClassInfo::Define<TsuiImageButton, TsuiCustomButton>("TsuiImageButton")
          .Factory()
          .EnumProp("UIStyle", kUIStyles, &TsuiImageButton::UIStyle,
                    &TsuiImageButton::SetUIStyle)
          .PictureProp("PicNormal", &TsuiImageButton::PicNormal, &TsuiImageButton::SetPicNormal)
          .PictureProp("PicMouseOn", &TsuiImageButton::PicMouseOn, &TsuiImageButton::SetPicMouseOn)
          .PictureProp("PicMouseDown", &TsuiImageButton::PicMouseDown,
                       &TsuiImageButton::SetPicMouseDown)
          .PictureProp("PicDisabled", &TsuiImageButton::PicDisabled,
                       &TsuiImageButton::SetPicDisabled)
          .Prop("Stretch", &TsuiImageButton::Stretch, &TsuiImageButton::SetStretch)
          .Prop("DrawFocused", &TsuiImageButton::DrawFocused, &TsuiImageButton::SetDrawFocused)
          .Done();
  return info;
}

}  // namespace skin
