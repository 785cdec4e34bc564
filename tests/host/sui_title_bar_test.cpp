// The title bar's portable half: the toolkit's collections it stands on,
// the refused assignments, which frames of the title button strip a button
// shows, what a built-in theme and a file theme set, where the buttons go,
// how the caption is shortened, which window-menu commands are enabled, and
// the painted bar (sections, the skinned form's offset, TitleImage and
// FrameImage, hot and pressed buttons, the caption).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/error.h"
#include "base/file_system.h"
#include "framework/core/collection.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_title_bar_items.h"
#include "skin/sui_title_bar_rules.h"
#include "tests/host/graphics_test_support.h"
#include "tests/host/skin_file_test_support.h"
#include "tools/mkskin/skin_archive_writer.h"
#include "tools/mkskin/skin_container_writer.h"

namespace {

using graphics::TBitmap;
using graphics::TColor;
using graphics::TRect;
using skin::TsuiTitleBarButton;
using skin::TsuiTitleBarButtons;
using skin::TsuiTitleBarSection;
using skin::TsuiTitleBarSections;
using testing_support::Filled;

// ---------------------------------------------------------------------------
// Fakes

// Frame f (1-based) of a fake title button strip is filled with this colour.
TColor FrameColour(int frame, int theme_marker) {
  return static_cast<TColor>(frame * 10) | (static_cast<TColor>(theme_marker) << 16);
}
constexpr int kFrameW = 16, kFrameH = 14;

// Pictures by name: a strip of 18 frames for every *_TITLEBTN, solid
// section pictures of known sizes; the theme's marker is in their blue.
TBitmap FakePictures(const std::string& name) {
  const int marker = name.rfind("MACOS", 0) == 0 ? 1 : name.rfind("PROTEIN", 0) == 0 ? 4 : 3;
  if (name.find("_TITLEBTN") != std::string::npos) {
    TBitmap strip(kFrameW * skin::kTitleButtonFrames, kFrameH);
    for (int f = 1; f <= skin::kTitleButtonFrames; ++f)
      for (int y = 0; y < kFrameH; ++y)
        for (int x = 0; x < kFrameW; ++x)
          strip.SetPixel((f - 1) * kFrameW + x, y, FrameColour(f, marker));
    return strip;
  }
  if (name.find("_TITLE_LEFT") != std::string::npos) return Filled(20, 24, 0x0000A0 | marker << 16);
  if (name.find("_TITLE_RIGHT") != std::string::npos)
    return Filled(15, 24, 0x00A000 | marker << 16);
  if (name.find("_TITLE_CLIENT") != std::string::npos)
    return Filled(4, 24, 0x00A0A0 | marker << 16);
  throw base::Error("Resource " + name + " not found");
}
const bool kFakePicturesInstalled = (skin::SetPictureLoader(&FakePictures), true);

// The title bar as the items see it.
class FakeBar : public skin::TsuiTitleBarItemsHost {
public:
  void TitleBarItemsChanged() override { ++changes; }
  bool HostMaximised() const override { return maximised; }
  const skin::TsuiFileTheme* TitleBarFileTheme() const override { return file_theme; }
  void WatchMenu(framework::TPopupMenu* menu) override { watched.push_back(menu); }

  int changes = 0;
  bool maximised = false;
  const skin::TsuiFileTheme* file_theme = nullptr;
  std::vector<framework::TPopupMenu*> watched;
};

// Collects the error dialogs instead of showing them.
class ScopedErrorDialogs {
public:
  ScopedErrorDialogs()
      : previous_(
            skin::SetTitleBarErrorDialog([this](const std::string& t) { shown.push_back(t); })) {}
  ~ScopedErrorDialogs() { skin::SetTitleBarErrorDialog(previous_); }
  std::vector<std::string> shown;

private:
  skin::TTitleBarErrorDialog previous_;
};

// Buttons of the given types with theme pictures (DeepBlue).
void AddButtons(TsuiTitleBarButtons& buttons,
                std::initializer_list<skin::TsuiTitleBarBtnType> types) {
  for (auto type : types) buttons.Add().SetButtonType(type);
}

std::vector<std::string> OwnNames(const framework::TClassInfo& info) {
  std::vector<std::string> names;
  for (const auto& p : info.OwnProperties()) names.push_back(p.Name());
  return names;
}

// ---------------------------------------------------------------------------
// The toolkit's collection

class Numbers;
class Number : public framework::TCollectionItem {
public:
  explicit Number(framework::TCollection& c) : TCollectionItem(c) {}
  void Assign(const TCollectionItem& source) override {
    value = static_cast<const Number&>(source).value;
  }
  void Set(int v) {
    value = v;
    Changed();
  }
  int value = 0;
};
class Numbers : public framework::TTypedCollection<Number> {
public:
  std::vector<int> updates;  // index of the changed item, -1 for the list
protected:
  std::unique_ptr<framework::TCollectionItem> NewItem() override {
    return std::make_unique<Number>(*this);
  }
  void Update(framework::TCollectionItem* item) override {
    updates.push_back(item ? item->Index() : -1);
  }
};

TEST(Collection, ItemsKnowTheirPlaceAndOutOfRangeIsAnError) {
  Numbers list;
  for (int i = 0; i < 3; ++i) list.Add().value = i * 10;
  EXPECT_EQ(list.Items(2).Index(), 2);
  list.Delete(0);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0).value, 10);
  EXPECT_EQ(list.Items(1).Index(), 1);
  EXPECT_THROW(list.Item(2), base::Error);
  EXPECT_THROW(list.Delete(-1), base::Error);
  EXPECT_EQ(&list.Items(1).Collection(), &list);
}

