#include "framework/controls/panel.h"

#include "framework/graphics/text_renderer.h"

namespace framework {
namespace {

constexpr TEnumName kBevelNames[] = {{"bvNone", TPanelBevel::bvNone},
                                     {"bvLowered", TPanelBevel::bvLowered},
                                     {"bvRaised", TPanelBevel::bvRaised}};
constexpr TEnumInfo kBevels{"TPanelBevel", kBevelNames};

}  // namespace

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 41);
  SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
}

const TClassInfo& TPanel::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TPanel::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TPanel, TCustomControl>("TPanel")
          .Factory()
          .EnumProp("BevelOuter", kBevels, &TPanel::BevelOuter, &TPanel::SetBevelOuter)
          .Done();
  return info;
}

void TPanel::SetBevelOuter(TPanelBevel bevel) {
  bevel_outer_ = bevel;
  Invalidate();
}

void TPanel::Paint() {
  TCanvas& canvas = Canvas();
  const TRect r = ClientRect();
  if (bevel_outer_ != TPanelBevel::bvNone && r.Width() > 1 && r.Height() > 1) {
    // Light from the top left: a raised edge is light there and dark at the
    // bottom right, a lowered one the other way round.
    const bool raised = bevel_outer_ == TPanelBevel::bvRaised;
    const TColor top_left = raised ? graphics::clBtnHighlight : graphics::clBtnShadow;
    const TColor bottom_right = raised ? graphics::clBtnShadow : graphics::clBtnHighlight;
    canvas.Brush.Style = graphics::TBrushStyle::Solid;
    canvas.Brush.Color = top_left;
    canvas.FillRect({r.Left, r.Top, r.Right - 1, r.Top + 1});
    canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom - 1});
    canvas.Brush.Color = bottom_right;
    canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
    canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
  }
  if (Caption().empty()) return;
  canvas.Brush.Style = graphics::TBrushStyle::Clear;
  canvas.Font = Font();
  TRect text = r;
  canvas.DrawText(Caption(), text,
                  graphics::dt::SingleLine | graphics::dt::Center | graphics::dt::VCenter);
}

}  // namespace framework
