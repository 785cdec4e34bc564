// The skinned form: attaching to the host, the host window's messages, the
// frame painted over the native one, the window region, the menu bar.
#include "skin/sui_form.h"

#include <algorithm>

#include "framework/controls/application.h"
#include "framework/controls/panel.h"
#include "framework/graphics/bitmap_win.h"
#include "framework/graphics/gdi_handles_win.h"
#include "skin/skin_window.h"
#include "skin/sui_style_rules.h"

#include "base/win_api.h"
#include <commctrl.h>

namespace skin {

using framework::TComponent;
using framework::TCustomForm;
using framework::TFormBorderStyle;
using framework::TMessage;
using framework::TOperation;
using graphics::TRect;

namespace {

constexpr UINT_PTR kSubclassId = 0x5355;  // one subclass per host
// Applies a new frame without moving, sizing or activating.
constexpr UINT kFrameChanged =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

TRect WindowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right, r.bottom};
}

// The client area in window coordinates.
TRect ClientInWindow(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const TRect outer = WindowRect(window);
  return {client.left - outer.Left, client.top - outer.Top, client.right - outer.Left,
          client.bottom - outer.Top};
}

}  // namespace

// The host window's subclass: the component's side of every host message.
struct SkinnedFormHook {
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR,
                               DWORD_PTR data) {
    auto* form = reinterpret_cast<TsuiForm*>(data);
    try {
      return Handle(*form, hwnd, msg, wparam, lparam);
    } catch (...) {
      framework::Application().HandleCurrentException();
      return DefSubclassProc(hwnd, msg, wparam, lparam);
    }
  }

  static LRESULT Handle(TsuiForm& form, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_NCDESTROY) {
      // The window goes first: nothing to give back any more.
      RemoveWindowSubclass(hwnd, &Proc, kSubclassId);
      form.hooked_ = false;
      form.hooked_window_ = nullptr;
      return DefSubclassProc(hwnd, msg, wparam, lparam);
    }
    if (form.closing_) return DefSubclassProc(hwnd, msg, wparam, lparam);
    switch (msg) {
      case WM_NCCALCSIZE:
        if (wparam) {
          auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam);
          const WINDOWPOS* pos = params->lppos;
          const TRect r = NcClientRect(form.look_.Metrics, pos->x, pos->y, pos->cx, pos->cy);
          params->rgrc[0] = RECT{r.Left, r.Top, r.Right, r.Bottom};
          params->rgrc[1] = params->rgrc[0];
          // The native frame is then taken off what is left, which the
          // rectangle above allows for.
          DefSubclassProc(hwnd, msg, wparam, lparam);
          return WVR_VALIDRECTS;
        }
        return DefSubclassProc(hwnd, msg, wparam, lparam);
      case kTitleBarBorderQuery:
        return TitleBarBorderAnswer(form.look_.Metrics);
      case WM_NCPAINT:
        if (IsIconic(hwnd)) return DefSubclassProc(hwnd, msg, wparam, lparam);
        form.PaintFrame();
        return 0;
      case WM_NCACTIVATE:
        if (IsIconic(hwnd)) return DefSubclassProc(hwnd, msg, wparam, lparam);
        if (form.title_bar_) form.title_bar_->SetFormActive(wparam != 0);
        form.PaintFrame();
        return TRUE;
      default:
        break;
    }
    const LRESULT result = DefSubclassProc(hwnd, msg, wparam, lparam);
    switch (msg) {
      case WM_ACTIVATE:
        if (form.title_bar_) form.title_bar_->SetFormActive(LOWORD(wparam) != WA_INACTIVE);
        form.PaintFrame();
        break;
      case WM_SIZE:
        form.HostSized();
        break;
      case WM_SETTEXT:
        // The host's caption set elsewhere shows in the title bar too.
        if (form.host_) form.SetCaption(form.host_->Caption());
        break;
      case WM_SHOWWINDOW:
        // The form's Menu shows the menu bar; the native one never shows.
        if (form.host_) form.host_->SetMenu(nullptr);
        break;
      case WM_STYLECHANGED:
        if (wparam == static_cast<WPARAM>(GWL_STYLE)) {
          const auto* styles = reinterpret_cast<const STYLESTRUCT*>(lparam);
          if (styles->styleNew & WS_CAPTION) {
            SetWindowLongPtrW(hwnd, GWL_STYLE, styles->styleNew & ~WS_CAPTION);
            SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, kFrameChanged);
          }
        }
        break;
      default:
        break;
    }
    return result;
  }
};

