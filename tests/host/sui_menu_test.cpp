// The skinned menus: what a style does to them, the MacOS setter rules,
// colours from a file theme, item sizes, the pixels of one drawn item
// where the geometry is exact, hooking, the main menu's own check marks
// and its skinned form, and the published order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/error.h"
#include "framework/controls/menus.h"
#include "framework/core/rtti.h"
#include "framework/graphics/bmp_codec.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_menu.h"
#include "skin/sui_menu_rules.h"
#include "tests/host/graphics_test_support.h"
#include "tests/host/skin_file_test_support.h"
#include "tools/mkskin/skin_archive_writer.h"
#include "tools/mkskin/skin_container_writer.h"

namespace {

using framework::TComponent;
using framework::TMenuItem;
using graphics::TBitmap;
using graphics::TColor;
using skin::TsuiMainMenu;
using skin::TsuiMenuLook;
using skin::TsuiPopupMenu;
using testing_support::Coord;
using testing_support::Filled;

constexpr TColor kCheckInk = 0x102030;

// The check mark: white (its mask colour) with one ink pixel at (0, 0)
// and one at (15, 15), so that where it lands and what is left out show.
TBitmap CheckPicture() {
  TBitmap b = Filled(16, 16, graphics::clWhite);
  b.SetPixel(0, 0, kCheckInk);
  b.SetPixel(15, 15, kCheckInk);
  return b;
}

TBitmap FakePictures(const std::string& name) {
  if (name == "MENU_CHECKED") return CheckPicture();
  if (name == "MACOS_MENU_SELECT") return testing_support::CoordBitmap(1, 21, 0x11);
  if (name == "MACOS_MENU_BAR") return testing_support::CoordBitmap(1, 22, 0x22);
  throw base::Error("Resource " + name + " not found");
}

// In force before any menu is made: the popup menus' check-mark list is
// made once for the program.
const bool kFakePicturesInstalled = (skin::SetPictureLoader(&FakePictures), true);

class SkinMenu : public ::testing::Test {
protected:
  testing_support::ScopedFixedCellText text_;
  testing_support::ScopedFakeSysColors colours_;
  TComponent owner_{nullptr};
};

// ---------------------------------------------------------------------------
// Styles and setters

TEST_F(SkinMenu, ANewMenuCarriesTheOwnersStyleAppliedAtOnce) {
  TsuiPopupMenu menu(&owner_);  // no form here: DeepBlue
  EXPECT_EQ(menu.UIStyle(), skin::DeepBlue);
  EXPECT_TRUE(menu.OwnerDraw());
  menu.SetOwnerDraw(false);
  EXPECT_TRUE(menu.OwnerDraw());
  EXPECT_EQ(menu.BarWidth(), 26);
  EXPECT_EQ(menu.MenuItemHeight(), 21);
  EXPECT_EQ(menu.SeparatorHeight(), 5);
  EXPECT_EQ(menu.SeparatorColor(), 0x848284u);
  EXPECT_EQ(menu.BarColor(), 0xCED3D6u);
  EXPECT_EQ(menu.BarToColor(), 0xCED3D6u);
  EXPECT_EQ(menu.Color(), 0xFFFFFFu);
  EXPECT_EQ(menu.FontColor(), 0x000000u);
  EXPECT_EQ(menu.SelectedColor(), 0xA04A44u);
  EXPECT_EQ(menu.SelectedBorderColor(), 0xA04A44u);
  EXPECT_EQ(menu.SelectedFontColor(), 0xFFFFFFu);
  // Untouched by styles: the values of a new menu.
  EXPECT_EQ(menu.BorderColor(), 0u);
  EXPECT_FALSE(menu.FlatMenu());
  EXPECT_EQ(menu.FontName(), "MS Sans Serif");
  EXPECT_EQ(menu.FontSize(), 8);
  EXPECT_EQ(menu.FontCharset(), 1);
  EXPECT_TRUE(menu.UseSystemFont());
}

TEST_F(SkinMenu, BuiltInStylesSetHeightsAndColours) {
  TsuiMainMenu menu(&owner_);
  menu.SetUIStyle(skin::MacOS);
  EXPECT_EQ(menu.MenuItemHeight(), 20);
  EXPECT_EQ(menu.SeparatorHeight(), 12);
  EXPECT_EQ(menu.SeparatorColor(), 0u);
  EXPECT_EQ(menu.Color(), 0x000000u);
  EXPECT_EQ(menu.SelectedColor(), 0xC47339u);

  menu.SetUIStyle(skin::WinXP);
  EXPECT_EQ(menu.MenuItemHeight(), 21);
  EXPECT_EQ(menu.SeparatorHeight(), 5);
  EXPECT_EQ(menu.SelectedColor(), 0xEFD3C6u);
  EXPECT_EQ(menu.SelectedBorderColor(), 0xC66931u);
  EXPECT_EQ(menu.SelectedFontColor(), 0x000000u);

  menu.SetUIStyle(skin::BlueGlass);
  EXPECT_EQ(menu.Color(), 0xE7E7E7u);

  // A file style without a file theme draws as DeepBlue but stays stored.
  menu.SetUIStyle(skin::FromThemeFile);
  EXPECT_EQ(menu.UIStyle(), skin::FromThemeFile);
  EXPECT_EQ(menu.SelectedColor(), 0xA04A44u);
}

TEST_F(SkinMenu, MacOSKeepsItsHeightsOnAPopupMenuButAMainMenuTakesItemHeight) {
  TsuiPopupMenu popup(&owner_);
  TsuiMainMenu main(&owner_);
  for (framework::TComponent* m : {static_cast<TComponent*>(&popup), static_cast<TComponent*>(&main)}) {
    framework::SetPropertyValue(*m, "UIStyle", std::int32_t{skin::MacOS});
    framework::SetPropertyValue(*m, "MenuItemHeight", std::int32_t{30});
    framework::SetPropertyValue(*m, "SeparatorHeight", std::int32_t{9});
  }
  EXPECT_EQ(popup.MenuItemHeight(), 20);
  EXPECT_EQ(main.MenuItemHeight(), 30);
  EXPECT_EQ(popup.SeparatorHeight(), 12);
  EXPECT_EQ(main.SeparatorHeight(), 12);

  popup.SetUIStyle(skin::Protein);
  popup.SetMenuItemHeight(30);
  popup.SetSeparatorHeight(9);
  EXPECT_EQ(popup.MenuItemHeight(), 30);
  EXPECT_EQ(popup.SeparatorHeight(), 9);
}

class SkinMenuFile : public testing_support::ScratchDirTest {
protected:
  std::string SkinFile() {
    std::vector<mkskin::SkinEntry> entries;
    const char* names[] = {"SKIN2_FORMCOLOR",         "SKIN2_LEFTBARSTARTCOLOR",
                           "SKIN2_LEFTBARENDCOLOR",   "SKIN2_MENUITEMCOLOR",
                           "SKIN2_MENUITEMFONTCOLOR", "SKIN2_SELECTEDMENUCOLOR",
                           "SKIN2_SELECTEDMENUBORDERCOLOR", "SKIN2_SELECTEDMENUFONTCOLOR"};
    std::int32_t value = 0x010101;
    for (const char* name : names) {
      entries.push_back(mkskin::IntegerEntry(name, value));
      value += 0x010101;
    }
    mkskin::ArchiveOptions options;
    options.seed = 5;
    const base::Bytes bytes = mkskin::WriteSkinArchive(
        "SKINDATA.SK2", mkskin::WriteContainer(entries), options);
    const std::string path = (dir / "menu.skn").string();
    base::NativeFileSystem().WriteWholeFile(path, bytes);
    return path;
  }
};

TEST_F(SkinMenuFile, AReadyFileThemeGivesTheColoursAndItsLossGivesDeepBlue) {
  TComponent owner(nullptr);
  auto* theme = new skin::TsuiFileTheme(&owner);
  theme->SetThemeFile(SkinFile());
  ASSERT_TRUE(theme->Ready());
  TsuiPopupMenu menu(&owner);
  menu.SetUIStyle(skin::FromThemeFile);
  menu.SetFileTheme(theme);  // re-applies the stored style
  EXPECT_EQ(menu.BarColor(), 0x020202u);
  EXPECT_EQ(menu.BarToColor(), 0x030303u);
  EXPECT_EQ(menu.Color(), 0x040404u);
  EXPECT_EQ(menu.FontColor(), 0x050505u);
  EXPECT_EQ(menu.SelectedColor(), 0x060606u);
  EXPECT_EQ(menu.SelectedBorderColor(), 0x070707u);
  EXPECT_EQ(menu.SelectedFontColor(), 0x080808u);
  EXPECT_EQ(menu.BarWidth(), 26);
  EXPECT_EQ(skin::FlatMenuLineColor(skin::FromThemeFile, theme), 0x010101u);
  EXPECT_EQ(skin::FlatMenuLineColor(skin::WinXP, theme), 0xDEEBEFu);

  // A built-in style ignores the theme it names.
  menu.SetUIStyle(skin::WinXP);
  EXPECT_EQ(menu.SelectedColor(), 0xEFD3C6u);
  menu.SetUIStyle(skin::FromThemeFile);

  TComponent::Free(theme);
  EXPECT_EQ(menu.FileTheme(), nullptr);
  EXPECT_EQ(menu.UIStyle(), skin::DeepBlue);
  EXPECT_EQ(menu.BarColor(), 0xCED3D6u);
}

// ---------------------------------------------------------------------------
// Measuring (fixed cells: 7 x 13 pixels a byte)

TEST_F(SkinMenu, ItemsAreMeasuredByCaptionShortcutAndTheHeightRules) {
  TsuiPopupMenu menu(&owner_);
  auto* open = new TMenuItem(&owner_);
  auto* line = new TMenuItem(&owner_);
  open->SetCaption("&Open");
  line->SetCaption("-");
  menu.Items()->Add(open);
  menu.Items()->Add(line);
  TBitmap scratch(1, 1);
  graphics::TCanvas canvas(scratch);
  int w = 0, h = 0;
  open->MeasureItem(canvas, w, h);
  EXPECT_EQ(w, 4 * 7 + 26 + 40);
  EXPECT_EQ(h, 21);
  open->SetShortCut('O' | framework::scCtrl);  // "Ctrl+O": 6 cells wider
  open->MeasureItem(canvas, w, h);
  EXPECT_EQ(w, 4 * 7 + 6 * 7 + 26 + 40);
  line->MeasureItem(canvas, w, h);
  EXPECT_EQ(h, 5);

  menu.SetMenuItemHeight(8);  // the text is taller
  open->MeasureItem(canvas, w, h);
  EXPECT_EQ(h, 13);

  menu.SetUIStyle(skin::MacOS);
  line->MeasureItem(canvas, w, h);
  EXPECT_EQ(h, 12);
  open->MeasureItem(canvas, w, h);
  EXPECT_EQ(h, 20);
}

// ---------------------------------------------------------------------------
// Drawing one item onto a 120 x 21 canvas

class DrawnItem : public SkinMenu {
protected:
  DrawnItem() : canvas_(bitmap_) {
    look_.BarWidth = 26;
    look_.BarColor = look_.BarToColor = 0x00AA00;
    look_.Color = 0xEEEEEE;
    look_.SeparatorColor = 0x0000CC;
    look_.SelectedColor = 0xCC0000;
    look_.SelectedBorderColor = 0x440044;
    look_.FontColor = 0x111111;
    look_.SelectedFontColor = 0x222222;
    look_.UIStyle = skin::WinXP;
    check_marks_.AddMasked(CheckPicture(), graphics::clWhite);
    images_.Add(Filled(16, 16, 0x0055FF));
    pictures_.check_marks = &check_marks_;
    pictures_.images = &images_;
    item_.SetCaption("Ab");
  }
  void Draw(bool selected, int height = 21) {
    bitmap_.SetSize(120, height);
    skin::DrawMenuItem(look_, item_, canvas_, {0, 0, 120, height}, selected, pictures_);
  }
  TColor At(int x, int y) const { return bitmap_.Pixel(x, y); }