TEST(Collection, ChangesAreAnnouncedAndBatchedBetweenBeginAndEndUpdate) {
  Numbers list;
  list.Add();
  list.Add();
  list.Items(1).Set(5);
  EXPECT_EQ(list.updates, (std::vector<int>{-1, -1, 1}));
  list.updates.clear();
  list.BeginUpdate();
  list.Items(0).Set(1);
  list.Add();
  list.BeginUpdate();
  list.Clear();
  list.EndUpdate();
  EXPECT_TRUE(list.updates.empty());
  list.EndUpdate();
  EXPECT_EQ(list.updates, (std::vector<int>{-1}));
  list.updates.clear();
  list.BeginUpdate();
  list.EndUpdate();  // nothing changed: nothing announced
  EXPECT_TRUE(list.updates.empty());
}

TEST(Collection, AssignCopiesEveryItemIntoFreshItems) {
  Numbers a, b;
  a.Add().value = 7;
  a.Add().value = 8;
  b.Add().value = 99;
  b.Add();
  b.Add();
  b.Assign(a);
  ASSERT_EQ(b.Count(), 2);
  EXPECT_EQ(b.Items(0).value, 7);
  EXPECT_EQ(b.Items(1).value, 8);
  EXPECT_NE(&b.Items(0), &a.Items(0));
  EXPECT_EQ(b.updates.back(), -1);
}

// ---------------------------------------------------------------------------
// Sections and buttons: values and the refused assignments

TEST(TitleBarItems, OnlyOneSectionMayBeClientAlignedAndItStaysStretched) {
  ScopedErrorDialogs dialogs;
  FakeBar bar;
  TsuiTitleBarSections sections(&bar);
  TsuiTitleBarSection& first = sections.Add();
  TsuiTitleBarSection& second = sections.Add();
  first.SetAlign(skin::suiClient);
  EXPECT_TRUE(first.Stretch());
  EXPECT_TRUE(dialogs.shown.empty());
  first.SetStretch(false);
  EXPECT_TRUE(first.Stretch());

  second.SetAlign(skin::suiRight);
  second.SetAlign(skin::suiClient);
  EXPECT_EQ(second.Align(), skin::suiRight);
  EXPECT_FALSE(second.Stretch());
  first.SetAlign(skin::suiClient);  // again on the one that has it: refused too
  EXPECT_EQ(first.Align(), skin::suiClient);
  EXPECT_EQ(dialogs.shown,
            (std::vector<std::string>(
                2, "Sorry, only one section's Align property can be \"suiClient\"")));

  first.SetAlign(skin::suiLeft);  // leaving suiClient frees it for another
  second.SetAlign(skin::suiClient);
  EXPECT_EQ(second.Align(), skin::suiClient);
  EXPECT_EQ(dialogs.shown.size(), 2u);
  EXPECT_GT(bar.changes, 0);
}

TEST(TitleBarItems, PictureAndAutoSizeSetTheWidthOnlyWhenThereIsAPicture) {
  TsuiTitleBarSections sections(nullptr);
  TsuiTitleBarSection& s = sections.Add();
  EXPECT_EQ(s.Width(), 10);
  s.SetAutoSize(true);
  EXPECT_EQ(s.Width(), 10);  // no picture yet
  s.SetPicture(Filled(33, 5, 0));
  EXPECT_EQ(s.Width(), 33);
  s.SetWidth(12);
  s.SetAutoSize(true);
  EXPECT_EQ(s.Width(), 33);
  s.SetAutoSize(false);
  s.SetPicture(Filled(40, 5, 0));
  EXPECT_EQ(s.Width(), 33);
}

