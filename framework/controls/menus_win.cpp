// Native menus from the toolkit's menu items, and the requests the system
// makes of owner-drawn ones.
#include <algorithm>
#include <cwctype>

#include "base/error.h"
#include "base/text_codec.h"
#include "framework/controls/application.h"
#include "framework/controls/menu_native.h"
#include "framework/controls/win_control.h"
#include "framework/graphics/bitmap_win.h"

#include "base/win_api.h"

namespace framework {

namespace {

const TMenuDrawTarget* g_draw_target = nullptr;

// item is one of menu's items; compared by address only, so a stale
// pointer from the system is never followed.
TMenuItem* ItemOf(const TMenu& menu, ULONG_PTR data) {
  std::vector<TMenuItem*> todo{menu.Items()};
  while (!todo.empty()) {
    TMenuItem* item = todo.back();
    todo.pop_back();
    if (item != menu.Items() && reinterpret_cast<ULONG_PTR>(item) == data) return item;
    for (int i = 0; i < item->Count(); ++i) todo.push_back(item->Items(i));
  }
  return nullptr;
}

void Fill(HMENU handle, TMenuItem& parent, bool owner_draw) {
  UINT position = 0;
  for (int i = 0; i < parent.Count(); ++i) {
    TMenuItem* item = parent.Items(i);
    if (!item->Visible()) continue;
    UINT flags = 0;
    UINT_PTR id = item->Command();
    if (item->Count() > 0) {
      HMENU sub = CreatePopupMenu();
      Fill(sub, *item, owner_draw);
      flags |= MF_POPUP;
      id = reinterpret_cast<UINT_PTR>(sub);
    }
    if (!item->Enabled()) flags |= MF_GRAYED;
    if (item->Checked()) flags |= MF_CHECKED;
    if (owner_draw) {
      AppendMenuW(handle, flags | MF_OWNERDRAW, id, reinterpret_cast<LPCWSTR>(item));
    } else if (item->IsLine()) {
      AppendMenuW(handle, MF_SEPARATOR, 0, nullptr);
    } else {
      std::string text = item->Caption();
      const std::string shortcut = ShortCutToText(item->ShortCut());
      if (!shortcut.empty()) text += "\t" + shortcut;
      const std::wstring wide = base::GbkToWide(text);
      AppendMenuW(handle, flags | MF_STRING, id, wide.c_str());
    }
    if (item->Default()) SetMenuDefaultItem(handle, position, TRUE);
    ++position;
  }
}

bool MeasureItem(TMenu& menu, TMessage& m) {
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  if (!mis || mis->CtlType != ODT_MENU) return false;
  TMenuItem* item = ItemOf(menu, mis->itemData);
  if (!item) return false;
  graphics::TBitmap scratch(1, 1);
  graphics::TCanvas canvas(scratch);
  canvas.Font = SystemMenuFont();
  int width = static_cast<int>(mis->itemWidth), height = static_cast<int>(mis->itemHeight);
  item->MeasureItem(canvas, width, height);
  mis->itemWidth = static_cast<UINT>(std::max(width, 0));
  mis->itemHeight = static_cast<UINT>(std::max(height, 0));
  m.Result = TRUE;
  return true;
}

bool DrawItem(TMenu& menu, TMessage& m) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  if (!dis || dis->CtlType != ODT_MENU) return false;
  TMenuItem* item = ItemOf(menu, dis->itemData);
  if (!item) return false;
  const RECT& rc = dis->rcItem;
  const int width = rc.right - rc.left, height = rc.bottom - rc.top;
  m.Result = TRUE;
  if (width <= 0 || height <= 0) return true;
  graphics::TBitmap buffer(width, height);
  graphics::TCanvas canvas(buffer);
  canvas.Font = SystemMenuFont();
  const bool selected = (dis->itemState & (ODS_SELECTED | ODS_HOTLIGHT)) != 0;
  const TMenuDrawTarget target{WindowFromDC(dis->hDC), dis->hDC,
                               {rc.left, rc.top, rc.right, rc.bottom}};
  struct Restore {
    const TMenuDrawTarget* previous;
    ~Restore() { g_draw_target = previous; }
  } restore{g_draw_target};
  g_draw_target = &target;
  item->DrawItem(canvas, {0, 0, width, height}, selected);
  // One copy of the finished item: the menu never shows a half-drawn one.
  BitBlt(dis->hDC, rc.left, rc.top, width, height, graphics::NativeDC(buffer), 0, 0, SRCCOPY);
  return true;
}

bool MenuChar(TMenu& menu, TMessage& m) {
  HMENU handle = reinterpret_cast<HMENU>(m.LParam);
  if (!handle) return false;
  const wchar_t typed = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(LOWORD(m.WParam))));
  const int count = GetMenuItemCount(handle);
  for (int pos = 0; pos < count; ++pos) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    if (!GetMenuItemInfoW(handle, static_cast<UINT>(pos), TRUE, &info)) continue;
    if (!(info.fType & MFT_OWNERDRAW)) continue;
    TMenuItem* item = ItemOf(menu, info.dwItemData);
    if (!item || !item->Enabled() || item->IsLine()) continue;
    const char hotkey = HotkeyOf(item->Caption());
    if (hotkey != 0 && static_cast<wchar_t>(static_cast<unsigned char>(hotkey)) == typed) {
      m.Result = MAKELRESULT(pos, MNC_EXECUTE);
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------
// The window that owns an open popup menu and so receives its requests
// (and, for a TPopupMenu, the chosen item's WM_COMMAND, which the system
// posts once the menu has closed). Its user data is the TMenu whose items
// are shown.

constexpr wchar_t kPopupWindowClass[] = L"VantoPopupMenuWindow";

LRESULT CALLBACK PopupWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* menu = reinterpret_cast<TMenu*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (menu) {
    try {
      TMessage m{msg, wparam, lparam, 0};
      if (DispatchMenuMessage(*menu, m)) return m.Result;
    } catch (...) {
      Application().HandleCurrentException();
      return 0;
    }
  }
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

HWND CreatePopupWindow(TMenu* menu) {
  static const ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PopupWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kPopupWindowClass;
    return RegisterClassW(&wc);
  }();
  (void)atom;
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kPopupWindowClass, L"", WS_POPUP, 0, 0, 0, 0,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) throw base::Error("Cannot create the popup menu's window");
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(menu));
  return hwnd;
}

}  // namespace

