
#include <algorithm>

#include "base/error.h"
#include "base/text_codec.h"
#include "framework/controls/application.h"
#include "framework/controls/form.h"
#include "framework/controls/menus.h"
#include "framework/controls/win_control.h"
#include "framework/graphics/bitmap_win.h"
#include "framework/graphics/gdi_handles_win.h"

#include "base/win_api.h"
#include <windowsx.h>

namespace framework {

namespace {

constexpr wchar_t kControlClass[] = L"VantoControl";
constexpr wchar_t kControlProp[] = L"VantoControl";

}  // namespace

// The one window procedure of every toolkit window, native controls
// included (they are subclassed): it finds the control and hands it the
// message. Nothing thrown by a handler crosses into the system.
struct WindowProcAccess {
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    TWinControl* control = nullptr;
    if (msg == WM_NCCREATE) {
      control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
      if (control) {
        control->handle_ = hwnd;
        SetPropW(hwnd, kControlProp, control);
      }
    } else {
      control = static_cast<TWinControl*>(GetPropW(hwnd, kControlProp));
    }
    if (!control) return DefWindowProcW(hwnd, msg, wp, lp);

    TMessage m{msg, wp, lp, 0};
    try {
      control->WndProc(m);
    } catch (...) {
      Application().HandleCurrentException();
    }
    if (msg == WM_NCDESTROY) {
      RemovePropW(hwnd, kControlProp);
      if (control->default_proc_)
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control->default_proc_));
      control->handle_ = nullptr;
      control->default_proc_ = nullptr;
      control->tracking_leave_ = false;
      control->mouse_inside_ = false;
    }
    return m.Result;
  }

  static void RegisterClassOnce() {
    static bool registered = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      // Double clicks arrive as such; TControl turns them back into a
      // press for controls that do not want them (no csDoubleClicks).
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.lpszClassName = kControlClass;
      wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
      RegisterClassExW(&wc);
      return true;
    }();
    (void)registered;
  }
};

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  // Children stay with their owner; they only lose this parent.
  while (!controls_.empty()) controls_.back()->SetParent(nullptr);
  if (handle_) DestroyWnd();
}

TWinControl* TWinControl::FromHandle(HWND__* window) {
  return window ? static_cast<TWinControl*>(GetPropW(window, kControlProp)) : nullptr;
}

HWND__* TWinControl::Handle() {
  if (!handle_) CreateWnd();
  return handle_;
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (Visible()) params.style |= WS_VISIBLE;
  if (!Enabled()) params.style |= WS_DISABLED;
  if (tab_stop_) params.style |= WS_TABSTOP;
  params.parent_window = Parent() ? Parent()->Handle() : nullptr;
}

void TWinControl::CreateWnd() {
  WindowProcAccess::RegisterClassOnce();
  TCreateParams params;
  CreateParams(params);
  const bool native = params.window_class != nullptr;
  std::wstring text = base::GbkToWide(Text());
  HWND hwnd = CreateWindowExW(params.ex_style, native ? params.window_class : kControlClass,
                              text.c_str(), params.style, Left(), Top(), Width(), Height(),
                              params.parent_window, nullptr, GetModuleHandleW(nullptr),
                              native ? nullptr : this);
  if (!hwnd) throw base::Error("Error creating window");
  // Children stack in their list's order, the last on top, as a layout
  // lists them (a button written after another lies above it).
  if (params.parent_window)
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (native) {
    handle_ = hwnd;
    SetPropW(hwnd, kControlProp, this);
    default_proc_ = reinterpret_cast<void*>(SetWindowLongPtrW(
        hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProcAccess::Proc)));
  }
  for (TControl* child : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(child)) w->Handle();
}

void TWinControl::DestroyWnd() {
  if (handle_) DestroyWindow(handle_);
  handle_ = nullptr;
}