TEST(TitleBarItems, OnlyOneButtonMayBeTheControlBox) {
  ScopedErrorDialogs dialogs;
  TsuiTitleBarButtons buttons(nullptr);
  TsuiTitleBarButton& box = buttons.Add();
  TsuiTitleBarButton& other = buttons.Add();
  EXPECT_EQ(box.ButtonType(), skin::suiCustom);
  box.SetButtonType(skin::suiControlBox);
  other.SetButtonType(skin::suiHelp);
  other.SetButtonType(skin::suiControlBox);
  EXPECT_EQ(other.ButtonType(), skin::suiHelp);
  box.SetButtonType(skin::suiControlBox);
  EXPECT_EQ(box.ButtonType(), skin::suiControlBox);
  EXPECT_EQ(dialogs.shown,
            (std::vector<std::string>(
                2, "Sorry, only one button's ButtonType property can be \"suiControlBox\"")));
}

TEST(TitleBarItems, EachButtonTypeShowsItsThreeFramesOfTheStrip) {
  FakeBar bar;
  TsuiTitleBarButtons buttons(&bar);
  TsuiTitleBarButton& b = buttons.Add();
  b.SetTransparent(true);
  b.SetTop(77);
  struct Case {
    skin::TsuiTitleBarBtnType type;
    bool maximised;
    int first;
  } cases[] = {{skin::suiControlBox, false, 1}, {skin::suiHelp, false, 4},
               {skin::suiMax, false, 7},        {skin::suiMax, true, 10},
               {skin::suiMin, true, 13},        {skin::suiClose, false, 16}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first);
    bar.maximised = c.maximised;
    b.SetButtonType(c.type);
    ASSERT_EQ(b.PicNormal().Width(), kFrameW);
    EXPECT_EQ(b.PicNormal().Pixel(0, 0), FrameColour(c.first, 3));
    EXPECT_EQ(b.PicMouseOn().Pixel(kFrameW - 1, 0), FrameColour(c.first + 1, 3));
    EXPECT_EQ(b.PicMouseDown().Pixel(0, kFrameH - 1), FrameColour(c.first + 2, 3));
    // DeepBlue: entry 6 (not transparent), entry 9 (top 2).
    EXPECT_FALSE(b.Transparent());
    EXPECT_EQ(b.Top(), 2);
    b.SetButtonType(skin::suiCustom);  // so that the control box may come again
  }
  // The style reloads; a custom button keeps what the user gave it.
  b.SetButtonType(skin::suiMin);
  b.SetUIStyle(skin::MacOS);
  EXPECT_EQ(b.PicNormal().Pixel(0, 0), FrameColour(13, 1));
  EXPECT_EQ(b.Top(), 4);
  b.SetButtonType(skin::suiCustom);
  b.SetPicNormal(Filled(3, 3, 0x123456));
  b.SetUIStyle(skin::Protein);
  EXPECT_EQ(b.PicNormal().Pixel(0, 0), 0x123456u);
}

TEST(TitleBarItems, AControlBoxMenuIsWatchedAndClearedWhenItGoes) {
  FakeBar bar;
  TsuiTitleBarButtons buttons(&bar);
  TsuiTitleBarButton& b = buttons.Add();
  framework::TComponent owner(nullptr);
  auto* menu = new framework::TPopupMenu(&owner);
  b.SetControlBoxMenu(menu);
  EXPECT_EQ(bar.watched, (std::vector<framework::TPopupMenu*>{menu}));
  b.MenuGone(&owner);
  EXPECT_EQ(b.ControlBoxMenu(), menu);
  b.MenuGone(menu);
  EXPECT_EQ(b.ControlBoxMenu(), nullptr);
}

TEST(TitleBarItems, PublishedPropertiesInTheirOrder) {
  EXPECT_EQ(
      OwnNames(TsuiTitleBarSection::StaticClassInfo()),
      (std::vector<std::string>{"AutoSize", "Width", "Align", "Picture", "Stretch", "CapSec"}));
  EXPECT_EQ(
      OwnNames(TsuiTitleBarButton::StaticClassInfo()),
      (std::vector<std::string>{"UIStyle", "ButtonType", "Transparent", "Top", "ControlBoxMenu",
                                "Visible", "PicNormal", "PicMouseOn", "PicMouseDown"}));
  const auto* align = TsuiTitleBarSection::StaticClassInfo().FindProperty("Align");
  ASSERT_NE(align, nullptr);
  EXPECT_EQ(align->EnumInfo()->ValueOf("suiClient"), skin::suiClient);
}

// ---------------------------------------------------------------------------
// The window menu

