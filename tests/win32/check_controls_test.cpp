// Check boxes, radio buttons, the group box and the item groups in a real
// window under real input (SetCursorPos, SendInput). The marks come from a
// stand-in picture loader whose frames have distinct colours, so the
// pixels on screen say which frame a box shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/error.h"
#include "base/text_codec.h"
#include "base/win_api.h"
#include "framework/controls/application.h"
#include "framework/controls/form.h"
#include "framework/core/layout_loader.h"
#include "framework/graphics/bmp_codec.h"
#include "skin/sui_check_box.h"
#include "skin/sui_check_rules.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_group_box.h"
#include "skin/sui_image_panel.h"
#include "skin/sui_radio_group.h"
#include "skin/sui_skin_items.h"

#include "tests/win32/support/ui_input.h"
#include "tools/mkskin/skin_archive_writer.h"
#include "tools/mkskin/skin_container_writer.h"

namespace {

using namespace framework;
using namespace testing_support;
using graphics::TBitmap;
using graphics::TColor;
using skin::TsuiCheckBox;
using skin::TsuiRadioButton;

constexpr int kMark = 13;
// Check strip frames: checked, unchecked, checked disabled, unchecked disabled.
constexpr TColor kCheckFrame[4] = {0x00C000, 0xC00000, 0x006000, 0x600000};
constexpr TColor kRadioFrame[4] = {0x0000C0, 0xC000C0, 0x000060, 0x600060};
constexpr TColor kRadioCorner = 0x123456;

// 4 frames of 13 x 13; radio frames have a corner colour that the box
// leaves out (its bottom-left pixel).
TBitmap FakeMarks(const std::string& name) {
  const bool radio = name == "WINXP_RADIOBUTTON";
  if (name != "WINXP_CHECKBOX" && !radio) throw base::Error("Resource " + name + " not found");
  TBitmap strip(4 * kMark, kMark);
  for (int f = 0; f < 4; ++f)
    for (int y = 0; y < kMark; ++y)
      for (int x = 0; x < kMark; ++x) {
        const bool corner = radio && (x == 0 || x == kMark - 1) && (y == 0 || y == kMark - 1);
        strip.SetPixel(f * kMark + x, y, corner ? kRadioCorner : (radio ? kRadioFrame : kCheckFrame)[f]);
      }
  return strip;
}

void DoubleClickAt(TControl& control, int x, int y) {
  MoveTo(control, x, y);
  INPUT in[4]{};
  for (int i = 0; i < 4; ++i) {
    in[i].type = INPUT_MOUSE;
    in[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  }
  SendInput(4, in, sizeof(INPUT));
  Pump(120);
}

void SendAltKey(std::uint16_t key) {
  INPUT in[4]{};
  for (auto& i : in) i.type = INPUT_KEYBOARD;
  in[0].ki.wVk = VK_MENU;
  in[1].ki.wVk = key;
  in[2].ki.wVk = key;
  in[2].ki.dwFlags = KEYEVENTF_KEYUP;
  in[3].ki.wVk = VK_MENU;
  in[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, in, sizeof(INPUT));
  Pump(100);
}

struct CheckControlsTest : ::testing::Test {
  skin::PictureLoader previous = skin::SetPictureLoader(FakeMarks);
  TForm* form = new TForm(nullptr);

  void SetUp() override {
    form->SetBounds(80, 80, 480, 320);
    form->Show();
    Pump(100);
  }
  void TearDown() override {
    MouseButton(false);
    delete form;
    skin::SetPictureLoader(previous);
    SetRightToLeftLocaleOverride(-1);
    Pump(50);
  }

  template <typename T>
  T* Make(int left, int top, const std::string& caption) {
    auto* c = new T(form);
    c->SetParent(form);
    c->SetUIStyle(skin::WinXP);
    c->SetCaption(caption);
    c->SetLeft(left);
    c->SetTop(top);
    Pump(30);
    return c;
  }

  // The colour in the middle of the mark, at (1, (h - 13) div 2) left to right.
  static TColor MarkColour(TsuiCheckBox& box) {
    return Snapshot(box).Pixel(1 + kMark / 2, (box.Height() - kMark) / 2 + kMark / 2);
  }
};

TEST_F(CheckControlsTest, ACheckBoxTogglesOnClickDoubleClickSpaceAndItsAccelerator) {
  auto* box = Make<TsuiCheckBox>(20, 20, "&Agree");
  auto* other = Make<TsuiCheckBox>(20, 60, "Other");
  int clicks = 0;
  box->OnClick = [&](TComponent*) { ++clicks; };

  // Auto size: mark + caption + 8 wide, max(W height + 2, mark) + 4 high.
  TBitmap scratch(1, 1);
  TCanvas measure(scratch);
  measure.Font = box->Font();
  EXPECT_EQ(box->Width(), kMark + measure.TextWidth("&Agree") + 8);
  EXPECT_EQ(box->Height(), std::max(measure.TextHeight("W") + 2, kMark) + 4);
  EXPECT_EQ(MarkColour(*box), kCheckFrame[1]);

  Click(*box, 5, box->Height() / 2);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(box->Focused());
  EXPECT_EQ(MarkColour(*box), kCheckFrame[0]);
  EXPECT_EQ(box->State(), skin::cbChecked);

  // Two quick presses are two clicks for a check box.
  Pump(600);
  DoubleClickAt(*box, 5, box->Height() / 2);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(clicks, 3);

  Key(VK_SPACE);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 4);
  Key(VK_RETURN);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(clicks, 5);

  // The accelerator from another box: focus moves and the box toggles.
  other->SetFocus();
  Pump(30);
  SendAltKey('A');
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 6);
  EXPECT_TRUE(box->Focused());

