#include "framework/controls/application.h"
#include "skin/skin_window.h"

#include "base/win_api.h"

namespace skin {

graphics::TRect GetWorkArea() {
  RECT r{};
  framework::TCustomForm* main = framework::Application().MainForm();
  if (main && main->HandleAllocated()) {
    MONITORINFO info{sizeof info};
    if (GetMonitorInfoW(MonitorFromWindow(main->Handle(), MONITOR_DEFAULTTONEAREST), &info)) {
      r = info.rcWork;
      return {r.left, r.top, r.right, r.bottom};
    }
  }
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return {r.left, r.top, r.right, r.bottom};
}

bool IsFormActive(const framework::TCustomForm* form) {
  framework::TCustomForm* main = framework::Application().MainForm();
  if (!main) return form && form->Active();
  if (!framework::Application().Active()) return false;
  if (!form || form == main) return true;
  return form->Active();
}

void SetControlBoundsRect(framework::TControl& control, const graphics::TRect& rect) {
  control.SetLeft(rect.Left);
  control.SetTop(rect.Top);
  control.SetWidth(rect.Right - rect.Left);
  control.SetHeight(rect.Bottom - rect.Top);
}

}  // namespace skin
