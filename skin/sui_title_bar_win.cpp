// TsuiTitleBar's window side: painting through the portable painter, the
// mouse, dragging the host form, the button actions and the window menu,
// and the captions from the string resources.
#include <algorithm>

#include "base/text_codec.h"
#include "base/win_api.h"
#include "framework/controls/application.h"
#include "framework/controls/dialogs.h"
#include "framework/controls/form.h"
#include "framework/graphics/bitmap_win.h"
#include "skin/skin_window.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_style_rules.h"
#include "skin/sui_title_bar.h"

namespace skin {

using framework::TComponent;
using framework::TMessage;
using graphics::TRect;

namespace {
// The window menu and a control box menu open this far to the right on a
// right-to-left layout.
constexpr int kRightToLeftMenuShift = 176;
}  // namespace

// ---------------------------------------------------------------------------
// Platform part of the items

namespace title_bar_platform {

void ShowError(const std::string& text) {
  framework::MessageBox(text, framework::Application().Title(), framework::TMsgButtons::mbOK,
                        framework::TMsgIcon::miError);
}

std::string LoadText(TTitleBarText text) {
  UINT id = 0;
  switch (text) {
    case TTitleBarText::Minimise: id = TITLE_BAR_STRING_MINIMISE; break;
    case TTitleBarText::Maximise: id = TITLE_BAR_STRING_MAXIMISE; break;
    case TTitleBarText::Close: id = TITLE_BAR_STRING_CLOSE; break;
  }
  const wchar_t* chars = nullptr;
  // With a length of 0, LoadStringW hands out the resource's own text.
  const int length =
      LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&chars), 0);
  if (length <= 0 || !chars) return {};
  return base::WideToGbkLossy(std::wstring_view(chars, static_cast<std::size_t>(length)));
}

}  // namespace title_bar_platform

// ---------------------------------------------------------------------------
// TsuiTitleBar

TsuiTitleBar::TsuiTitleBar(TComponent* owner)
    : TsuiCustomPanel(owner), popup_menu_(new TsuiTitleBarPopupMenu(this)) {
  SetControlStyle((ControlStyle() & ~framework::csAcceptsControls) | framework::csDoubleClicks);
  SetAlign(framework::TAlign::alTop);
  graphics::TFont font = Font();
  font.Name = "Tahoma";
  font.Color = graphics::clWhite;
  font.Style = graphics::fsBold;
  SetFont(font);
  for (TsuiTitleBarBtnType type : {suiControlBox, suiClose, suiMax, suiMin})
    buttons_.Add().SetButtonType(type);
  popup_menu_->MinimiseItem()->OnClick = [this](TComponent*) { MinimiseHost(); };
  popup_menu_->MaximiseItem()->OnClick = [this](TComponent*) {
    for (int i = 0; i < buttons_.Count(); ++i)
      if (buttons_.Items(i).Visible() && buttons_.Items(i).ButtonType() == suiMax) ButtonAction(i);
  };
  // However the menu is opened, its commands follow the visible buttons.
  popup_menu_->OnPopup = [this](TComponent*) { popup_menu_->EnableFor(buttons_); };
  popup_menu_->CloseItem()->OnClick = [this](TComponent*) {
    if (auto* form = HostForm()) form->Close();
  };
  SetUIStyle(GetOwnerUIStyle(owner));
}

TsuiTitleBar::~TsuiTitleBar() = default;

void TsuiTitleBar::SetFileTheme(TComponent* theme) {
  file_theme_.Set(theme);
  if (!custom_) ApplyStyle(true);
}

void TsuiTitleBar::SetUIStyle(TsuiUIStyle style) {
  ui_style_ = style;
  if (!custom_) ApplyStyle(false);
}

void TsuiTitleBar::ApplyStyle(bool keep_caption_colour) {
  const TsuiFileTheme* file_theme = AsFileTheme(file_theme_.get());
  TsuiUIStyle theme = DeepBlue;
  const bool using_file = UsingFileTheme(file_theme, ui_style_, theme);
  const TsuiFileTheme* in_force = using_file ? file_theme : nullptr;
  ApplyTitleBarTheme(theme, in_force, SkinnedForm() != nullptr, buttons_.Count(), sections_,
                     metrics_);
  if (auto* host = SkinnedForm()) host->TitleBarConstraints(metrics_.MinWidth, metrics_.MinHeight);
  const TsuiUIStyle resolved = using_file ? FromThemeFile : theme;
  buttons_.BeginUpdate();
  for (int i = 0; i < buttons_.Count(); ++i) buttons_.Items(i).SetUIStyle(resolved);
  buttons_.EndUpdate();
  painted_maximised_ = HostMaximised();
  popup_menu_->SetFileTheme(dynamic_cast<TsuiFileTheme*>(file_theme_.get()));
  popup_menu_->SetUIStyle(resolved);
  if (!keep_caption_colour) {
    graphics::TFont font = Font();
    font.Color = TitleCaptionColour(theme, in_force);
    SetFont(font);
  }
  SetAutoSize(true);
  Invalidate();
}

