#include "tests/win32/support/ui_input.h"

#include <vector>

#include "framework/controls/application.h"
#include "framework/controls/win_control.h"
#include "framework/graphics/bitmap_win.h"

#include "base/win_api.h"

namespace testing_support {

void Pump(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (static_cast<int>(end - GetTickCount()) > 0) {
    framework::Application().ProcessMessages();
    Sleep(2);
  }
}

void MoveTo(framework::TControl& c, int x, int y) {
  POINT p{c.Left() + x, c.Top() + y};
  ClientToScreen(c.Parent()->Handle(), &p);
  SetCursorPos(p.x, p.y);
  Pump(60);
}

void MouseButton(bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
}

void Click(framework::TControl& c, int x, int y) {
  MoveTo(c, x, y);
  MouseButton(true);
  MouseButton(false);
  Pump(100);
}

void Key(std::uint16_t vk) {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
  Pump(100);
}

graphics::TBitmap Snapshot(framework::TWinControl& c) {
  graphics::TBitmap shot(c.Width(), c.Height());
  SendMessageW(c.Handle(), WM_PAINT, reinterpret_cast<WPARAM>(graphics::NativeDC(shot)), 0);
  return shot;
}

void SendKeys(std::initializer_list<std::uint16_t> virtual_keys) {
  std::vector<INPUT> in;
  auto add = [&](std::uint16_t vk, DWORD flags) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.dwFlags = flags;
    in.push_back(i);
  };
  for (std::uint16_t vk : virtual_keys) add(vk, 0);
  for (auto it = virtual_keys.end(); it != virtual_keys.begin();) add(*--it, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
  Sleep(80);
}

HWND WaitForMenuWindow(int ms) {
  for (int waited = 0; waited < ms; waited += 10) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu && IsWindowVisible(menu)) return menu;
    Sleep(10);
  }
  return nullptr;
}

}  // namespace testing_support
