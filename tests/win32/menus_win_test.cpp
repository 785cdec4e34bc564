// Skinned menus as the system shows them: a popup menu opened for real,
// its owner-drawn items measured and drawn (pixels read from the screen),
// items chosen with the mouse and with the keyboard; a main menu on a
// plain form, drawn by its owner and rebuilt when it changes.
//
// A popup menu runs its own modal loop, so the user is played by a second
// thread: it waits for the menu's window, reads its pixels and sends real
// input, while the test's thread sits in Popup.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <thread>

#include "base/file_system.h"
#include "base/text_codec.h"
#include "base/win_api.h"
#include "framework/controls/application.h"
#include "framework/controls/form.h"
#include "framework/controls/menus.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_menu.h"
#include "skin/sui_skin_items.h"

#include "tests/win32/support/ui_input.h"
#include "tools/mkskin/skin_archive_writer.h"
#include "tools/mkskin/skin_container_writer.h"

namespace {

using framework::TComponent;
using framework::TMenuItem;
using graphics::TColor;
using testing_support::Pump;
using testing_support::SendKeys;
using testing_support::WaitForMenuWindow;

constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU

// DeepBlue's menu colours.
constexpr TColor kBar = 0xCED3D6;
constexpr TColor kItem = 0xFFFFFF;
constexpr TColor kSelected = 0xA04A44;
constexpr TColor kSeparator = 0x848284;
constexpr TColor kDisabledText = 0x808080;

// ---------------------------------------------------------------------------
// The user's side (driver thread): nothing here touches the toolkit.

RECT ItemRect(HWND menu_window, int position) {
  RECT r{};
  auto menu = reinterpret_cast<HMENU>(SendMessageW(menu_window, kGetMenuHandle, 0, 0));
  GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &r);
  return r;
}

TColor ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return c;
}

void MoveCursor(int x, int y) {
  SetCursorPos(x, y);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = MOUSEEVENTF_MOVE;  // a zero move: the menu sees the cursor
  SendInput(1, &in, sizeof in);
  Sleep(150);
}

void ClickCursor() {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof(INPUT));
  Sleep(80);
}

// ---------------------------------------------------------------------------

struct PopupMenuTest : ::testing::Test {
  // The program's window is the active one, as when a user opens a menu:
  // the keyboard goes to its thread, and so to the menu.
  framework::TForm* form = new framework::TForm(nullptr);
  TComponent owner{nullptr};
  skin::TsuiPopupMenu* menu = new skin::TsuiPopupMenu(&owner);
  TMenuItem* alpha = nullptr;
  TMenuItem* beta = nullptr;
  TMenuItem* line = nullptr;
  TMenuItem* gamma = nullptr;
  std::map<TMenuItem*, int> clicks;
  std::set<TMenuItem*> measured, drawn, drawn_selected;

  TMenuItem* AddItem(const std::string& caption) {
    auto* item = new TMenuItem(&owner);
    item->SetCaption(caption);
    item->OnClick = [this](TComponent* sender) { ++clicks[static_cast<TMenuItem*>(sender)]; };
    menu->Items()->Add(item);
    return item;
  }
  // Wraps the handlers the menu gave the item, to see that they are asked.
  void Watch(TMenuItem* item) {
    auto measure = item->OnMeasureItem;
    auto draw = item->OnDrawItem;
    ASSERT_TRUE(measure && draw);
    item->OnMeasureItem = [=, this](TComponent* s, graphics::TCanvas& c, int& w, int& h) {
      measured.insert(item);
      measure(s, c, w, h);
    };
    item->OnDrawItem = [=, this](TComponent* s, graphics::TCanvas& c, const graphics::TRect& r,
                                 bool selected) {
      (selected ? drawn_selected : drawn).insert(item);
      draw(s, c, r, selected);
    };
  }
  void SetUp() override {
    alpha = AddItem("&Alpha");
    alpha->SetChecked(true);
    beta = AddItem("&Beta");
    beta->SetEnabled(false);
    line = AddItem("-");
    gamma = AddItem("&Gamma");
    for (TMenuItem* item : {alpha, beta, line, gamma}) Watch(item);
    form->SetBounds(300, 300, 200, 120);
    form->Show();
    Pump(150);
  }
  void TearDown() override {
    TComponent::Free(form);
    Pump(50);
  }
  // Opens the menu at (100, 100) and lets user act on its window.
  template <typename F>
  void PopupWith(F user) {
    std::thread driver([&] {
      HWND window = WaitForMenuWindow(3000);
      if (window) user(window);
      // Never leave the menu open: a menu that did not close is cancelled
      // through its own loop, and the test's expectations then fail.
      for (int i = 0; window && IsWindowVisible(window) && i < 5; ++i) {
        PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
        Sleep(100);
      }
    });
    menu->Popup(100, 100);
    driver.join();
    Pump(100);  // the chosen item's command arrives through the message loop
  }
};

