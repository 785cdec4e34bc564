#pragma once
// Messages as controls see them. Window messages keep their Windows numbers;
// the toolkit's own control messages (CM_*) sit in the application range so
// that they never collide with the system's. Non-windowed controls receive
// both through TControl::Perform from their parent.
#include <cstdint>

namespace framework {

struct TMessage {
  std::uint32_t Msg = 0;
  std::uintptr_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;
};

// WM_APP is 0x8000; the toolkit keeps 0xB000 upward for itself.
inline constexpr std::uint32_t CM_BASE = 0xB000;
inline constexpr std::uint32_t CM_MOUSEENTER = CM_BASE + 1;
inline constexpr std::uint32_t CM_MOUSELEAVE = CM_BASE + 2;
// WParam: the virtual key; LParam: the key message's LParam. Result 1 when a
// control took the key.
inline constexpr std::uint32_t CM_DIALOGKEY = CM_BASE + 3;
// WParam: the character. Result 1 when a control took it as its accelerator.
inline constexpr std::uint32_t CM_DIALOGCHAR = CM_BASE + 4;
// LParam: the TWinControl* that now has the focus; broadcast by the form.
inline constexpr std::uint32_t CM_FOCUSCHANGED = CM_BASE + 5;
inline constexpr std::uint32_t CM_TEXTCHANGED = CM_BASE + 6;
inline constexpr std::uint32_t CM_FONTCHANGED = CM_BASE + 7;
inline constexpr std::uint32_t CM_ENABLEDCHANGED = CM_BASE + 8;
inline constexpr std::uint32_t CM_VISIBLECHANGED = CM_BASE + 9;
inline constexpr std::uint32_t CM_COLORCHANGED = CM_BASE + 10;
// The press of a mouse button that started over a control was cancelled.
inline constexpr std::uint32_t CM_CANCELMODE = CM_BASE + 11;
// Internal: a call queued to run on the GUI thread (LParam: the call).
inline constexpr std::uint32_t CM_RELEASE = CM_BASE + 12;

// Notifications (WM_COMMAND, WM_NOTIFY) that a native child sends its parent
// come back to the child as CN_OFFSET + the message number.
inline constexpr std::uint32_t CN_OFFSET = 0xBC00;
inline constexpr std::uint32_t CN_COMMAND = CN_OFFSET + 0x0111;
inline constexpr std::uint32_t CN_NOTIFY = CN_OFFSET + 0x004E;
// WM_CTLCOLOR* likewise: WParam the child's DC; Result a brush, or 0 for the
// system's colours.
inline constexpr std::uint32_t CN_CTLCOLOREDIT = CN_OFFSET + 0x0133;
inline constexpr std::uint32_t CN_CTLCOLORBTN = CN_OFFSET + 0x0135;
inline constexpr std::uint32_t CN_CTLCOLORSTATIC = CN_OFFSET + 0x0138;

// Window messages the toolkit handles by number (their Windows values), so
// that portable code can name them without <windows.h>.
inline constexpr std::uint32_t WM_MOUSEMOVE_ = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDOWN_ = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP_ = 0x0202;
inline constexpr std::uint32_t WM_RBUTTONDOWN_ = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP_ = 0x0205;
inline constexpr std::uint32_t WM_MBUTTONDOWN_ = 0x0207;
inline constexpr std::uint32_t WM_MBUTTONUP_ = 0x0208;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK_ = 0x0203;

// Virtual keys the toolkit itself looks at.
inline constexpr std::uint16_t VK_TAB_ = 0x09;
inline constexpr std::uint16_t VK_RETURN_ = 0x0D;
inline constexpr std::uint16_t VK_ESCAPE_ = 0x1B;
inline constexpr std::uint16_t VK_SPACE_ = 0x20;

}  // namespace framework