// ---------------------------------------------------------------------------
// Attaching and detaching

TsuiForm::TsuiForm(TComponent* owner) : TsuiCustomPanel(owner) {
  auto* host = dynamic_cast<TCustomForm*>(owner);
  if (!host) return;
  for (int i = 0; i < host->ControlCount(); ++i)
    if (dynamic_cast<TsuiForm*>(host->Controls(i))) return;  // one per form
  Attach(*host);
}

void TsuiForm::Attach(TCustomForm& host) {
  host_ = &host;
  SetParent(&host);
  SetAlign(framework::TAlign::alClient);
  title_bar_ = new TsuiTitleBar(this);
  title_bar_->SetParent(this);
  title_bar_->SetCaption(host.Caption());
  SetCaption(host.Caption());
  // bsNone and bsSingle frames cannot be drawn over: a dialog frame can;
  // a sizing frame stays so that the window can still be sized.
  host_border_style_ = host.BorderStyle();
  host_constraints_ = host.Constraints();
  if (host_border_style_ != TFormBorderStyle::bsSizeable)
    host.SetBorderStyle(TFormBorderStyle::bsDialog);
  SetUIStyle(DeepBlue);
  message_hook_ = framework::Application().AddMessageHook(
      [this](const framework::TApplication::TQueuedMessage& m) {
        if ((m.msg == WM_KEYDOWN || m.msg == WM_SYSKEYDOWN) && HandleShortCut(m.wparam))
          return true;
        // Alt+Space anywhere in the program opens the window menu.
        if (m.msg != WM_SYSKEYDOWN || m.wparam != VK_SPACE || !host_ || !title_bar_) return false;
        if (!IsFormActive(host_)) return false;
        TCustomForm* main = framework::Application().MainForm();
        TCustomForm* at = main && main->HandleAllocated() ? main : host_;
        const TRect r = at->HandleAllocated() ? WindowRect(at->Handle()) : at->BoundsRect();
        title_bar_->PopupMenu().Popup(r.Left, r.Top + title_bar_->Height());
        return true;
      });
  // Placing this panel on a host that has its window made this one's
  // window, and that hooked the host already (CreateWnd).
  if (host.HandleAllocated()) HookHost();
}

TsuiForm::~TsuiForm() { Detach(); }

void TsuiForm::CreateWnd() {
  TsuiCustomPanel::CreateWnd();
  // The host's window exists now (it is this one's parent).
  if (host_ && !hooked_) HookHost();
}

void TsuiForm::HookHost() {
  // Once: the host's caption is gone after the first time.
  if (hooked_) return;
  HWND hwnd = host_->Handle();
  TsuiFormMetrics& m = look_.Metrics;
  RECT client{};
  GetClientRect(hwnd, &client);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  MeasureNativeFrame(m, WindowRect(hwnd), {client.left, client.top, client.right, client.bottom});
  if (!SetWindowSubclass(hwnd, &SkinnedFormHook::Proc, kSubclassId,
                         reinterpret_cast<DWORD_PTR>(this)))
    return;
  hooked_ = true;
  hooked_window_ = hwnd;
  host_window_style_ = static_cast<std::uintptr_t>(GetWindowLongPtrW(hwnd, GWL_STYLE));
  SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>(host_window_style_ & ~WS_CAPTION));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, kFrameChanged);
  host_->SetMenu(nullptr);
  UpdateRegion();
}

void TsuiForm::Detach() {
  if (!host_) return;
  closing_ = true;
  if (message_hook_) framework::Application().RemoveMessageHook(message_hook_);
  message_hook_ = 0;
  if (menu_.get())
    if (auto* skinned = dynamic_cast<TsuiMainMenu*>(menu_.get())) skinned->SetSkinnedForm(nullptr);
  TCustomForm* host = host_;
  host_ = nullptr;
  // The subclass goes first, through the window kept from hooking: no
  // message may reach this component once it is gone.
  HWND hwnd = static_cast<HWND>(hooked_window_);
  const bool was_hooked = hooked_;
  if (hooked_) RemoveWindowSubclass(hwnd, &SkinnedFormHook::Proc, kSubclassId);
  hooked_ = false;
  hooked_window_ = nullptr;
  // A host that is going (this component is freed as part of it) may be
  // no more than its component part by now: nothing else of it is touched.
  if (host->IsDestroying()) return;
  host->SetConstraints(host_constraints_);
  if (was_hooked && IsWindow(hwnd)) {
    host->SetBorderStyle(host_border_style_);
    SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>(host_window_style_));
    SetWindowRgn(hwnd, nullptr, TRUE);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, kFrameChanged);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  } else {
    host->SetBorderStyle(host_border_style_);
  }
}

