#include "framework/controls/label.h"

#include "framework/graphics/text_renderer.h"

namespace framework {

namespace dt = graphics::dt;

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 65, 17);
  SetControlStyle(ControlStyle() | csSetCaption);
}

unsigned TCustomLabel::TextFlags() const {
  unsigned flags = dt::ExpandTabs;
  if (word_wrap_) flags |= dt::WordBreak;
  if (!show_accel_char_) flags |= dt::NoPrefix;
  if (alignment_ == TAlignment::taCenter) flags |= dt::Center;
  if (alignment_ == TAlignment::taRightJustify) flags |= dt::Right;
  return flags;
}

void TCustomLabel::Paint() {
  TCanvas& canvas = Canvas();
  const TRect client = ClientRect();
  if (!transparent_) {
    canvas.Brush.Color = Color();
    canvas.FillRect(client);
  }
  canvas.Brush.Style = graphics::TBrushStyle::Clear;
  canvas.Font = Font();
  std::string text = Caption();
  TRect r = client;
  if (layout_ != TTextLayout::tlTop) {
    TRect measured = client;
    canvas.DrawText(text, measured, TextFlags() | dt::CalcRect);
    const int free = client.Height() - measured.Height();
    r.Top += layout_ == TTextLayout::tlCenter ? free / 2 : free;
  }
  if (!Enabled()) {
    // Disabled text: white, then grey one pixel up and left, engraved.
    TRect shadow = r;
    shadow.Offset(1, 1);
    canvas.Font.Color = graphics::clBtnHighlight;
    canvas.DrawText(text, shadow, TextFlags());
    canvas.Font.Color = graphics::clBtnShadow;
  }
  canvas.DrawText(text, r, TextFlags());
}

void TCustomLabel::AdjustBounds() {
  if (!auto_size_ || IsLoading()) return;
  graphics::TBitmap scratch(1, 1);
  TCanvas canvas(scratch);
  canvas.Font = Font();
  TRect r{0, 0, word_wrap_ ? Width() : 0, 0};
  std::string text = Caption().empty() ? std::string(" ") : Caption();
  canvas.DrawText(text, r, TextFlags() | dt::CalcRect);
  int left = Left();
  if (!word_wrap_ && alignment_ == TAlignment::taRightJustify) left += Width() - r.Width();
  SetBounds(left, Top(), r.Width(), r.Height());
}

void TCustomLabel::SetAutoSize(bool v) {
  auto_size_ = v;
  AdjustBounds();
}
void TCustomLabel::SetWordWrap(bool v) {
  word_wrap_ = v;
  AdjustBounds();
  Invalidate();
}
void TCustomLabel::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}
void TCustomLabel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}
void TCustomLabel::SetLayout(TTextLayout v) {
  layout_ = v;
  Invalidate();
}
void TCustomLabel::SetShowAccelChar(bool v) {
  show_accel_char_ = v;
  AdjustBounds();
  Invalidate();
}
void TCustomLabel::FontChanged() {
  AdjustBounds();
  Invalidate();
}
void TCustomLabel::TextChanged() {
  AdjustBounds();
  Invalidate();
}
void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

}  // namespace framework