TEST(TitleBarMenu, CaptionsAndEnablingByVisibleButtons) {
  framework::TComponent owner(nullptr);
  skin::TsuiTitleBarPopupMenu menu(&owner);
  ASSERT_EQ(menu.Items()->Count(), 4);
  // 最小化(&N), 最大化/还原(&X), -, 关闭(&C) in GBK.
  EXPECT_EQ(menu.Items()->Items(0)->Caption(), "\xD7\xEE\xD0\xA1\xBB\xAF(&N)");
  EXPECT_EQ(menu.Items()->Items(1)->Caption(), "\xD7\xEE\xB4\xF3\xBB\xAF/\xBB\xB9\xD4\xAD(&X)");
  EXPECT_TRUE(menu.Items()->Items(2)->IsLine());
  EXPECT_EQ(menu.Items()->Items(3)->Caption(), "\xB9\xD8\xB1\xD5(&C)");
  EXPECT_TRUE(menu.OwnerDraw());
  EXPECT_TRUE(static_cast<bool>(menu.Items()->Items(0)->OnDrawItem));

  TsuiTitleBarButtons buttons(nullptr);
  AddButtons(buttons, {skin::suiControlBox, skin::suiClose, skin::suiMax, skin::suiMin});
  buttons.Items(3).SetVisible(false);
  menu.EnableFor(buttons);
  EXPECT_FALSE(menu.MinimiseItem()->Enabled());
  EXPECT_TRUE(menu.MaximiseItem()->Enabled());
  EXPECT_TRUE(menu.CloseItem()->Enabled());
  buttons.Items(3).SetVisible(true);
  buttons.Items(1).SetVisible(false);
  buttons.Items(2).SetButtonType(skin::suiHelp);
  menu.EnableFor(buttons);
  EXPECT_TRUE(menu.MinimiseItem()->Enabled());
  EXPECT_FALSE(menu.MaximiseItem()->Enabled());
  EXPECT_FALSE(menu.CloseItem()->Enabled());
}

// ---------------------------------------------------------------------------
// Themes

TEST(TitleBarTheme, BuiltInThemeGivesThreeSectionsAndItsNumbers) {
  TsuiTitleBarSections sections(nullptr);
  sections.Add().SetCapSec(true);  // replaced
  skin::TTitleBarMetrics m;
  m.CaptionTop = 41;  // a built-in theme leaves it
  skin::ApplyTitleBarTheme(skin::WinXP, nullptr, false, 4, sections, m);
  ASSERT_EQ(sections.Count(), 3);
  EXPECT_EQ(sections.Items(0).Align(), skin::suiLeft);
  EXPECT_TRUE(sections.Items(0).AutoSize());
  EXPECT_EQ(sections.Items(0).Width(), 20);
  EXPECT_FALSE(sections.Items(0).CapSec());
  EXPECT_EQ(sections.Items(1).Align(), skin::suiRight);
  EXPECT_EQ(sections.Items(1).Width(), 15);
  EXPECT_EQ(sections.Items(2).Align(), skin::suiClient);
  EXPECT_TRUE(sections.Items(2).Stretch());
  EXPECT_FALSE(sections.Items(2).AutoSize());
  // WinXP: entries 7, 8, 9, 13, 14.
  EXPECT_EQ(m.LeftBtnXOffset, 2);
  EXPECT_EQ(m.RightBtnXOffset, -2);
  EXPECT_EQ(m.ButtonsTop, 5);
  EXPECT_EQ(m.IconTop, 5);
  EXPECT_EQ(m.ButtonsHeight, kFrameH);
  EXPECT_EQ(m.MinWidth, 150);
  EXPECT_EQ(m.MinHeight, 50);
  EXPECT_EQ(m.RoundCorner, 13);
  EXPECT_EQ(m.CaptionTop, 41);

  skin::ApplyTitleBarTheme(skin::WinXP, nullptr, true, 4, sections, m);
  EXPECT_EQ(m.ButtonsTop, 2);  // a skinned form draws the bar 3 pixels higher
  EXPECT_EQ(m.IconTop, 2);

  EXPECT_EQ(skin::TitleCaptionColour(skin::MacOS, nullptr), graphics::clBlack);
  EXPECT_EQ(skin::TitleCaptionColour(skin::BlueGlass, nullptr), graphics::clWhite);
}

