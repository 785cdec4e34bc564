#pragma once
// TProgressBar: the system's progress bar (msctls_progress32). Position
// stays within Min..Max. BarColor and BackgroundColor replace the
// system's colours; the window is taken out of visual styles so that
// Windows does not ignore them. Smooth draws one continuous bar instead of
// blocks.
#include "framework/controls/native_control.h"

namespace framework {

// A colour property's "the system's own colour".
inline constexpr graphics::TColor clDefault = 0x20000000;

class TProgressBar : public TNativeControl {
public:
  explicit TProgressBar(TComponent* owner);

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  // Setting Min above Max (or Max below Min) throws base::Error, except
  // while loading, when the range is checked once loading is over.
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  int Position() const;
  void SetPosition(int v);
  // Moves by Step, or by delta.
  int Step() const { return step_; }
  void SetStep(int v) { step_ = v; }
  void StepIt() { SetPosition(Position() + step_); }
  void StepBy(int delta) { SetPosition(Position() + delta); }

  graphics::TColor BarColor() const { return bar_color_; }
  void SetBarColor(graphics::TColor color);
  graphics::TColor BackgroundColor() const { return background_color_; }
  void SetBackgroundColor(graphics::TColor color);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool v);

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Loaded() override;

private:
  void SetRange(int min, int max);
  void ApplyColors();

  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int step_ = 10;
  graphics::TColor bar_color_ = clDefault;
  graphics::TColor background_color_ = clDefault;
  bool smooth_ = false;
};

}  // namespace framework