void TsuiTitleBar::SetAutoSize(bool v) {
  if (sections_.Count() == 0) {
    auto_size_ = false;
    return;
  }
  auto_size_ = v;
  const graphics::TBitmap& first = sections_.Items(0).Picture();
  if (v && !first.Empty()) SetHeight(first.Height() - (SkinnedForm() ? kSkinnedFormShift : 0));
}

const graphics::TBitmap* TsuiTitleBar::FormPicture(int index) const {
  if (index == -1) return &title_image_;
  if (index == -2) return &frame_image_;
  if (index >= 0 && index < sections_.Count()) return &sections_.Items(index).Picture();
  return nullptr;
}

TRect TsuiTitleBar::ButtonRect(int index) const {
  if (index < 0 || index >= static_cast<int>(button_rects_.size())) return {};
  return button_rects_[static_cast<std::size_t>(index)];
}

TsuiTitleBarFormHost* TsuiTitleBar::SkinnedForm() const {
  return dynamic_cast<TsuiTitleBarFormHost*>(Parent());
}

framework::TCustomForm* TsuiTitleBar::HostForm() const { return ParentForm(); }

bool TsuiTitleBar::HostMaximised() const {
  auto* form = HostForm();
  return form && form->HandleAllocated() && IsZoomed(form->Handle());
}

const TsuiFileTheme* TsuiTitleBar::TitleBarFileTheme() const {
  return AsFileTheme(file_theme_.get());
}

void TsuiTitleBar::WatchMenu(framework::TPopupMenu* menu) { menu->FreeNotification(this); }

void TsuiTitleBar::Notification(TComponent* component, framework::TOperation operation) {
  TsuiCustomPanel::Notification(component, operation);
  if (file_theme_.Released(component, operation)) {
    SetUIStyle(DeepBlue);
  } else if (operation == framework::TOperation::Remove) {
    for (int i = 0; i < buttons_.Count(); ++i) buttons_.Items(i).MenuGone(component);
  }
}

int TsuiTitleBar::LeftBorder() const {
  // A form that does not know the query answers 0.
  return Parent() ? static_cast<int>(Parent()->Perform(kQueryLeftBorder)) : 0;
}

void TsuiTitleBar::BoundsChanged(const graphics::TRect& old_bounds) {
  TsuiCustomPanel::BoundsChanged(old_bounds);
  if ((old_bounds.Right - old_bounds.Left != Width() ||
       old_bounds.Bottom - old_bounds.Top != Height()) &&
      OnResize && !IsLoading())
    OnResize(this);
}

void TsuiTitleBar::Paint() {
  // The maximise buttons follow the host however its state changed.
  const bool maximised = HostMaximised();
  if (maximised != painted_maximised_) {
    painted_maximised_ = maximised;
    buttons_.BeginUpdate();
    for (int i = 0; i < buttons_.Count(); ++i)
      if (buttons_.Items(i).ButtonType() == suiMax) buttons_.Items(i).LoadPictures();
    buttons_.EndUpdate();
  }
  TTitleBarPaintInput in;
  in.Width = Width();
  in.Height = Height();
  in.Border = LeftBorder();
  in.OnSkinnedForm = SkinnedForm() != nullptr;
  in.Sections = &sections_;
  in.Buttons = &buttons_;
  in.Metrics = metrics_;
  in.ButtonInterval = button_interval_;
  in.UsingFileTheme = UsingFileTheme(AsFileTheme(file_theme_.get()), ui_style_, in.Theme);
  in.Background = Color();
  in.Caption = Caption();
  in.Font = Font();
  in.FormActive = form_active_;
  in.InactiveCaptionColor = inactive_caption_color_;
  in.DrawAppIcon = draw_app_icon_;
  POINT cursor{};
  if (HandleAllocated() && GetCursorPos(&cursor) && ScreenToClient(Handle(), &cursor)) {
    in.MouseOver = true;
    in.Mouse = {cursor.x, cursor.y};
  }
  in.Pressed = pressed_;
  in.RightToLeft = UseRightToLeftLayout();

  TTitleBarPaintResult out;
  PaintTitleBar(in, out);
  if (draw_app_icon_ && out.Buttons.ControlBox >= 0) {
    // The application's icon: the program's "MAINICON", loaded once (a
    // shared icon: the system frees it with the program).
    static const HICON icon = static_cast<HICON>(LoadImageW(
        GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR | LR_SHARED));
    if (icon) {
      const TRect& r = out.ControlBoxRect;
      DrawIconEx(graphics::NativeDC(out.Bar), r.Left, r.Top, icon, 16, 16, 0, nullptr, DI_NORMAL);
    }
  }
  Canvas().Draw(0, 0, out.Bar);
  hot_button_ = out.HotButton;
  section_caption_ = out.SectionCaption;
  drawn_caption_ = out.CaptionText;
  button_rects_ = out.Buttons.Rects;
  if (out.Buttons.ControlBox >= 0)
    button_rects_[static_cast<std::size_t>(out.Buttons.ControlBox)] = out.ControlBoxRect;
  title_image_ = std::move(out.TitleImage);
  frame_image_ = std::move(out.FrameImage);
  if (out.CaptionSectionDrawn)
    if (auto* host = SkinnedForm()) host->TitleBarCaptionDrawn(*this);
}

