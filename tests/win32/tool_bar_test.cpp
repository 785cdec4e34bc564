// The toolkit's tool bar as a menu bar: buttons bound to a main menu's
// top-level items follow their captions and states and wrap into rows;
// pressing one (by mouse or Alt and its accelerator) opens its items below
// it, and the item chosen there is clicked. A popup runs its own modal
// loop, so the user is played by a second thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "base/win_api.h"
#include "framework/controls/form.h"
#include "framework/controls/menus.h"
#include "framework/controls/tool_bar.h"
#include "framework/core/tool_bar_rules.h"

#include "tests/win32/support/ui_input.h"

namespace {

using framework::TComponent;
using framework::TMenuItem;
using framework::TToolBar;
using framework::TToolButton;
using testing_support::Pump;
using testing_support::SendKeys;
using testing_support::WaitForMenuWindow;

struct MenuBarTest : ::testing::Test {
  framework::TForm* form = new framework::TForm(nullptr);
  framework::TMainMenu* menu = new framework::TMainMenu(form);
  TToolBar* bar = new TToolBar(form);
  TMenuItem* file = nullptr;
  TMenuItem* open = nullptr;
  TMenuItem* quit = nullptr;
  TMenuItem* edit = nullptr;
  TMenuItem* help = nullptr;
  int open_clicks = 0, quit_clicks = 0, help_clicks = 0;