  // By program: a new value fires, the same value does not.
  box->SetChecked(true);
  box->SetChecked(true);
  EXPECT_EQ(clicks, 7);
  box->SetState(skin::cbGrayed);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 8);
  // While loading, nothing fires.
  box->BeginLoading();
  box->SetChecked(true);
  box->CancelLoading();
  EXPECT_EQ(clicks, 8);

  // Disabled: the disabled frames; clicks do nothing.
  box->SetEnabled(false);
  EXPECT_EQ(MarkColour(*box), kCheckFrame[2]);
  box->SetChecked(false);
  EXPECT_EQ(MarkColour(*box), kCheckFrame[3]);
  Click(*box, 5, box->Height() / 2);
  EXPECT_FALSE(box->Checked());
}

TEST_F(CheckControlsTest, TheFocusFrameAndTheMarkSitWhereTheLayoutSays) {
  auto* box = Make<TsuiCheckBox>(20, 20, "Focus");
  box->SetColor(graphics::clWhite);
  box->SetFocus();
  Pump(30);
  const TBitmap shot = Snapshot(*box);
  TBitmap scratch(1, 1);
  TCanvas measure(scratch);
  measure.Font = box->Font();
  const skin::TCheckBoxLayout layout = skin::LayoutCheckBox(
      {box->Width(), box->Height()}, {kMark, kMark}, measure.TextHeight("W"), false);
  EXPECT_EQ(shot.Pixel(layout.mark.X, layout.mark.Y + 5), kCheckFrame[1]);
  EXPECT_EQ(shot.Pixel(layout.mark.X - 1, layout.mark.Y + 5), graphics::clWhite);
  // The dotted focus frame runs along the top of its rectangle.
  auto dots_on_top = [&](const TBitmap& b) {
    int dots = 0;
    for (int x = layout.focus.Left; x < layout.focus.Right; ++x)
      dots += b.Pixel(x, layout.focus.Top) != graphics::clWhite;
    return dots;
  };
  EXPECT_GT(dots_on_top(shot), 4);
  box->SetTabStop(false);  // a box that is no tab stop shows no focus
  const TBitmap plain = Snapshot(*box);
  EXPECT_EQ(dots_on_top(plain), 0);

  // Mirrored on a right-to-left system.
  SetRightToLeftLocaleOverride(1);
  box->SetBiDiMode(TBiDiMode::bdRightToLeft);
  const TBitmap mirrored = Snapshot(*box);
  EXPECT_EQ(mirrored.Pixel(box->Width() - kMark - 1, layout.mark.Y + 5), kCheckFrame[1]);
  EXPECT_EQ(mirrored.Pixel(box->Width() - 1, layout.mark.Y + 5), graphics::clWhite);
}

