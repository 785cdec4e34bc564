#pragma once
// SUIForm: TsuiForm, the skinned window frame. Placed on an ordinary
// top-level form (its host), it takes over the host window's look: the
// native caption goes, the native frame is drawn over with the theme's
// border, a skinned title bar (TsuiTitleBar) and, for the form's Menu, a
// menu bar (TsuiMenuBar) stand at the top of the host's client area, which
// this panel fills, and the window gets a region with rounded or
// picture-shaped edges. Everything comes from the built-in theme or the
// file theme in force (UIStyle, FileTheme).
//
// It hears the host window's messages through a subclass of the host's
// window, undone when the component goes or Detach is called: the host
// then has its own caption, frame, border style and window procedure back,
// and no message reaches the component any more. A TsuiForm whose owner is
// no form, or whose form already has one, stays a plain panel.
#include <cstdint>
#include <string>

#include "framework/controls/form.h"
#include "framework/core/component_ref.h"
#include "skin/sui_form_rules.h"
#include "skin/sui_image_panel.h"
#include "skin/sui_menu.h"
#include "skin/sui_menu_bar.h"
#include "skin/sui_title_bar.h"

namespace skin {

class TsuiForm : public TsuiCustomPanel, public TsuiTitleBarFormHost, public TsuiMenuBarHost {
public:
  explicit TsuiForm(framework::TComponent* owner);
  ~TsuiForm() override;

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  // The host form while attached, else null.
  framework::TCustomForm* HostForm() const { return host_; }
  // Null when the component stayed a plain panel.
  TsuiTitleBar* TitleBar() const { return title_bar_; }
  TsuiMenuBar* MenuBar() const { return menu_bar_; }
  // Gives the host back its own window procedure, caption, frame, border
  // style and region; the component is a plain panel from then on.
  void Detach();

  bool TitleBarCustom() const;
  void SetTitleBarCustom(bool v);
  framework::TComponent* FileTheme() const { return file_theme_.get(); }
  void SetFileTheme(framework::TComponent* theme);
  TsuiUIStyle UIStyle() const { return look_.UIStyle; }
  void SetUIStyle(TsuiUIStyle style);
  bool UIStyleAutoUpdateSub() const { return auto_update_sub_; }
  void SetUIStyleAutoUpdateSub(bool v) { auto_update_sub_ = v; }
  graphics::TColor BorderColor() const { return look_.BorderColor; }
  void SetBorderColor(graphics::TColor v);
  int BorderWidth() const { return look_.Metrics.BorderWidth; }
  void SetBorderWidth(int v);
  bool TitleBarVisible() const { return title_bar_wanted_; }
  void SetTitleBarVisible(bool v);
  // Caption (the control's text) is the title bar's caption and the host's.
  bool TitleBarDrawAppIcon() const;
  void SetTitleBarDrawAppIcon(bool v);
  // A panel that fills the client area (below the bars). The form itself
  // is refused with an error box and the old panel stays.
  framework::TWinControl* FormPanel() const { return form_panel_.get(); }
  void SetFormPanel(framework::TWinControl* panel);
  static constexpr const char* kFormPanelRefused =
      "Sorry, you can't select the Form assign to FormPanel property";
  // The title bar's sections and buttons (assigning copies them); none
  // without a title bar.
  TsuiTitleBarSections* TitleBarSections() const;
  void SetTitleBarSections(const TsuiTitleBarSections& sections);
  TsuiTitleBarButtons* TitleBarButtons() const;
  void SetTitleBarButtons(const TsuiTitleBarButtons& buttons);
  // The title bar's events, (title bar, button index).
  void SetOnTitleBarCustomBtnsClick(TsuiTitleBarButtonEvent handler);
  void SetOnTitleBarHelpBtnClick(TsuiTitleBarButtonEvent handler);
  framework::TMainMenu* Menu() const { return menu_.get(); }
  void SetMenu(framework::TMainMenu* menu);
  graphics::TColor MenuBarColor() const { return look_.MenuBarColor; }
  void SetMenuBarColor(graphics::TColor v);
  graphics::TColor MenuBarToColor() const { return look_.MenuBarToColor; }
  void SetMenuBarToColor(graphics::TColor v);
  int MenuBarHeight() const { return menu_bar_height_; }
  void SetMenuBarHeight(int v);
  // Read as 0 while the title bar is hidden.
  int RoundCorner() const;
  void SetRoundCorner(int v);
  int RoundCornerBottom() const;
  void SetRoundCornerBottom(int v);
  graphics::TColor InactiveCaptionColor() const;
  void SetInactiveCaptionColor(graphics::TColor v);
  static constexpr const char* kVersion = "6.21";
  std::string Version() const { return kVersion; }
  void SetVersion(const std::string&) {}

  const TsuiFormLook& Look() const { return look_; }
  // The composed bottom border (file themes), for tests.
  const graphics::TBitmap& BottomImage() const { return bottom_image_; }
  // Draws the frame onto the host window now.
  void PaintFrame();
  // Builds the window region again from the style and the host's size.
  void UpdateRegion();

  // TsuiTitleBarFormHost
  void TitleBarCaptionDrawn(TsuiTitleBar& bar) override;
  void TitleBarConstraints(int min_width, int min_height) override;
  // TsuiMenuBarHost
  void RebuildMenuBar() override;
  void UpdateMenuBarItems() override;
  void MenuBarFontChanged() override;

  void WndProc(framework::TMessage& message) override;

protected:
  void CreateWnd() override;
  void Paint() override;
  void TextChanged() override;
  void Notification(framework::TComponent* component, framework::TOperation operation) override;

private:
  friend struct SkinnedFormHook;
  void Attach(framework::TCustomForm& host);
  void HookHost();
  void ApplyStyle();
  void HostSized();
  void ShowMenuBar(bool show);
  void FrameChanged();
  // The host's size limits from the title bar's theme and the bars.
  void ApplyConstraints();
  // A menu shortcut typed while the host is active: the item is clicked.
  bool HandleShortCut(std::uintptr_t key);

  framework::TCustomForm* host_ = nullptr;  // not owned: the owner
  TsuiTitleBar* title_bar_ = nullptr;        // owned (as a component)
  TsuiMenuBar* menu_bar_ = nullptr;          // owned (as a component), or none
  framework::TComponentRef<framework::TComponent> file_theme_{*this};
  framework::TComponentRef<framework::TMainMenu> menu_{*this};
  framework::TComponentRef<framework::TWinControl> form_panel_{*this};
  TsuiFormLook look_;
  framework::TFormBorderStyle host_border_style_ = framework::TFormBorderStyle::bsSingle;
  framework::TCustomForm::TSizeConstraints host_constraints_;  // the host's own, given back
  std::uintptr_t host_window_style_ = 0;  // the host window's style before it was hooked
  graphics::TBitmap bottom_image_;
  int menu_bar_height_ = 22;
  bool auto_update_sub_ = false;
  bool title_bar_wanted_ = true;
  bool hooked_ = false;
  void* hooked_window_ = nullptr;  // HWND of the host while it is subclassed
  bool closing_ = false;
  bool placing_ = false;  // inside our own SetWindowPos of a maximised host
  int message_hook_ = 0;  // the application's Alt+Space hook, 0 for none
  int min_width_ = -1;
  int min_height_ = -1;
};

}  // namespace skin
