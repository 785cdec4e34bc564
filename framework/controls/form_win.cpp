
#include <algorithm>
#include <functional>

#include "base/text_codec.h"
#include "framework/controls/application.h"
#include "framework/controls/form.h"
#include "framework/controls/menu_native.h"
#include "framework/controls/menus.h"

#include "base/win_api.h"

namespace framework {

namespace {

// The frame of a border style, without its caption boxes.
DWORD FrameStyle(TFormBorderStyle border) {
  switch (border) {
    case TFormBorderStyle::bsNone: return WS_POPUP;
    case TFormBorderStyle::bsSizeable: return WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
    case TFormBorderStyle::bsDialog: return WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    case TFormBorderStyle::bsSingle:
    default: return WS_OVERLAPPED | WS_CAPTION;
  }
}

bool Has(TBorderIcons icons, TBorderIcon icon) { return (icons >> icon) & 1u; }

// Calls visit for every control of the tree below root, depth first, in
// child order; stops when visit returns true.
bool VisitControls(TWinControl* root, const std::function<bool(TControl*)>& visit) {
  for (int i = 0; i < root->ControlCount(); ++i) {
    TControl* c = root->Controls(i);
    if (visit(c)) return true;
    if (auto* w = dynamic_cast<TWinControl*>(c); w && VisitControls(w, visit)) return true;
  }
  return false;
}

}  // namespace

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  SetBounds(0, 0, 320, 240);
}

// No OnDestroy here: by now the derived form's destructor has run, and a
// handler would touch its dead members (see BeforeDestruction).
TCustomForm::~TCustomForm() {
  // The menu must not call back into a form that is going.
  if (menu_) {
    menu_->OnWindowChange = nullptr;
    menu_->RemoveFreeNotification(this);
  }
  // A window destroys the menu it holds; one never handed over is ours.
  if (native_menu_ && !HandleAllocated()) DestroyMenu(static_cast<HMENU>(native_menu_));
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  if (menu_) {
    menu_->OnWindowChange = nullptr;
    menu_->RemoveFreeNotification(this);
  }
  menu_ = menu;
  if (menu_) {
    menu_->FreeNotification(this);
    menu_->OnWindowChange = [this](bool) { UpdateNativeMenu(); };
  }
  UpdateNativeMenu();
}

void TCustomForm::UpdateNativeMenu() {
  HMENU old_menu = static_cast<HMENU>(native_menu_);
  HMENU new_menu = menu_ ? static_cast<HMENU>(menu_->BuildWindowMenu()) : nullptr;
  native_menu_ = new_menu;
  if (!HandleAllocated()) {
    if (old_menu) DestroyMenu(old_menu);
    return;
  }
  ::SetMenu(Handle(), new_menu);
  if (old_menu) DestroyMenu(old_menu);
  DrawMenuBar(Handle());
  // The bar takes its height from the client area: give it back.
  ApplyClientSize();
}

void TCustomForm::BeforeDestruction() noexcept {
  TWinControl::BeforeDestruction();
  if (!OnDestroy) return;
  try {
    OnDestroy(this);
  } catch (...) {
    Application().HandleCurrentException();
  }
}

unsigned long TCustomForm::WindowStyle() const {
  DWORD style = FrameStyle(border_style_);
  // A window without a caption has no boxes; a dialog frame has no minimise
  // or maximise box, whatever the icons say.
  if (!(style & WS_CAPTION) || !Has(border_icons_, biSystemMenu)) return style;
  style |= WS_SYSMENU;
  if (border_style_ != TFormBorderStyle::bsDialog) {
    if (Has(border_icons_, biMinimize)) style |= WS_MINIMIZEBOX;
    if (Has(border_icons_, biMaximize)) style |= WS_MAXIMIZEBOX;
  }
  return style;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  border_style_ = style;
  ApplyClientSize();
}

void TCustomForm::SetConstraints(const TSizeConstraints& constraints) {
  constraints_ = constraints;
  const int width = std::max(Width(), constraints.MinWidth);
  const int height = std::max(Height(), constraints.MinHeight);
  if (width != Width() || height != Height()) SetBounds(Left(), Top(), width, height);
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
  border_icons_ = icons;
  ApplyClientSize();
}