void TWinControl::BringToFront() {
  if (TWinControl* parent = Parent()) {
    auto& siblings = parent->controls_;
    siblings.erase(std::find(siblings.begin(), siblings.end(), this));
    siblings.push_back(this);
  }
  if (handle_)
    SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  control->parent_ = this;
  if (handle_) {
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
      if (w->handle_) ::SetParent(w->handle_, handle_);
      else w->Handle();
    }
    InvalidateRect(control->BoundsRect());
  }
  if (control->Align() != TAlign::alNone) Realign();
}

void TWinControl::RemoveControl(TControl* control) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  controls_.erase(it);
  if (mouse_control_ == control) mouse_control_ = nullptr;
  if (capture_control_ == control) capture_control_ = nullptr;
  if (auto* w = dynamic_cast<TWinControl*>(control); w && w->handle_) w->DestroyWnd();
  control->parent_ = nullptr;
  if (handle_) InvalidateRect(control->BoundsRect());
  if (control->Align() != TAlign::alNone) Realign();
}

TControl* TWinControl::ControlAtPos(TPoint p) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (c->IsWindowed() || !c->Visible() || !c->Enabled()) continue;
    if (c->BoundsRect().Contains(p)) return c;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    c->WndProc(message);
    if (message.Result != 0) return;
  }
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  auto list = Parent()->TabList();
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!Parent()) return;
  auto& siblings = Parent()->controls_;
  auto self = std::find(siblings.begin(), siblings.end(), this);
  if (self == siblings.end()) return;
  siblings.erase(self);
  // The tab order is the order of windowed siblings in the child list.
  int seen = 0;
  auto at = siblings.begin();
  for (; at != siblings.end(); ++at) {
    if (!(*at)->IsWindowed()) continue;
    if (seen == order) break;
    ++seen;
  }
  siblings.insert(at, this);
}

std::vector<TWinControl*> TWinControl::TabList() const {
  std::vector<TWinControl*> list;
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c)) list.push_back(w);
  return list;
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return ParentForm() != nullptr;
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = ParentForm(); form && form != this) form->SetActiveControl(this);
  ::SetFocus(Handle());
}

void TWinControl::InvalidateRect(const TRect& r) {
  if (!handle_) return;
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  ::InvalidateRect(handle_, &rc, FALSE);
}

void TWinControl::Invalidate() {
  if (handle_) ::InvalidateRect(handle_, nullptr, FALSE);
}

