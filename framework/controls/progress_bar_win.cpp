#include "framework/controls/progress_bar.h"

#include <algorithm>

#include "base/error.h"
#include "framework/controls/color_names.h"

#include "base/win_api.h"
#include <commctrl.h>
#include <uxtheme.h>

namespace framework {
namespace {

COLORREF NativeColor(graphics::TColor color) {
  return color == clDefault ? CLR_DEFAULT : static_cast<COLORREF>(graphics::ColorToRGB(color));
}

}  // namespace

TProgressBar::TProgressBar(TComponent* owner) : TNativeControl(owner) {
  SetBounds(0, 0, 150, 16);
}

const TClassInfo& TProgressBar::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TProgressBar::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TProgressBar, TNativeControl>("TProgressBar")
          .Factory()
          .Prop("Min", &TProgressBar::Min, &TProgressBar::SetMin)
          .Prop("Max", &TProgressBar::Max, &TProgressBar::SetMax)
          .Prop("Position", &TProgressBar::Position, &TProgressBar::SetPosition)
          .Prop("Step", &TProgressBar::Step, &TProgressBar::SetStep)
          .Prop("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth)
          .ColorProp("BarColor", &TProgressBar::BarColor, &TProgressBar::SetBarColor,
                     &ColorNames())
          .ColorProp("BackgroundColor", &TProgressBar::BackgroundColor,
                     &TProgressBar::SetBackgroundColor, &ColorNames())
          .Done();
  return info;
}

void TProgressBar::CreateParams(TCreateParams& params) {
  TNativeControl::CreateParams(params);
  params.window_class = PROGRESS_CLASSW;
  if (smooth_) params.style |= PBS_SMOOTH;
}

void TProgressBar::CreateWnd() {
  TNativeControl::CreateWnd();
  HWND hwnd = Handle();
  // Under visual styles the bar is drawn by the theme, which knows nothing
  // of PBM_SETBARCOLOR. A class list that names no class turns the theme
  // off; Wine reads an empty list as "not set", so it is a blank.
  SetWindowTheme(hwnd, L" ", L" ");
  SendMessageW(hwnd, PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
  SendMessageW(hwnd, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
  ApplyColors();
}

void TProgressBar::Loaded() {
  TNativeControl::Loaded();
  SetRange(min_, max_);
}

void TProgressBar::SetMin(int v) { SetRange(v, max_); }
void TProgressBar::SetMax(int v) { SetRange(min_, v); }

void TProgressBar::SetRange(int min, int max) {
  if (IsLoading()) {
    min_ = min;
    max_ = max;
    return;
  }
  if (min > max) throw base::Error("Progress bar range: Min is above Max");
  min_ = min;
  max_ = max;
  position_ = std::clamp(position_, min_, max_);
  if (HandleAllocated()) {
    SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
  }
}

int TProgressBar::Position() const {
  if (!HandleAllocated()) return position_;
  return static_cast<int>(
      SendMessageW(const_cast<TProgressBar*>(this)->Handle(), PBM_GETPOS, 0, 0));
}

void TProgressBar::SetPosition(int v) {
  // A layout may give the position before the range; Loaded() clamps it.
  // An inverted range (left by a load that failed) must not make clamp
  // undefined.
  position_ = IsLoading() || min_ > max_ ? v : std::clamp(v, min_, max_);
  if (HandleAllocated()) SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetBarColor(graphics::TColor color) {
  bar_color_ = color;
  ApplyColors();
}

void TProgressBar::SetBackgroundColor(graphics::TColor color) {
  background_color_ = color;
  ApplyColors();
}

void TProgressBar::ApplyColors() {
  if (!HandleAllocated()) return;
  SendMessageW(Handle(), PBM_SETBARCOLOR, 0, static_cast<LPARAM>(NativeColor(bar_color_)));
  SendMessageW(Handle(), PBM_SETBKCOLOR, 0, static_cast<LPARAM>(NativeColor(background_color_)));
}

void TProgressBar::SetSmooth(bool v) {
  if (v == smooth_) return;
  smooth_ = v;
  if (!HandleAllocated()) return;
  LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  style = v ? (style | PBS_SMOOTH) : (style & ~static_cast<LONG_PTR>(PBS_SMOOTH));
  SetWindowLongPtrW(Handle(), GWL_STYLE, style);
  Invalidate();
}

}  // namespace framework
