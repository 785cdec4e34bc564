#pragma once
// The Windows side of menus (menus_win.cpp), for the form and the skin
// library. Handles are passed as void* so that this header needs no
// <windows.h>.
#include "framework/controls/menus.h"
#include "framework/controls/messages.h"
#include "framework/graphics/font.h"
#include "framework/graphics/geometry.h"

namespace framework {

// A native menu (HMENU) made from the menu's items: a menu bar when bar,
// else a popup menu. With OwnerDraw every item (separators included) is
// MF_OWNERDRAW and carries its TMenuItem as item data; otherwise captions
// and shortcut texts are native strings. Sub-items become submenus; hidden
// items are left out. The caller destroys it (DestroyMenu), unless a window
// that holds it does so.
void* BuildNativeMenu(TMenu& menu, bool bar);

// Answers, for a window that shows menu, WM_MEASUREITEM and WM_DRAWITEM
// of its owner-drawn items, WM_COMMAND of its items (OnClick) and
// WM_MENUCHAR (an item's "&" accelerator). True when the message was
// menu's; m.Result then holds the answer.
bool DispatchMenuMessage(TMenu& menu, TMessage& m);

// Shows item's sub-items as a popup menu with its top-left at the screen
// point (the menu of a menu bar's button) and returns when it closes,
// after the chosen item's Click. The items are measured and drawn through
// the menu whose tree holds item. Nothing happens for an item outside any
// menu or without visible sub-items.
void PopupMenuItem(TMenuItem& item, int x, int y);

// While an item draws itself (inside DrawItem, called by
// DispatchMenuMessage): the menu's window (HWND), the menu's device context
// (HDC) and the item's rectangle on it. Null at any other time.
struct TMenuDrawTarget {
  void* window;
  void* dc;
  graphics::TRect item_rect;
};
const TMenuDrawTarget* CurrentMenuDrawTarget();

// The system's menu font (non-client metrics), as a toolkit font with the
// system menu-text colour.
graphics::TFont SystemMenuFont();

}  // namespace framework
