#include "skin/sui_image_panel.h"

#include "framework/graphics/text_renderer.h"
#include "skin/skin_draw.h"
#include "skin/skin_window.h"
#include "skin/sui_text.h"

#include "base/win_api.h"

namespace skin {

namespace dt = graphics::dt;

TsuiCustomPanel::TsuiCustomPanel(framework::TComponent* owner)
    : framework::TCustomControl(owner) {
  SetBounds(0, 0, 185, 41);
  SetControlStyle(ControlStyle() | framework::csAcceptsControls | framework::csOpaque);
}

void TsuiCustomPanel::SetPicture(const graphics::TBitmap& picture) {
  picture_ = picture;
  PictureChanged();
}

void TsuiCustomPanel::SetPictureAutoSize(bool v) {
  picture_auto_size_ = v;
  PictureChanged();
}

void TsuiCustomPanel::SetTransparent(bool v) {
  transparent_ = v;
  picture_.SetTransparent(v);
  Invalidate();
}

void TsuiCustomPanel::SetCaptionX(int v) {
  caption_x_ = v;
  Invalidate();
}

void TsuiCustomPanel::SetCaptionY(int v) {
  caption_y_ = v;
  Invalidate();
}

void TsuiCustomPanel::SetDrawMode(TsuiPanelDrawMode v) {
  draw_mode_ = v;
  Invalidate();
}

void TsuiCustomPanel::SetAlignment(framework::TAlignment v) {
  alignment_ = v;
  Invalidate();
}

void TsuiCustomPanel::PictureChanged() {
  if (!picture_.Empty()) {
    if (picture_auto_size_) {
      const graphics::TSize size = PictureAutoSizeFor(Align(), {Width(), Height()},
                                                      {picture_.Width(), picture_.Height()});
      SetBounds(Left(), Top(), size.cx, size.cy);
    }
    picture_.SetTransparent(transparent_);
  }
  Invalidate();
}

void TsuiCustomPanel::BoundsChanged(const graphics::TRect& old_bounds) {
  framework::TCustomControl::BoundsChanged(old_bounds);
  Invalidate();
}

void TsuiCustomPanel::Paint() {
  framework::TCanvas& canvas = Canvas();
  const graphics::TRect client = ClientRect();
  if (transparent_) PaintParentBackground(canvas, BackgroundSource(this));
  if (!picture_.Empty()) {
    switch (draw_mode_) {
      case dmStretch: canvas.StretchDraw(client, picture_); break;
      case dmTile: TilePicture(canvas, picture_, client); break;
      default: canvas.Draw(0, 0, picture_); break;
    }
  } else if (!transparent_) {
    canvas.Brush.Style = graphics::TBrushStyle::Solid;
    canvas.Brush.Color = Color();
    canvas.FillRect(client);
  }
  const std::string& caption = Caption();
  if (TrimmedText(caption).empty()) return;
  canvas.Font = Font();
  canvas.Brush.Style = graphics::TBrushStyle::Clear;
  if (caption_x_ == -1 || caption_y_ == -1) {
    unsigned flags = dt::SingleLine | dt::VCenter;
    if (alignment_ == framework::TAlignment::taCenter) flags |= dt::Center;
    if (alignment_ == framework::TAlignment::taRightJustify) flags |= dt::Right;
    graphics::TRect r = client;
    canvas.DrawText(caption, r, flags);
  } else {
    canvas.TextOut(caption_x_, caption_y_, caption);
  }
}

void TsuiCustomPanel::WndProc(framework::TMessage& m) {
  // The panel paints every pixel itself; the toolkit erases only when the
  // panel asks for it.
  if (m.Msg == WM_ERASEBKGND && !erase_background_) {
    m.Result = 1;
    return;
  }
  framework::TCustomControl::WndProc(m);
}

}  // namespace skin