void* TMainMenu::BuildWindowMenu() { return BuildNativeMenu(*this, true); }

bool TMainMenu::DispatchWindowMessage(TMessage& m) { return DispatchMenuMessage(*this, m); }

void* BuildNativeMenu(TMenu& menu, bool bar) {
  HMENU handle = bar ? CreateMenu() : CreatePopupMenu();
  if (!handle) throw base::Error("Cannot create a menu");
  Fill(handle, *menu.Items(), menu.OwnerDraw());
  return handle;
}

bool DispatchMenuMessage(TMenu& menu, TMessage& m) {
  switch (m.Msg) {
    case WM_MEASUREITEM:
      return MeasureItem(menu, m);
    case WM_DRAWITEM:
      return DrawItem(menu, m);
    case WM_COMMAND: {
      // From a menu: notification code 0 and no control.
      if (HIWORD(m.WParam) != 0 || m.LParam != 0) return false;
      TMenuItem* item = menu.FindItem(LOWORD(m.WParam));
      if (!item) return false;
      m.Result = 0;
      item->Click();
      return true;
    }
    case WM_MENUCHAR:
      return MenuChar(menu, m);
    default:
      return false;
  }
}

void PopupMenuItem(TMenuItem& item, int x, int y) {
  TMenu* menu = item.GetParentMenu();
  if (!menu) return;
  struct Owned {
    HMENU menu = nullptr;
    HWND window = nullptr;
    ~Owned() {
      if (menu) DestroyMenu(menu);
      if (window) DestroyWindow(window);
    }
  } owned;
  owned.menu = CreatePopupMenu();
  if (!owned.menu) throw base::Error("Cannot create a menu");
  Fill(owned.menu, item, menu->OwnerDraw());
  if (GetMenuItemCount(owned.menu) <= 0) return;
  owned.window = CreatePopupWindow(menu);
  // The command comes back as the result, not as a posted WM_COMMAND, so
  // that the window can go at once.
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(owned.menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                     x, y, 0, owned.window, nullptr));
  if (command == 0) return;
  // Looked up again: the menu may have changed while it was open.
  if (TMenuItem* chosen = menu->FindItem(static_cast<std::uint16_t>(command))) chosen->Click();
}

const TMenuDrawTarget* CurrentMenuDrawTarget() { return g_draw_target; }

graphics::TFont SystemMenuFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  graphics::TFont font;
  font.Color = graphics::kSystemColorFlag | COLOR_MENUTEXT;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return font;
  const LOGFONTW& lf = metrics.lfMenuFont;
  font.Name = base::WideToGbkLossy(lf.lfFaceName);
  // A negative height is the character height; a positive one the cell's,
  // which is the nearest the toolkit's font can say.
  font.Height = lf.lfHeight < 0 ? -lf.lfHeight : (lf.lfHeight > 0 ? lf.lfHeight : 12);
  font.Style = 0;
  if (lf.lfWeight >= FW_BOLD) font.Style |= graphics::fsBold;
  if (lf.lfItalic) font.Style |= graphics::fsItalic;
  if (lf.lfUnderline) font.Style |= graphics::fsUnderline;
  if (lf.lfStrikeOut) font.Style |= graphics::fsStrikeOut;
  font.Charset = lf.lfCharSet;
  return font;
}

// ---------------------------------------------------------------------------
// TPopupMenu

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() {
  if (window_) DestroyWindow(static_cast<HWND>(window_));
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  if (!window_) window_ = CreatePopupWindow(this);
  HMENU handle = static_cast<HMENU>(BuildNativeMenu(*this, false));
  TrackPopupMenu(handle, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, 0,
                 static_cast<HWND>(window_), nullptr);
  DestroyMenu(handle);
  // The chosen item's WM_COMMAND is already posted; the message loop
  // delivers it, so OnClick runs with the menu gone.
  PostMessageW(static_cast<HWND>(window_), WM_NULL, 0, 0);
}

}  // namespace framework
