#pragma once
// SUIButton: TsuiCustomButton, the windowed, focusable, self-drawn button
// with mouse, keyboard, focus, default/cancel and auto-repeat behaviour;
// TsuiButton, which paints a theme picture as a resizable face and can show
// a glyph beside its caption; TsuiImageButton, which shows one of four
// pictures of its own per state.
//
// A button paints off-screen: every paint builds the whole picture in a
// buffer of the control's size and copies it to the screen in one step; the
// window system never erases its background.
#include <cstdint>
#include <memory>
#include <string>

#include "framework/core/component_ref.h"
#include "framework/controls/custom_control.h"
#include "framework/controls/timer.h"
#include "skin/skin_window.h"
#include "skin/sui_themes.h"

namespace skin {

using framework::TComponent;
using framework::TMessage;
using framework::TNotifyEvent;
using graphics::TBitmap;

// The library's own message: skinned buttons answer it with 1, so that a
// button can tell whether the focused control is one of them.
inline constexpr std::uint32_t kButtonQueryMessage = 0x8BB8;

class TsuiCustomButton : public framework::TCustomControl {
public:
  explicit TsuiCustomButton(TComponent* owner);
  ~TsuiCustomButton() override;

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  int ModalResult() const { return modal_result_; }
  void SetModalResult(int v) { modal_result_ = v; }
  virtual TsuiUIStyle UIStyle() const { return ui_style_; }
  virtual void SetUIStyle(TsuiUIStyle style);
  TComponent* FileTheme() const { return file_theme_.get(); }
  void SetFileTheme(TComponent* theme);
  int MouseContinuouslyDownInterval() const { return repeat_interval_; }
  void SetMouseContinuouslyDownInterval(int ms) { repeat_interval_ = ms; }
  int FocusedRectMargin() const { return focus_margin_; }
  void SetFocusedRectMargin(int v) { focus_margin_ = v; Invalidate(); }

  // Caption is the control's text.
  void SetEnabled(bool enabled) override;
  void Click() override;
  void WndProc(TMessage& message) override;

  // State, for tests and for subclasses' drawing.
  bool MouseIn() const { return mouse_in_; }
  bool Pressed() const { return pressed_; }
  bool ActiveDefault() const { return active_default_; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseExit;
  TNotifyEvent OnMouseContinuouslyDown;

protected:
  // The class's virtual operations, in the order the subclasses override them.
  virtual void UpdateAutoSize();
  virtual void CaptionChanged() {}
  virtual void FontChangedHook();
  virtual void TransparentChanged();
  virtual void EnabledChangedHook() {}
  virtual void UIStyleChanged() {}
  virtual void DrawFace(framework::TCanvas& canvas, TBitmap& face);
  virtual void DrawCaption(framework::TCanvas& canvas, const std::string& caption);
  virtual void DrawFocus(framework::TCanvas& canvas);
  virtual void GetNormalFace(TBitmap& face);
  virtual void GetMouseOnFace(TBitmap& face);
  virtual void GetMouseDownFace(TBitmap& face);
  virtual void GetDisabledFace(TBitmap& face);

  void Paint() override;
  void CreateWnd() override;
  void TextChanged() override;
  void FontChanged() override { FontChangedHook(); }
  void Notification(TComponent* component, framework::TOperation operation) override;

  // The theme face: frame n of 3 of the file theme's picture item 15 or of
  // built-in entry 1 of the resolved theme.
  void GetThemeFace(TBitmap& face, int frame);
  // The centred, word-wrapped caption of the base class.
  void DrawCenteredCaption(framework::TCanvas& canvas, const std::string& caption);

  bool caption_bold_ = false;
  bool picture_transparent_ = false;

private:
  void StartRepeat();
  void StopRepeat();
  void ResetPress();
  bool HandleDialogChar(TMessage& m);

  bool auto_size_ = false;
  bool cancel_ = false;
  bool default_ = false;
  bool transparent_ = false;
  int modal_result_ = 0;
  TsuiUIStyle ui_style_ = DeepBlue;
  framework::TComponentRef<framework::TComponent> file_theme_{*this};
  std::unique_ptr<framework::TTimer> repeat_timer_;
  int repeat_interval_ = 100;
  int focus_margin_ = 2;
  bool active_default_ = false;
  bool mouse_in_ = false;
  bool pressed_ = false;
};

enum TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TsuiButton : public TsuiCustomButton {
public:
  explicit TsuiButton(TComponent* owner);

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  const TBitmap& Glyph() const { return glyph_; }
  void SetGlyph(const TBitmap& glyph);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v) { layout_ = v; Invalidate(); }
  int Spacing() const { return spacing_; }
  void SetSpacing(int v) { spacing_ = v; Invalidate(); }

protected:
  void UIStyleChanged() override;
  void DrawFace(framework::TCanvas& canvas, TBitmap& face) override;
  void DrawCaption(framework::TCanvas& canvas, const std::string& caption) override;
  void DrawFocus(framework::TCanvas& canvas) override;

private:
  TBitmap glyph_;
  TButtonLayout layout_ = blGlyphLeft;
  int spacing_ = 4;
  graphics::TPoint caption_pos_;
};

class TsuiImageButton : public TsuiCustomButton {
public:
  explicit TsuiImageButton(TComponent* owner);

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  // Always reads FromThemeFile; a written value is kept and changes nothing.
  TsuiUIStyle UIStyle() const override { return FromThemeFile; }

  const TBitmap& PicNormal() const { return pic_normal_; }
  void SetPicNormal(const TBitmap& p);
  const TBitmap& PicMouseOn() const { return pic_mouse_on_; }
  void SetPicMouseOn(const TBitmap& p);
  const TBitmap& PicMouseDown() const { return pic_mouse_down_; }
  void SetPicMouseDown(const TBitmap& p);
  const TBitmap& PicDisabled() const { return pic_disabled_; }
  void SetPicDisabled(const TBitmap& p);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v) { stretch_ = v; Invalidate(); }
  bool DrawFocused() const { return draw_focused_; }
  void SetDrawFocused(bool v) { draw_focused_ = v; Invalidate(); }

protected:
  void UpdateAutoSize() override;
  void DrawFace(framework::TCanvas& canvas, TBitmap& face) override;
  void DrawFocus(framework::TCanvas& canvas) override;
  void GetNormalFace(TBitmap& face) override;
  void GetMouseOnFace(TBitmap& face) override;
  void GetMouseDownFace(TBitmap& face) override;
  void GetDisabledFace(TBitmap& face) override;

private:
  TBitmap pic_normal_, pic_mouse_on_, pic_mouse_down_, pic_disabled_;
  bool stretch_ = false;
  bool draw_focused_ = false;
};

}  // namespace skin