void TsuiForm::Notification(TComponent* component, TOperation operation) {
  TsuiCustomPanel::Notification(component, operation);
  if (file_theme_.Released(component, operation)) SetUIStyle(DeepBlue);
  if (menu_.Released(component, operation)) ShowMenuBar(false);
  form_panel_.Released(component, operation);
  if (operation == TOperation::Remove && component == title_bar_) title_bar_ = nullptr;
  if (operation == TOperation::Remove && component == menu_bar_) menu_bar_ = nullptr;
}

// ---------------------------------------------------------------------------
// Style

void TsuiForm::SetFileTheme(TComponent* theme) {
  if (theme == file_theme_.get()) return;
  file_theme_.Set(theme);
  SetUIStyle(look_.UIStyle);
}

void TsuiForm::SetUIStyle(TsuiUIStyle style) {
  look_.UIStyle = style;
  ApplyStyle();
}

void TsuiForm::ApplyStyle() {
  const TsuiFileTheme* file_theme = AsFileTheme(file_theme_.get());
  ApplyFormStyle(look_, look_.UIStyle, file_theme);
  SetColor(look_.Color);
  if (title_bar_) {
    title_bar_->SetFileTheme(file_theme_.get());
    title_bar_->SetUIStyle(look_.UIStyle);
    if (!look_.UsesFileTheme) {
      title_bar_->SetRoundCorner(look_.RoundCorner);
      title_bar_->SetRoundCornerBottom(look_.RoundCornerBottom);
    }
  }
  if (auto* skinned = dynamic_cast<TsuiMainMenu*>(menu_.get())) {
    skinned->SetFileTheme(const_cast<TsuiFileTheme*>(file_theme));
    skinned->SetUIStyle(look_.UIStyle);
  }
  if (menu_bar_) {
    menu_bar_->SetLook(look_.UIStyle, const_cast<TsuiFileTheme*>(file_theme), look_.MenuBarColor,
                       look_.MenuBarToColor);
  }
  if (auto_update_sub_) PropagateUIStyle(this, look_.UIStyle, file_theme_.get());
  FrameChanged();
}

void TsuiForm::FrameChanged() {
  ApplyConstraints();
  if (!host_ || !hooked_) return;
  SetWindowPos(host_->Handle(), nullptr, 0, 0, 0, 0, kFrameChanged);
  Invalidate();
  PaintFrame();
  UpdateRegion();
}

void TsuiForm::SetBorderColor(graphics::TColor v) {
  look_.BorderColor = v;
  PaintFrame();
}

void TsuiForm::SetBorderWidth(int v) {
  look_.Metrics.BorderWidth = v;
  FrameChanged();
}

bool TsuiForm::TitleBarCustom() const { return title_bar_ && title_bar_->Custom(); }
void TsuiForm::SetTitleBarCustom(bool v) {
  if (title_bar_) title_bar_->SetCustom(v);
}

bool TsuiForm::TitleBarDrawAppIcon() const { return title_bar_ && title_bar_->DrawAppIcon(); }
void TsuiForm::SetTitleBarDrawAppIcon(bool v) {
  if (title_bar_) title_bar_->SetDrawAppIcon(v);
}

graphics::TColor TsuiForm::InactiveCaptionColor() const {
  return title_bar_ ? title_bar_->InactiveCaptionColor() : graphics::kSystemColorFlag | 3;
}
void TsuiForm::SetInactiveCaptionColor(graphics::TColor v) {
  if (title_bar_) title_bar_->SetInactiveCaptionColor(v);
}

void TsuiForm::SetTitleBarVisible(bool v) {
  if (v == title_bar_wanted_) return;
  title_bar_wanted_ = v;
  if (title_bar_) {
    title_bar_->SetVisible(v);
    title_bar_->SetTop(0);
  }
  FrameChanged();
}

void TsuiForm::TextChanged() {
  TsuiCustomPanel::TextChanged();
  if (title_bar_) title_bar_->SetCaption(Caption());
  if (host_ && host_->Caption() != Caption()) host_->SetCaption(Caption());
}

