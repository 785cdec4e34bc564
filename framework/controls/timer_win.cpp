
#include <set>

#include "framework/controls/application.h"
#include "framework/controls/timer.h"

#include "base/win_api.h"

namespace framework {

namespace {

// Timer ids are the TTimer addresses; this set says which are alive, so a
// WM_TIMER already queued for a freed timer is dropped.
// Never destroyed: timers owned by forms can outlive every other static
// when the application's forms are freed at exit.
std::set<std::uintptr_t>& LiveTimers() {
  static auto* timers = new std::set<std::uintptr_t>;
  return *timers;
}

LRESULT CALLBACK TimerWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    if (TTimer* timer = TTimer::FromId(wp)) {
      try {
        timer->Tick();
      } catch (...) {
        Application().HandleCurrentException();
      }
    }
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND TimerWindow() {
  static HWND window = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TimerWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VantoTimerWindow";
    RegisterClassW(&wc);
    return CreateWindowW(L"VantoTimerWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  }();
  return window;
}

}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  LiveTimers().insert(reinterpret_cast<std::uintptr_t>(this));
  Update();
}

TTimer::~TTimer() {
  if (running_) KillTimer(TimerWindow(), reinterpret_cast<UINT_PTR>(this));
  LiveTimers().erase(reinterpret_cast<std::uintptr_t>(this));
}

TTimer* TTimer::FromId(std::uintptr_t id) {
  return LiveTimers().count(id) ? reinterpret_cast<TTimer*>(id) : nullptr;
}

void TTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Update();
}

void TTimer::SetInterval(std::uint32_t ms) {
  interval_ = ms;
  Update();
}

void TTimer::Update() {
  HWND window = TimerWindow();
  if (running_) KillTimer(window, reinterpret_cast<UINT_PTR>(this));
  running_ = false;
  if (enabled_ && interval_ > 0 && !IsLoading()) {
    running_ = SetTimer(window, reinterpret_cast<UINT_PTR>(this), interval_, nullptr) != 0;
  }
}

void TTimer::Tick() {
  if (OnTimer) OnTimer(this);
}

}  // namespace framework