class TitleBarFileTheme : public testing_support::ScratchDirTest {
protected:
  // A skin with the title pictures 0..4, the button strip, colours 0..2,
  // integers 0..4 and the five-sections flag.
  std::string SkinFile(bool five_sections) {
    std::vector<mkskin::SkinEntry> e;
    const char* pictures[] = {"SKIN2_TITLEBAR1", "SKIN2_TITLEBAR2", "SKIN2_TITLEBAR3",
                              "SKIN2_TITLEBAR4", "SKIN2_TITLEBAR5"};
    const int widths[] = {30, 8, 25, 6, 40};
    for (int i = 0; i < 5; ++i)
      e.push_back(mkskin::BitmapEntry(pictures[i], testing_support::BmpFile(widths[i], 26, 24, i)));
    // 18 frames of 20 x 18.
    e.push_back(mkskin::BitmapEntry("SKIN2_TITLEBUTTONS", testing_support::BmpFile(360, 18)));
    e.push_back(mkskin::IntegerEntry("SKIN2_TRANSCOLOR", 0x00FF00));
    e.push_back(mkskin::IntegerEntry("SKIN2_TITLEFONTCOLOR", 0x334455));
    e.push_back(mkskin::IntegerEntry("SKIN2_FORMCOLOR", 0x0000FF));
    e.push_back(mkskin::IntegerEntry("SKIN2_TITLEBARICONPOSX", 5));
    e.push_back(mkskin::IntegerEntry("SKIN2_TITLEBARICONPOSY", 6));
    e.push_back(mkskin::IntegerEntry("SKIN2_TITLEBARCAPTIONTOP", 7));
    e.push_back(mkskin::IntegerEntry("SKIN2_TITLEBARBUTTONPOSX", 8));
    e.push_back(mkskin::IntegerEntry("SKIN2_TITLEBARBUTTONPOSY", 9));
    e.push_back(mkskin::BooleanEntry("SKIN2_TITLEFIVESECT", five_sections ? 1 : 0));
    e.push_back(mkskin::BooleanEntry("SKIN2_TITLEBTNTRANS", 1));
    const base::Bytes bytes =
        mkskin::WriteSkinArchive("SKINDATA.SK2", mkskin::WriteContainer(e), {});
    const std::string path = (dir / "title.skn").string();
    base::NativeFileSystem().WriteWholeFile(path, bytes);
    return path;
  }
};

TEST_F(TitleBarFileTheme, FiveSectionsCarryTheCaptionAndSizeTheForm) {
  framework::TComponent owner(nullptr);
  auto* theme = new skin::TsuiFileTheme(&owner);
  theme->SetThemeFile(SkinFile(true));
  ASSERT_TRUE(theme->Ready());
  TsuiTitleBarSections sections(nullptr);
  skin::TTitleBarMetrics m;
  skin::ApplyTitleBarTheme(skin::DeepBlue, theme, true, 4, sections, m);
  ASSERT_EQ(sections.Count(), 5);
  EXPECT_TRUE(sections.Items(1).CapSec());
  EXPECT_EQ(sections.Items(1).Align(), skin::suiLeft);
  EXPECT_EQ(sections.Items(2).Align(), skin::suiLeft);
  EXPECT_EQ(sections.Items(2).Width(), 25);
  EXPECT_EQ(sections.Items(3).Align(), skin::suiClient);
  EXPECT_EQ(sections.Items(4).Align(), skin::suiRight);
  EXPECT_EQ(sections.Items(4).Width(), 40);
  EXPECT_TRUE(m.FiveSections);
  EXPECT_EQ(m.TransColor, 0x00FF00u);
  EXPECT_EQ(m.BackColor, 0x0000FFu);
  EXPECT_EQ(m.LeftBtnXOffset, 5);
  EXPECT_EQ(m.RightBtnXOffset, 8);
  EXPECT_EQ(m.CaptionTop, 7);
  EXPECT_EQ(m.ButtonsTop, 9 - 3);
  EXPECT_EQ(m.IconTop, 6 - 3);
  EXPECT_EQ(m.ButtonsHeight, 18);
  // 30 + 25 + max(40, 20 * 4 + 8) + 16
  EXPECT_EQ(m.MinWidth, 30 + 25 + 88 + 16);
  EXPECT_EQ(skin::TitleCaptionColour(skin::FromThemeFile, theme), 0x334455u);

  // The buttons take the file's strip, flag and top.
  FakeBar bar;
  bar.file_theme = theme;
  TsuiTitleBarButtons buttons(&bar);
  TsuiTitleBarButton& close = buttons.Add();
  close.SetUIStyle(skin::FromThemeFile);
  close.SetButtonType(skin::suiClose);
  EXPECT_EQ(close.PicNormal().Width(), 20);
  EXPECT_TRUE(close.Transparent());
  EXPECT_EQ(close.Top(), 9);
  TBitmap frame16;
  theme->CopyPicture(11, frame16, 18, 16);
  EXPECT_EQ(close.PicNormal().Pixel(3, 4), frame16.Pixel(3, 4));
}