TEST_F(CheckControlsTest, RadioButtonsSelectOneOfTheirGroupAndTakeDoubleClicks) {
  auto* a = Make<TsuiRadioButton>(20, 20, "A");
  auto* b = Make<TsuiRadioButton>(20, 50, "B");
  auto* other_group = Make<TsuiRadioButton>(20, 80, "C");
  other_group->SetGroupIndex(1);
  other_group->SetChecked(true);
  int clicks_a = 0, clicks_b = 0, dbl_b = 0;
  a->OnClick = [&](TComponent*) { ++clicks_a; };
  b->OnClick = [&](TComponent*) { ++clicks_b; };
  b->OnDblClick = [&](TComponent*) { ++dbl_b; };

  Click(*a, 5, a->Height() / 2);
  EXPECT_TRUE(a->Checked());
  EXPECT_EQ(clicks_a, 1);
  EXPECT_EQ(MarkColour(*a), kRadioFrame[0]);
  // The round mark's corners show the background.
  EXPECT_NE(Snapshot(*a).Pixel(1, (a->Height() - kMark) / 2), kRadioCorner);

  // A checked radio button ignores clicks, Space and Enter.
  Click(*a, 5, a->Height() / 2);
  Key(VK_SPACE);
  EXPECT_TRUE(a->Checked());
  EXPECT_EQ(clicks_a, 1);

  // The first press selects, the second is a double click.
  Pump(600);
  DoubleClickAt(*b, 5, b->Height() / 2);
  EXPECT_TRUE(b->Checked());
  EXPECT_FALSE(a->Checked()) << "same GroupIndex: unchecked";
  EXPECT_TRUE(other_group->Checked()) << "another GroupIndex: untouched";
  EXPECT_EQ(clicks_b, 1);
  EXPECT_EQ(dbl_b, 1);
  EXPECT_EQ(clicks_a, 1) << "being unchecked fires nothing";

  // Space on a focused, unchecked radio button does nothing either.
  a->SetFocus();
  Pump(30);
  Key(VK_SPACE);
  EXPECT_FALSE(a->Checked());
}

