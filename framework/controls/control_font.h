#pragma once
// A control's font as a published sub-object, so that layouts can set
// "Font.Name", "Font.Height", "Font.Style" and so on through the control's
// own font setter (which repaints and passes the font to the children that
// follow it).
#include "framework/core/rtti.h"
#include "framework/graphics/font.h"

namespace framework {

class TControl;

class TControlFont : public TPersistent {
public:
  explicit TControlFont(TControl& control) : control_(control) {}
  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  const graphics::TFont& Get() const;
  void Change(const std::function<void(graphics::TFont&)>& edit);

private:
  TControl& control_;
};

}  // namespace framework