TEST_F(TitleBarFileTheme, ThreeSectionsPutTheSecondInTheMiddle) {
  framework::TComponent owner(nullptr);
  auto* theme = new skin::TsuiFileTheme(&owner);
  theme->SetThemeFile(SkinFile(false));
  ASSERT_TRUE(theme->Ready());
  TsuiTitleBarSections sections(nullptr);
  skin::TTitleBarMetrics m;
  skin::ApplyTitleBarTheme(skin::DeepBlue, theme, false, 2, sections, m);
  ASSERT_EQ(sections.Count(), 3);
  EXPECT_EQ(sections.Items(1).Align(), skin::suiClient);
  EXPECT_FALSE(sections.Items(1).CapSec());
  EXPECT_EQ(sections.Items(2).Align(), skin::suiRight);
  EXPECT_EQ(m.ButtonsTop, 9);
  // 30 + max(25, 20 * 2 + 8)
  EXPECT_EQ(m.MinWidth, 30 + 48);
}

// ---------------------------------------------------------------------------
// Buttons from the right, and the caption

TEST(TitleBarLayout, ButtonsGoFromTheRightAndTheCloseButtonTakesNoGap) {
  TsuiTitleBarButtons buttons(nullptr);
  AddButtons(buttons, {skin::suiControlBox, skin::suiClose, skin::suiMax, skin::suiMin});
  auto l = skin::LayoutTitleButtons(buttons, 200, 0, 0, 2, 3);
  EXPECT_EQ(l.ControlBox, 0);
  EXPECT_EQ(l.Rects[0], TRect{});
  EXPECT_EQ(l.Rects[1], (TRect{183, 3, 199, 3 + kFrameH}));  // 199 - 16
  EXPECT_EQ(l.Rects[2].Left, 183 - (16 + 2 + 1));
  EXPECT_EQ(l.Rects[3].Left, 164 - 19);
  EXPECT_EQ(l.Left, 145);

  // A negative right offset would push the close button out: it stays one
  // pixel inside. The border answer moves the start right as well.
  l = skin::LayoutTitleButtons(buttons, 200, 4, -2, 0, 0);
  EXPECT_EQ(l.Rects[1].Left, 183);
  EXPECT_EQ(l.Rects[2].Left, 183 - 17);

  // Hidden buttons and buttons without all three pictures leave no gap.
  buttons.Items(2).SetVisible(false);
  buttons.Items(3).SetPicMouseDown(TBitmap());
  l = skin::LayoutTitleButtons(buttons, 200, 0, 0, 2, 3);
  EXPECT_EQ(l.Rects[2], TRect{});
  EXPECT_EQ(l.Rects[3], TRect{});
  EXPECT_EQ(l.Left, 183);
  // A custom button follows the same rule as a maximise button.
  buttons.Add().SetPicNormal(Filled(10, 10, 0));
  buttons.Items(4).SetPicMouseOn(Filled(10, 10, 0));
  buttons.Items(4).SetPicMouseDown(Filled(10, 10, 0));
  l = skin::LayoutTitleButtons(buttons, 200, 0, 0, 2, 3);
  EXPECT_EQ(l.Rects[4].Left, 183 - 13);
  EXPECT_EQ(skin::TotalButtonWidth(buttons, 2), 4 * 18 + 12);
}

TEST(TitleBarLayout, CaptionIsShortenedByWholeCharactersBeforeTheDots) {
  testing_support::ScopedFixedCellText text;  // 7 pixels a byte
  TBitmap b(10, 10);
  graphics::TCanvas canvas(b);
  EXPECT_EQ(skin::ShortenTitleCaption(canvas, "ABCDEFGHIJ", 70), "ABCDEFGHIJ");
  EXPECT_EQ(skin::ShortenTitleCaption(canvas, "ABCDEFGHIJ", 69), "ABCDEF...");
  EXPECT_EQ(skin::ShortenTitleCaption(canvas, "ABCDEFGHIJ", 63), "ABCDEF...");
  EXPECT_EQ(skin::ShortenTitleCaption(canvas, "ABCDEFGHIJ", 62), "ABCDE...");
  // 中文AB: a double-byte character goes whole.
  EXPECT_EQ(skin::ShortenTitleCaption(canvas,
                                      "\xD6\xD0\xCE\xC4"
                                      "AB",
                                      42),
            "\xD6\xD0\xCE\xC4"
            "AB");
  EXPECT_EQ(skin::ShortenTitleCaption(canvas,
                                      "\xD6\xD0\xCE\xC4"
                                      "AB",
                                      41),
            "\xD6\xD0...");
  EXPECT_EQ(skin::ShortenTitleCaption(canvas,
                                      "\xD6\xD0\xCE\xC4"
                                      "AB",
                                      10),
            "...");
  EXPECT_EQ(skin::ShortenTitleCaption(canvas, "", 0), "");
}

// ---------------------------------------------------------------------------
// Painting

