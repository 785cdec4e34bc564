#pragma once
// SUIGroupBox: TsuiCustomGroupBox, a skinned panel that draws a thin frame
// in the theme's border colour with a gap for its caption, and keeps its
// aligned children inside the frame.
#include <string>

#include "framework/core/component_ref.h"
#include "framework/graphics/color.h"
#include "skin/sui_image_panel.h"
#include "skin/sui_themes.h"

namespace skin {

class TsuiCustomGroupBox : public TsuiCustomPanel {
public:
  explicit TsuiCustomGroupBox(framework::TComponent* owner);

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  graphics::TColor BorderColor() const { return border_color_; }
  void SetBorderColor(graphics::TColor v);
  // The group's caption, its own text: the control's text is not shown.
  const std::string& GroupCaption() const { return caption_; }
  void SetGroupCaption(const std::string& v);
  framework::TComponent* FileTheme() const { return file_theme_.get(); }
  void SetFileTheme(framework::TComponent* theme);
  TsuiUIStyle UIStyle() const { return ui_style_; }
  void SetUIStyle(TsuiUIStyle style);

protected:
  // The theme's border and font colours, and the style for the children.
  virtual void ApplyUIStyle();
  void Paint() override;
  void FontChanged() override;
  void AdjustClientRect(graphics::TRect& rect) const override;
  void Notification(framework::TComponent* component, framework::TOperation operation) override;

private:
  graphics::TColor border_color_ = graphics::clBlack;
  std::string caption_;
  framework::TComponentRef<framework::TComponent> file_theme_{*this};
  TsuiUIStyle ui_style_ = DeepBlue;
};

}  // namespace skin