void TsuiTitleBar::MouseMove(framework::TShiftState shift, int x, int y) {
  TsuiCustomPanel::MouseMove(shift, x, y);
  Invalidate();
}

void TsuiTitleBar::LeftButtonDown() {
  pressed_ = true;
  Repaint();
  auto* form = HostForm();
  if (hot_button_ < 0 && form && !HostMaximised()) {
    // The system moves the window while the button is held, from where
    // the press was (in screen coordinates, as for a press on a caption).
    const DWORD at = GetMessagePos();
    ReleaseCapture();
    SendMessageW(form->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(at));
    pressed_ = false;
  }
}

void TsuiTitleBar::LeftButtonUp() {
  const int hot = hot_button_;
  const bool was_pressed = pressed_;
  pressed_ = false;
  if (was_pressed && hot >= 0 && hot < buttons_.Count()) {
    const TsuiTitleBarButton& b = buttons_.Items(hot);
    if (b.ButtonType() == suiControlBox && !b.ControlBoxMenu()) {
      PopupAtBottomLeft(*popup_menu_);
    } else {
      const TsuiTitleBarBtnType type = b.ButtonType();
      ButtonAction(hot);
      if (type == suiCustom && OnCustomBtnsClick) OnCustomBtnsClick(this, hot);
      if (type == suiHelp && OnHelpBtnClick) OnHelpBtnClick(this, hot);
    }
  }
  Invalidate();
}

void TsuiTitleBar::DblClick() {
  TsuiCustomPanel::DblClick();
  if (hot_button_ < 0) {
    const int max = buttons_.FindVisible(suiMax);
    if (max >= 0) ButtonAction(max);
  } else if (hot_button_ < buttons_.Count() &&
             buttons_.Items(hot_button_).ButtonType() == suiControlBox) {
    if (auto* form = HostForm()) form->Close();
  }
}

void TsuiTitleBar::ButtonAction(int index) {
  if (index < 0 || index >= buttons_.Count()) return;
  TsuiTitleBarButton& b = buttons_.Items(index);
  switch (b.ButtonType()) {
    case suiMax: MaximiseOrRestore(index); break;
    case suiMin: MinimiseHost(); break;
    case suiClose:
      if (auto* form = HostForm()) form->Close();
      break;
    case suiControlBox:
      if (b.ControlBoxMenu()) PopupAtBottomLeft(*b.ControlBoxMenu());
      break;
    case suiHelp:
    case suiCustom: break;  // their events say what they do
  }
}

void TsuiTitleBar::MinimiseHost() {
  auto* form = HostForm();
  if (!form) return;
  if (form == framework::Application().MainForm()) {
    SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  } else {
    ShowWindow(form->Handle(), SW_MINIMIZE);
  }
}

void TsuiTitleBar::MaximiseOrRestore(int index) {
  auto* form = HostForm();
  if (!form) return;
  HWND window = form->Handle();
  if (IsZoomed(window)) {
    ShowWindow(window, SW_RESTORE);
  } else {
    ShowWindow(window, SW_MAXIMIZE);
    if (!SkinnedForm()) {
      // Over the work area, the frame's edges just outside it.
      const TRect area = GetWorkArea();
      SetWindowPos(window, nullptr, area.Left - 2, area.Top - 2, area.Right - area.Left + 4,
                   area.Bottom - area.Top + 1, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  painted_maximised_ = HostMaximised();
  buttons_.Items(index).LoadPictures();
  Invalidate();
}

void TsuiTitleBar::PopupAtBottomLeft(framework::TPopupMenu& menu) {
  POINT p{0, Height()};
  ClientToScreen(Handle(), &p);
  if (UseRightToLeftLayout()) p.x = std::max(0L, p.x + kRightToLeftMenuShift);
  menu.Popup(p.x, p.y);
}

void TsuiTitleBar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCMOUSEMOVE:
      if (auto* form = HostForm()) {
        m.Result = SendMessageW(form->Handle(), m.Msg, m.WParam, m.LParam);
        return;
      }
      break;
    case WM_LBUTTONDOWN:
      TsuiCustomPanel::WndProc(m);
      LeftButtonDown();
      return;
    case WM_LBUTTONUP:
      TsuiCustomPanel::WndProc(m);
      LeftButtonUp();
      return;
    default: break;
  }
  TsuiCustomPanel::WndProc(m);
}

}  // namespace skin