TEST_F(PopupMenuTest, ItemsAreMeasuredAndDrawnInTheThemeAndTheMouseChoosesOne) {
  RECT alpha_rect{}, beta_rect{}, line_rect{}, gamma_rect{};
  TColor alpha_bar = 0, alpha_item = 0, beta_text = 0, line_pixel = 0, line_below = 0;
  TColor alpha_hot = 0;
  bool gray_found = false, check_ink_found = false;
  int clicks_while_open = -1;
  PopupWith([&](HWND window) {
    Sleep(150);
    alpha_rect = ItemRect(window, 0);
    beta_rect = ItemRect(window, 1);
    line_rect = ItemRect(window, 2);
    gamma_rect = ItemRect(window, 3);
    const int mid = (alpha_rect.top + alpha_rect.bottom) / 2;
    alpha_bar = ScreenPixel(alpha_rect.left + 1, mid);
    alpha_item = ScreenPixel(alpha_rect.right - 3, mid);
    line_pixel = ScreenPixel(line_rect.left + 26 + 10, line_rect.top + 2);
    line_below = ScreenPixel(line_rect.left + 26 + 10, line_rect.top + 3);
    // The check mark at (left + 4, top + 3): some of its 16 x 16 pixels are ink.
    for (int y = 0; y < 16 && !check_ink_found; ++y)
      for (int x = 0; x < 16; ++x)
        if (ScreenPixel(alpha_rect.left + 4 + x, alpha_rect.top + 3 + y) == 0) {
          check_ink_found = true;
          break;
        }
    // The disabled caption is grey somewhere after the bar.
    for (int x = beta_rect.left + 30; x < beta_rect.left + 80 && !gray_found; ++x)
      for (int y = beta_rect.top; y < beta_rect.bottom; ++y)
        if (ScreenPixel(x, y) == kDisabledText) {
          gray_found = true;
          break;
        }
    beta_text = gray_found ? kDisabledText : 0;
    // Over Alpha: drawn selected.
    MoveCursor(alpha_rect.right - 5, mid);
    alpha_hot = ScreenPixel(alpha_rect.left + 1, mid);
    clicks_while_open = static_cast<int>(clicks.size());
    MoveCursor((gamma_rect.left + gamma_rect.right) / 2, (gamma_rect.top + gamma_rect.bottom) / 2);
    ClickCursor();
  });
  EXPECT_EQ(measured, (std::set<TMenuItem*>{alpha, beta, line, gamma}));
  EXPECT_TRUE(drawn.count(alpha) && drawn.count(beta) && drawn.count(line) && drawn.count(gamma));
  EXPECT_TRUE(drawn_selected.count(alpha));
  // Heights as measured: 21 for items, 5 for the separator.
  EXPECT_EQ(alpha_rect.bottom - alpha_rect.top, 21);
  EXPECT_EQ(line_rect.bottom - line_rect.top, 5);
  EXPECT_EQ(alpha_bar, kBar);
  EXPECT_EQ(alpha_item, kItem);
  EXPECT_EQ(alpha_hot, kSelected);
  EXPECT_EQ(line_pixel, kSeparator);
  EXPECT_EQ(line_below, kItem);
  EXPECT_TRUE(check_ink_found);
  EXPECT_EQ(beta_text, kDisabledText);
  // Nothing is clicked while the menu is open; the choice lands once.
  EXPECT_EQ(clicks_while_open, 0);
  EXPECT_EQ(clicks[gamma], 1);
  EXPECT_EQ(clicks[alpha], 0);
}

TEST_F(PopupMenuTest, TheKeyboardChoosesByArrowsAndByAccelerator) {
  PopupWith([](HWND) {
    Sleep(100);
    SendKeys({VK_DOWN});
    SendKeys({VK_RETURN});
  });
  EXPECT_EQ(clicks[alpha], 1);
  // An owner-drawn item has no native text: its "&G" reaches the menu as
  // WM_MENUCHAR.
  PopupWith([](HWND) {
    Sleep(100);
    SendKeys({'G'});
  });
  EXPECT_EQ(clicks[gamma], 1);
  // A disabled item's accelerator chooses nothing.
  PopupWith([](HWND) {
    Sleep(100);
    SendKeys({'B'});
  });
  EXPECT_EQ(clicks[beta], 0);
  EXPECT_EQ(clicks[alpha], 1);
  EXPECT_EQ(clicks[gamma], 1);
}

