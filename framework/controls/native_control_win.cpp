#include "framework/controls/native_control.h"

#include "framework/controls/font_cache.h"

#include "base/win_api.h"

namespace framework {

TNativeControl::TNativeControl(TComponent* owner) : TWinControl(owner) {
  // The window captures the mouse and reports clicks itself; the toolkit's
  // own click detection would report each click a second time.
  SetControlStyle(ControlStyle() & ~(csCaptureMouse | csClickEvents | csAcceptsControls));
}

const TClassInfo& TNativeControl::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TNativeControl::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TNativeControl, TWinControl>("TNativeControl").Done();
  return info;
}

void TNativeControl::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(CachedFont(Font())), FALSE);
}

void TNativeControl::FontChanged() {
  if (HandleAllocated())
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(CachedFont(Font())), TRUE);
}

void TNativeControl::ColorChanged() {
  // Native windows paint their background from the brush of WM_CTLCOLOR*,
  // some of them only while erasing.
  if (HandleAllocated()) ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TNativeControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      SetTextColor(dc, static_cast<COLORREF>(graphics::ColorToRGB(Font().Color)));
      SetBkColor(dc, static_cast<COLORREF>(graphics::ColorToRGB(Color())));
      m.Result = reinterpret_cast<std::intptr_t>(CachedBrush(Color()));
      return;
    }
    default:
      TWinControl::WndProc(m);
  }
}

}  // namespace framework
