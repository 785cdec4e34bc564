#pragma once
// SUITitleBar, the portable half: the title bar's picture sections and
// picture buttons (collection items), their collections, the window menu
// (TsuiTitleBarPopupMenu), and what these ask of the title bar that holds
// them (TsuiTitleBarItemsHost). The title bar itself is a window
// (sui_title_bar.h).
//
// Two assignments are refused with an error dialog and leave the old value:
// a second client-aligned section, and a second control-box button. The
// dialog goes through a replaceable function so that tests see the refusal
// without a modal box.
#include <cstdint>
#include <functional>
#include <string>

#include "framework/controls/menus.h"
#include "framework/core/collection.h"
#include "framework/graphics/bitmap.h"
#include "skin/sui_menu.h"
#include "skin/sui_themes.h"

namespace skin {

class TsuiFileTheme;

enum TsuiTitleBarAlign : std::uint8_t { suiLeft, suiRight, suiClient };
enum TsuiTitleBarBtnType : std::uint8_t {
  suiMax,
  suiMin,
  suiClose,
  suiHelp,
  suiControlBox,
  suiCustom
};

// What sections and buttons ask of their title bar.
class TsuiTitleBarItemsHost {
public:
  // A section, a button or a list changed: repaint.
  virtual void TitleBarItemsChanged() = 0;
  // The form the bar sits on is maximised (a maximise button then shows
  // its restore look).
  virtual bool HostMaximised() const = 0;
  // The bar's file theme, as the look-ups see it (null for none).
  virtual const TsuiFileTheme* TitleBarFileTheme() const = 0;
  // A button names a popup menu (or none): the bar watches it so that the
  // reference is cleared when the menu goes.
  virtual void WatchMenu(framework::TPopupMenu* menu) = 0;

protected:
  ~TsuiTitleBarItemsHost() = default;
};

// The refusal texts, exactly as shown.
inline constexpr const char* kOnlyOneClientSection =
    "Sorry, only one section's Align property can be \"suiClient\"";
inline constexpr const char* kOnlyOneControlBox =
    "Sorry, only one button's ButtonType property can be \"suiControlBox\"";

// Shows an error text to the user: the system's error box on Windows;
// nothing where there is no window system. Replaceable for tests; an empty
// function restores the platform's. Returns the one in force before.
using TTitleBarErrorDialog = std::function<void(const std::string& text)>;
TTitleBarErrorDialog SetTitleBarErrorDialog(TTitleBarErrorDialog dialog);
void ShowTitleBarError(const std::string& text);

class TsuiTitleBarSections;
class TsuiTitleBarButtons;

// ---------------------------------------------------------------------------
// Sections

class TsuiTitleBarSection : public framework::TCollectionItem {
public:
  explicit TsuiTitleBarSection(framework::TCollection& collection)
      : framework::TCollectionItem(collection) {}

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();
  void Assign(const framework::TCollectionItem& source) override;

  // Width follows the picture's width when set (and the picture has one).
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool v);
  int Width() const { return width_; }
  void SetWidth(int v);
  // suiClient is refused (error dialog, value kept) when any section of the
  // list, this one included, has it already; else it also sets Stretch.
  TsuiTitleBarAlign Align() const { return align_; }
  void SetAlign(TsuiTitleBarAlign v);
  const graphics::TBitmap& Picture() const { return picture_; }
  void SetPicture(const graphics::TBitmap& picture);
  // Always true while Align is suiClient.
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  // The section carries the caption.
  bool CapSec() const { return cap_sec_; }
  void SetCapSec(bool v);

private:
  TsuiTitleBarSections& Sections() const;
  void AutoSizeToPicture();

  bool auto_size_ = false;
  int width_ = 10;
  TsuiTitleBarAlign align_ = suiLeft;
  graphics::TBitmap picture_;
  bool stretch_ = false;
  bool cap_sec_ = false;
};

class TsuiTitleBarSections : public framework::TTypedCollection<TsuiTitleBarSection> {
public:
  explicit TsuiTitleBarSections(TsuiTitleBarItemsHost* title_bar) : title_bar_(title_bar) {}
  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  TsuiTitleBarItemsHost* TitleBar() const { return title_bar_; }
  // The index of the client-aligned section, -1 for none.
  int ClientSection() const;

protected:
  std::unique_ptr<framework::TCollectionItem> NewItem() override {
    return std::make_unique<TsuiTitleBarSection>(*this);
  }
  void Update(framework::TCollectionItem*) override {
    if (title_bar_) title_bar_->TitleBarItemsChanged();
  }

private:
  TsuiTitleBarItemsHost* title_bar_;  // not owned: the bar that owns the list
};