class TitleBarPaint : public ::testing::Test {
protected:
  TitleBarPaint() {
    AddButtons(buttons, {skin::suiControlBox, skin::suiClose, skin::suiMax, skin::suiMin});
    in.Width = 200;
    in.Height = 24;
    in.Sections = &sections;
    in.Buttons = &buttons;
    in.Background = 0x010203;
    in.Font.Color = 0xFFFFFF;
    skin::ApplyTitleBarTheme(skin::DeepBlue, nullptr, false, 4, sections, in.Metrics);
  }
  testing_support::ScopedFixedCellText text_;
  TsuiTitleBarSections sections{nullptr};
  TsuiTitleBarButtons buttons{nullptr};
  skin::TTitleBarPaintInput in;
  skin::TTitleBarPaintResult out;
};

TEST_F(TitleBarPaint, SectionsLeftRightAndTheClientStretchedBetween) {
  skin::PaintTitleBar(in, out);
  ASSERT_EQ(out.Bar.Width(), 200);
  EXPECT_EQ(out.TitleImage.Width(), 200);
  EXPECT_EQ(out.TitleImage.Height(), 24);
  const int y = 23;  // below the buttons and the caption
  EXPECT_EQ(out.Bar.Pixel(0, y), 0x0300A0u);
  EXPECT_EQ(out.Bar.Pixel(19, y), 0x0300A0u);
  EXPECT_EQ(out.Bar.Pixel(20, y), 0x03A0A0u);
  EXPECT_EQ(out.Bar.Pixel(184, y), 0x03A0A0u);
  EXPECT_EQ(out.Bar.Pixel(185, y), 0x03A000u);
  EXPECT_EQ(out.Bar.Pixel(199, y), 0x03A000u);
  EXPECT_EQ(out.TitleImage.Pixel(100, 5), 0x03A0A0u);  // no buttons, no caption
  EXPECT_EQ(out.FrameImage.Pixel(100, 5), 0x03A0A0u);
  EXPECT_TRUE(out.SectionCaption.empty());
  EXPECT_EQ(out.HotButton, -1);
}

TEST_F(TitleBarPaint, OnASkinnedFormTheBarIsDrawnFromUnderTheFrame) {
  in.OnSkinnedForm = true;
  in.Border = 4;
  // The left section shows where it starts: a coordinate picture.
  sections.Items(0).SetPicture(testing_support::CoordBitmap(20, 24));
  skin::PaintTitleBar(in, out);
  EXPECT_EQ(out.TitleImage.Width(), 208);
  EXPECT_EQ(out.TitleImage.Height(), 27);
  EXPECT_EQ(out.TitleImage.Pixel(0, 0), testing_support::Coord(0, 0));
  EXPECT_EQ(out.Bar.Pixel(0, 0), testing_support::Coord(4, 3));
  // The right section ends at the bar's width + 4: its last column is cut.
  EXPECT_EQ(out.TitleImage.Pixel(207, 0), 0x03A000u);
  EXPECT_EQ(skin::TitleBarOrigin(true, 0), (graphics::TPoint{-3, -3}));
  EXPECT_EQ(skin::TitleBarOrigin(false, 9), (graphics::TPoint{0, 0}));
}

TEST_F(TitleBarPaint, FrameImageShowsBackColorWhereTheTitleIsSeeThrough) {
  in.Metrics.TransColor = 0x00A000 | 3 << 16;  // the right section's colour
  in.Metrics.BackColor = 0x445566;
  sections.Delete(2);  // no client section: the middle stays see-through
  skin::PaintTitleBar(in, out);
  EXPECT_EQ(out.TitleImage.Pixel(100, 23), in.Metrics.TransColor);
  EXPECT_EQ(out.FrameImage.Pixel(100, 23), 0x445566u);
  // The right section is drawn over BackColor with TransColor left out.
  EXPECT_EQ(out.Bar.Pixel(190, 23), 0x445566u);
  EXPECT_EQ(out.FrameImage.Pixel(190, 23), 0x445566u);
  EXPECT_EQ(out.FrameImage.Pixel(5, 23), 0x0300A0u);
}

TEST_F(TitleBarPaint, TheButtonUnderTheMouseIsHotAndShowsItsStatePicture) {
  in.Metrics.ButtonsTop = 2;
  in.MouseOver = true;
  in.Mouse = {183 + 16, 2 + kFrameH};  // right and bottom edges count as inside
  skin::PaintTitleBar(in, out);
  EXPECT_EQ(out.HotButton, 1);
  EXPECT_EQ(out.Bar.Pixel(190, 5), FrameColour(17, 3));  // close, mouse-over
  EXPECT_EQ(out.Bar.Pixel(170, 5), FrameColour(7, 3));   // max, normal
  in.Pressed = true;
  skin::PaintTitleBar(in, out);
  EXPECT_EQ(out.Bar.Pixel(190, 5), FrameColour(18, 3));
  in.Mouse = {100, 5};
  skin::PaintTitleBar(in, out);
  EXPECT_EQ(out.HotButton, -1);
  EXPECT_EQ(out.Bar.Pixel(190, 5), FrameColour(16, 3));
  // The control box: the icon's place in the left area is hot too.
  in.Mouse = {3 + 5, 2 + 5};
  skin::PaintTitleBar(in, out);
  EXPECT_EQ(out.HotButton, 0);
  EXPECT_EQ(out.ControlBoxRect, (TRect{3, 2, 19, 18}));
}

