#pragma once
// SUIRadioGroup: TsuiCheckGroup and TsuiRadioGroup, group boxes that make
// one item button per line of Items and arrange them in Columns, items
// running down the first column, then the next. The group's OnClick fires
// whenever an item's check changes (check group) or an item becomes
// selected (radio group), and for a click on the group's own frame area.
#include <cstdint>
#include <vector>

#include "framework/core/string_list.h"
#include "skin/sui_check_box.h"
#include "skin/sui_group_box.h"

namespace skin {

class TsuiCheckGroup : public TsuiCustomGroupBox {
public:
  explicit TsuiCheckGroup(framework::TComponent* owner);
  ~TsuiCheckGroup() override;

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  framework::TStringList& Items() { return items_; }
  const std::vector<std::string>& ItemStrings() const { return items_.Items(); }
  void SetItems(const std::vector<std::string>& lines) { items_.Assign(lines); }
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TsuiCheckBox* Buttons(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }

  std::int32_t Columns() const { return columns_; }
  void SetColumns(std::int32_t v);
  std::int32_t TopMargin() const { return top_margin_; }
  void SetTopMargin(std::int32_t v);
  framework::TCursor ItemCursor() const { return Cursor(); }
  void SetItemCursor(framework::TCursor cursor);
  graphics::TColor FontColor() const { return Font().Color; }
  void SetFontColor(graphics::TColor color);
  void SetTransparent(bool v) override;

  // A click on the frame area is an item click too.
  void Click() override;
  void WndProc(framework::TMessage& message) override;

  // Places the item buttons (see sui_check_rules.h).
  void ArrangeButtons();

protected:
  virtual TsuiCheckBox* CreateItemButton();
  void ApplyUIStyle() override;
  void FontChanged() override;
  void BoundsChanged(const graphics::TRect& old_bounds) override;
  // Gives the focus on to an item when the group receives it.
  virtual void PassFocusOn();

private:
  void SyncButtons();
  void ItemClick(framework::TComponent* sender);

  framework::TStringList items_;
  std::vector<TsuiCheckBox*> buttons_;  // owned through the component tree; in item order
  std::int32_t columns_ = 1;
  std::int32_t top_margin_ = 8;
  bool destroying_ = false;
};

class TsuiRadioGroup : public TsuiCheckGroup {
public:
  explicit TsuiRadioGroup(framework::TComponent* owner);

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  // The first checked item, or -1. Setting a value outside -1..count-1
  // changes nothing; -1 clears the selection.
  std::int32_t ItemIndex() const;
  void SetItemIndex(std::int32_t v);
  // Whether the items may change their selection; always, here.
  virtual bool CanModify() const { return true; }

protected:
  TsuiCheckBox* CreateItemButton() override;
  void PassFocusOn() override;
};

}  // namespace skin
