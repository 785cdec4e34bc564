#pragma once
// Menus: TMenuItem (a caption, its state, a shortcut, sub-items), TMenu
// (the root item, images, owner drawing, reading order), TMainMenu (shown
// by a form as its menu bar) and TPopupMenu (shown at a point).
//
// The model is portable (menus.cpp); turning it into native menus and
// routing the system's measure, draw, command and menu-character requests
// back to the items is menus_win.cpp. With OwnerDraw the system leaves
// every item to the menu: it asks each item's size (MeasureItem) and has
// it draw itself (DrawItem) onto a canvas over an off-screen bitmap of the
// item's rectangle, which the plumbing then copies to the menu in one step.
//
// Items are components. A layout nests them under their menu (and under
// each other); the loader makes them owned by the form and hands them to
// their parent through SetMenuParent.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/controls/control.h"
#include "framework/controls/image_list_component.h"
#include "framework/core/component.h"
#include "framework/core/component_ref.h"
#include "framework/core/events.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/geometry.h"

namespace framework {

struct TMessage;
class TMenu;

// A shortcut: a virtual key in the low byte and modifier bits above it.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scNone = 0;

constexpr TShortCut MakeShortCut(std::uint16_t key, TShiftState shift) {
  TShortCut s = static_cast<TShortCut>(key & 0xFF);
  if (shift & ssShift) s |= scShift;
  if (shift & ssCtrl) s |= scCtrl;
  if (shift & ssAlt) s |= scAlt;
  return s;
}

// "Ctrl+S", "Shift+Ctrl+F5", "Alt+Del": modifiers in the order Shift,
// Ctrl, Alt, then the key's name. A key without a name gives "" (so does
// scNone); the text never depends on the keyboard layout.
std::string ShortCutToText(TShortCut shortcut);

// The caption as shown: "&x" is x and "&&" is one '&'.
std::string StripHotkey(std::string_view caption);
// The accelerator character ("&x" gives 'X', upper-cased for ASCII), or 0.
char HotkeyOf(std::string_view caption);

// sender: the item. width and height come in as the plumbing's own guess.
using TMenuMeasureItemEvent =
    std::function<void(TComponent* sender, graphics::TCanvas& canvas, int& width, int& height)>;
// rect is the item's rectangle on canvas (the canvas covers just the item).
using TMenuDrawItemEvent = std::function<void(TComponent* sender, graphics::TCanvas& canvas,
                                              const graphics::TRect& rect, bool selected)>;

class TMenuItem : public TComponent {
public:
  // The item joins owner's components once it is a whole TMenuItem, so
  // that the owner's components hear of a menu item (TOperation::Insert),
  // not of a bare component still under construction.
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  // In a layout: a sub-item of parent, a TMenu's root or a TMenuItem.
  bool SetParentComponent(TComponent& parent) override;

  // "-" makes the item a separator.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool IsLine() const { return caption_ == "-"; }
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  // Shown in bold, and chosen by a double click on its parent.
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  // Index into the menu's Images; -1 (or any index the list lacks) is none.
  int ImageIndex() const { return image_index_; }
  void SetImageIndex(int v);
  TShortCut ShortCut() const { return shortcut_; }
  void SetShortCut(TShortCut v);

  // Sub-items. Add and Insert take an item that has no parent item (a
  // base::Error otherwise); Delete and Remove take it out without freeing
  // it (its owner still frees it). An item frees the sub-items it still
  // holds when it goes.
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Delete(int index);
  void Remove(TMenuItem* item);
  int IndexOf(const TMenuItem* item) const;
  TMenuItem* Parent() const { return parent_; }
  // The menu whose tree holds the item, or null.
  TMenu* GetParentMenu() const;

  // The number the native menu reports when the item is chosen: unique
  // among live items, never 0.
  std::uint16_t Command() const { return command_; }

  // Fires OnClick when the item is enabled.
  virtual void Click();

  // What the plumbing calls for an owner-drawn item: the event when one is
  // set, otherwise the toolkit's plain look.
  void MeasureItem(graphics::TCanvas& canvas, int& width, int& height);
  void DrawItem(graphics::TCanvas& canvas, const graphics::TRect& rect, bool selected);

