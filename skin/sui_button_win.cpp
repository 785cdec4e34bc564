#include <algorithm>

#include "framework/controls/form.h"
#include "framework/controls/keyboard.h"
#include "framework/graphics/bitmap_win.h"
#include "framework/graphics/gdi_handles_win.h"
#include "framework/graphics/image_list.h"
#include "framework/graphics/text_renderer.h"
#include "skin/skin_draw.h"
#include "skin/sui_button.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_skin_items.h"
#include "skin/sui_style_rules.h"
#include "skin/sui_text.h"

#include "base/win_api.h"

namespace skin {

namespace dt = graphics::dt;
using framework::TCanvas;
using framework::TControl;
using graphics::TRect;

namespace {

// A blank face, for when getting the theme's picture fails.
constexpr int kBlankFaceWidth = 74;
constexpr int kBlankFaceHeight = 21;

}  // namespace

// ---------------------------------------------------------------------------
// Parent background

void PaintParentBackground(TCanvas& canvas, TControl* control) {
  framework::TWinControl* parent = control ? control->Parent() : nullptr;
  if (!parent || !parent->HandleAllocated()) return;
  HDC dc = graphics::NativeDC(canvas.Bitmap());
  if (!dc) return;
  const graphics::ScopedSaveDC saved(dc);
  POINT origin;
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x - control->Left(), origin.y - control->Top(), nullptr);
  IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
  SendMessageW(parent->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageW(parent->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

TControl* BackgroundSource(TControl* control) {
  if (control && control->Parent() && control->Parent()->ClassInfo().ClassName() == "TTabSheet")
    return control->Parent();
  return control;
}

// ---------------------------------------------------------------------------
// TsuiCustomButton

TsuiCustomButton::TsuiCustomButton(TComponent* owner) : framework::TCustomControl(owner) {
  SetText("");
  SetTabStop(true);
  SetControlStyle(ControlStyle() & ~(framework::csAcceptsControls | framework::csDoubleClicks));
  SetUIStyle(GetOwnerUIStyle(owner));
}

TsuiCustomButton::~TsuiCustomButton() { StopRepeat(); }

void TsuiCustomButton::SetAutoSize(bool v) {
  auto_size_ = v;
  UpdateAutoSize();
  Invalidate();
}

void TsuiCustomButton::SetDefault(bool v) {
  default_ = v;
  if (HandleAllocated()) {
    if (framework::TCustomForm* form = ParentForm()) form->FocusChanged(form->ActiveControl());
  }
}

void TsuiCustomButton::SetTransparent(bool v) {
  transparent_ = v;
  TransparentChanged();
}

void TsuiCustomButton::SetUIStyle(TsuiUIStyle style) {
  ui_style_ = style;
  UIStyleChanged();
  Invalidate();
}

void TsuiCustomButton::SetFileTheme(TComponent* theme) {
  file_theme_.Set(theme);
  SetUIStyle(ui_style_);
}

void TsuiCustomButton::Notification(TComponent* component, framework::TOperation operation) {
  framework::TCustomControl::Notification(component, operation);
  if (file_theme_.Released(component, operation)) SetUIStyle(DeepBlue);
}

void TsuiCustomButton::SetEnabled(bool enabled) {
  framework::TCustomControl::SetEnabled(enabled);
  EnabledChangedHook();
  Invalidate();
}

void TsuiCustomButton::TextChanged() {
  CaptionChanged();
  Invalidate();
}

void TsuiCustomButton::FontChangedHook() { Invalidate(); }

void TsuiCustomButton::TransparentChanged() {
  picture_transparent_ = transparent_;
  Invalidate();
}

void TsuiCustomButton::UpdateAutoSize() {
  if (!auto_size_) return;
  TBitmap picture;
  // By the raw style: a FromThemeFile button has no built-in picture here.
  LoadBuiltInPicture(ui_style_, 1, &picture);
  const int w = picture.Empty() ? kBlankFaceWidth : picture.Width();
  const int h = picture.Empty() ? kBlankFaceHeight : picture.Height();
  SetHeight(h);
  SetWidth(w / 3);
}

void TsuiCustomButton::CreateWnd() {
  framework::TCustomControl::CreateWnd();
  active_default_ = default_;
}

void TsuiCustomButton::GetThemeFace(TBitmap& face, int frame) {
  TsuiUIStyle theme;
  const TsuiFileTheme* file_theme = AsFileTheme(file_theme_.get());
  if (UsingFileTheme(file_theme, ui_style_, theme)) {
    file_theme->CopyPicture(skin_item::kButton, face, skin_item::kButtonFrames, frame);
  } else {
    GetBuiltInBitmap(theme, 1, &face, frame, 3);
  }
}

void TsuiCustomButton::GetNormalFace(TBitmap& face) { GetThemeFace(face, 1); }
void TsuiCustomButton::GetMouseOnFace(TBitmap& face) { GetThemeFace(face, 2); }
void TsuiCustomButton::GetMouseDownFace(TBitmap& face) { GetThemeFace(face, 3); }
void TsuiCustomButton::GetDisabledFace(TBitmap& face) { GetThemeFace(face, 1); }

void TsuiCustomButton::Paint() {
  TCanvas& buffer = Canvas();
  TBitmap face;
  try {
    if (!Enabled()) GetDisabledFace(face);
    else if (pressed_) GetMouseDownFace(face);
    else if (!mouse_in_) GetNormalFace(face);
    else GetMouseOnFace(face);
  } catch (const std::exception&) {
    face = TBitmap(kBlankFaceWidth, kBlankFaceHeight);
  }
  face.SetTransparent(picture_transparent_);

  const TRect client = ClientRect();
  if (transparent_) {
    PaintParentBackground(buffer, BackgroundSource(this));
  } else {
    buffer.Brush.Style = graphics::TBrushStyle::Solid;
    buffer.Brush.Color = Color();
    buffer.FillRect(client);
  }
  DrawFace(buffer, face);
  if (Focused() && TabStop()) DrawFocus(buffer);
  buffer.Font = Font();
  const std::string caption = Caption();
  if (!TrimmedText(caption).empty()) DrawCaption(buffer, caption);
}

void TsuiCustomButton::DrawFace(TCanvas& canvas, TBitmap& face) {
  if (face.Empty()) return;
  graphics::TImageList list(face.Width(), face.Height());
  if (picture_transparent_) list.AddMasked(face, face.Pixel(0, 0));
  else list.Add(face);
  list.Draw(canvas, 0, 0, 0, Enabled());
}

void TsuiCustomButton::DrawCenteredCaption(TCanvas& canvas, const std::string& caption) {
  canvas.Brush.Style = graphics::TBrushStyle::Clear;
  TRect r = ClientRect();
  canvas.Font = Font();
  if (caption_bold_) canvas.Font.Style |= graphics::fsBold;
  auto draw = [&](TRect rect) {
    TRect block = rect;
    const unsigned flags = dt::WordBreak | dt::ExpandTabs | dt::Center;
    canvas.DrawText(caption, block, flags | dt::CalcRect);
    const int dx = (rect.Width() - block.Width()) / 2;
    const int dy = (rect.Height() - block.Height()) / 2;
    TRect placed{rect.Left + dx, rect.Top + dy, rect.Left + dx + block.Width(),
                 rect.Top + dy + block.Height()};
    canvas.DrawText(caption, placed, flags);
  };
  if (!Enabled()) {
    TRect shadow = r;
    shadow.Offset(1, 1);
    const graphics::TColor color = canvas.Font.Color;
    canvas.Font.Color = graphics::clWhite;
    draw(shadow);
    canvas.Font.Color = graphics::clGray;
    draw(r);
    canvas.Font.Color = color;
  } else {
    if (pressed_) r.Offset(1, 1);
    draw(r);
  }
  caption_bold_ = false;
}

void TsuiCustomButton::DrawCaption(TCanvas& canvas, const std::string& caption) {
  DrawCenteredCaption(canvas, caption);
}

void TsuiCustomButton::DrawFocus(TCanvas& canvas) {
  const int m = focus_margin_;
  canvas.DrawFocusRect({m, m, ClientWidth() - m, ClientHeight() - m});
}

void TsuiCustomButton::StartRepeat() {
  if (repeat_timer_) return;
  repeat_timer_ = std::make_unique<framework::TTimer>(nullptr);
  repeat_timer_->OnTimer = [this](TComponent*) {
    if (OnMouseContinuouslyDown) OnMouseContinuouslyDown(this);
  };
  repeat_timer_->SetInterval(static_cast<std::uint32_t>(std::max(repeat_interval_, 0)));
}

void TsuiCustomButton::StopRepeat() { repeat_timer_.reset(); }

void TsuiCustomButton::ResetPress() {
  mouse_in_ = false;
  pressed_ = false;
  StopRepeat();
  Invalidate();
}

void TsuiCustomButton::Click() {
  if (pressed_) {
    StopRepeat();
    pressed_ = false;
    Invalidate();
  }
  if (Parent()) {
    if (framework::TCustomForm* form = ParentForm()) form->SetModalResult(modal_result_);
  }
  framework::TCustomControl::Click();
}

bool TsuiCustomButton::HandleDialogChar(TMessage& m) {
  // The whole UTF-16 unit: cut to a byte, a Chinese character would pass
  // for the ASCII letter of its low byte.
  if (!framework::IsAccelerator(m.WParam, Caption())) return false;
  const bool alt = GetKeyState(VK_MENU) < 0 || (m.LParam & (1 << 29));
  bool focused_is_button = false;
  if (HWND focus = GetFocus())
    focused_is_button = SendMessageW(focus, kButtonQueryMessage, 0, 0) == 1;
  if (!(alt || focused_is_button)) return false;
  if (!Parent() || !Parent()->Enabled() || !Enabled() || !Visible()) return false;
  Click();
  return true;
}

void TsuiCustomButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
      pressed_ = true;
      StartRepeat();
      if (TabStop() && CanFocus() && Enabled() && Visible()) {
        try {
          SetFocus();
        } catch (const std::exception&) {
        }
      }
      Repaint();
      framework::TCustomControl::WndProc(m);
      return;
    case WM_MOUSEMOVE: {
      framework::TCustomControl::WndProc(m);
      const int x = framework::MessageX(m), y = framework::MessageY(m);
      if (x < 0 || y < 0 || x > Width() || y > Height()) {
        mouse_in_ = false;
        pressed_ = false;
        Repaint();
      }
      return;
    }
    case framework::CM_MOUSEENTER:
      framework::TCustomControl::WndProc(m);
      if (IsDesigning()) return;
      mouse_in_ = true;
      Repaint();
      if (OnMouseEnter) OnMouseEnter(this);
      return;
    case framework::CM_MOUSELEAVE:
      framework::TCustomControl::WndProc(m);
      ResetPress();
      if (OnMouseExit) OnMouseExit(this);
      return;
    case WM_CANCELMODE:
    case framework::CM_CANCELMODE:
      framework::TCustomControl::WndProc(m);
      ResetPress();
      return;
    case WM_KEYDOWN:
      framework::TCustomControl::WndProc(m);
      if ((m.WParam == VK_SPACE || m.WParam == VK_RETURN) && Focused() && Enabled()) {
        pressed_ = true;
        Repaint();
      }
      return;
    case WM_KEYUP:
      framework::TCustomControl::WndProc(m);
      if ((m.WParam == VK_SPACE || m.WParam == VK_RETURN) && Focused() && pressed_ && Enabled()) {
        pressed_ = false;
        Repaint();
        Click();
      }
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      framework::TCustomControl::WndProc(m);
      Invalidate();
      return;
    case framework::CM_FOCUSCHANGED: {
      auto* focused = reinterpret_cast<framework::TWinControl*>(m.LParam);
      if (dynamic_cast<TsuiButton*>(focused)) active_default_ = focused == this;
      else active_default_ = default_;
      Invalidate();
      return;  // every control hears of it: never mark it handled
    }
    case framework::CM_DIALOGKEY:
      if (((m.WParam == VK_RETURN && active_default_) || (m.WParam == VK_ESCAPE && cancel_)) &&
          !framework::ModifierHeld() && CanFocus()) {
        Click();
        m.Result = 1;
        return;
      }
      framework::TCustomControl::WndProc(m);
      return;
    case framework::CM_DIALOGCHAR:
      framework::TCustomControl::WndProc(m);
      m.Result = HandleDialogChar(m) ? 1 : 0;
      return;
    case kButtonQueryMessage:
      m.Result = 1;
      return;
    default:
      framework::TCustomControl::WndProc(m);
  }
}

// ---------------------------------------------------------------------------
// TsuiButton

TsuiButton::TsuiButton(TComponent* owner) : TsuiCustomButton(owner) {
  SetBounds(0, 0, 80, 27);
  // The base constructor set the style before this class's reaction to it
  // existed; apply it now.
  UIStyleChanged();
}

void TsuiButton::SetGlyph(const TBitmap& glyph) {
  glyph_ = glyph;
  Invalidate();
}

void TsuiButton::UIStyleChanged() {
  TsuiUIStyle theme;
  const TsuiFileTheme* file_theme = AsFileTheme(FileTheme());
  graphics::TFont font = Font();
  if (UsingFileTheme(file_theme, TsuiCustomButton::UIStyle(), theme)) {
    SetTransparent(file_theme->GetFlag(skin_item::kButtonTrans));
    font.Color = file_theme->GetColor(skin_item::kButtonFontColor);
  } else {
    SetTransparent(GetBuiltInBool(theme, 2));
    font.Color = graphics::clBlack;
  }
  SetFont(font);
}

void TsuiButton::DrawFace(TCanvas& canvas, TBitmap& face) {
  canvas.Font = Font();
  StretchSkinPicture(face, canvas, ClientRect(), picture_transparent_);
  if (glyph_.Empty()) return;

  const std::string caption = Caption();
  const int tw = canvas.TextWidth(caption);
  const int th = canvas.TextHeight(caption);
  int gw = glyph_.Width();
  const int gh = glyph_.Height();
  const bool two_images = gw == 2 * gh;
  if (two_images) gw = gh;
  const int W = Width(), H = Height();
  int gx = 0, gy = 0, cx = 0, cy = 0;
  switch (layout_) {
    case blGlyphLeft:
      gx = (W - (tw + gw + spacing_)) / 2;
      gy = (H - gh) / 2;
      cx = gx + gw + spacing_;
      cy = (H - th) / 2;
      break;
    case blGlyphRight:
      gx = (W + tw + spacing_ - gw) / 2;
      gy = (H - gh) / 2;
      cx = gx - tw - spacing_;
      cy = (H - th) / 2;
      break;
    case blGlyphTop:
      gx = (W - gw) / 2;
      gy = (H - (th + gh + spacing_)) / 2;
      cx = (W - tw) / 2;
      cy = gy + gh + spacing_;
      break;
    case blGlyphBottom:
      gx = (W - gw) / 2;
      gy = (H + th + spacing_ - gh) / 2;
      cx = (W - tw) / 2;
      cy = gy - th - spacing_;
      break;
  }
  caption_pos_ = {cx, cy};
  if (Pressed()) {
    ++gx;
    ++gy;
  }
  graphics::TImageList list(gw, gh);
  list.AddMasked(glyph_, glyph_.Pixel(0, 0));
  if (two_images) list.Draw(canvas, gx, gy, Enabled() ? 0 : 1, true);
  else list.Draw(canvas, gx, gy, 0, Enabled());
}

void TsuiButton::DrawCaption(TCanvas& canvas, const std::string& caption) {
  if (glyph_.Empty()) {
    DrawCenteredCaption(canvas, caption);
    return;
  }
  canvas.Brush.Style = graphics::TBrushStyle::Clear;
  canvas.Font = Font();
  const unsigned flags = dt::SingleLine;
  if (!Enabled()) {
    TRect shadow{caption_pos_.X + 1, caption_pos_.Y + 1, Width(), Height()};
    canvas.Font.Color = graphics::clWhite;
    canvas.DrawText(caption, shadow, flags);
    canvas.Font.Color = graphics::clGray;
  } else if (Pressed()) {
    caption_pos_.X += 1;
    caption_pos_.Y += 1;
  }
  TRect r{caption_pos_.X, caption_pos_.Y, Width(), Height()};
  canvas.DrawText(caption, r, flags);
}

void TsuiButton::DrawFocus(TCanvas& canvas) {
  const TsuiUIStyle style = TsuiCustomButton::UIStyle();
  if (style == MacOS || style == BlueGlass) caption_bold_ = true;
  else TsuiCustomButton::DrawFocus(canvas);
}

// ---------------------------------------------------------------------------
// TsuiImageButton

TsuiImageButton::TsuiImageButton(TComponent* owner) : TsuiCustomButton(owner) {}

void TsuiImageButton::SetPicNormal(const TBitmap& p) {
  pic_normal_ = p;
  UpdateAutoSize();
  Invalidate();
}
void TsuiImageButton::SetPicMouseOn(const TBitmap& p) {
  pic_mouse_on_ = p;
  UpdateAutoSize();
  Invalidate();
}
void TsuiImageButton::SetPicMouseDown(const TBitmap& p) {
  pic_mouse_down_ = p;
  UpdateAutoSize();
  Invalidate();
}
void TsuiImageButton::SetPicDisabled(const TBitmap& p) {
  pic_disabled_ = p;
  UpdateAutoSize();
  Invalidate();
}

void TsuiImageButton::UpdateAutoSize() {
  if (!Parent() || !AutoSize() || pic_normal_.Empty()) return;
  SetHeight(pic_normal_.Height());
  SetWidth(pic_normal_.Width());
}

void TsuiImageButton::GetNormalFace(TBitmap& face) { face = pic_normal_; }
void TsuiImageButton::GetMouseOnFace(TBitmap& face) {
  face = pic_mouse_on_.Empty() ? pic_normal_ : pic_mouse_on_;
}
void TsuiImageButton::GetMouseDownFace(TBitmap& face) {
  face = pic_mouse_down_.Empty() ? pic_normal_ : pic_mouse_down_;
}
void TsuiImageButton::GetDisabledFace(TBitmap& face) {
  face = pic_disabled_.Empty() ? pic_normal_ : pic_disabled_;
}

void TsuiImageButton::DrawFace(TCanvas& canvas, TBitmap& face) {
  if (face.Empty()) return;
  face.SetTransparentColor(face.Pixel(0, 0));
  if (stretch_) canvas.StretchDraw({0, 0, Width(), Height()}, face);
  else canvas.Draw(0, 0, face);
}

void TsuiImageButton::DrawFocus(TCanvas& canvas) {
  if (draw_focused_) TsuiCustomButton::DrawFocus(canvas);
}

}  // namespace skin
