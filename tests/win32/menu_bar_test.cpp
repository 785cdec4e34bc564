// The skinned form's menu bar on a plain form: one button per top-level
// item of a skinned main menu, the bar flat or in a vertical gradient, a
// hot button filled and framed in the theme's menu colours (and tagged, so
// that accelerators reach the bar without Alt), a disabled one grey.
#include <gtest/gtest.h>

#include "base/win_api.h"
#include "framework/controls/form.h"
#include "skin/sui_form_rules.h"
#include "skin/sui_menu.h"
#include "skin/sui_menu_bar.h"
#include "skin/sui_themes.h"

#include "tests/win32/support/ui_input.h"

namespace {

using framework::TComponent;
using framework::TMenuItem;
using graphics::TColor;
using testing_support::Pump;

struct MenuBarLookTest : ::testing::Test {
  framework::TForm* form = new framework::TForm(nullptr);
  skin::TsuiMainMenu* menu = new skin::TsuiMainMenu(form);
  skin::TsuiMenuBar* bar = new skin::TsuiMenuBar(form);
  int help_clicks = 0;

  TMenuItem* Item(TMenuItem* parent, const std::string& caption) {
    auto* item = new TMenuItem(form);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  }
  void SetUp() override {
    Item(Item(menu->Items(), "&File"), "&Open");
    TMenuItem* edit = Item(menu->Items(), "&Edit");
    Item(edit, "&Undo");
    edit->SetEnabled(false);
    Item(menu->Items(), "&Help")->OnClick = [this](TComponent*) { ++help_clicks; };
    menu->SetUIStyle(skin::DeepBlue);
    SetCursorPos(0, 0);  // away from the bar: no button starts hot
    form->SetBounds(200, 200, 360, 160);
    bar->SetParent(form);
    bar->SetLook(skin::DeepBlue, nullptr, 0x336699, 0x336699);
    bar->SetMenu(menu);
    form->Show();
    Pump(150);
  }
  void TearDown() override {
    TComponent::Free(form);
    Pump(50);
  }
};

TEST_F(MenuBarLookTest, OneButtonPerItemOnAFlatOrGradientBar) {
  ASSERT_EQ(bar->ButtonCount(), 3);
  EXPECT_EQ(bar->Buttons(0)->Caption(), "&File");
  EXPECT_EQ(bar->Buttons(2)->Left(), bar->Buttons(1)->Left() + bar->Buttons(1)->Width());
  EXPECT_EQ(bar->Buttons(0)->Owner(), form) << "the buttons belong to the bar's owner";
  graphics::TBitmap shot = testing_support::Snapshot(*bar);
  const int x = shot.Width() - 3;  // past the buttons
  EXPECT_EQ(shot.Pixel(x, 0), 0x336699u);
  EXPECT_EQ(shot.Pixel(x, shot.Height() - 1), 0x336699u);

  bar->SetLook(skin::DeepBlue, nullptr, 0x000000, 0xFFFFFF);
  shot = testing_support::Snapshot(*bar);
  EXPECT_EQ(shot.Pixel(x, 0), 0x000000u);
  EXPECT_EQ(shot.Pixel(x, shot.Height() - 1), 0xFFFFFFu);
  const TColor middle = shot.Pixel(x, shot.Height() / 2);
  EXPECT_NE(middle, 0x000000u);
  EXPECT_NE(middle, 0xFFFFFFu);

  // The disabled item's caption is grey somewhere on its button.
  framework::TToolButton* edit = bar->Buttons(1);
  bool grey = false;
  for (int y = edit->Top(); y < edit->Top() + edit->Height() && !grey; ++y)
    for (int bx = edit->Left(); bx < edit->Left() + edit->Width(); ++bx)
      if (shot.Pixel(bx, y) == skin::kMenuBarDisabledText) {
        grey = true;
        break;
      }
  EXPECT_TRUE(grey);
}

TEST_F(MenuBarLookTest, AHotButtonIsFilledAndFramedAndLetsAcceleratorsInWithoutAlt) {
  framework::TToolButton* file = bar->Buttons(0);
  // Without a hot button, a plain letter is no accelerator of the bar.
  PostMessageW(form->Handle(), WM_CHAR, 'h', 0);
  Pump(100);
  EXPECT_EQ(help_clicks, 0);

  testing_support::MoveTo(*file, file->Width() / 2, file->Height() / 2);
  Pump(100);
  const graphics::TBitmap shot = testing_support::Snapshot(*bar);
  EXPECT_EQ(shot.Pixel(file->Left(), file->Top()),
            skin::GetBuiltInColor(skin::DeepBlue, skin::form_entry::kMenuSelectedBorderColor));
  EXPECT_EQ(shot.Pixel(file->Left() + 1, file->Top() + 1),
            skin::GetBuiltInColor(skin::DeepBlue, skin::form_entry::kMenuSelectedColor));
  EXPECT_EQ(file->Tag(), skin::kMenuBarHotTag);
  EXPECT_EQ(bar->Buttons(2)->Tag(), 0);

  PostMessageW(form->Handle(), WM_CHAR, 'h', 0);
  Pump(100);
  EXPECT_EQ(help_clicks, 1);
}

}  // namespace
