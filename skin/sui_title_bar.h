#pragma once
// SUITitleBar: TsuiTitleBar, the skinned title bar. A skinned form makes
// one at the top of its client area; it can also stand alone on any form
// (its host form). It shows picture sections, picture buttons (maximise,
// minimise, close, help, control box, custom), the application icon and
// the caption; dragging it moves the host, a double click maximises or
// restores it, and the control box opens the window menu.
//
// Every paint composes two images the skinned form reads for its frame and
// window region: TitleImage (the sections as drawn) and FrameImage (the
// same over BackColor).
//
// The skinned form is a later layer: the bar knows it only through
// TsuiTitleBarFormHost, which that form implements. A bar whose parent
// implements it is "on a skinned form": it is drawn shifted under the
// form's frame and leaves maximised placement to the form.
#include <functional>

#include "framework/core/component_ref.h"
#include "skin/sui_image_panel.h"
#include "skin/sui_title_bar_items.h"
#include "skin/sui_title_bar_rules.h"

namespace skin {

class TsuiTitleBar;

// What the bar asks of the skinned form it sits on.
class TsuiTitleBarFormHost {
public:
  // A caption section was drawn: repaint the frame around the new title.
  // Called from the bar's paint: the form must not paint the bar again
  // from here (invalidating it would start an endless cycle).
  virtual void TitleBarCaptionDrawn(TsuiTitleBar& bar) = 0;
  // The theme's size limits for the form (-1: none).
  virtual void TitleBarConstraints(int min_width, int min_height) = 0;

protected:
  ~TsuiTitleBarFormHost() = default;
};

// (title bar, button index)
using TsuiTitleBarButtonEvent = std::function<void(framework::TComponent* sender, int index)>;

class TsuiTitleBar : public TsuiCustomPanel, public TsuiTitleBarItemsHost {
public:
  explicit TsuiTitleBar(framework::TComponent* owner);
  ~TsuiTitleBar() override;

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  // A style change leaves sections and buttons as the user set them.
  bool Custom() const { return custom_; }
  void SetCustom(bool v) { custom_ = v; }
  framework::TComponent* FileTheme() const { return file_theme_.get(); }
  // Re-applies UIStyle; the caption colour stays.
  void SetFileTheme(framework::TComponent* theme);
  TsuiUIStyle UIStyle() const { return ui_style_; }
  void SetUIStyle(TsuiUIStyle style);
  // With no sections it stays false; true sizes the bar to the first
  // section's picture (3 less on a skinned form).
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool v);
  TsuiTitleBarSections& Sections() { return sections_; }
  const TsuiTitleBarSections& Sections() const { return sections_; }
  void SetSections(const TsuiTitleBarSections& v) { sections_.Assign(v); }
  TsuiTitleBarButtons& Buttons() { return buttons_; }
  const TsuiTitleBarButtons& Buttons() const { return buttons_; }
  void SetButtons(const TsuiTitleBarButtons& v) { buttons_.Assign(v); }
  int ButtonInterval() const { return button_interval_; }
  void SetButtonInterval(int v) { Store(button_interval_, v); }
  bool FormActive() const { return form_active_; }
  void SetFormActive(bool v) { Store(form_active_, v); }
  int LeftBtnXOffset() const { return metrics_.LeftBtnXOffset; }
  void SetLeftBtnXOffset(int v) { Store(metrics_.LeftBtnXOffset, v); }
  int RightBtnXOffset() const { return metrics_.RightBtnXOffset; }
  void SetRightBtnXOffset(int v) { Store(metrics_.RightBtnXOffset, v); }
  bool DrawAppIcon() const { return draw_app_icon_; }
  void SetDrawAppIcon(bool v) { Store(draw_app_icon_, v); }
  int RoundCorner() const { return metrics_.RoundCorner; }
  void SetRoundCorner(int v) { metrics_.RoundCorner = v; }
  int RoundCornerBottom() const { return metrics_.RoundCornerBottom; }
  void SetRoundCornerBottom(int v) { metrics_.RoundCornerBottom = v; }
  graphics::TColor InactiveCaptionColor() const { return inactive_caption_color_; }
  void SetInactiveCaptionColor(graphics::TColor v) { Store(inactive_caption_color_, v); }

  TsuiTitleBarButtonEvent OnCustomBtnsClick;
  TsuiTitleBarButtonEvent OnHelpBtnClick;
  framework::TNotifyEvent OnResize;

  // What the skinned form reads: -1 TitleImage, -2 FrameImage, else the
  // picture of that section; null for any other index.
  const graphics::TBitmap* FormPicture(int index) const;
  const graphics::TBitmap& TitleImage() const { return title_image_; }
  const graphics::TBitmap& FrameImage() const { return frame_image_; }
  const TTitleBarMetrics& Metrics() const { return metrics_; }
  int HotButton() const { return hot_button_; }
  bool Pressed() const { return pressed_; }
  const std::string& SectionCaption() const { return section_caption_; }
  // The caption as the last paint drew it (shortened to fit).
  const std::string& DrawnCaption() const { return drawn_caption_; }
  // Where button i was drawn at the last paint (empty when it was not).
  graphics::TRect ButtonRect(int index) const;
  TsuiTitleBarPopupMenu& PopupMenu() const { return *popup_menu_; }

  // What a click on button index does (see the button types).
  void ButtonAction(int index);

  void WndProc(framework::TMessage& message) override;

  // TsuiTitleBarItemsHost
  void TitleBarItemsChanged() override { Invalidate(); }
  bool HostMaximised() const override;
  const TsuiFileTheme* TitleBarFileTheme() const override;
  void WatchMenu(framework::TPopupMenu* menu) override;

protected:
  void Paint() override;
  void DblClick() override;
  void MouseMove(framework::TShiftState shift, int x, int y) override;
  void MouseLeave() override { Invalidate(); }
  void BoundsChanged(const graphics::TRect& old_bounds) override;
  void Notification(framework::TComponent* component, framework::TOperation operation) override;

private:
  template <typename T>
  void Store(T& field, const T& value) {
    field = value;
    Invalidate();
  }
  void ApplyStyle(bool keep_caption_colour);
  TsuiTitleBarFormHost* SkinnedForm() const;
  framework::TCustomForm* HostForm() const;
  int LeftBorder() const;
  void MinimiseHost();
  void MaximiseOrRestore(int index);
  void PopupAtBottomLeft(framework::TPopupMenu& menu);
  void LeftButtonDown();
  void LeftButtonUp();

  bool custom_ = false;
  framework::TComponentRef<framework::TComponent> file_theme_{*this};
  TsuiUIStyle ui_style_ = DeepBlue;
  bool auto_size_ = false;
  TsuiTitleBarSections sections_{this};
  TsuiTitleBarButtons buttons_{this};
  int button_interval_ = 0;
  bool form_active_ = true;
  bool draw_app_icon_ = true;
  graphics::TColor inactive_caption_color_ =
      graphics::kSystemColorFlag | 3;  // COLOR_INACTIVECAPTION
  TTitleBarMetrics metrics_;
  TsuiTitleBarPopupMenu* popup_menu_;  // owned (as a component)
  int hot_button_ = -1;
  bool pressed_ = false;
  bool painted_maximised_ = false;
  graphics::TBitmap title_image_;
  graphics::TBitmap frame_image_;
  std::string section_caption_;
  std::string drawn_caption_;
  std::vector<graphics::TRect> button_rects_;
};

}  // namespace skin
