#pragma once
// TPanel: a plain container in its own colour, with an optional one-pixel
// 3-D frame (raised or lowered) and its caption centred. Child controls sit
// on it with coordinates relative to its top-left corner.
#include "framework/controls/custom_control.h"

namespace framework {

enum class TPanelBevel : std::uint8_t { bvNone, bvLowered, bvRaised };

class TPanel : public TCustomControl {
public:
  explicit TPanel(TComponent* owner);

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  TPanelBevel BevelOuter() const { return bevel_outer_; }
  void SetBevelOuter(TPanelBevel bevel);

protected:
  void Paint() override;

private:
  TPanelBevel bevel_outer_ = TPanelBevel::bvRaised;
};

}  // namespace framework
