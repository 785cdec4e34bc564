#pragma once
// TCustomForm: a top-level window that holds controls. It keeps the active
// control, runs keyboard navigation (Tab, and Enter/Esc offered to every
// control through CM_DIALOGKEY), answers the close query, and can run
// modally until its ModalResult is set.
#include "framework/controls/win_control.h"

namespace framework {

enum class TFormBorderStyle : std::uint8_t { bsNone, bsSingle, bsSizeable, bsDialog };
enum class TPosition : std::uint8_t { poDesigned, poScreenCenter };

// Answers for a modal form's ModalResult (Windows' IDOK ... IDNO).
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrYes = 6;
inline constexpr int mrNo = 7;

using TCloseQueryEvent = std::function<void(TComponent* sender, bool& can_close)>;

class TCustomForm : public TWinControl {
public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  TWinControl* ActiveControl() const { return active_control_; }
  void SetActiveControl(TWinControl* control);

  int ModalResult() const { return modal_result_; }
  void SetModalResult(int result) { modal_result_ = result; }

  TFormBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TFormBorderStyle style) { border_style_ = style; }
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  // Client size: the window grows by its frame and caption.
  void SetClientSize(int width, int height);
  TRect ClientRect() const override;

  // The form's window is the active window.
  bool Active() const;
  void Show();
  void Hide() { SetVisible(false); }
  // Asks the close query; when it allows, hides the form (and ends the
  // application when it is the main form).
  void Close();
  // Shows the form and runs messages until ModalResult is set; returns it.
  int ShowModal();
  bool CloseQuery();

  // Called by a control that got the focus: records it as the active
  // control and tells every control of the form (CM_FOCUSCHANGED).
  void FocusChanged(TWinControl* control);
  // Moves the focus to the next (or previous) control in tab order.
  void SelectNext(TWinControl* current, bool forward);
  // Sends the message to every control of the form, at every depth, until
  // one sets a non-zero Result.
  void BroadcastAll(TMessage& message);

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TCloseQueryEvent OnCloseQuery;

  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void VisibleChanged() override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  TWinControl* active_control_ = nullptr;  // not owned
  int modal_result_ = mrNone;
  TFormBorderStyle border_style_ = TFormBorderStyle::bsSingle;
  TPosition position_ = TPosition::poScreenCenter;
  bool in_modal_loop_ = false;
};

class TForm : public TCustomForm {
public:
  using TCustomForm::TCustomForm;
  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();
};

}  // namespace framework