TEST_F(PopupMenuTest, AnItemAddedAfterTheMenuWasShownIsHookedAndDrawn) {
  PopupWith([](HWND) {});
  auto* delta = AddItem("&Delta");
  Watch(delta);
  RECT delta_rect{};
  TColor bar = 0;
  PopupWith([&](HWND window) {
    Sleep(150);
    delta_rect = ItemRect(window, 4);
    bar = ScreenPixel(delta_rect.left + 2, (delta_rect.top + delta_rect.bottom) / 2);
  });
  EXPECT_TRUE(measured.count(delta));
  EXPECT_TRUE(drawn.count(delta));
  EXPECT_EQ(bar, kBar);
  EXPECT_EQ(delta_rect.bottom - delta_rect.top, 21);
}

// ---------------------------------------------------------------------------

TEST_F(PopupMenuTest, AControlsPopupMenuOpensAtThePointerOnARightClick) {
  form->SetPopupMenu(menu);
  POINT at{40, 30};
  ClientToScreen(form->Handle(), &at);
  RECT menu_rect{};
  bool opened = false;
  std::thread driver([&] {
    HWND window = WaitForMenuWindow(3000);
    if (!window) return;
    opened = true;
    Sleep(100);
    GetWindowRect(window, &menu_rect);
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  SetCursorPos(at.x, at.y);
  Pump(50);
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  SendInput(2, in, sizeof(INPUT));
  Pump(600);
  driver.join();
  Pump(50);
  EXPECT_TRUE(opened);
  EXPECT_EQ(menu_rect.left, at.x);
  EXPECT_EQ(menu_rect.top, at.y);
  // The menu going leaves no reference behind.
  TComponent::Free(menu);
  menu = nullptr;
  EXPECT_EQ(form->PopupMenu(), nullptr);
}

TEST(MainMenuOnAPlainForm, IsDrawnByItsOwnerAndRebuiltWhenItChanges) {
  auto* form = new framework::TForm(nullptr);
  form->SetBounds(60, 60, 360, 200);
  auto* plain = new framework::TMainMenu(form);
  plain->Items()->Add(new TMenuItem(form));
  form->SetMenu(plain);
  // A skinned main menu takes the form's own menu away.
  auto* menu = new skin::TsuiMainMenu(form);
  EXPECT_EQ(form->Menu(), nullptr);

  auto* file = new TMenuItem(form);
  file->SetCaption("&File");
  auto* open = new TMenuItem(form);
  open->SetCaption("&Open");
  file->Add(open);
  menu->Items()->Add(file);
  int drawn = 0;
  auto draw = file->OnDrawItem;
  ASSERT_TRUE(draw);
  file->OnDrawItem = [&](TComponent* s, graphics::TCanvas& c, const graphics::TRect& r, bool sel) {
    ++drawn;
    draw(s, c, r, sel);
  };
  // Set afterwards (as a layout's reference would be): shown natively,
  // owner-drawn in the menu's colours.
  form->SetMenu(menu);
  form->Show();
  Pump(300);
  HWND hwnd = form->Handle();
  HMENU bar = GetMenu(hwnd);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetMenuItemCount(bar), 1);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
  ASSERT_TRUE(GetMenuItemInfoW(bar, 0, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  EXPECT_NE(info.hSubMenu, nullptr);

  RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  DrawMenuBar(hwnd);
  Pump(200);
  EXPECT_GT(drawn, 0);
  RECT r{};
  ASSERT_TRUE(GetMenuItemRect(hwnd, bar, 0, &r));
  // Read back from the window's own DC, in window coordinates.
  RECT window_rect;
  GetWindowRect(hwnd, &window_rect);
  HDC dc = GetWindowDC(hwnd);
  const int mid = (r.top + r.bottom) / 2 - window_rect.top;
  const TColor bar_pixel = GetPixel(dc, r.left - window_rect.left + 2, mid);
  const TColor text_area = GetPixel(dc, r.right - window_rect.left - 2, mid);
  ReleaseDC(hwnd, dc);
  EXPECT_EQ(bar_pixel, kBar);
  EXPECT_EQ(text_area, kItem);

  // A change of the menu is a new menu bar.
  auto* help = new TMenuItem(form);
  help->SetCaption("&Help");
  menu->Items()->Add(help);
  EXPECT_EQ(GetMenuItemCount(GetMenu(hwnd)), 2);
  // The menu going takes the bar with it.
  TComponent::Free(menu);
  EXPECT_EQ(form->Menu(), nullptr);
  EXPECT_EQ(GetMenu(hwnd), nullptr);
  TComponent::Free(form);
  Pump(50);
}

TEST(MainMenuOnAPlainForm, ItsCommandsReachTheItems) {
  auto* form = new framework::TForm(nullptr);
  auto* menu = new framework::TMainMenu(form);
  auto* item = new TMenuItem(form);
  item->SetCaption("&Go");
  int clicks = 0;
  item->OnClick = [&](TComponent*) { ++clicks; };
  menu->Items()->Add(item);
  form->SetMenu(menu);
  form->Show();
  Pump(100);
  PostMessageW(form->Handle(), WM_COMMAND, item->Command(), 0);
  PostMessageW(form->Handle(), WM_COMMAND, 0xFFFF, 0);  // no such item: ignored
  Pump(100);
  EXPECT_EQ(clicks, 1);
  TComponent::Free(form);
  Pump(50);
}

// A skin file with the menu colours: the side bar flat in bar, the item
// ground in item, the selection in selected.
std::string WriteMenuSkin(const std::filesystem::path& path, TColor bar, TColor item,
                          TColor selected) {
  auto entry = [](int number, TColor colour) {
    return mkskin::IntegerEntry(
        std::string(*skin::SkinItemName(skin::TSkinItemKind::Color, number)),
        static_cast<std::int32_t>(colour));
  };
  const base::Bytes container = mkskin::WriteContainer({
      entry(skin::menu_item::kBarColor, bar),
      entry(skin::menu_item::kBarToColor, bar),
      entry(skin::menu_item::kColor, item),
      entry(skin::menu_item::kSelectedColor, selected),
  });
  const std::string name = base::WideToGbkLossy(path.wstring());
  base::NativeFileSystem().WriteWholeFile(name,
                                          mkskin::WriteSkinArchive("SKINDATA.SK2", container));
  return name;
}

TEST(MenusAndFileThemes, SwitchingTheFormsFileThemeRestylesItsMenusAndRedrawsTheBar) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "menus-file-theme";
  std::filesystem::create_directories(dir);
  const std::string jade = WriteMenuSkin(dir / "jade.skn", 0x20A020, 0xE0F0E0, 0x108010);
  const std::string ember = WriteMenuSkin(dir / "ember.skn", 0x2040C0, 0x303030, 0x0060E0);

  auto* form = new framework::TForm(nullptr);
  form->SetBounds(60, 60, 360, 200);
  auto* theme = new skin::TsuiFileTheme(form);
  theme->SetThemeFile(jade);
  ASSERT_TRUE(theme->Ready());
  auto* popup = new skin::TsuiPopupMenu(form);
  auto* main = new skin::TsuiMainMenu(form);
  for (auto* menu : {static_cast<framework::TMenu*>(popup), static_cast<framework::TMenu*>(main)}) {
    auto* item = new TMenuItem(form);
    item->SetCaption("&File");
    menu->Items()->Add(item);
  }
  popup->SetUIStyle(skin::FromThemeFile);
  popup->SetFileTheme(theme);
  main->SetUIStyle(skin::FromThemeFile);
  main->SetFileTheme(theme);
  form->SetMenu(main);
  form->Show();
  Pump(200);
  EXPECT_EQ(popup->Color(), 0xE0F0E0u);
  EXPECT_EQ(main->SelectedColor(), 0x108010u);

  // The pixels of the bar's one item: in the side bar, and at its far end.
  auto bar_pixels = [&] {
    HWND hwnd = form->Handle();
    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    DrawMenuBar(hwnd);
    Pump(200);
    RECT r{}, window_rect{};
    GetMenuItemRect(hwnd, GetMenu(hwnd), 0, &r);
    GetWindowRect(hwnd, &window_rect);
    HDC dc = GetWindowDC(hwnd);
    const int mid = (r.top + r.bottom) / 2 - window_rect.top;
    const std::pair<TColor, TColor> pixels{GetPixel(dc, r.left - window_rect.left + 2, mid),
                                           GetPixel(dc, r.right - window_rect.left - 2, mid)};
    ReleaseDC(hwnd, dc);
    return pixels;
  };
  EXPECT_EQ(bar_pixels(), (std::pair<TColor, TColor>{0x20A020, 0xE0F0E0}));

  // The theme re-applies itself to every skinned menu of its form.
  theme->SetThemeFile(ember);
  EXPECT_EQ(popup->Color(), 0x303030u);
  EXPECT_EQ(popup->BarColor(), 0x2040C0u);
  EXPECT_EQ(main->SelectedColor(), 0x0060E0u);
  EXPECT_EQ(bar_pixels(), (std::pair<TColor, TColor>{0x2040C0, 0x303030}));

  TComponent::Free(form);
  Pump(50);
  std::filesystem::remove_all(dir);
}

}  // namespace