  TBitmap bitmap_{120, 21};
  graphics::TCanvas canvas_;
  TsuiMenuLook look_;
  graphics::TImageList check_marks_{16, 16};
  graphics::TImageList images_{16, 16};
  skin::TMenuItemPictures pictures_;
  TMenuItem item_{nullptr};
};

TEST_F(DrawnItem, TheSideBarIsFlatForOneColourAndAGradientForTwo) {
  Draw(false);
  EXPECT_EQ(At(0, 10), 0x00AA00u);
  EXPECT_EQ(At(25, 20), 0x00AA00u);
  EXPECT_EQ(At(26, 0), 0xEEEEEEu);
  EXPECT_EQ(At(119, 20), 0xEEEEEEu);

  look_.BarColor = 0x000000;
  look_.BarToColor = 0x0000FF;
  Draw(false);
  EXPECT_EQ(At(0, 10), 0x000000u);    // first column: from
  EXPECT_EQ(At(25, 10), 0x0000FFu);   // last column: to
  const TColor middle = At(13, 10);
  EXPECT_GT(middle & 0xFF, 0u);
  EXPECT_LT(middle & 0xFF, 0xFFu);
  EXPECT_EQ(middle & 0xFFFF00, 0u);   // only red changes
  EXPECT_EQ(At(13, 0), middle);       // columns, not rows
  EXPECT_LT(At(5, 10) & 0xFF, At(20, 10) & 0xFF);
}

TEST_F(DrawnItem, ASelectedItemIsFilledAndFramedUnlessDisabled) {
  Draw(true);
  EXPECT_EQ(At(0, 0), 0x440044u);
  EXPECT_EQ(At(119, 20), 0x440044u);
  EXPECT_EQ(At(60, 0), 0x440044u);
  EXPECT_EQ(At(1, 1), 0xCC0000u);
  EXPECT_EQ(At(118, 19), 0xCC0000u);
  item_.SetEnabled(false);
  Draw(true);
  EXPECT_EQ(At(0, 0), 0x00AA00u);
  EXPECT_EQ(At(118, 19), 0xEEEEEEu);
}

TEST_F(DrawnItem, TextColoursFollowTheStateAndTheCaptionStartsAfterTheBar) {
  // The caption's first cell: x = BarWidth + 4, rows centred: (21 - 13) / 2.
  Draw(false);
  EXPECT_EQ(At(30, 4), 0x111111u);
  EXPECT_EQ(At(29, 4), 0xEEEEEEu);
  EXPECT_EQ(At(30, 3), 0xEEEEEEu);
  Draw(true);
  EXPECT_EQ(At(30, 4), 0x222222u);
  item_.SetEnabled(false);
  Draw(true);
  EXPECT_EQ(At(30, 4), 0x808080u);
}

TEST_F(DrawnItem, TheShortcutEndsSixteenPixelsShortOfTheRight) {
  item_.SetShortCut('O' | framework::scCtrl);  // "Ctrl+O", 42 pixels
  Draw(false);
  EXPECT_EQ(At(120 - 42 - 16, 4), 0x111111u);
  EXPECT_EQ(At(120 - 42 - 17, 4), 0xEEEEEEu);
  EXPECT_EQ(At(120 - 16 - 2, 4), 0x111111u);  // the last glyph's last ink column
  EXPECT_EQ(At(120 - 16, 4), 0xEEEEEEu);
}

TEST_F(DrawnItem, ACheckedItemWithAnImageSitsOnAFramedSquare) {
  item_.SetChecked(true);
  item_.SetImageIndex(0);
  Draw(false);
  // Frame (x - 2, top + 1)-(x + 17, top + 20) with x = 4: columns 2..20, rows 1..19.
  for (int x = 2; x <= 20; ++x) {
    EXPECT_EQ(At(x, 1), 0u) << x;
    EXPECT_EQ(At(x, 19), 0u) << x;
  }
  for (int y = 1; y <= 19; ++y) {
    EXPECT_EQ(At(2, y), 0u) << y;
    EXPECT_EQ(At(20, y), 0u) << y;
  }
  EXPECT_EQ(At(21, 10), 0x00AA00u);  // right of the frame: the bar again
  EXPECT_EQ(At(1, 10), 0x00AA00u);
  EXPECT_EQ(At(10, 20), 0x00AA00u);
  // Inside, where the image does not reach: the selected colour.
  EXPECT_EQ(At(3, 2), 0xCC0000u);
  EXPECT_EQ(At(3, 18), 0xCC0000u);
  EXPECT_EQ(At(19, 2), 0xCC0000u);
  // The image at (x, top + 3), and no check mark.
  EXPECT_EQ(At(4, 3), 0x0055FFu);
  EXPECT_EQ(At(19, 18), 0x0055FFu);
  EXPECT_EQ(At(20, 18), 0u);
}

TEST_F(DrawnItem, ACheckedItemWithoutAnImageShowsTheMarkGreyedWhenDisabled) {
  item_.SetChecked(true);
  Draw(false);
  EXPECT_EQ(At(4, 3), kCheckInk);
  EXPECT_EQ(At(19, 18), kCheckInk);
  EXPECT_EQ(At(5, 3), 0x00AA00u);  // the mask leaves the bar
  EXPECT_EQ(At(2, 1), 0x00AA00u);  // no frame
  item_.SetEnabled(false);
  Draw(false);
  EXPECT_NE(At(4, 3), kCheckInk);
  EXPECT_NE(At(4, 3), 0x00AA00u);
  // An image index the list lacks counts as no image: the mark again.
  item_.SetEnabled(true);
  item_.SetImageIndex(5);
  Draw(false);
  EXPECT_EQ(At(4, 3), kCheckInk);
  EXPECT_EQ(At(2, 1), 0x00AA00u);
}

TEST_F(DrawnItem, AnUncheckedImageIsDrawnWithoutFrame) {
  item_.SetImageIndex(0);
  Draw(false);
  EXPECT_EQ(At(4, 3), 0x0055FFu);
  EXPECT_EQ(At(2, 1), 0x00AA00u);
  item_.SetImageIndex(-1);
  Draw(false);
  EXPECT_EQ(At(10, 10), 0x00AA00u);
}

TEST_F(DrawnItem, ASeparatorIsOneLineAtTopPlusTwo) {
  item_.SetCaption("-");
  Draw(true, 5);  // a selected separator looks like any other
  EXPECT_EQ(At(30, 2), 0x0000CCu);
  EXPECT_EQ(At(117, 2), 0x0000CCu);
  EXPECT_EQ(At(29, 2), 0xEEEEEEu);
  EXPECT_EQ(At(118, 2), 0xEEEEEEu);
  EXPECT_EQ(At(60, 1), 0xEEEEEEu);
  EXPECT_EQ(At(60, 3), 0xEEEEEEu);
  EXPECT_EQ(At(10, 2), 0x00AA00u);
}

TEST_F(DrawnItem, RightToLeftMirrorsBarColumnShortcutAndSeparator) {
  pictures_.right_to_left = true;
  item_.SetChecked(true);
  item_.SetImageIndex(0);
  Draw(false);
  EXPECT_EQ(At(94, 10), 0x00AA00u);  // the bar: the last 26 columns
  EXPECT_EQ(At(93, 10), 0xEEEEEEu);
  // The check column at right - 20 = 100: frame from 98 to 116.
  EXPECT_EQ(At(98, 1), 0u);
  EXPECT_EQ(At(116, 19), 0u);
  EXPECT_EQ(At(117, 10), 0x00AA00u);
  EXPECT_EQ(At(100, 3), 0x0055FFu);

  // The shortcut starts at left + BarWidth + 4.
  item_.SetChecked(false);
  item_.SetImageIndex(-1);
  item_.SetCaption("");
  item_.SetShortCut('O' | framework::scCtrl);
  Draw(false);
  EXPECT_EQ(At(30, 4), 0x111111u);
  EXPECT_EQ(At(29, 4), 0xEEEEEEu);

  // The separator runs from left + 2 to right - BarWidth - 4.
  item_.SetCaption("-");
  Draw(false, 5);
  EXPECT_EQ(At(2, 2), 0x0000CCu);
  EXPECT_EQ(At(89, 2), 0x0000CCu);
  EXPECT_EQ(At(90, 2), 0xEEEEEEu);
  EXPECT_EQ(At(1, 2), 0xEEEEEEu);
}

TEST_F(DrawnItem, RightToLeftCaptionIsRightAligned) {
  pictures_.right_to_left = true;
  Draw(false);
  // "Ab": two cells ending at right - 4 = 116, so cells 102..115, over the
  // bar; a glyph leaves its cell's last column free.
  EXPECT_EQ(At(102, 4), 0x111111u);
  EXPECT_EQ(At(114, 4), 0x111111u);
  EXPECT_EQ(At(115, 4), 0x00AA00u);
  EXPECT_EQ(At(101, 4), 0x00AA00u);
  EXPECT_EQ(At(30, 4), 0xEEEEEEu);
}

TEST_F(DrawnItem, MacOSStretchesItsPicturesTopRowsOverTheItem) {
  look_.UIStyle = skin::MacOS;
  const TBitmap select = FakePictures("MACOS_MENU_SELECT");
  const TBitmap bar = FakePictures("MACOS_MENU_BAR");
  pictures_.macos_select = &select;
  pictures_.macos_bar = &bar;
  item_.SetCaption("");
  Draw(true, 20);
  EXPECT_EQ(At(0, 0), Coord(0, 0, 0x11));
  EXPECT_EQ(At(119, 19), Coord(0, 19, 0x11));
  Draw(false, 20);
  EXPECT_EQ(At(60, 7), Coord(0, 7, 0x22));
  EXPECT_EQ(At(119, 19), Coord(0, 19, 0x22));
  // Separators take the bar's top 12 rows, and no line.
  item_.SetCaption("-");
  Draw(false, 12);
  EXPECT_EQ(At(40, 2), Coord(0, 2, 0x22));
  EXPECT_EQ(At(40, 11), Coord(0, 11, 0x22));
}

// ---------------------------------------------------------------------------
// Hooking, the main menu's own list, the skinned form

TEST_F(SkinMenu, ItemsAddedLaterAndTheirSubItemsAreHooked) {
  TsuiPopupMenu menu(&owner_);
  auto* later = new TMenuItem(&owner_);
  auto* sub = new TMenuItem(&owner_);
  later->Add(sub);
  EXPECT_FALSE(sub->OnDrawItem);
  menu.Items()->Add(later);
  EXPECT_TRUE(later->OnMeasureItem && later->OnDrawItem);
  EXPECT_TRUE(sub->OnMeasureItem && sub->OnDrawItem);
  auto* deeper = new TMenuItem(&owner_);
  sub->Insert(0, deeper);
  EXPECT_TRUE(deeper->OnMeasureItem);

  // A hooked item that outlives its menu keeps handlers that do nothing.
  TMenuItem* survivor = new TMenuItem(&owner_);
  auto* short_lived = new TsuiPopupMenu(&owner_);
  short_lived->Items()->Add(survivor);
  short_lived->Items()->Delete(0);
  TComponent::Free(short_lived);
  TBitmap scratch(1, 1);
  graphics::TCanvas canvas(scratch);
  int w = -1, h = -1;
  survivor->MeasureItem(canvas, w, h);
  EXPECT_EQ(w, -1);
  EXPECT_EQ(h, -1);
}

TEST_F(SkinMenu, TheMainMenuDrawsItsOwnCheckMarksAsImagesUntilAListIsSet) {
  TsuiMainMenu menu(&owner_);
  EXPECT_EQ(menu.Images(), nullptr);
  auto* item = new TMenuItem(&owner_);
  item->SetImageIndex(0);
  menu.Items()->Add(item);
  TBitmap b(120, 21);
  graphics::TCanvas canvas(b);
  item->DrawItem(canvas, {0, 0, 120, 21}, false);
  EXPECT_EQ(b.Pixel(4, 3), kCheckInk);

  auto* list = new framework::TImageListComponent(&owner_);
  list->List().Add(Filled(16, 16, 0x00FF00));
  menu.SetImages(list);
  EXPECT_EQ(menu.Images(), list);
  item->DrawItem(canvas, {0, 0, 120, 21}, false);
  EXPECT_EQ(b.Pixel(4, 3), 0x00FF00u);
  menu.SetImages(nullptr);
  EXPECT_EQ(menu.Images(), nullptr);
  item->DrawItem(canvas, {0, 0, 120, 21}, false);
  EXPECT_EQ(b.Pixel(4, 3), kCheckInk);
}

TEST_F(SkinMenu, ThePopupMenuUsesTheProgramsCheckMarkAndItsImages) {
  TsuiPopupMenu menu(&owner_);
  auto* item = new TMenuItem(&owner_);
  item->SetChecked(true);
  menu.Items()->Add(item);
  TBitmap b(120, 21);
  graphics::TCanvas canvas(b);
  item->DrawItem(canvas, {0, 0, 120, 21}, false);
  EXPECT_EQ(b.Pixel(4, 3), kCheckInk);
  EXPECT_EQ(b.Pixel(2, 1), 0xCED3D6u);
}

struct FakeBarHost : skin::TsuiMenuBarHost {
  int rebuilt = 0, updated = 0, fonts = 0;
  void RebuildMenuBar() override { ++rebuilt; }
  void UpdateMenuBarItems() override { ++updated; }
  void MenuBarFontChanged() override { ++fonts; }
};

TEST_F(SkinMenu, TheSkinnedFormHearsOfItemsFontsAndLoads) {
  TsuiMainMenu menu(&owner_);
  FakeBarHost host;
  menu.SetSkinnedForm(&host);
  auto* item = new TMenuItem(&owner_);
  menu.Items()->Add(item);
  item->SetCaption("&File");
  EXPECT_EQ(host.updated, 2);
  menu.SetUseSystemFont(false);  // a change of the look, and of the bar's font
  EXPECT_EQ(host.fonts, 1);
  EXPECT_EQ(host.updated, 3);
  EXPECT_FALSE(menu.UseSystemFont());
  menu.BeginLoading();
  item->SetEnabled(false);
  EXPECT_EQ(host.updated, 3);
  menu.EndLoading();
  EXPECT_EQ(host.updated, 4);
  EXPECT_EQ(host.rebuilt, 1);
  menu.SetSkinnedForm(nullptr);
  item->SetEnabled(true);
  EXPECT_EQ(host.updated, 4);
}

TEST(SkinMenuClasses, PublishedInTheirOrder) {
  const std::vector<std::string> look = {
      "OwnerDraw",         "FileTheme",     "UIStyle",        "MenuItemHeight",
      "SeparatorHeight",   "BarWidth",      "BarColor",       "BarToColor",
      "Color",             "SeparatorColor", "SelectedBorderColor", "SelectedColor",
      "SelectedFontColor", "FontColor",     "BorderColor",    "FlatMenu",
      "FontName",          "FontSize",      "FontCharset",    "UseSystemFont"};
  auto names = [](const framework::TClassInfo& info) {
    std::vector<std::string> out;
    for (const auto& p : info.OwnProperties()) out.push_back(p.Name());
    return out;
  };
  EXPECT_EQ(names(TsuiPopupMenu::StaticClassInfo()), look);
  std::vector<std::string> main = {"Images"};
  main.insert(main.end(), look.begin(), look.end());
  EXPECT_EQ(names(TsuiMainMenu::StaticClassInfo()), main);
  EXPECT_TRUE(TsuiMainMenu::StaticClassInfo().InheritsFrom(framework::TMainMenu::StaticClassInfo()));
  EXPECT_TRUE(TsuiPopupMenu::StaticClassInfo().CanCreate());
}

}  // namespace