void TCustomForm::CreateParams(TCreateParams& params) {
  params.style = WindowStyle() | WS_CLIPCHILDREN;
  params.ex_style = border_style_ == TFormBorderStyle::bsDialog ? WS_EX_DLGMODALFRAME : 0;
  params.parent_window = nullptr;
}

void TCustomForm::CreateWnd() {
  if (position_ == TPosition::poScreenCenter) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int left = work.left + (work.right - work.left - Width()) / 2;
    const int top = work.top + (work.bottom - work.top - Height()) / 2;
    TControl::SetBounds(std::max<int>(left, work.left), std::max<int>(top, work.top), Width(),
                        Height());
  }
  TWinControl::CreateWnd();
  if (native_menu_) {
    ::SetMenu(Handle(), static_cast<HMENU>(native_menu_));
  } else if (menu_) {
    UpdateNativeMenu();
  }
  ApplyClientSize();
  // The client area is known only now (frame, menu bar): aligned children
  // were placed in a guess of it.
  Realign();
}

void TCustomForm::SetClientSize(int width, int height) {
  client_width_ = std::max(width, 0);
  client_height_ = std::max(height, 0);
  ApplyClientSize();
}

void TCustomForm::ApplyClientSize() {
  if (client_width_ == 0 && client_height_ == 0) return;
  if (!HandleAllocated()) {
    RECT r{0, 0, client_width_, client_height_};
    const DWORD ex_style = border_style_ == TFormBorderStyle::bsDialog ? WS_EX_DLGMODALFRAME : 0;
    AdjustWindowRectEx(&r, WindowStyle(), FALSE, ex_style);
    SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
    return;
  }
  RECT client;
  GetClientRect(Handle(), &client);
  const int dw = client_width_ - client.right, dh = client_height_ - client.bottom;
  if (dw != 0 || dh != 0) SetBounds(Left(), Top(), Width() + dw, Height() + dh);
}

TRect TCustomForm::ClientRect() const {
  if (!HandleAllocated()) {
    if (client_width_ != 0 || client_height_ != 0) return {0, 0, client_width_, client_height_};
    return TWinControl::ClientRect();
  }
  RECT r;
  GetClientRect(const_cast<TCustomForm*>(this)->Handle(), &r);
  return {0, 0, r.right, r.bottom};
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == active_control_) return;
  if (active_control_) active_control_->RemoveFreeNotification(this);
  active_control_ = control;
  if (control) control->FreeNotification(this);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::Remove && component == active_control_) active_control_ = nullptr;
  if (operation == TOperation::Remove && component == menu_) {
    menu_ = nullptr;
    UpdateNativeMenu();
  }
}

bool TCustomForm::Active() const {
  return HandleAllocated() && GetActiveWindow() == const_cast<TCustomForm*>(this)->Handle();
}

void TCustomForm::Show() {
  SetVisible(true);
  HWND hwnd = Handle();
  ShowWindow(hwnd, SW_SHOW);
  // Some window managers (Wine's among them) settle the frame only once the
  // window is shown.
  ApplyClientSize();
  SetForegroundWindow(hwnd);
  if (OnShow) OnShow(this);
  if (active_control_ && active_control_->CanFocus()) {
    active_control_->SetFocus();
  } else if (auto list = TabList(); !list.empty()) {
    SelectNext(nullptr, true);
  }
}

void TCustomForm::VisibleChanged() {
  if (!HandleAllocated()) return;
  ShowWindow(Handle(), Visible() ? SW_SHOW : SW_HIDE);
}

bool TCustomForm::CloseQuery() {
  bool can_close = true;
  if (OnCloseQuery) OnCloseQuery(this, can_close);
  return can_close;
}

void TCustomForm::Close() {
  if (!CloseQuery()) return;
  if (in_modal_loop_) {
    if (modal_result_ == mrNone) modal_result_ = mrCancel;
    return;
  }
  Hide();
  if (Application().MainForm() == this) Application().Terminate();
}

