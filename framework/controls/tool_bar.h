#pragma once
// TToolBar and TToolButton: a strip of self-drawn buttons, laid out left
// to right in child order (wrapping into more rows with Wrapable), with
// hot tracking and a hook that lets the owner draw the bar and each
// button (OnCustomDraw, OnCustomDrawButton).
//
// A button bound to a menu item (SetMenuItem) shows the item's caption
// and enabled state; pressing it opens the item's sub-items as a menu
// below the button, or clicks the item when it has none. That is how a
// menu bar is made from a main menu's top-level items. An '&' in a caption
// marks the button's accelerator, which the form's dialog characters reach
// (see WantsAccelerator).
#include <cstdint>
#include <functional>

#include "framework/controls/custom_control.h"
#include "framework/controls/menus.h"
#include "framework/core/component_ref.h"

namespace framework {

class TToolBar;

// What a button is doing, for drawing it.
enum TToolButtonDrawFlag : unsigned {
  tdHot = 1u << 0,       // the pointer is over it
  tdPressed = 1u << 1,   // held down, or its menu is open
  tdDisabled = 1u << 2,
};

class TToolButton : public TGraphicControl {
public:
  explicit TToolButton(TComponent* owner);

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  // Grouped buttons stand next to each other without a gap (the only kind
  // this bar draws; kept for layouts that say so).
  bool Grouped() const { return grouped_; }
  void SetGrouped(bool v) { grouped_ = v; }
  // The width follows the caption (with the bar's font).
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool v);

  // Not owned; cleared when the item goes. Copies its caption and enabled
  // state now; call UpdateFromMenuItem after they change.
  TMenuItem* MenuItem() const { return menu_item_.get(); }
  void SetMenuItem(TMenuItem* item);
  void UpdateFromMenuItem();

  unsigned DrawFlags() const;
  TToolBar* ToolBar() const;

  // Opens the bound item's menu, or clicks the item, or fires OnClick.
  void Click() override;

  void SetParent(TWinControl* parent) override;

protected:
  void Paint() override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void TextChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  friend class TToolBar;
  void Changed();

  bool grouped_ = false;
  bool auto_size_ = false;
  bool hot_ = false;
  bool pressed_ = false;
  TComponentRef<TMenuItem> menu_item_{*this};
};

// sender, canvas over the whole bar, the bar's client rectangle.
using TToolBarCustomDrawEvent =
    std::function<void(TToolBar& sender, graphics::TCanvas& canvas, const graphics::TRect& rect)>;
// default_draw comes in true; leave it so for the bar's own drawing after
// the handler's (the canvas covers the button; rect is its client area).
using TToolButtonCustomDrawEvent =
    std::function<void(TToolBar& sender, TToolButton& button, graphics::TCanvas& canvas,
                       const graphics::TRect& rect, unsigned draw_flags, bool& default_draw)>;

class TToolBar : public TCustomControl {
public:
  explicit TToolBar(TComponent* owner);

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  // Flat: no button face at rest, only when hot or pressed.
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  bool ShowCaptions() const { return show_captions_; }
  void SetShowCaptions(bool v);
  bool Wrapable() const { return wrapable_; }
  void SetWrapable(bool v);
  // The height follows the rows of buttons.
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool v);
  int ButtonHeight() const { return button_height_; }
  void SetButtonHeight(int v);

  // The buttons, in child order.
  int ButtonCount() const;
  TToolButton* Buttons(int index) const;

  // Places the buttons again (they ask for it when they change).
  void ArrangeButtons();
  // Copies every bound menu item's caption and enabled state again.
  void UpdateMenuButtons();

  TToolBarCustomDrawEvent OnCustomDraw;
  TToolButtonCustomDrawEvent OnCustomDrawButton;

protected:
  void Paint() override;
  void WndProc(TMessage& message) override;
  void BoundsChanged(const graphics::TRect& old_bounds) override;
  void FontChanged() override;
  // Whether an accelerator typed with (or without) Alt is the bar's to
  // take. By default only with Alt, as a menu bar takes them.
  virtual bool WantsAccelerator(bool alt) const { return alt; }

private:
  friend class TToolButton;
  void DrawButton(TToolButton& button, graphics::TCanvas& canvas);
  int AutoWidth(const TToolButton& button);
  bool HandleDialogChar(TMessage& m);

  bool flat_ = true;
  bool show_captions_ = true;
  bool wrapable_ = true;
  bool auto_size_ = true;
  int button_height_ = 22;
  bool arranging_ = false;
};

}  // namespace framework