void TWinControl::Repaint() {
  if (handle_) RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TWinControl::SetText(const std::string& text) {
  if (text == Text()) return;
  TControl::SetText(text);
  if (handle_) SetWindowTextW(handle_, base::GbkToWide(text).c_str());
}

void TWinControl::BoundsChanged(const TRect& old_bounds) {
  if (handle_)
    SetWindowPos(handle_, nullptr, Left(), Top(), Width(), Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  if (old_bounds.Width() != Width() || old_bounds.Height() != Height()) Realign();
}

void TWinControl::Realign() {
  if (aligning_) return;
  std::vector<TAlignedChild> children;
  bool any = false;
  for (TControl* c : controls_) {
    children.push_back({c->Align(), c->BoundsRect()});
    any = any || (c->Align() != TAlign::alNone && c->Align() != TAlign::alCustom);
  }
  if (!any) return;
  TRect area = ClientRect();
  AdjustClientRect(area);
  const std::vector<TRect> placed = ArrangeAligned(area, children);
  aligning_ = true;
  try {
    for (std::size_t i = 0; i < placed.size(); ++i) {
      const TRect& r = placed[i];
      controls_[i]->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    }
  } catch (...) {
    aligning_ = false;
    throw;
  }
  aligning_ = false;
}

void TWinControl::VisibleChanged() {
  if (handle_) ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::EnabledChanged() {
  if (handle_) EnableWindow(handle_, Enabled());
  Invalidate();
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (!handle_) return;
  if (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x1000) return;  // ours: no window default
  m.Result = default_proc_ ? CallWindowProcW(reinterpret_cast<WNDPROC>(default_proc_), handle_,
                                             m.Msg, m.WParam, m.LParam)
                           : DefWindowProcW(handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::PaintControls(TCanvas& canvas) {
  graphics::TBitmap& target = canvas.Bitmap();
  for (TControl* c : controls_) {
    if (c->IsWindowed() || !c->Visible() || c->Width() <= 0 || c->Height() <= 0) continue;
    // The control paints over a copy of what lies under it, so anything it
    // leaves out shows the parent: non-windowed controls are see-through.
    const TRect r = c->BoundsRect();
    graphics::TBitmap piece(r.Width(), r.Height());
    TCanvas piece_canvas(piece);
    piece_canvas.CopyRect({0, 0, r.Width(), r.Height()}, target, r);
    c->PaintTo(piece_canvas);
    canvas.Draw(r.Left, r.Top, piece);
  }
}

void TWinControl::PaintWindow(HDC__* dc) {
  const TRect client = ClientRect();
  if (client.IsEmpty()) return;
  graphics::TBitmap buffer(client.Width(), client.Height());
  TCanvas canvas(buffer);
  canvas.Brush.Color = Color();
  canvas.FillRect(client);
  canvas.Font = Font();
  PaintBuffer(canvas);
  BitBlt(dc, 0, 0, client.Width(), client.Height(), graphics::NativeDC(buffer), 0, 0, SRCCOPY);
}

void TWinControl::UpdateMouseControl(int x, int y) {
  TControl* now = capture_control_ ? capture_control_ : ControlAtPos({x, y});
  if (now == mouse_control_) return;
  TControl* before = mouse_control_;
  mouse_control_ = now;
  if (before) before->Perform(CM_MOUSELEAVE);
  if (now) now->Perform(CM_MOUSEENTER);
}

void TWinControl::RouteMouseMessage(TMessage& m) {
  const int x = MessageX(m), y = MessageY(m);
  const bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN ||
                    m.Msg == WM_MBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK;
  const bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP;
  UpdateMouseControl(x, y);
  TControl* target = capture_control_ ? capture_control_ : ControlAtPos({x, y});
  // A native control captures the mouse itself and must see its own release
  // before anyone ends the capture: a button that loses it first forgets
  // the press and sends no BN_CLICKED.
  const bool native = default_proc_ != nullptr;
  if (!native && down && (target ? target->ControlStyle() : ControlStyle()) & csCaptureMouse) {
    capture_control_ = target;
    SetCapture(handle_);
  }
  if (target) {
    TMessage routed{m.Msg, m.WParam, PackPoint(x - target->Left(), y - target->Top()), 0};
    target->WndProc(routed);
  } else {
    TControl::WndProc(m);
  }
  if (up && !(m.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
    capture_control_ = nullptr;
    if (!native && GetCapture() == handle_) {
      ReleaseCapture();
      // Capture may have ended leave tracking; the pointer may also have
      // left while captured.
      tracking_leave_ = false;
      MouseLeftCheck();
    }
  }
}

void TWinControl::MouseLeftCheck() {
  POINT p;
  GetCursorPos(&p);
  POINT client = p;
  ScreenToClient(handle_, &client);
  RECT area;
  GetClientRect(handle_, &area);
  if (WindowFromPoint(p) == handle_ && PtInRect(&area, client)) {
    if (!tracking_leave_) {
      TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
      tracking_leave_ = TrackMouseEvent(&t) != 0;
    }
    return;
  }
  tracking_leave_ = false;
  if (!mouse_inside_) return;
  mouse_inside_ = false;
  if (TControl* c = mouse_control_) {
    mouse_control_ = nullptr;
    c->Perform(CM_MOUSELEAVE);
  }
  Perform(CM_MOUSELEAVE);
}

void TWinControl::KeyDown(std::uint16_t& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}
void TWinControl::KeyUp(std::uint16_t& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}
void TWinControl::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}
void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

static TShiftState KeyShift() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: {
      if (default_proc_) break;  // a native control paints itself
      if (m.WParam) {
        PaintWindow(reinterpret_cast<HDC>(m.WParam));
      } else {
        graphics::PaintDC dc(handle_);
        PaintWindow(dc.get());
      }
      return;
    }
    case WM_ERASEBKGND:
      if (default_proc_) break;
      m.Result = 1;  // WM_PAINT paints every pixel, from a buffer
      return;
    case WM_MOUSEMOVE:
      if (!tracking_leave_) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
        tracking_leave_ = TrackMouseEvent(&t) != 0;
      }
      if (!mouse_inside_) {
        mouse_inside_ = true;
        Perform(CM_MOUSEENTER);
      }
      RouteMouseMessage(m);
      if (default_proc_) DefaultHandler(m);
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      RouteMouseMessage(m);
      if (default_proc_) DefaultHandler(m);
      return;
    case WM_MOUSELEAVE:
      // Also sent when tracking ends for other reasons (a capture): only a
      // pointer that is really elsewhere has left.
      tracking_leave_ = false;
      if (GetCapture() != handle_) MouseLeftCheck();
      return;
    case WM_CANCELMODE:
      if (capture_control_) capture_control_->Perform(CM_CANCELMODE);
      capture_control_ = nullptr;
      Perform(CM_CANCELMODE);
      if (GetCapture() == handle_) ReleaseCapture();
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(m.WParam) == handle_ && LOWORD(m.LParam) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(handle_, &p);
        TControl* c = ControlAtPos({p.x, p.y});
        TCursor cursor = c ? c->Cursor() : Cursor();
        if (cursor == crHandPoint) {
          ::SetCursor(LoadCursorW(nullptr, IDC_HAND));
          m.Result = TRUE;
          return;
        }
      }
      break;
    case WM_SETFOCUS:
      DefaultHandler(m);
      if (TCustomForm* form = ParentForm(); form && form != this) form->FocusChanged(this);
      DoEnter();
      return;
    case WM_KILLFOCUS:
      DefaultHandler(m);
      DoExit();
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      auto key = static_cast<std::uint16_t>(m.WParam);
      KeyDown(key, KeyShift());
      if (key == 0) return;
      break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      auto key = static_cast<std::uint16_t>(m.WParam);
      KeyUp(key, KeyShift());
      if (key == 0) return;
      break;
    }
    case WM_CHAR: {
      // The window is a wide one: WParam is a UTF-16 unit. Only characters
      // that are one GBK byte fit KeyPress; a Chinese character (whose low
      // byte may well be 0) passes untouched.
      if (m.WParam >= 0x80) break;
      char c = static_cast<char>(m.WParam);
      KeyPress(c);
      if (c == 0) return;
      m.WParam = static_cast<unsigned char>(c);
      break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      // A native child chooses its colours itself (CN_CTLCOLOR*); one that
      // does not answers 0, and the system's colours apply.
      if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(m.LParam));
          child && child != this) {
        m.Result = child->Perform(m.Msg + CN_OFFSET, m.WParam, m.LParam);
        if (m.Result != 0) return;
      }
      break;
    case WM_COMMAND:
    case WM_NOTIFY: {
      // Notifications of native children go back to the child that sent them.
      HWND from = m.Msg == WM_COMMAND ? reinterpret_cast<HWND>(m.LParam)
                                      : reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
      if (TWinControl* child = FromHandle(from); child && child != this) {
        m.Result = child->Perform(m.Msg + CN_OFFSET, m.WParam, m.LParam);
        return;
      }
      break;
    }
    default:
      break;
  }
  TControl::WndProc(m);
}

// Here rather than beside the menus: a control opens its popup menu
// through the menu's vtable, so a program without menus links none of them.
void TControl::OpenPopupMenu(TPopupMenu& menu, int x, int y) {
  POINT p{x, y};
  if (auto* windowed = dynamic_cast<TWinControl*>(this)) {
    ClientToScreen(windowed->Handle(), &p);
  } else if (Parent()) {
    p = {Left() + x, Top() + y};
    ClientToScreen(Parent()->Handle(), &p);
  } else {
    return;
  }
  menu.Popup(p.x, p.y);
}

}  // namespace framework