int TCustomForm::ShowModal() {
  modal_result_ = mrNone;
  HWND owner = GetActiveWindow();
  if (owner) EnableWindow(owner, FALSE);
  Show();
  in_modal_loop_ = true;
  while (modal_result_ == mrNone && !Application().Terminated()) Application().HandleMessage(true);
  in_modal_loop_ = false;
  if (owner) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  Hide();
  return modal_result_;
}

void TCustomForm::BroadcastAll(TMessage& message) {
  VisitControls(this, [&](TControl* c) {
    c->WndProc(message);
    return message.Result != 0;
  });
}

void TCustomForm::FocusChanged(TWinControl* control) {
  SetActiveControl(control);
  TMessage m{CM_FOCUSCHANGED, 0, reinterpret_cast<std::intptr_t>(control), 0};
  BroadcastAll(m);
}

void TCustomForm::SelectNext(TWinControl* current, bool forward) {
  // Every focusable windowed control of the form, in tab order at every depth.
  std::vector<TWinControl*> order;
  std::function<void(TWinControl*)> collect = [&](TWinControl* parent) {
    for (TWinControl* w : parent->TabList()) {
      if (w->TabStop() && w->CanFocus()) order.push_back(w);
      collect(w);
    }
  };
  collect(this);
  if (order.empty()) return;
  auto it = std::find(order.begin(), order.end(), current);
  std::size_t index;
  if (it == order.end()) {
    index = forward ? 0 : order.size() - 1;
  } else {
    std::size_t at = static_cast<std::size_t>(it - order.begin());
    index = forward ? (at + 1) % order.size() : (at + order.size() - 1) % order.size();
  }
  order[index]->SetFocus();
}

void TCustomForm::WndProc(TMessage& m) {
  if (menu_ && menu_->DispatchWindowMessage(m)) return;
  switch (m.Msg) {
    case CM_DIALOGKEY:
      if (m.WParam == VK_TAB) {
        SelectNext(active_control_, GetKeyState(VK_SHIFT) >= 0);
        m.Result = 1;
        return;
      }
      BroadcastAll(m);  // Enter and Esc: default and cancel buttons
      return;
    case CM_DIALOGCHAR:
      BroadcastAll(m);
      return;
    case WM_CLOSE:
      Close();
      return;
    case WM_ACTIVATE:
      if (LOWORD(m.WParam) != WA_INACTIVE && active_control_ && active_control_->HandleAllocated()) {
        ::SetFocus(active_control_->Handle());
        return;
      }
      break;
    case WM_SETFOCUS:
      // The form itself keeps no focus: hand it to the active control.
      if (active_control_ && active_control_->HandleAllocated() && active_control_->CanFocus()) {
        ::SetFocus(active_control_->Handle());
        return;
      }
      break;
    case WM_MOVE: {
      RECT r;
      GetWindowRect(Handle(), &r);
      TControl::SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
      break;
    }
    case WM_GETMINMAXINFO: {
      TWinControl::WndProc(m);  // the system's own limits first
      auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
      const TSizeConstraints& c = constraints_;
      if (c.MinWidth > 0) info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, c.MinWidth);
      if (c.MinHeight > 0)
        info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, c.MinHeight);
      if (c.MaxWidth > 0) info->ptMaxTrackSize.x = std::min<LONG>(info->ptMaxTrackSize.x, c.MaxWidth);
      if (c.MaxHeight > 0)
        info->ptMaxTrackSize.y = std::min<LONG>(info->ptMaxTrackSize.y, c.MaxHeight);
      m.Result = 0;
      return;
    }
    case WM_SIZE:
      // Resized by the user or the system (maximised, restored, a menu bar
      // that came or went): the bounds follow, and the aligned children
      // are placed in the new client area.
      if (m.WParam != SIZE_MINIMIZED && !in_size_) {
        in_size_ = true;
        struct Done {
          bool& flag;
          ~Done() { flag = false; }
        } done{in_size_};
        RECT r;
        GetWindowRect(Handle(), &r);
        TControl::SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        Realign();
      }
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}


}  // namespace framework
