
#include "framework/controls/custom_control.h"
#include "framework/graphics/bitmap_win.h"

#include "base/win_api.h"

namespace framework {

void TCustomControl::PaintWindow(HDC__* dc) {
  const TRect client = ClientRect();
  if (client.IsEmpty()) return;
  graphics::TBitmap buffer(client.Width(), client.Height());
  TCanvas canvas(buffer);
  canvas.Brush.Color = Color();
  canvas.FillRect(client);
  canvas.Font = Font();
  canvas_ = &canvas;
  try {
    Paint();
    PaintControls(canvas);
  } catch (...) {
    canvas_ = nullptr;
    throw;
  }
  canvas_ = nullptr;
  BitBlt(dc, 0, 0, client.Width(), client.Height(), graphics::NativeDC(buffer), 0, 0, SRCCOPY);
}

}  // namespace framework