int TsuiForm::RoundCorner() const {
  return title_bar_ && title_bar_->Visible() ? title_bar_->RoundCorner() : 0;
}
void TsuiForm::SetRoundCorner(int v) {
  if (title_bar_) title_bar_->SetRoundCorner(v);
  UpdateRegion();
}
int TsuiForm::RoundCornerBottom() const {
  return title_bar_ && title_bar_->Visible() ? title_bar_->RoundCornerBottom() : 0;
}
void TsuiForm::SetRoundCornerBottom(int v) {
  if (title_bar_) title_bar_->SetRoundCornerBottom(v);
  UpdateRegion();
}

// ---------------------------------------------------------------------------
// The menu bar, the panel, the shortcuts

void TsuiForm::SetMenu(framework::TMainMenu* menu) {
  if (auto* old = dynamic_cast<TsuiMainMenu*>(menu_.get())) old->SetSkinnedForm(nullptr);
  menu_.Set(menu);
  if (auto* skinned = dynamic_cast<TsuiMainMenu*>(menu)) skinned->SetSkinnedForm(this);
  ShowMenuBar(menu != nullptr);
}

void TsuiForm::ShowMenuBar(bool show) {
  if (!show) {
    if (menu_bar_) TComponent::Free(menu_bar_);
    menu_bar_ = nullptr;
    FrameChanged();
    return;
  }
  if (!menu_bar_) {
    menu_bar_ = new TsuiMenuBar(this);
    menu_bar_->SetButtonHeight(menu_bar_height_);
    menu_bar_->SetParent(this);
  }
  // Below the title bar: aligned strips take the top in child order.
  if (title_bar_) title_bar_->SetTop(0);
  menu_bar_->SetLook(look_.UIStyle, const_cast<TsuiFileTheme*>(AsFileTheme(file_theme_.get())),
                     look_.MenuBarColor, look_.MenuBarToColor);
  menu_bar_->SetMenu(menu_.get());
  FrameChanged();
}

void TsuiForm::SetMenuBarColor(graphics::TColor v) {
  look_.MenuBarColor = v;
  if (menu_bar_) menu_bar_->SetLook(menu_bar_->StyleInForce(), menu_bar_->FileThemeInForce(), v,
                                    look_.MenuBarToColor);
  PaintFrame();
}

void TsuiForm::SetMenuBarToColor(graphics::TColor v) {
  look_.MenuBarToColor = v;
  if (menu_bar_) menu_bar_->SetLook(menu_bar_->StyleInForce(), menu_bar_->FileThemeInForce(),
                                    look_.MenuBarColor, v);
  PaintFrame();
}

void TsuiForm::SetMenuBarHeight(int v) {
  menu_bar_height_ = v;
  if (menu_bar_) menu_bar_->SetButtonHeight(v);
}

bool TsuiForm::HandleShortCut(std::uintptr_t key) {
  framework::TMainMenu* menu = menu_.get();
  if (!menu || !host_ || !IsFormActive(host_)) return false;
  framework::TShiftState shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= framework::ssShift;
  if (GetKeyState(VK_CONTROL) < 0) shift |= framework::ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= framework::ssAlt;
  framework::TMenuItem* item =
      menu->FindShortCut(framework::MakeShortCut(static_cast<std::uint16_t>(key), shift));
  if (!item) return false;
  item->Click();
  return true;
}

void TsuiForm::SetFormPanel(framework::TWinControl* panel) {
  if (panel == this) {
    ShowTitleBarError(kFormPanelRefused);
    return;
  }
  form_panel_.Set(panel);
  if (!panel) return;
  panel->SetAlign(framework::TAlign::alClient);
  if (auto* plain = dynamic_cast<framework::TPanel*>(panel)) {
    plain->SetBevelOuter(framework::TPanelBevel::bvNone);
    plain->SetCaption("");
  }
}

TsuiTitleBarSections* TsuiForm::TitleBarSections() const {
  return title_bar_ ? &title_bar_->Sections() : nullptr;
}
void TsuiForm::SetTitleBarSections(const TsuiTitleBarSections& sections) {
  if (title_bar_) title_bar_->SetSections(sections);
}
TsuiTitleBarButtons* TsuiForm::TitleBarButtons() const {
  return title_bar_ ? &title_bar_->Buttons() : nullptr;
}
void TsuiForm::SetTitleBarButtons(const TsuiTitleBarButtons& buttons) {
  if (title_bar_) title_bar_->SetButtons(buttons);
}