TEST_F(CheckControlsTest, ARadioGroupArrangesItsItemsAndKeepsOneSelected) {
  auto* group = new skin::TsuiRadioGroup(form);
  group->SetParent(form);
  group->SetBounds(20, 20, 260, 140);
  group->SetGroupCaption("Size");
  group->SetColumns(2);
  int clicks = 0;
  group->OnClick = [&](TComponent* sender) {
    EXPECT_EQ(sender, group);
    ++clicks;
  };
  group->SetItems({"one", "two", "three", "four", "five"});
  Pump(50);
  ASSERT_EQ(group->ButtonCount(), 5);
  // Down the first column, then the second: 3 rows.
  auto b = [&](int i) { return group->Buttons(i); };
  EXPECT_EQ(b(0)->Left(), b(1)->Left());
  EXPECT_EQ(b(0)->Left(), b(2)->Left());
  EXPECT_EQ(b(3)->Left(), b(4)->Left());
  EXPECT_GT(b(3)->Left(), b(0)->Left());
  EXPECT_EQ(b(3)->Top(), b(0)->Top());
  EXPECT_EQ(b(4)->Top(), b(1)->Top());
  EXPECT_LT(b(1)->Top(), b(2)->Top());
  EXPECT_EQ(b(4)->Caption(), "five");
  EXPECT_EQ(b(0)->ClassInfo().ClassName(), "TsuiRadioGroupButton");
  EXPECT_FALSE(b(0)->TabStop());

  EXPECT_EQ(group->ItemIndex(), -1);
  group->SetItemIndex(7);
  EXPECT_EQ(group->ItemIndex(), -1);
  group->SetItemIndex(1);
  EXPECT_EQ(group->ItemIndex(), 1);
  EXPECT_EQ(clicks, 1);

  // Clicking an item selects it; focus moving from item to item selects.
  Click(*b(3), 5, b(3)->Height() / 2);
  EXPECT_EQ(group->ItemIndex(), 3);
  EXPECT_EQ(clicks, 2);
  b(0)->SetFocus();
  Pump(30);
  EXPECT_EQ(group->ItemIndex(), 0);
  EXPECT_EQ(clicks, 3);
  // Focus from elsewhere selects nothing, and the group hands its focus to
  // the selected item.
  auto* outside = Make<TsuiCheckBox>(300, 20, "x");
  outside->SetFocus();
  Pump(30);
  b(4)->SetFocus();
  Pump(30);
  EXPECT_EQ(group->ItemIndex(), 0);
  group->SetFocus();
  Pump(30);
  EXPECT_TRUE(b(0)->Focused());

  group->SetItemIndex(-1);
  EXPECT_EQ(group->ItemIndex(), -1);

  // Fewer items: the last buttons go, the others are relabelled.
  group->SetItems({"uno", "dos", "tres"});
  ASSERT_EQ(group->ButtonCount(), 3);
  EXPECT_EQ(b(2)->Caption(), "tres");
  int buttons_on_group = 0;
  for (int i = 0; i < group->ControlCount(); ++i)
    buttons_on_group += dynamic_cast<skin::TsuiRadioGroupButton*>(group->Controls(i)) != nullptr;
  EXPECT_EQ(buttons_on_group, 3);

  // No columns counts as one.
  group->SetColumns(0);
  EXPECT_EQ(b(2)->Left(), b(0)->Left());
  group->SetColumns(-1);
  EXPECT_EQ(group->Columns(), 0);
}

TEST_F(CheckControlsTest, ACheckGroupReportsEveryChangeAndPassesItsFocusOn) {
  auto* group = new skin::TsuiCheckGroup(form);
  group->SetParent(form);
  group->SetBounds(20, 20, 200, 120);
  int clicks = 0;
  group->OnClick = [&](TComponent*) { ++clicks; };
  group->SetItems({"a", "b"});
  Pump(50);
  Click(*group->Buttons(1), 5, group->Buttons(1)->Height() / 2);
  EXPECT_TRUE(group->Buttons(1)->Checked());
  Click(*group->Buttons(1), 5, group->Buttons(1)->Height() / 2);
  EXPECT_FALSE(group->Buttons(1)->Checked());
  EXPECT_EQ(clicks, 2);
  // A click on the frame area is the group's click too.
  Click(*group, group->Width() - 5, group->Height() - 5);
  EXPECT_EQ(clicks, 3);
  group->SetFocus();
  Pump(30);
  EXPECT_TRUE(group->Buttons(0)->Focused());
  group->SetTransparent(true);
  EXPECT_TRUE(group->Buttons(0)->Transparent());
  group->SetItemCursor(crHandPoint);
  EXPECT_EQ(group->Buttons(1)->Cursor(), crHandPoint);
}

