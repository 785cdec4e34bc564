#pragma once
// Driving the toolkit's windows from a test the way a user does: the
// system's cursor and input queue (SetCursorPos, SendInput), with the
// message loop pumped in between so the controls see what happened.
#include <cstdint>
#include <initializer_list>

#include "framework/controls/control.h"
#include "framework/graphics/bitmap.h"

struct HWND__;

namespace framework {
class TWinControl;
}

namespace testing_support {

// Runs the message loop for about ms milliseconds.
void Pump(int ms);
// Puts the cursor at (x, y) of control, a child of a window, and pumps.
void MoveTo(framework::TControl& control, int x, int y);
// Presses or releases the left mouse button where the cursor is (no pump).
void MouseButton(bool down);
// Moves to (x, y) of control, presses and releases there, and pumps.
void Click(framework::TControl& control, int x, int y);
// Presses and releases a key (a virtual-key code), and pumps.
void Key(std::uint16_t virtual_key);

// The user's side while a menu runs its own modal loop: these neither pump
// nor touch the toolkit, so a second thread may call them.
//
// Presses the keys in order and releases them in reverse ({VK_CONTROL,
// 'S'} is Ctrl+S), then waits a little for the input to arrive.
void SendKeys(std::initializer_list<std::uint16_t> virtual_keys);
// The system's open menu window (class "#32768"), waited for up to ms
// milliseconds; null when none showed.
HWND__* WaitForMenuWindow(int ms);

// What control paints, through its own WM_PAINT into a bitmap.
graphics::TBitmap Snapshot(framework::TWinControl& control);

}  // namespace testing_support