// ---------------------------------------------------------------------------
// Buttons

class TsuiTitleBarButton : public framework::TCollectionItem {
public:
  explicit TsuiTitleBarButton(framework::TCollection& collection);

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();
  void Assign(const framework::TCollectionItem& source) override;

  // Reloads the pictures (see LoadPictures).
  TsuiUIStyle UIStyle() const { return ui_style_; }
  void SetUIStyle(TsuiUIStyle style);
  // suiControlBox is refused (error dialog, value kept) when any button of
  // the list, this one included, has it already. Reloads the pictures.
  TsuiTitleBarBtnType ButtonType() const { return button_type_; }
  void SetButtonType(TsuiTitleBarBtnType v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  int Top() const { return top_; }
  void SetTop(int v);
  // The menu a control box opens instead of the bar's own (not owned).
  framework::TPopupMenu* ControlBoxMenu() const { return control_box_menu_; }
  void SetControlBoxMenu(framework::TPopupMenu* menu);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  const graphics::TBitmap& PicNormal() const { return pic_normal_; }
  void SetPicNormal(const graphics::TBitmap& v);
  const graphics::TBitmap& PicMouseOn() const { return pic_mouse_on_; }
  void SetPicMouseOn(const graphics::TBitmap& v);
  const graphics::TBitmap& PicMouseDown() const { return pic_mouse_down_; }
  void SetPicMouseDown(const graphics::TBitmap& v);

  // Drawn and hot only with all three pictures.
  bool HasPictures() const {
    return !pic_normal_.Empty() && !pic_mouse_on_.Empty() && !pic_mouse_down_.Empty();
  }

  // The theme's look for this button's type: Transparent, Top and the three
  // frames of its type (a maximise button's restore frames while the host
  // is maximised) from the file theme or the built-in theme. A custom
  // button keeps the user's pictures.
  void LoadPictures();
  // Clears ControlBoxMenu when it is menu (which is being freed).
  void MenuGone(const framework::TComponent* menu);

private:
  TsuiTitleBarButtons& Buttons() const;

  TsuiUIStyle ui_style_ = DeepBlue;
  TsuiTitleBarBtnType button_type_ = suiCustom;
  bool transparent_ = false;
  int top_ = 2;
  framework::TPopupMenu* control_box_menu_ = nullptr;  // not owned; cleared when it goes
  bool visible_ = true;
  graphics::TBitmap pic_normal_;
  graphics::TBitmap pic_mouse_on_;
  graphics::TBitmap pic_mouse_down_;
};

class TsuiTitleBarButtons : public framework::TTypedCollection<TsuiTitleBarButton> {
public:
  explicit TsuiTitleBarButtons(TsuiTitleBarItemsHost* title_bar) : title_bar_(title_bar) {}
  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  TsuiTitleBarItemsHost* TitleBar() const { return title_bar_; }
  // The first visible button of that type, -1 for none.
  int FindVisible(TsuiTitleBarBtnType type) const;

protected:
  std::unique_ptr<framework::TCollectionItem> NewItem() override {
    return std::make_unique<TsuiTitleBarButton>(*this);
  }
  void Update(framework::TCollectionItem*) override {
    if (title_bar_) title_bar_->TitleBarItemsChanged();
  }

private:
  TsuiTitleBarItemsHost* title_bar_;  // not owned: the bar that owns the list
};

// ---------------------------------------------------------------------------
// The window menu

// Minimise, maximise/restore, a separator, close. The captions carry their
// own accelerators; their texts are string resources of the program.
class TsuiTitleBarPopupMenu : public TsuiPopupMenu {
public:
  explicit TsuiTitleBarPopupMenu(framework::TComponent* owner);

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  framework::TMenuItem* MinimiseItem() const { return Items()->Items(0); }
  framework::TMenuItem* MaximiseItem() const { return Items()->Items(1); }
  framework::TMenuItem* CloseItem() const { return Items()->Items(3); }

  // Enables each command only when a visible button of its kind exists.
  void EnableFor(const TsuiTitleBarButtons& buttons);
};

// The window menu's captions (GBK): minimise, maximise/restore, close.
enum class TTitleBarText : std::uint8_t { Minimise, Maximise, Close };
std::string TitleBarText(TTitleBarText text);

namespace title_bar_platform {
// The platform's error box (nothing without a window system).
void ShowError(const std::string& text);
// The caption from the program's string resources; empty when absent.
std::string LoadText(TTitleBarText text);
}  // namespace title_bar_platform

}  // namespace skin
