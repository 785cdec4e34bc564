#include "framework/controls/custom_control.h"

#include "base/error.h"

namespace framework {

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

TCanvas& TCustomControl::Canvas() {
  if (!canvas_) throw base::Error("Canvas does not allow drawing");
  return *canvas_;
}

void TCustomControl::PaintBuffer(TCanvas& canvas) {
  canvas_ = &canvas;
  try {
    Paint();
    PaintControls(canvas);
  } catch (...) {
    canvas_ = nullptr;
    throw;
  }
  canvas_ = nullptr;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

TCanvas& TGraphicControl::Canvas() {
  if (!canvas_) throw base::Error("Canvas does not allow drawing");
  return *canvas_;
}

void TGraphicControl::PaintTo(TCanvas& canvas) {
  canvas.Font = Font();
  canvas_ = &canvas;
  try {
    Paint();
  } catch (...) {
    canvas_ = nullptr;
    throw;
  }
  canvas_ = nullptr;
}

}  // namespace framework