void TsuiForm::SetOnTitleBarCustomBtnsClick(TsuiTitleBarButtonEvent handler) {
  if (title_bar_) title_bar_->OnCustomBtnsClick = std::move(handler);
}

void TsuiForm::SetOnTitleBarHelpBtnClick(TsuiTitleBarButtonEvent handler) {
  if (title_bar_) title_bar_->OnHelpBtnClick = std::move(handler);
}

void TsuiForm::RebuildMenuBar() {
  if (menu_bar_) menu_bar_->Rebuild();
}
void TsuiForm::UpdateMenuBarItems() {
  if (menu_bar_) menu_bar_->UpdateMenuButtons();
}
void TsuiForm::MenuBarFontChanged() {
  if (menu_bar_) menu_bar_->MenuFontChanged();
}

// ---------------------------------------------------------------------------
// Painting, the region, the size

void TsuiForm::Paint() {
  graphics::TCanvas& canvas = Canvas();
  const TRect client = ClientRect();
  if (look_.UIStyle == MacOS || look_.UIStyle == Protein) {
    const graphics::TBitmap& tile = ThemePicture(
        look_.UIStyle == MacOS ? "MACOS_FORM_BACKGROUND" : "PROTEIN_FORM_BACKGROUND");
    if (!tile.Empty()) {
      for (int y = 0; y < client.Bottom; y += tile.Height())
        for (int x = 0; x < client.Right; x += tile.Width()) canvas.Draw(x, y, tile);
      return;
    }
    // No picture: the colour below.
  }
  canvas.Brush.Style = graphics::TBrushStyle::Solid;
  canvas.Brush.Color = Color();
  canvas.FillRect(client);
}

void TsuiForm::PaintFrame() {
  if (closing_ || !host_ || !hooked_ || !host_->HandleAllocated()) return;
  HWND hwnd = host_->Handle();
  if (IsIconic(hwnd)) return;
  const TRect outer = WindowRect(hwnd);
  const int width = outer.Width(), height = outer.Height();
  if (width <= 0 || height <= 0) return;
  graphics::TBitmap frame(width, height);
  graphics::TCanvas canvas(frame);
  canvas.Brush.Color = look_.Color;
  canvas.FillRect({0, 0, width, height});
  const TRect client = ClientInWindow(hwnd);
  TRect menu_bar;
  if (menu_bar_ && menu_bar_->Visible()) {
    const TRect b = menu_bar_->BoundsRect();
    const TRect self = BoundsRect();
    menu_bar = {client.Left + self.Left + b.Left, client.Top + self.Top + b.Top,
                client.Left + self.Left + b.Right, client.Top + self.Top + b.Bottom};
  }
  const bool title_visible = title_bar_ && title_bar_->Visible();
  const TsuiFileTheme* file_theme = AsFileTheme(file_theme_.get());
  if (look_.UsesFileTheme && file_theme) {
    ComposeBottomImage(bottom_image_, width, *file_theme, look_);
    TFileFrame f;
    f.Width = width;
    f.Height = height;
    if (title_visible && FileTitleBarComplete(title_bar_->Sections().Count()))
      f.FrameImage = &title_bar_->FrameImage();
    f.TitleHeight = title_visible ? title_bar_->Height() : 0;
    f.MenuBar = menu_bar;
    f.BottomImage = bottom_image_.Empty() ? nullptr : &bottom_image_;
    PaintFileFrame(canvas, f, *file_theme, look_);
  } else {
    TBuiltInFrame f;
    f.Width = width;
    f.Height = height;
    f.TitleBarVisible = title_visible;
    if (title_visible && title_bar_->Sections().Count() >= 3) {
      f.Sections.Left = title_bar_->FormPicture(0);
      f.Sections.Right = title_bar_->FormPicture(1);
      f.Sections.Client = title_bar_->FormPicture(2);
      f.TitleHeight = f.Sections.Left->Height();
    }
    f.MenuBar = menu_bar;
    PaintBuiltInFrame(canvas, f, look_);
  }
  // Only the frame: the client area is the controls' to paint.
  const graphics::WindowDC dc(hwnd, graphics::WindowDC::kWholeWindow);
  ExcludeClipRect(dc.get(), client.Left, client.Top, client.Right, client.Bottom);
  BitBlt(dc.get(), 0, 0, width, height, graphics::NativeDC(frame), 0, 0, SRCCOPY);
  if (!look_.UsesFileTheme && title_visible && look_.Metrics.BorderWidth == 1 &&
      title_bar_->RoundCorner() == 11) {
    // The rounded top corners outlined in the border colour.
    graphics::OwnedPen pen(CreatePen(PS_SOLID, 1, graphics::ColorToRGB(look_.BorderColor) & 0xFFFFFF));
    graphics::ScopedSelect select(dc.get(), pen.get());
    Arc(dc.get(), 0, 0, 11, 11, 5, 0, 0, 5);
    Arc(dc.get(), width - 12, 0, width - 1, 11, width - 1, 5, width - 6, 0);
  }
}