TEST_F(CheckControlsTest, TheGroupBoxFrameLeavesAGapForItsCaption) {
  auto* box = new skin::TsuiCustomGroupBox(form);
  box->SetParent(form);
  box->SetBounds(20, 20, 185, 105);
  box->SetColor(graphics::clWhite);
  box->SetBorderColor(0x0000FF);
  box->SetGroupCaption("MM");
  Pump(30);
  TBitmap scratch(1, 1);
  TCanvas measure(scratch);
  measure.Font = box->Font();
  const int cw = measure.TextWidth("MM");
  const int y = std::abs(box->Font().Height) / 2 + 1;
  TBitmap shot = Snapshot(*box);
  EXPECT_EQ(shot.Pixel(0, y), 0x0000FFu);
  EXPECT_EQ(shot.Pixel(2, y), 0x0000FFu);
  EXPECT_EQ(shot.Pixel(3, y), graphics::clWhite) << "the gap starts at 3";
  EXPECT_EQ(shot.Pixel(cw + 7, y), 0x0000FFu) << "and ends before caption width + 7";
  EXPECT_EQ(shot.Pixel(0, box->Height() - 1), 0x0000FFu);
  EXPECT_EQ(shot.Pixel(box->Width() - 1, box->Height() - 1), 0x0000FFu);
  EXPECT_EQ(shot.Pixel(5, y + 20), graphics::clWhite);

  box->SetGroupCaption("");
  shot = Snapshot(*box);
  EXPECT_EQ(shot.Pixel(3, y), 0x0000FFu) << "no caption: a closed frame";
  EXPECT_EQ(shot.Pixel(cw, y), 0x0000FFu);

  // Aligned children stay inside the frame.
  auto* child = Make<TsuiCheckBox>(0, 0, "inside");
  child->SetParent(box);
  child->SetAlign(TAlign::alClient);
  EXPECT_EQ(child->BoundsRect(), skin::GroupBoxAlignArea(box->ClientRect(), box->Font().Height));
}

TEST_F(CheckControlsTest, APanelDrawsItsPictureAtTheOriginStretchedOrTiledAndSizesToIt) {
  auto* panel = new skin::TsuiCustomPanel(form);
  panel->SetParent(form);
  panel->SetBounds(20, 20, 40, 30);
  panel->SetColor(0x00FF00);
  Pump(30);
  EXPECT_EQ(Snapshot(*panel).Pixel(39, 29), 0x00FF00u) << "no picture: the colour";

  // A 10 x 10 picture: red left half, blue right half.
  TBitmap picture(10, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) picture.SetPixel(x, y, x < 5 ? 0x0000FF : 0xFF0000);
  panel->SetPicture(picture);
  TBitmap shot = Snapshot(*panel);
  EXPECT_EQ(shot.Pixel(2, 2), 0x0000FFu);
  EXPECT_EQ(shot.Pixel(7, 2), 0xFF0000u);
  EXPECT_EQ(shot.Pixel(12, 2), 0x00FF00u) << "drawn once at the origin; the rest shows the colour";
  panel->SetDrawMode(skin::dmStretch);
  shot = Snapshot(*panel);
  EXPECT_EQ(shot.Pixel(18, 25), 0x0000FFu);
  EXPECT_EQ(shot.Pixel(22, 25), 0xFF0000u);
  panel->SetDrawMode(skin::dmTile);
  shot = Snapshot(*panel);
  EXPECT_EQ(shot.Pixel(12, 12), 0x0000FFu);
  EXPECT_EQ(shot.Pixel(37, 22), 0xFF0000u);

  // A caption at a given place, drawn over the picture with a clear brush.
  panel->SetCaptionX(0);
  panel->SetCaptionY(0);
  graphics::TFont font = panel->Font();
  font.Color = 0xFFFFFF;
  panel->SetFont(font);
  panel->SetCaption("WWW");
  shot = Snapshot(*panel);
  int ink = 0;  // text pixels: neither of the picture's colours
  for (int y = 0; y < 14; ++y)
    for (int x = 0; x < 30; ++x) ink += shot.Pixel(x, y) != 0xFF0000u && shot.Pixel(x, y) != 0x0000FFu;
  EXPECT_GT(ink, 10);
  EXPECT_EQ(shot.Pixel(39, 29), 0xFF0000u) << "around the text the picture stays";

  // Picture auto size follows the alignment.
  panel->SetPictureAutoSize(true);
  EXPECT_EQ(panel->Width(), 10);
  EXPECT_EQ(panel->Height(), 10);
  panel->SetAlign(TAlign::alTop);
  EXPECT_EQ(panel->Width(), form->ClientWidth());
  TBitmap tall(8, 24);
  panel->SetPicture(tall);
  EXPECT_EQ(panel->Height(), 24);
  EXPECT_EQ(panel->Width(), form->ClientWidth());
}