  TMenuItem* Item(TMenuItem* parent, const std::string& caption, int* clicks) {
    auto* item = new TMenuItem(form);
    item->SetCaption(caption);
    if (clicks) item->OnClick = [clicks](TComponent*) { ++*clicks; };
    parent->Add(item);
    return item;
  }
  void SetUp() override {
    file = Item(menu->Items(), "&File", nullptr);
    open = Item(file, "&Open", &open_clicks);
    quit = Item(file, "E&xit", &quit_clicks);
    edit = Item(menu->Items(), "&Edit", nullptr);
    Item(edit, "&Undo", nullptr);
    edit->SetEnabled(false);
    help = Item(menu->Items(), "&Help", &help_clicks);
    form->SetBounds(200, 200, 320, 160);
    bar->SetParent(form);
    for (int i = 0; i < menu->Items()->Count(); ++i) {
      auto* button = new TToolButton(form);
      button->SetAutoSize(true);
      button->SetMenuItem(menu->Items()->Items(i));
      button->SetParent(bar);
    }
    form->Show();
    Pump(150);
  }
  void TearDown() override {
    TComponent::Free(form);
    Pump(50);
  }
  RECT ScreenRect(TToolButton& button) {
    RECT r{button.Left(), button.Top(), button.Left() + button.Width(),
           button.Top() + button.Height()};
    MapWindowPoints(bar->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
};

TEST_F(MenuBarTest, ButtonsFollowTheirItemsSizeToTheirCaptionsAndWrap) {
  ASSERT_EQ(bar->ButtonCount(), 3);
  TToolButton* b0 = bar->Buttons(0);
  TToolButton* b1 = bar->Buttons(1);
  TToolButton* b2 = bar->Buttons(2);
  EXPECT_EQ(b0->Caption(), "&File");
  EXPECT_TRUE(b0->Enabled());
  EXPECT_FALSE(b1->Enabled());
  EXPECT_EQ(b1->DrawFlags(), framework::tdDisabled);
  // Side by side from the left, each its caption's width and the padding.
  EXPECT_EQ(b0->Left(), 0);
  EXPECT_EQ(b1->Left(), b0->Left() + b0->Width());
  EXPECT_EQ(b2->Left(), b1->Left() + b1->Width());
  EXPECT_GT(b0->Width(), framework::ToolButtonWidthForText(0));
  EXPECT_EQ(b0->Height(), 22);
  EXPECT_EQ(bar->Height(), 22);
  EXPECT_EQ(bar->Width(), form->ClientWidth()) << "aligned to the top";

  // A longer caption, copied on request, widens its button and moves the next.
  const int old_width = b0->Width();
  file->SetCaption("&File and more");
  bar->UpdateMenuButtons();
  EXPECT_GT(b0->Width(), old_width);
  EXPECT_EQ(b1->Left(), b0->Left() + b0->Width());

  // Too narrow for the row: the bar wraps and grows by whole rows. The two
  // short captions share the second row.
  ASSERT_LT(b1->Width() + b2->Width(), b0->Width());
  form->SetClientWidth(b0->Width() + 4);
  Pump(50);
  // (The system may keep the window wider than asked.)
  EXPECT_EQ(bar->Width(), form->ClientWidth());
  ASSERT_GT(b0->Width() + b1->Width(), bar->Width());
  EXPECT_EQ(b1->Left(), 0);
  EXPECT_EQ(b1->Top(), 22);
  EXPECT_EQ(b2->Left(), b1->Width());
  EXPECT_EQ(b2->Top(), 22);
  EXPECT_EQ(bar->Height(), 44);
  // A hidden item's button leaves its place.
  edit->SetVisible(false);
  bar->UpdateMenuButtons();
  EXPECT_FALSE(b1->Visible());
  EXPECT_EQ(b2->Top(), 22);
  EXPECT_EQ(bar->Height(), 44);
}

TEST_F(MenuBarTest, PressingAButtonOpensItsItemsBelowItAndTheChosenOneIsClicked) {
  TToolButton* b0 = bar->Buttons(0);
  const RECT button = ScreenRect(*b0);
  RECT menu_rect{};
  bool pressed_while_open = false;
  std::thread user([&] {
    HWND window = WaitForMenuWindow(3000);
    if (!window) return;
    Sleep(100);
    GetWindowRect(window, &menu_rect);
    pressed_while_open = (b0->DrawFlags() & framework::tdPressed) != 0;
    SendKeys({VK_DOWN});
    SendKeys({VK_DOWN});
    SendKeys({VK_RETURN});
  });
  testing_support::Click(*b0, 5, 5);
  user.join();
  Pump(50);
  EXPECT_EQ(menu_rect.left, button.left);
  EXPECT_EQ(menu_rect.top, button.bottom);
  EXPECT_TRUE(pressed_while_open);
  EXPECT_EQ(quit_clicks, 1);
  EXPECT_EQ(open_clicks, 0);
  EXPECT_EQ(b0->DrawFlags() & framework::tdPressed, 0u) << "released when the menu closed";
}

TEST_F(MenuBarTest, AltAndTheAcceleratorOpenAMenuOrClickAnItemWithout) {
  std::atomic<bool> opened{false};
  auto watch_and_choose_first = [&] {
    return std::thread([&] {
      if (!WaitForMenuWindow(2000)) return;
      opened = true;
      Sleep(100);
      SendKeys({VK_DOWN});
      SendKeys({VK_RETURN});
    });
  };
  std::thread user = watch_and_choose_first();
  SendKeys({VK_MENU, 'F'});
  Pump(300);
  user.join();
  Pump(50);
  EXPECT_TRUE(opened);
  EXPECT_EQ(open_clicks, 1);

  // An item without sub-items is clicked at once.
  SendKeys({VK_MENU, 'H'});
  Pump(150);
  EXPECT_EQ(help_clicks, 1);

  // Without Alt the letter is no menu bar accelerator; a disabled item's
  // accelerator opens nothing.
  opened = false;
  user = std::thread([&] {
    if (WaitForMenuWindow(600)) {
      opened = true;
      SendKeys({VK_ESCAPE});
    }
  });
  SendKeys({'F'});
  SendKeys({VK_MENU, 'E'});
  Pump(300);
  user.join();
  Pump(50);
  EXPECT_FALSE(opened);
  EXPECT_EQ(open_clicks, 1);
}

}  // namespace
