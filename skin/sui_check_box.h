#pragma once
// Self-drawn check boxes and radio buttons whose marks come from the theme:
// TsuiCheckBox, TsuiRadioButton, and the item buttons the groups of
// sui_radio_group.h make of them (TsuiCheckGroupButton,
// TsuiRadioGroupButton).
//
// OnClick means "Checked changed": a check box fires it at every change, a
// radio button only when it becomes checked (a click on a checked radio
// button changes nothing). Nothing fires while a box is being loaded from a
// layout. Like the skinned buttons, a box paints off-screen and never lets
// the window system erase its background.
#include <cstdint>

#include "framework/core/component_ref.h"
#include "framework/controls/custom_control.h"
#include "skin/sui_themes.h"

namespace skin {

class TsuiCheckGroup;

enum TCheckBoxState : std::uint8_t { cbUnchecked, cbChecked, cbGrayed };

class TsuiCheckBox : public framework::TCustomControl {
public:
  explicit TsuiCheckBox(framework::TComponent* owner);

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  // cbChecked when checked, else cbUnchecked; writing anything but
  // cbChecked unchecks (a box has no third state of its own).
  TCheckBoxState State() const { return checked_ ? cbChecked : cbUnchecked; }
  void SetState(TCheckBoxState v) { SetChecked(v == cbChecked); }
  TsuiUIStyle UIStyle() const { return ui_style_; }
  void SetUIStyle(TsuiUIStyle style);
  framework::TComponent* FileTheme() const { return file_theme_.get(); }
  void SetFileTheme(framework::TComponent* theme);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool v);

  void SetEnabled(bool enabled) override;
  // A click toggles; OnClick then comes from the change (Changed).
  void Click() override;
  void WndProc(framework::TMessage& message) override;

  // The mark this box draws now (theme, frame), for tests and the gallery.
  void GetMark(graphics::TBitmap& mark) const;

protected:
  // The class's virtual operations, in the order the subclasses override them.
  virtual bool IsFocusShown() const;
  virtual bool GetMarkTransparent() const { return false; }
  virtual int GetBuiltInMarkEntry() const;
  virtual int GetFileMarkItem() const;
  virtual void Changed();
  virtual void BeforeToggle() {}
  virtual void Toggle();
  virtual bool ClickOnKeyUp() const { return true; }

  void Paint() override;
  void FontChanged() override;
  void TextChanged() override;
  void Notification(framework::TComponent* component, framework::TOperation operation) override;

  // Fires OnClick unless the box itself is being loaded.
  void FireClick();

private:
  // Takes the auto size for the current mark, font and caption.
  void ApplyAutoSize(const graphics::TBitmap& mark);
  void TakeFocusQuietly();

  bool checked_ = false;
  TsuiUIStyle ui_style_ = DeepBlue;
  framework::TComponentRef<framework::TComponent> file_theme_{*this};
  bool transparent_ = false;
  bool auto_size_ = true;
};

class TsuiRadioButton : public TsuiCheckBox {
public:
  explicit TsuiRadioButton(framework::TComponent* owner);

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  std::int32_t GroupIndex() const { return group_index_; }
  void SetGroupIndex(std::int32_t v) { group_index_ = v; }

  void WndProc(framework::TMessage& message) override;

protected:
  bool GetMarkTransparent() const override { return true; }
  int GetBuiltInMarkEntry() const override;
  int GetFileMarkItem() const override;
  void Changed() override;
  void Toggle() override;
  bool ClickOnKeyUp() const override { return false; }

private:
  // Unchecks the other radio buttons of the parent with this GroupIndex.
  void UncheckSiblings();

  std::int32_t group_index_ = 0;
};

// The item buttons of a check group and a radio group; their group is
// their owner and their parent.
class TsuiCheckGroupButton : public TsuiCheckBox {
public:
  TsuiCheckGroupButton(framework::TComponent* owner, TsuiCheckGroup* group);

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  TsuiCheckGroup* Group() const { return group_; }

protected:
  bool IsFocusShown() const override { return Focused(); }

private:
  TsuiCheckGroup* group_;  // not owned
};

class TsuiRadioGroupButton : public TsuiRadioButton {
public:
  TsuiRadioGroupButton(framework::TComponent* owner, TsuiCheckGroup* group);

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  TsuiCheckGroup* Group() const { return group_; }

protected:
  bool IsFocusShown() const override;
  void Toggle() override;

private:
  TsuiCheckGroup* group_;  // not owned
};

}  // namespace skin