// A skin file with check and radio strips of one colour per frame and the
// control border and font colours.
std::string WriteMarkSkin(const std::filesystem::path& path, TColor base, TColor border) {
  TBitmap checks(6 * kMark, kMark), radios(4 * kMark, kMark);
  for (int f = 0; f < 6; ++f)
    for (int y = 0; y < kMark; ++y)
      for (int x = 0; x < kMark; ++x) {
        checks.SetPixel(f * kMark + x, y, base + static_cast<TColor>(f));
        // Radio marks are see-through where their bottom-left pixel's colour is.
        const bool corner = x == 0 && y == kMark - 1;
        if (f < 4)
          radios.SetPixel(f * kMark + x, y,
                          corner ? kRadioCorner : base + 0x10 + static_cast<TColor>(f));
      }
  auto name = [](skin::TSkinItemKind kind, int item) {
    return std::string(*skin::SkinItemName(kind, item));
  };
  const base::Bytes container = mkskin::WriteContainer({
      mkskin::BitmapEntry(name(skin::TSkinItemKind::Picture, skin::skin_item::kCheckBox),
                          graphics::WriteBmp(checks)),
      mkskin::BitmapEntry(name(skin::TSkinItemKind::Picture, skin::skin_item::kRadioButton),
                          graphics::WriteBmp(radios)),
      mkskin::IntegerEntry(name(skin::TSkinItemKind::Color, skin::skin_item::kControlBorderColor),
                           static_cast<std::int32_t>(border)),
      mkskin::IntegerEntry(name(skin::TSkinItemKind::Color, skin::skin_item::kControlFontColor),
                           static_cast<std::int32_t>(border + 1)),
  });
  const base::Bytes file = mkskin::WriteSkinArchive("SKINDATA.SK2", container);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return base::WideToGbkLossy(path.wstring());
}

TEST_F(CheckControlsTest, SwitchingTheFileThemeRepaintsEveryBoxAndGroup) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / "check-controls-file-theme";
  std::filesystem::create_directories(dir);
  const std::string jade = WriteMarkSkin(dir / "jade.skn", 0x20A020, 0x304050);
  const std::string ember = WriteMarkSkin(dir / "ember.skn", 0x2020A0, 0x506070);

  auto* theme = new skin::TsuiFileTheme(form);
  auto* box = Make<TsuiCheckBox>(20, 20, "box");
  auto* radio = Make<TsuiRadioButton>(20, 50, "radio");
  auto* group = new skin::TsuiCheckGroup(form);
  group->SetParent(form);
  group->SetBounds(200, 20, 200, 120);
  group->SetItems({"a", "b"});
  for (TsuiCheckBox* c : {box, static_cast<TsuiCheckBox*>(radio)}) {
    c->SetUIStyle(skin::FromThemeFile);
    c->SetFileTheme(theme);
  }
  group->SetUIStyle(skin::FromThemeFile);
  group->SetFileTheme(theme);
  // Not ready: DeepBlue, which the stand-in loader lacks: no mark at all.
  EXPECT_NE(MarkColour(*box), 0x20A020u + 2);

  theme->SetThemeFile(jade);
  ASSERT_TRUE(theme->Ready());
  // Six check frames in a file theme: unchecked and enabled is frame 3.
  EXPECT_EQ(MarkColour(*box), 0x20A020u + 2);
  EXPECT_EQ(MarkColour(*radio), 0x20A020u + 0x10 + 1);
  EXPECT_EQ(MarkColour(*group->Buttons(0)), 0x20A020u + 2);
  EXPECT_EQ(group->BorderColor(), 0x304050u);
  EXPECT_EQ(group->FontColor(), 0x304051u);
  box->SetChecked(true);
  box->SetEnabled(false);
  EXPECT_EQ(MarkColour(*box), 0x20A020u + 3) << "checked and disabled: frame 4 of 6";

  theme->SetThemeFile(ember);
  EXPECT_EQ(MarkColour(*box), 0x2020A0u + 3);
  EXPECT_EQ(MarkColour(*radio), 0x2020A0u + 0x10 + 1);
  EXPECT_EQ(MarkColour(*group->Buttons(1)), 0x2020A0u + 2);
  EXPECT_EQ(group->BorderColor(), 0x506070u);

  delete theme;
  EXPECT_EQ(box->FileTheme(), nullptr);
  EXPECT_EQ(box->UIStyle(), skin::DeepBlue);
  EXPECT_EQ(group->FileTheme(), nullptr);
  EXPECT_EQ(group->UIStyle(), skin::DeepBlue);
  EXPECT_EQ(group->Buttons(0)->UIStyle(), skin::DeepBlue);
  std::filesystem::remove_all(dir);
}