TEST_F(TitleBarPaint, CaptionStartsAfterTheIconAndEndsInDotsBeforeTheButtons) {
  in.Metrics.ButtonsTop = 2;
  in.Caption = "A rather long caption";  // 21 bytes = 147 pixels
  in.Width = 300;
  skin::PaintTitleBar(in, out);
  // Left area: max(0, 0 - 0 - 3) = 0, the icon moves it to 21.
  EXPECT_EQ(out.CaptionAt, (graphics::TPoint{21, 2}));
  EXPECT_EQ(out.CaptionText, "A rather long caption");
  EXPECT_EQ(out.Bar.Pixel(21, 2), 0xFFFFFFu);

  in.Width = 150;  // buttons start at 149 - 16 - 17 - 17 = 99: 78 pixels for the caption
  skin::PaintTitleBar(in, out);
  EXPECT_EQ(out.Buttons.Left, 99);
  EXPECT_EQ(out.CaptionText, "A rather...");
  EXPECT_LE(21 + static_cast<int>(out.CaptionText.size()) * 7, 99);

  in.FormActive = false;
  in.InactiveCaptionColor = 0x405060;
  in.DrawAppIcon = false;  // the control box picture instead: 16 + 5
  skin::PaintTitleBar(in, out);
  EXPECT_EQ(out.CaptionAt.X, 21);
  EXPECT_EQ(out.Bar.Pixel(21, 2), 0x405060u);
  EXPECT_EQ(out.Bar.Pixel(5, 5), FrameColour(1, 3));

  // Reading right to left, the caption ends 10 pixels before the buttons.
  in.RightToLeft = true;
  in.Width = 300;
  in.Caption = "Short";
  skin::PaintTitleBar(in, out);
  EXPECT_EQ(out.CaptionAt.X, out.Buttons.Left - 10 - 35);
  // Protein puts the caption 3 lower.
  in.Theme = skin::Protein;
  skin::PaintTitleBar(in, out);
  EXPECT_EQ(out.CaptionAt.Y, 5);
}

TEST_F(TitleBarPaint, ACaptionSectionIsStretchedOverTheShortenedCaption) {
  sections.Clear();
  sections.Add().SetPicture(Filled(20, 24, 0x0000A0));
  sections.Items(0).SetAutoSize(true);
  sections.Add().SetPicture(Filled(4, 24, 0x00A000));
  sections.Items(1).SetCapSec(true);
  sections.Add().SetPicture(Filled(4, 24, 0xA00000));
  sections.Items(2).SetAlign(skin::suiClient);
  in.Metrics.LeftBtnXOffset = 6;
  in.Metrics.ButtonsTop = 2;
  in.Caption = "Title";  // 35 pixels
  skin::PaintTitleBar(in, out);
  EXPECT_TRUE(out.CaptionSectionDrawn);
  EXPECT_EQ(out.SectionCaption, "Title");
  EXPECT_EQ(out.CaptionText, "Title");
  // 35 + 6 - 20 + 17 = 38 pixels from x 20.
  EXPECT_EQ(out.Bar.Pixel(20, 23), 0x00A000u);
  EXPECT_EQ(out.Bar.Pixel(57, 23), 0x00A000u);
  EXPECT_EQ(out.Bar.Pixel(58, 23), 0xA00000u);

  // The caption's room: 200 - 6 - 4 * 16 - 4 (next section) - 21 = 105.
  in.Caption = std::string(20, 'W');  // 140 pixels
  skin::PaintTitleBar(in, out);
  ASSERT_GE(out.SectionCaption.size(), 3u);
  EXPECT_EQ(out.SectionCaption.substr(out.SectionCaption.size() - 3), "...");
  EXPECT_EQ(out.SectionCaption, std::string(12, 'W') + "...");  // the first to reach 105
}

TEST_F(TitleBarPaint, ASectionWithoutPictureDrawsNothingAndTakesNoRoom) {
  sections.Items(0).SetPicture(TBitmap());
  skin::PaintTitleBar(in, out);
  EXPECT_EQ(out.Bar.Pixel(0, 23), 0x03A0A0u);  // the client section starts at 0
}

}  // namespace
