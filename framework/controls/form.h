#pragma once
// TCustomForm: a top-level window that holds controls. It keeps the active
// control, runs keyboard navigation (Tab, and Enter/Esc offered to every
// control through CM_DIALOGKEY), answers the close query, and can run
// modally until its ModalResult is set.
#include "framework/controls/win_control.h"

namespace framework {

class TMainMenu;

enum class TFormBorderStyle : std::uint8_t { bsNone, bsSingle, bsSizeable, bsDialog };
enum class TPosition : std::uint8_t { poDesigned, poScreenCenter };

// The caption's boxes, a set: bit n is TBorderIcon n. The system menu brings
// the close box; minimise and maximise show only with it, as in Windows.
enum TBorderIcon : std::uint8_t { biSystemMenu, biMinimize, biMaximize };
using TBorderIcons = std::uint8_t;
inline constexpr TBorderIcons kDefaultBorderIcons =
    (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize);

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
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return border_icons_; }
  void SetBorderIcons(TBorderIcons icons);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  // The client area's size; the window is as large as its frame and caption
  // need around it. The size asked for is kept: a later change of border
  // style or icons, and the window's creation, size the window to it again,
  // so the order in which a layout sets these properties does not matter.
  void SetClientSize(int width, int height);
  void SetClientWidth(int width) { SetClientSize(width, ClientHeight()); }
  void SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }
  TRect ClientRect() const override;

  // The menu shown as the window's menu bar (not owned; cleared when it
  // goes). Made again from the menu's items whenever they change; an
  // owner-drawn menu's items are measured and drawn by their menu, and
  // their commands reach their OnClick. A menu is shown by one form at a
  // time: the form that took it last.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);

  // The smallest and largest window size the user may size the form to
  // (pixels of the whole window; 0: no limit). A form smaller than a new
  // minimum grows to it.
  struct TSizeConstraints {
    int MinWidth = 0;
    int MinHeight = 0;
    int MaxWidth = 0;
    int MaxHeight = 0;
    friend bool operator==(const TSizeConstraints&, const TSizeConstraints&) = default;
  };
  const TSizeConstraints& Constraints() const { return constraints_; }
  void SetConstraints(const TSizeConstraints& constraints);

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
  // Fired by BeforeDestruction, while the whole form (a derived form's
  // members included) is still alive: when the form is freed by its owner,
  // by the application (DestroyForms, or at its end) or by
  // TComponent::Free. A form deleted by plain delete, or one that lives on
  // the stack, does not fire it: its destructors are the first to know,
  // and by the time TCustomForm's runs, the derived part is gone.
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TCloseQueryEvent OnCloseQuery;

  void WndProc(TMessage& message) override;

protected:
  void BeforeDestruction() noexcept override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void VisibleChanged() override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  TWinControl* active_control_ = nullptr;  // not owned
  int modal_result_ = mrNone;
  // The window styles of the border style and icons.
  unsigned long WindowStyle() const;
  // Sizes the window around the client size asked for; with a window, by
  // what its real client area lacks (the frame Windows draws can differ
  // from what AdjustWindowRectEx predicts, and a caption can wrap).
  void ApplyClientSize();

  TFormBorderStyle border_style_ = TFormBorderStyle::bsSingle;
  TBorderIcons border_icons_ = kDefaultBorderIcons;
  TPosition position_ = TPosition::poScreenCenter;
  // The client size asked for; 0 × 0 until one is set (the window's own
  // size then stands).
  int client_width_ = 0;
  int client_height_ = 0;
  bool in_modal_loop_ = false;
  bool in_size_ = false;
  TSizeConstraints constraints_;  // inside WM_SIZE: bounds set there send no second one
  // The native menu bar made from menu_.
  void UpdateNativeMenu();
  TMainMenu* menu_ = nullptr;     // not owned
  void* native_menu_ = nullptr;   // HMENU; the window destroys the one it holds
};

class TForm : public TCustomForm {
public:
  using TCustomForm::TCustomForm;
  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();
};

}  // namespace framework