  TNotifyEvent OnClick;
  TMenuMeasureItemEvent OnMeasureItem;
  TMenuDrawItemEvent OnDrawItem;

private:
  friend class TMenu;
  void Changed(bool structure);
  void Adopt(int index, TMenuItem* item);

  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool default_ = false;
  bool visible_ = true;
  int image_index_ = -1;
  TShortCut shortcut_ = scNone;
  std::uint16_t command_;
  TMenuItem* parent_ = nullptr;      // not owned
  std::vector<TMenuItem*> items_;    // not owned by the list: see Add
  TMenu* menu_ = nullptr;            // set on a menu's root item only
};

class TMenu : public TComponent {
public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  // The root item; the menu's items are its sub-items. Owned by the menu.
  TMenuItem* Items() const { return items_; }

  // Not owned; cleared when the list goes away.
  TImageListComponent* Images() const { return images_.get(); }
  virtual void SetImages(TImageListComponent* images);

  virtual bool OwnerDraw() const { return owner_draw_; }
  virtual void SetOwnerDraw(bool v);

  TBiDiMode BiDiMode() const { return bidi_mode_; }
  void SetBiDiMode(TBiDiMode v);

  // The item of the tree with that command number, or null.
  TMenuItem* FindItem(std::uint16_t command) const;
  // The first item, in menu order, that carries the shortcut and can be
  // chosen (visible and enabled, as are all its parents); null for none
  // or scNone.
  TMenuItem* FindShortCut(TShortCut shortcut) const;
  // The item is one of this menu's (at any depth).
  bool Contains(const TMenuItem* item) const;

  // Whoever shows the menu (a form, the popup's window) hears of every
  // change, after the menu itself; structure: items were added, removed,
  // shown or hidden. Not called while the menu is loaded or destroyed.
  std::function<void(bool structure)> OnWindowChange;

protected:
  // A change of an item of the tree (source), or of the menu itself
  // (source null). Overrides call the inherited version.
  virtual void MenuChanged(TMenuItem* source, bool structure);
  // item (and its sub-items) just joined the tree.
  virtual void ItemAdded(TMenuItem* item) { (void)item; }
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;

private:
  friend class TMenuItem;
  TMenuItem* items_;                    // owned (as a component)
  TComponentRef<TImageListComponent> images_{*this};
  bool owner_draw_ = false;
  TBiDiMode bidi_mode_ = TBiDiMode::bdLeftToRight;
};

class TMainMenu : public TMenu {
public:
  using TMenu::TMenu;
  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

#ifdef _WIN32
  // What a form showing the menu asks of it (menus_win.cpp; forms exist
  // only on Windows). The form calls them through the vtable, so a program
  // whose forms have no menu links no menu code.
  // The window menu (an HMENU) for the form's bar; the caller owns it.
  virtual void* BuildWindowMenu();
  // The menu's share of the form's messages: true when one was handled.
  virtual bool DispatchWindowMessage(TMessage& m);
#endif
};

class TPopupMenu : public TMenu {
public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;
  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  // Shows the menu with its top-left at the screen point and returns when
  // it closes; the chosen item's OnClick fires after that, from the
  // message loop (menus_win.cpp). OnPopup fires first.
  virtual void Popup(int x, int y);

  TNotifyEvent OnPopup;

private:
  void* window_ = nullptr;  // owned: the window that receives the menu's requests
};

// For layouts: makes child (a TMenuItem) a sub-item of parent (a TMenu's
// root or a TMenuItem). False when child is no menu item or parent is
// neither, so that the caller can try other kinds of parent.
bool SetMenuParent(TComponent& child, TComponent& parent);

// The plain look of an owner-drawn item that has no handlers: the size of
// its text (and shortcut) with margins, and the menu colours.
void DefaultMeasureMenuItem(const TMenuItem& item, graphics::TCanvas& canvas, int& width,
                            int& height);
void DefaultDrawMenuItem(const TMenuItem& item, graphics::TCanvas& canvas,
                         const graphics::TRect& rect, bool selected);

}  // namespace framework