TEST_F(CheckControlsTest, GroupsComeFromALayoutWithTheirItemsAndSelection) {
  TForm* loaded = new TForm(nullptr);
  TLayoutContext context;
  context.set_parent = [](TComponent& child, TComponent& parent) {
    static_cast<TControl&>(child).SetParent(dynamic_cast<TWinControl*>(&parent));
  };
  LoadLayoutText(*loaded,
                 "object Options: TForm\n"
                 "  object Speed: TsuiRadioGroup\n"
                 "    Caption = \"Speed\"\n"
                 "    Items = (\"slow\", \"fast\", \"faster\")\n"
                 "    Columns = 2\n"
                 "    ItemIndex = 1\n"
                 "  end\n"
                 "  object Agree: TsuiCheckBox\n"
                 "    Checked = true\n"
                 "    UIStyle = WinXP\n"
                 "  end\n"
                 "end\n",
                 context);
  auto* speed = dynamic_cast<skin::TsuiRadioGroup*>(loaded->FindComponent("Speed"));
  ASSERT_NE(speed, nullptr);
  EXPECT_EQ(speed->ButtonCount(), 3);
  EXPECT_EQ(speed->ItemIndex(), 1);
  EXPECT_EQ(speed->GroupCaption(), "Speed");
  auto* agree = dynamic_cast<TsuiCheckBox*>(loaded->FindComponent("Agree"));
  ASSERT_NE(agree, nullptr);
  EXPECT_TRUE(agree->Checked());
  delete loaded;
}

TEST(CheckControlsProperties, PublishedInTheirOrder) {
  auto names = [](const TClassInfo& info) {
    std::vector<std::string> out;
    for (const TPropInfo* p : info.Properties()) out.push_back(std::string(p->Name()));
    return out;
  };
  auto before = [](const std::vector<std::string>& list, const std::string& a,
                   const std::string& b) {
    const auto ia = std::find(list.begin(), list.end(), a);
    const auto ib = std::find(list.begin(), list.end(), b);
    return ia != list.end() && ib != list.end() && ia < ib;
  };
  const auto box = names(TsuiCheckBox::StaticClassInfo());
  EXPECT_TRUE(before(box, "Checked", "UIStyle"));
  EXPECT_TRUE(before(box, "UIStyle", "FileTheme"));
  EXPECT_TRUE(before(box, "FileTheme", "Transparent"));
  EXPECT_TRUE(before(box, "Transparent", "AutoSize"));
  const auto group = names(skin::TsuiRadioGroup::StaticClassInfo());
  EXPECT_TRUE(before(group, "Items", "Columns"));
  EXPECT_TRUE(before(group, "Columns", "TopMargin"));
  EXPECT_TRUE(before(group, "TopMargin", "ItemIndex"));
}

}  // namespace
