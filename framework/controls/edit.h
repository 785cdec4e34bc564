#pragma once
// TEdit: a one-line text field, the system's EDIT window. Its text is the
// window's: what the user types is the control's Text, and once the window
// exists OnChange fires for every change, typed or set in code (a text set
// before is simply the window's first text). MaxLength counts GBK bytes,
// the unit in which the program stores texts, so a Chinese character takes
// two.
//
// The field takes characters only: Tab, Enter and Esc stay with the form
// (next control, default and cancel buttons).
#include <string>

#include "framework/controls/native_control.h"

namespace framework {

class TEdit : public TNativeControl {
public:
  explicit TEdit(TComponent* owner);

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  // The window's current text when the window exists, else the text set.
  std::string Text() const;
  void SetText(const std::string& text) override;
  // The text as the user typed it, every character kept: Text() is GBK, and
  // a character GBK lacks becomes '?' there. For texts that name files.
  std::wstring WideText() const;

  // In GBK bytes; 0: no limit. A change that would make the text longer
  // is refused (a text set in code is taken whole).
  int MaxLength() const { return max_length_; }
  void SetMaxLength(int bytes);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool v);
  void SelectAll();

  TNotifyEvent OnChange;

  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  // The window's text changed (EN_CHANGE).
  virtual void Change();

private:
  std::wstring WideWindowText() const;

  int max_length_ = 0;
  bool read_only_ = false;
  bool setting_text_ = false;  // SetText is writing the window
};

}  // namespace framework