void TsuiForm::UpdateRegion() {
  if (closing_ || !host_ || !hooked_ || !host_->HandleAllocated()) return;
  HWND hwnd = host_->Handle();
  const TRect outer = WindowRect(hwnd);
  const int width = outer.Width(), height = outer.Height();
  graphics::OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
  auto add = [&](HRGN part) {
    graphics::OwnedRegion piece(part);
    CombineRgn(region.get(), region.get(), piece.get(), RGN_OR);
  };
  if (look_.UsesFileTheme) {
    if (!look_.TitleNeedRegion && !look_.BottomNeedRegion) {
      SetWindowRgn(hwnd, nullptr, TRUE);
      return;
    }
    if (title_bar_) title_bar_->Repaint();
    if (const TsuiFileTheme* theme = AsFileTheme(file_theme_.get()))
      ComposeBottomImage(bottom_image_, width, *theme, look_);
    for (const TRect& r : PictureRegion(look_, width, height, &title_bar_->TitleImage(),
                                        bottom_image_.Empty() ? nullptr : &bottom_image_))
      add(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
  } else {
    for (const TRegionShape& s :
         BuiltInRegionShapes(width, height, title_bar_ ? title_bar_->RoundCorner() : 0,
                             title_bar_ ? title_bar_->RoundCornerBottom() : 0,
                             title_bar_ && title_bar_->Visible())) {
      const TRect& b = s.Bounds;
      add(s.Shape == TRegionShape::RoundRectangle
              ? CreateRoundRectRgn(b.Left, b.Top, b.Right + 1, b.Bottom + 1, s.Corner, s.Corner)
              : CreateRectRgn(b.Left, b.Top, b.Right, b.Bottom));
    }
  }
  // The window owns the region from here.
  if (SetWindowRgn(hwnd, region.get(), TRUE)) region.release();
}

void TsuiForm::HostSized() {
  if (!host_ || placing_) return;
  HWND hwnd = host_->Handle();
  if (IsZoomed(hwnd)) {
    const TRect target = MaximisedBounds(GetWorkArea());
    if (WindowRect(hwnd) != target) {
      placing_ = true;
      SetWindowPos(hwnd, nullptr, target.Left, target.Top, target.Width(), target.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
      placing_ = false;
    }
  }
  if (title_bar_) title_bar_->Invalidate();
  UpdateRegion();
  PaintFrame();
}

void TsuiForm::TitleBarCaptionDrawn(TsuiTitleBar&) { PaintFrame(); }

void TsuiForm::TitleBarConstraints(int min_width, int min_height) {
  min_width_ = min_width;
  min_height_ = min_height;
  ApplyConstraints();
}

void TsuiForm::ApplyConstraints() {
  if (!host_) return;
  // The title bar's width limit; the height the bars and the bottom
  // border need (the title bar's own 50 is less than that or replaced).
  const bool title = title_bar_ && title_bar_->Visible();
  const bool bar = menu_bar_ && menu_bar_->Visible();
  TCustomForm::TSizeConstraints c = host_->Constraints();
  c.MinWidth = std::max(min_width_, 0);
  c.MinHeight = FormMinimumHeight(bar ? menu_bar_->Height() : 0, title ? title_bar_->Height() : 0,
                                  look_.Metrics.BottomBorderHeight);
  host_->SetConstraints(c);
}

void TsuiForm::WndProc(TMessage& m) {
  if (m.Msg == kTitleBarBorderQuery) {
    m.Result = TitleBarBorderAnswer(look_.Metrics);
    return;
  }
  TsuiCustomPanel::WndProc(m);
}

}  // namespace skin
