#pragma once
// The drawing helpers that need windows: where a form may go on the
// desktop, whether a form is drawn as the active window, and setting a
// control's bounds from a rectangle, and painting what lies under a control.
#include "framework/controls/control.h"
#include "framework/controls/form.h"

namespace skin {

// The usable desktop area: of the monitor nearest the application's main
// form when there is one, else the primary work area.
graphics::TRect GetWorkArea();

// Whether the title bar of form should look active. The toolkit has no MDI
// frames, so the frame rules never apply: without a main form, the form's
// own active flag; with one, false when the application is not active,
// true for no form or the main form, else the form's own flag.
bool IsFormActive(const framework::TCustomForm* form);

// Left, top, width (right - left) and height (bottom - top), in this
// order, each through its own setter.
void SetControlBoundsRect(framework::TControl& control, const graphics::TRect& rect);

// Paints what the control's parent shows under the control into the
// canvas: the parent draws itself into the canvas's device at the
// control's offset. Nothing without a parent. (sui_button_win.cpp.)
void PaintParentBackground(framework::TCanvas& canvas, framework::TControl* control);

// The control that draws the background under a see-through control: on a
// tab page the page control draws it, at the page's offset.
framework::TControl* BackgroundSource(framework::TControl* control);

}  // namespace skin
