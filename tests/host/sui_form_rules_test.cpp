// The skinned form's portable rules: the native frame's clamping, the
// client rectangle of WM_NCCALCSIZE and the title bar's border query for
// built-in and file metrics, what a style sets, the window region from
// pictures (exact rectangles, and the same pixels as the picture says) and
// for built-in themes (the shape list), the bottom border and title frame
// pieces pixel by pixel, the maximised placement, and the menu bar's
// colour choices.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/graphics/bmp_codec.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_form_rules.h"
#include "tests/host/graphics_test_support.h"
#include "tests/host/skin_file_test_support.h"
#include "tools/mkskin/skin_archive_writer.h"
#include "tools/mkskin/skin_container_writer.h"

namespace {

using framework::TComponent;
using graphics::TBitmap;
using graphics::TCanvas;
using graphics::TColor;
using graphics::TRect;
using skin::TRegionShape;
using skin::TsuiFormLook;
using skin::TsuiFormMetrics;
using testing_support::Coord;
using testing_support::CoordBitmap;
using testing_support::Filled;

constexpr TColor kTrans = 0x00FF00;  // a skin's TransColor other than magenta
constexpr TColor kPaper = 0x123456;  // what the window showed before

// ---------------------------------------------------------------------------
// Native frame and non-client geometry

TEST(FormMetrics, FrameThicknessOutsideZeroToTwelveBecomesFour) {
  EXPECT_EQ(skin::ClampFrameThickness(-1), 4);
  EXPECT_EQ(skin::ClampFrameThickness(0), 0);
  EXPECT_EQ(skin::ClampFrameThickness(12), 12);
  EXPECT_EQ(skin::ClampFrameThickness(13), 4);

  TsuiFormMetrics m;
  // A sizeable window: 8 pixels of frame at the bottom, 6 at the left.
  skin::MeasureNativeFrame(m, {100, 50, 400, 350}, {106, 80, 394, 342});
  EXPECT_EQ(m.FrameBottom, 8);
  EXPECT_EQ(m.FrameLeft, 6);
  // Not laid out yet: the client rectangle says nothing useful.
  skin::MeasureNativeFrame(m, {100, 50, 400, 350}, {0, 0, 0, 0});
  EXPECT_EQ(m.FrameBottom, 4);
  EXPECT_EQ(m.FrameLeft, 4);
}

TEST(FormMetrics, BuiltInClientRectangleDependsOnBorderWidthAndNativeFrame) {
  TsuiFormMetrics m;  // frame 4 and 4, no file metrics
  m.BorderWidth = 1;
  EXPECT_EQ(skin::NcClientRect(m, 100, 50, 300, 200), (TRect{100, 50, 400, 251}));
  m.BorderWidth = 2;
  EXPECT_EQ(skin::NcClientRect(m, 100, 50, 300, 200), (TRect{100, 50, 400, 250}));
  // Width 3 (WinXP) has a bottom of its own: not 250 + 4 - 3 - 2.
  m.BorderWidth = 3;
  EXPECT_EQ(skin::NcClientRect(m, 100, 50, 300, 200), (TRect{100, 50, 400, 250}));

  // A thicker native frame moves every edge out by the excess over 4; a
  // thinner one counts as 4.
  m.BorderWidth = 1;
  m.FrameBottom = 8;
  m.FrameLeft = 6;
  EXPECT_EQ(skin::NcClientRect(m, 100, 50, 300, 200), (TRect{98, 46, 402, 255}));
  m.FrameBottom = 2;
  m.FrameLeft = 0;
  EXPECT_EQ(skin::NcClientRect(m, 100, 50, 300, 200), (TRect{100, 50, 400, 251}));
}

TEST(FormMetrics, FileMetricsLeaveRoomForTheBorderPictures) {
  TsuiFormMetrics m;
  m.LeftBorderWidth = 6;
  m.RightBorderWidth = 2;  // narrower than 4: the frame still takes 4
  m.BottomBorderHeight = 10;
  m.BorderWidth = 3;  // ignored once a bottom picture exists
  EXPECT_EQ(skin::NcClientRect(m, 100, 50, 300, 200), (TRect{103, 50, 399, 243}));
  m.BottomBorderHeight = 2;
  EXPECT_EQ(skin::NcClientRect(m, 100, 50, 300, 200).Bottom, 249);

  // The left picture decides for both sides: without it the right one is
  // not looked at.
  m.LeftBorderWidth = 0;
  m.RightBorderWidth = 9;
  const TRect r = skin::NcClientRect(m, 100, 50, 300, 200);
  EXPECT_EQ(r.Left, 100);
  EXPECT_EQ(r.Right, 400);
}

TEST(FormMetrics, TitleBarQueryAnswersTheLeftBorder) {
  TsuiFormMetrics m;
  EXPECT_EQ(skin::TitleBarBorderAnswer(m), 3);  // FrameBottom - 1
  m.FrameBottom = 8;
  EXPECT_EQ(skin::TitleBarBorderAnswer(m), 7);
  m.LeftBorderWidth = 2;
  EXPECT_EQ(skin::TitleBarBorderAnswer(m), 4);
  m.LeftBorderWidth = 6;
  EXPECT_EQ(skin::TitleBarBorderAnswer(m), 6);
  EXPECT_EQ(skin::FormMinimumHeight(22, 27, 10), 62);
  EXPECT_EQ(skin::kTitleBarBorderQuery, 0x26C3u);
}

// ---------------------------------------------------------------------------
// A skin file with the form's items

class FormFileTheme : public testing_support::ScratchDirTest {
protected:
  static mkskin::SkinEntry Picture(const std::string& name, const TBitmap& b) {
    return mkskin::BitmapEntry(name, graphics::WriteBmp(b, 24));
  }

  // Colours 0-8 are 0x0A0A00 + item (TransColor is kTrans), border
  // pictures of the given sizes, region rows 1, 2, 0, 0.
  std::vector<mkskin::SkinEntry> Entries(int left_width, int right_width, int bottom_height,
                                         bool bottom_region = false) {
    std::vector<mkskin::SkinEntry> e;
    const char* colours[] = {"SKIN2_TRANSCOLOR",
                             "SKIN2_TITLEFONTCOLOR",
                             "SKIN2_FORMCOLOR",
                             "SKIN2_MENUBARSTARTCOLOR",
                             "SKIN2_MENUBARENDCOLOR",
                             "SKIN2_TOPSELECTEDMENUCOLOR",
                             "SKIN2_TOPSELECTEDMENUBORDERCOLOR",
                             "SKIN2_TOPSELECTEDMENUFONTCOLOR",
                             "SKIN2_TOPMENUFONTCOLOR"};
    for (int i = 0; i < 9; ++i) {
      e.push_back(mkskin::IntegerEntry(colours[i], i == 0 ? kTrans : 0x0A0A00 + i));
    }
    if (left_width > 0) e.push_back(Picture("SKIN2_FORMLEFTBORDER", CoordBitmap(left_width, 5)));
    if (right_width > 0)
      e.push_back(Picture("SKIN2_FORMRIGHTBORDER", CoordBitmap(right_width, 5)));
    if (bottom_height > 0)
      e.push_back(Picture("SKIN2_FORMBOTTOMBORDER1", CoordBitmap(9, bottom_height, 0x41)));
    e.push_back(mkskin::IntegerEntry("SKIN2_TITLEBARREGIONMINY", 1));
    e.push_back(mkskin::IntegerEntry("SKIN2_TITLEBARREGIONMAXY", 2));
    e.push_back(mkskin::IntegerEntry("SKIN2_BOTTOMREGIONMINY", 0));
    e.push_back(mkskin::IntegerEntry("SKIN2_BOTTOMREGIONMAXY", 0));
    e.push_back(mkskin::BooleanEntry("SKIN2_TITLEBARNEEDREGION", 1));
    e.push_back(mkskin::BooleanEntry("SKIN2_BOTTOMBORDERNEEDREGION", bottom_region ? 1 : 0));
    return e;
  }

  skin::TsuiFileTheme* Load(const std::vector<mkskin::SkinEntry>& entries) {
    mkskin::ArchiveOptions options;
    options.seed = 3;
    const base::Bytes bytes =
        mkskin::WriteSkinArchive("SKINDATA.SK2", mkskin::WriteContainer(entries), options);
    const std::string path = (dir / ("form" + std::to_string(files_++) + ".skn")).string();
    base::NativeFileSystem().WriteWholeFile(path, bytes);
    auto* theme = new skin::TsuiFileTheme(&owner_);
    theme->SetThemeFile(path);
    EXPECT_TRUE(theme->Ready());
    return theme;
  }

  TComponent owner_{nullptr};
  int files_ = 0;
};

TEST_F(FormFileTheme, FileThemeSetsColoursMetricsAndRowsAndKeepsTheBuiltInFrame) {
  skin::TsuiFileTheme* theme = Load(Entries(6, 7, 10));
  TsuiFormLook look;
  look.Metrics.FrameBottom = 8;
  skin::ApplyFormStyle(look, skin::WinXP, theme);  // a built-in style ignores the theme
  EXPECT_FALSE(look.UsesFileTheme);
  EXPECT_EQ(look.Metrics.BorderWidth, 3);
  EXPECT_EQ(look.BorderColor, 0xC82C00u);
  EXPECT_EQ(look.RoundCorner, 13);

  skin::ApplyFormStyle(look, skin::FromThemeFile, theme);
  EXPECT_TRUE(look.UsesFileTheme);
  EXPECT_EQ(look.Color, 0x0A0A02u);
  EXPECT_EQ(look.MenuBarColor, 0x0A0A03u);
  EXPECT_EQ(look.MenuBarToColor, 0x0A0A04u);
  EXPECT_EQ(look.TransColor, kTrans);
  EXPECT_EQ(look.Metrics.LeftBorderWidth, 6);
  EXPECT_EQ(look.Metrics.RightBorderWidth, 7);
  EXPECT_EQ(look.Metrics.BottomBorderHeight, 10);
  EXPECT_TRUE(look.TitleNeedRegion);
  EXPECT_FALSE(look.BottomNeedRegion);
  EXPECT_EQ(look.TitleRows.First, 1);
  EXPECT_EQ(look.TitleRows.Last, 2);
  EXPECT_EQ(look.BottomRows.First, 0);
  // The frame of pictures leaves the built-in frame values as they were,
  // and the native frame is the window's.
  EXPECT_EQ(look.Metrics.BorderWidth, 3);
  EXPECT_EQ(look.BorderColor, 0xC82C00u);
  EXPECT_EQ(look.RoundCorner, 13);
  EXPECT_EQ(look.Metrics.FrameBottom, 8);

  // Back to a built-in theme: nothing of the skin file stays.
  skin::ApplyFormStyle(look, skin::BlueGlass, theme);
  EXPECT_EQ(look.Metrics.LeftBorderWidth, 0);
  EXPECT_EQ(look.Metrics.RightBorderWidth, 0);
  EXPECT_EQ(look.Metrics.BottomBorderHeight, 0);
  EXPECT_EQ(look.TransColor, 0xFF00FFu);
  EXPECT_FALSE(look.TitleNeedRegion);
  EXPECT_EQ(look.Color, 0xE7E7E7u);
  EXPECT_EQ(look.MenuBarColor, 0xE7E7E7u);
  EXPECT_EQ(look.MenuBarToColor, 0xE7E7E7u);
  EXPECT_EQ(look.BorderColor, 0x000000u);
  EXPECT_EQ(look.Metrics.BorderWidth, 1);
  EXPECT_EQ(look.RoundCorner, 11);
  EXPECT_EQ(look.RoundCornerBottom, 0);
}

TEST_F(FormFileTheme, MissingBorderPicturesGiveZeroAndAMissingThemeGivesDeepBlue) {
  skin::TsuiFileTheme* theme = Load(Entries(0, 0, 0));
  TsuiFormLook look;
  skin::ApplyFormStyle(look, skin::FromThemeFile, theme);
  EXPECT_EQ(look.Metrics.LeftBorderWidth, 0);
  EXPECT_EQ(look.Metrics.RightBorderWidth, 0);
  EXPECT_EQ(look.Metrics.BottomBorderHeight, 0);

  skin::ApplyFormStyle(look, skin::FromThemeFile, nullptr);
  EXPECT_FALSE(look.UsesFileTheme);
  EXPECT_EQ(look.UIStyle, skin::FromThemeFile);
  EXPECT_EQ(look.Color, 0xE8E8E8u);  // DeepBlue's entry 15
  EXPECT_EQ(look.RoundCorner, 0);
}

// ---------------------------------------------------------------------------
// Window region

// The pixels a list of rectangles covers, as rows of '#' and '.'.
std::vector<std::string> Raster(const std::vector<TRect>& rects, int width, int height) {
  std::vector<std::string> rows(height, std::string(width, '.'));
  for (const TRect& r : rects) {
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) rows.at(y).at(x) = '#';
  }
  return rows;
}

// A picture drawn from rows of 't' (TransColor) and other letters.
TBitmap Picture(const std::vector<std::string>& rows) {
  TBitmap b(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, rows[y][x] == 't' ? kTrans : Coord(x, y));
  return b;
}

TsuiFormLook RegionLook(bool title, bool bottom) {
  TsuiFormLook look;
  look.TransColor = kTrans;
  look.TitleNeedRegion = title;
  look.BottomNeedRegion = bottom;
  look.TitleRows = {1, 2};
  look.BottomRows = {0, 1};
  return look;
}

TEST(FormRegion, TitleRowsFollowThePictureAndTheRestIsOpaque) {
  const TBitmap title = Picture({
      "tttttt",  // above the first region row: opaque whatever it shows
      "ttxxxx",
      "txxxxt",
      "tttttt",  // below the last: opaque
  });
  const std::vector<TRect> region =
      skin::PictureRegion(RegionLook(true, false), 6, 10, &title, nullptr);
  // Exact rectangles: the last opaque row joins the band below the title.
  EXPECT_EQ(region, (std::vector<TRect>{{0, 0, 6, 1}, {2, 1, 6, 2}, {1, 2, 5, 3}, {0, 3, 6, 10}}));
}

TEST(FormRegion, EqualRunsInAdjacentRowsBecomeOneRectangle) {
  const TBitmap title = Picture({
      "xxxxxx",
      "ttxxtx",
      "ttxxtx",
      "xxxxxx",
  });
  TsuiFormLook look = RegionLook(true, false);
  look.TitleRows = {-1, 3};  // -1 is the top
  EXPECT_EQ(skin::PictureRegion(look, 6, 4, &title, nullptr),
            (std::vector<TRect>{{0, 0, 6, 1}, {2, 1, 4, 3}, {5, 1, 6, 3}, {0, 3, 6, 4}}));
}

TEST(FormRegion, FirstNotAboveLastScansToThePicturesBottom) {
  const TBitmap title = Picture({
      "tttt",
      "tttt",
      "txxt",
      "ttxx",
  });
  TsuiFormLook look = RegionLook(true, false);
  look.TitleRows = {2, 2};
  EXPECT_EQ(skin::PictureRegionRows(title, kTrans, look.TitleRows, 4, 0),
            (std::vector<TRect>{{0, 0, 4, 2}, {1, 2, 3, 3}, {2, 3, 4, 4}}));
  // Missing rows (-1, -1) scan the whole picture.
  EXPECT_EQ(skin::PictureRegionRows(title, kTrans, {-1, -1}, 4, 0),
            (std::vector<TRect>{{1, 2, 3, 3}, {2, 3, 4, 4}}));
  // A skin without TransColor (-1) cuts nothing away, not even black.
  TBitmap black = Filled(4, 2, graphics::clBlack);
  EXPECT_EQ(skin::PictureRegionRows(black, 0xFFFFFFFF, {-1, -1}, 4, 0),
            (std::vector<TRect>{{0, 0, 4, 2}}));
}

TEST(FormRegion, BottomPictureIsPlacedAtTheBottomAndEverythingIsClippedToTheWindow) {
  const TBitmap title = Picture({
      "tttttttt",
      "ttxxxxtt",
      "txxxxxxx",
  });
  const TBitmap bottom = Picture({
      "xxxxxxxt",
      "txxxxxtt",
  });
  // The window is 7 wide: the title picture's last column lies outside.
  const std::vector<TRect> region =
      skin::PictureRegion(RegionLook(true, true), 7, 9, &title, &bottom);
  EXPECT_EQ(Raster(region, 7, 9), (std::vector<std::string>{
                                      "#######",
                                      "..####.",
                                      ".######",
                                      "#######",
                                      "#######",
                                      "#######",
                                      "#######",
                                      "#######",
                                      ".#####.",
                                  }));
  // The title's run in row 2 reaches past the window and is cut at its edge.
  EXPECT_EQ(region[2], (TRect{1, 2, 7, 3}));
  EXPECT_EQ(region.back(), (TRect{1, 8, 6, 9}));

  // Without the flags the pictures are not looked at.
  EXPECT_EQ(skin::PictureRegion(RegionLook(false, false), 7, 9, &title, &bottom),
            (std::vector<TRect>{{0, 0, 7, 9}}));
}

TEST(FormRegion, BuiltInShapesRoundTheTopAndSquareWhatTheTitleBarDoesNotRound) {
  using S = TRegionShape;
  EXPECT_EQ(skin::BuiltInRegionShapes(200, 101, 11, 0, true),
            (std::vector<S>{{S::RoundRectangle, {0, 0, 200, 50}, 11},
                            {S::Rectangle, {0, 39, 11, 50}, 0},
                            {S::Rectangle, {189, 39, 200, 50}, 0},
                            {S::Rectangle, {0, 50, 200, 101}, 0}}));
  // A hidden title bar squares everything; -1 counts as 0.
  EXPECT_EQ(skin::BuiltInRegionShapes(200, 100, 11, 5, false),
            (std::vector<S>{{S::Rectangle, {0, 0, 200, 50}, 0},
                            {S::Rectangle, {0, 50, 200, 100}, 0}}));
  EXPECT_EQ(skin::BuiltInRegionShapes(200, 100, -1, -1, true),
            (std::vector<S>{{S::Rectangle, {0, 0, 200, 50}, 0},
                            {S::Rectangle, {0, 50, 200, 100}, 0}}));
  // Rounded bottom corners: the upper corners of the bottom half square.
  const std::vector<S> both = skin::BuiltInRegionShapes(40, 20, 6, 4, true);
  ASSERT_EQ(both.size(), 6u);
  EXPECT_EQ(both[3], (S{S::RoundRectangle, {0, 10, 40, 20}, 4}));
  EXPECT_EQ(both[4], (S{S::Rectangle, {0, 10, 4, 14}, 0}));
  EXPECT_EQ(both[5], (S{S::Rectangle, {36, 10, 40, 14}, 0}));
  // A window lower than two corners: the squares stay inside their half.
  const std::vector<S> low = skin::BuiltInRegionShapes(40, 6, 11, 0, true);
  EXPECT_EQ(low[1], (S{S::Rectangle, {0, 0, 11, 3}, 0}));
}

// ---------------------------------------------------------------------------
// Frame pieces

TEST_F(FormFileTheme, BottomImageFromThreePictures) {
  std::vector<mkskin::SkinEntry> e = Entries(0, 0, 0);
  e.push_back(Picture("SKIN2_FORMBOTTOMBORDER1", CoordBitmap(2, 3, 0x01)));
  e.push_back(Picture("SKIN2_FORMBOTTOMBORDER2", CoordBitmap(1, 3, 0x02)));
  e.push_back(Picture("SKIN2_FORMBOTTOMBORDER3", CoordBitmap(3, 3, 0x03)));
  e.push_back(mkskin::BooleanEntry("SKIN2_BOTTOMBORDERTHREESECT", 1));
  skin::TsuiFileTheme* theme = Load(e);
  TsuiFormLook look;
  skin::ApplyFormStyle(look, skin::FromThemeFile, theme);
  TBitmap image;
  skin::ComposeBottomImage(image, 10, *theme, look);
  ASSERT_EQ(image.Width(), 10);
  ASSERT_EQ(image.Height(), 3);
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(image.Pixel(0, y), Coord(0, y, 0x01));
    EXPECT_EQ(image.Pixel(1, y), Coord(1, y, 0x01));
    for (int x = 2; x < 7; ++x) EXPECT_EQ(image.Pixel(x, y), Coord(0, y, 0x02)) << x;
    for (int x = 7; x < 10; ++x) EXPECT_EQ(image.Pixel(x, y), Coord(x - 7, y, 0x03)) << x;
  }
  EXPECT_FALSE(image.Transparent());
}

TEST_F(FormFileTheme, BottomImageAsThreeSliceOverTheFormColourWhenItShapesTheRegion) {
  std::vector<mkskin::SkinEntry> e = Entries(0, 0, 0, true);
  TBitmap strip = CoordBitmap(9, 2, 0x05);
  strip.SetPixel(0, 0, kTrans);  // a see-through pixel stays TransColor
  e.push_back(Picture("SKIN2_FORMBOTTOMBORDER1", strip));
  skin::TsuiFileTheme* theme = Load(e);
  TsuiFormLook look;
  skin::ApplyFormStyle(look, skin::FromThemeFile, theme);
  ASSERT_TRUE(look.BottomNeedRegion);
  TBitmap image;
  skin::ComposeBottomImage(image, 12, *theme, look);
  ASSERT_EQ(image.Width(), 12);
  ASSERT_EQ(image.Height(), 2);
  EXPECT_EQ(image.Pixel(0, 0), kTrans);
  EXPECT_EQ(image.Pixel(2, 1), Coord(2, 1, 0x05));
  EXPECT_EQ(image.Pixel(3, 1), Coord(3, 1, 0x05));  // middle: 3 columns over 6
  EXPECT_EQ(image.Pixel(4, 1), Coord(3, 1, 0x05));
  EXPECT_EQ(image.Pixel(8, 0), Coord(5, 0, 0x05));
  EXPECT_EQ(image.Pixel(9, 0), Coord(6, 0, 0x05));
  EXPECT_EQ(image.Pixel(11, 1), Coord(8, 1, 0x05));
  EXPECT_TRUE(image.Transparent());
  EXPECT_EQ(image.TransparentColor(), kTrans);

  // Three pictures asked for, the middle one missing: the form colour
  // shows between left and right, not black.
  std::vector<mkskin::SkinEntry> e3 = Entries(0, 0, 0, true);
  e3.push_back(Picture("SKIN2_FORMBOTTOMBORDER1", CoordBitmap(2, 2, 0x01)));
  e3.push_back(mkskin::BooleanEntry("SKIN2_BOTTOMBORDERTHREESECT", 1));
  skin::TsuiFileTheme* theme3 = Load(e3);
  skin::ApplyFormStyle(look, skin::FromThemeFile, theme3);
  skin::ComposeBottomImage(image, 6, *theme3, look);
  EXPECT_EQ(image.Pixel(1, 1), Coord(1, 1, 0x01));
  EXPECT_EQ(image.Pixel(5, 1), 0x0A0A02u);

  // No bottom picture: nothing to compose.
  skin::TsuiFileTheme* none = Load(Entries(0, 0, 0));
  skin::ComposeBottomImage(image, 6, *none, look);
  EXPECT_TRUE(image.Empty());
}

TEST(FormFrame, FileTitleFrameIsCutFromTheFrameImage) {
  const TBitmap frame = CoordBitmap(20, 8);
  TBitmap window = Filled(24, 30, kPaper);
  TCanvas canvas(window);
  TsuiFormMetrics m;
  m.LeftBorderWidth = 6;
  m.RightBorderWidth = 0;  // counts as 4
  skin::DrawFileTitleFrame(canvas, 24, frame, m);
  EXPECT_EQ(window.Pixel(5, 7), Coord(5, 7));
  EXPECT_EQ(window.Pixel(6, 7), kPaper);
  EXPECT_EQ(window.Pixel(10, 2), Coord(10, 2));
  EXPECT_EQ(window.Pixel(10, 3), kPaper);
  EXPECT_EQ(window.Pixel(5, 8), kPaper);  // below the frame image
  // The right strip comes from the frame image's right end.
  EXPECT_EQ(window.Pixel(20, 5), Coord(16, 5));
  EXPECT_EQ(window.Pixel(23, 7), Coord(19, 7));
  EXPECT_EQ(window.Pixel(19, 5), kPaper);
}

TEST(FormFrame, BuiltInTitleFrameContinuesTheSectionPictures) {
  const TBitmap left = CoordBitmap(5, 10, 0x01);
  const TBitmap client = CoordBitmap(2, 10, 0x02);
  const TBitmap right = CoordBitmap(6, 10, 0x03);
  TBitmap window = Filled(30, 20, kPaper);
  TCanvas canvas(window);
  skin::DrawBuiltInTitleFrame(canvas, 30, {&left, &client, &right});
  EXPECT_EQ(window.Pixel(2, 9), Coord(2, 9, 0x01));
  EXPECT_EQ(window.Pixel(3, 9), kPaper);
  EXPECT_EQ(window.Pixel(27, 9), Coord(3, 9, 0x03));
  EXPECT_EQ(window.Pixel(29, 9), Coord(5, 9, 0x03));
  EXPECT_EQ(window.Pixel(26, 9), kPaper);
  EXPECT_EQ(window.Pixel(4, 2), Coord(4, 2, 0x01));
  EXPECT_EQ(window.Pixel(5, 1), Coord(0, 1, 0x02));
  EXPECT_EQ(window.Pixel(23, 1), Coord(1, 1, 0x02));
  EXPECT_EQ(window.Pixel(24, 1), Coord(0, 1, 0x03));
  EXPECT_EQ(window.Pixel(12, 3), kPaper);
  EXPECT_EQ(window.Pixel(2, 10), kPaper);

  // A right section of at most 2 columns is stretched over the strip.
  const TBitmap thin = CoordBitmap(2, 10, 0x04);
  TBitmap window2 = Filled(30, 20, kPaper);
  TCanvas canvas2(window2);
  skin::DrawBuiltInTitleFrame(canvas2, 30, {nullptr, nullptr, &thin});
  EXPECT_EQ(window2.Pixel(27, 5), Coord(0, 5, 0x04));
  EXPECT_EQ(window2.Pixel(28, 5), Coord(1, 5, 0x04));
  EXPECT_EQ(window2.Pixel(29, 5), Coord(1, 5, 0x04));
  EXPECT_EQ(window2.Pixel(0, 0), kPaper);
}

TEST(FormFrame, BuiltInFrameWithoutTitleBarDrawsTopLineBandsAndGaps) {
  TsuiFormLook look;
  look.Metrics.BorderWidth = 1;
  look.BorderColor = 0x000011;
  look.Color = 0x002200;
  look.MenuBarColor = look.MenuBarToColor = 0x330000;
  TBitmap window = Filled(20, 30, kPaper);
  TCanvas canvas(window);
  skin::TBuiltInFrame frame;
  frame.Width = 20;
  frame.Height = 30;
  frame.TitleBarVisible = false;
  frame.MenuBar = {0, 3, 20, 13};
  skin::PaintBuiltInFrame(canvas, frame, look);
  EXPECT_EQ(window.Pixel(5, 0), 0x000011u);  // top line
  EXPECT_EQ(window.Pixel(5, 1), 0x002200u);
  EXPECT_EQ(window.Pixel(5, 2), 0x002200u);
  EXPECT_EQ(window.Pixel(5, 3), kPaper);
  EXPECT_EQ(window.Pixel(0, 1), 0x000011u);  // the left band meets the top line
  EXPECT_EQ(window.Pixel(0, 10), 0x000011u);
  EXPECT_EQ(window.Pixel(1, 10), 0x330000u);  // beside the menu bar
  EXPECT_EQ(window.Pixel(2, 10), 0x330000u);
  EXPECT_EQ(window.Pixel(3, 10), kPaper);
  EXPECT_EQ(window.Pixel(1, 20), 0x002200u);
  EXPECT_EQ(window.Pixel(17, 20), 0x002200u);
  EXPECT_EQ(window.Pixel(16, 20), kPaper);
  EXPECT_EQ(window.Pixel(19, 20), 0x000011u);
  EXPECT_EQ(window.Pixel(10, 29), 0x000011u);
  EXPECT_EQ(window.Pixel(10, 28), 0x002200u);
  EXPECT_EQ(window.Pixel(10, 27), kPaper);

  // A gradient menu bar: the gap continues it row for row.
  look.MenuBarColor = 0x000000;
  look.MenuBarToColor = 0x0000FF;
  skin::PaintBuiltInFrame(canvas, frame, look);
  EXPECT_EQ(window.Pixel(1, 3), 0x000000u);
  EXPECT_EQ(window.Pixel(2, 12), 0x0000FFu);
  EXPECT_EQ(window.Pixel(1, 13), 0x002200u);

  // A title bar: its frame comes from the pictures, the bands start below.
  const TBitmap left = CoordBitmap(5, 10, 0x01);
  TBitmap titled = Filled(20, 30, kPaper);
  TCanvas titled_canvas(titled);
  frame.TitleBarVisible = true;
  frame.Sections = {&left, nullptr, nullptr};
  frame.TitleHeight = 10;
  frame.MenuBar = {};
  skin::PaintBuiltInFrame(titled_canvas, frame, look);
  EXPECT_EQ(titled.Pixel(0, 5), Coord(0, 5, 0x01));
  EXPECT_EQ(titled.Pixel(0, 10), 0x000011u);
  EXPECT_EQ(titled.Pixel(1, 10), 0x002200u);
  EXPECT_EQ(titled.Pixel(19, 9), kPaper);

  // Width 4 and more: no gap.
  look.Metrics.BorderWidth = 4;
  TBitmap wide = Filled(20, 30, kPaper);
  TCanvas wide_canvas(wide);
  skin::PaintBuiltInFrame(wide_canvas, frame, look);
  EXPECT_EQ(wide.Pixel(3, 20), 0x000011u);
  EXPECT_EQ(wide.Pixel(4, 20), kPaper);
  EXPECT_EQ(wide.Pixel(10, 25), kPaper);
}

TEST_F(FormFileTheme, FileFramePutsBorderPicturesGapsAndBottomImageInPlace) {
  skin::TsuiFileTheme* theme = Load(Entries(2, 6, 2));
  TsuiFormLook look;
  skin::ApplyFormStyle(look, skin::FromThemeFile, theme);
  TBitmap bottom;
  skin::ComposeBottomImage(bottom, 20, *theme, look);
  ASSERT_EQ(bottom.Height(), 2);
  TBitmap window = Filled(20, 30, kPaper);
  TCanvas canvas(window);
  skin::TFileFrame frame;
  frame.Width = 20;
  frame.Height = 30;
  frame.TitleHeight = 7;  // the side borders start at row 10
  frame.MenuBar = {0, 10, 20, 14};
  frame.BottomImage = &bottom;
  skin::PaintFileFrame(canvas, frame, *theme, look);
  EXPECT_EQ(window.Pixel(1, 9), kPaper);
  EXPECT_EQ(window.Pixel(1, 10), Coord(1, 0));  // 5 rows stretched over 18
  EXPECT_EQ(window.Pixel(1, 27), Coord(1, 4));
  EXPECT_EQ(window.Pixel(14, 10), Coord(0, 0));
  EXPECT_EQ(window.Pixel(13, 10), kPaper);  // the right picture is 4 or more wide
  // The 2-pixel left picture leaves 2 columns: menu bar gradient beside
  // the bar, the form colour below it.
  EXPECT_EQ(window.Pixel(3, 10), 0x0A0A03u);
  EXPECT_EQ(window.Pixel(3, 13), 0x0A0A04u);
  EXPECT_EQ(window.Pixel(3, 14), 0x0A0A02u);
  EXPECT_EQ(window.Pixel(4, 15), kPaper);
  // The bottom image at the bottom; above it, a band of the form colour
  // up to height - 4, since the bottom border is lower than 4.
  EXPECT_EQ(window.Pixel(10, 28), bottom.Pixel(10, 0));
  EXPECT_EQ(window.Pixel(19, 29), bottom.Pixel(19, 1));
  EXPECT_EQ(window.Pixel(10, 26), 0x0A0A02u);
  EXPECT_EQ(window.Pixel(10, 25), kPaper);
}

TEST(FormFrame, MaximisedFormCoversTheWorkAreaAndItsEdges) {
  EXPECT_EQ(skin::MaximisedBounds({0, 0, 1024, 738}), (TRect{-2, -2, 1026, 737}));
  EXPECT_EQ(skin::MaximisedBounds({1024, 20, 2048, 768}), (TRect{1022, 18, 2050, 767}));
}

// ---------------------------------------------------------------------------
// Menu bar

TEST(FormMenuBar, ButtonColoursByStateAndBuiltInTheme) {
  const TRect button{10, 0, 50, 22};
  const skin::TMenuBarButtonLook hot =
      skin::MenuBarButtonLook(skin::WinXP, nullptr, button, true, true);
  EXPECT_EQ(hot.Tag, skin::kMenuBarHotTag);
  EXPECT_TRUE(hot.Filled);
  EXPECT_EQ(hot.FillColor, 0xEFD3C6u);   // entry 19
  EXPECT_EQ(hot.FrameColor, 0xC66931u);  // entry 18
  EXPECT_EQ(hot.TextColor, 0x000000u);   // entry 20
  EXPECT_EQ(hot.TextRect, (TRect{10, 2, 50, 24}));
  EXPECT_FALSE(hot.MacSelect);

  const skin::TMenuBarButtonLook mac =
      skin::MenuBarButtonLook(skin::MacOS, nullptr, button, true, true);
  EXPECT_EQ(mac.Tag, 888);
  EXPECT_TRUE(mac.MacSelect);
  EXPECT_FALSE(mac.Filled);
  EXPECT_EQ(mac.TextColor, 0xFFFFFFu);
  EXPECT_EQ(mac.TextRect, button);

  const skin::TMenuBarButtonLook normal =
      skin::MenuBarButtonLook(skin::BlueGlass, nullptr, button, false, true);
  EXPECT_EQ(normal.Tag, 0);
  EXPECT_FALSE(normal.Filled);
  EXPECT_FALSE(normal.Framed);
  EXPECT_EQ(normal.TextColor, 0x000000u);  // entry 22
  EXPECT_EQ(normal.TextRect, (TRect{10, 2, 50, 24}));
  EXPECT_EQ(skin::MenuBarButtonLook(skin::BlueGlass, nullptr, button, false, false).TextColor,
            0x808080u);
}

TEST_F(FormFileTheme, MenuBarButtonColoursFromTheFileTheme) {
  skin::TsuiFileTheme* theme = Load(Entries(0, 0, 0));
  const TRect button{0, 0, 30, 20};
  const skin::TMenuBarButtonLook hot =
      skin::MenuBarButtonLook(skin::FromThemeFile, theme, button, true, true);
  EXPECT_EQ(hot.FillColor, 0x0A0A05u);
  EXPECT_EQ(hot.FrameColor, 0x0A0A06u);
  EXPECT_EQ(hot.TextColor, 0x0A0A07u);
  EXPECT_EQ(skin::MenuBarButtonLook(skin::FromThemeFile, theme, button, false, true).TextColor,
            0x0A0A08u);
  EXPECT_EQ(skin::MenuBarButtonLook(skin::FromThemeFile, theme, button, false, false).TextColor,
            0x808080u);
}

TEST(FormMenuBar, BackgroundIsMacPictureGradientOrFlat) {
  using B = skin::TMenuBarBackground;
  EXPECT_EQ(skin::MenuBarBackground(skin::MacOS, 1, 2), B::MacPicture);
  EXPECT_EQ(skin::MenuBarBackground(skin::MacOS, 1, 1), B::MacPicture);
  EXPECT_EQ(skin::MenuBarBackground(skin::WinXP, 1, 2), B::Gradient);
  EXPECT_EQ(skin::MenuBarBackground(skin::FromThemeFile, 7, 7), B::Flat);

  TBitmap bar = Filled(4, 10, kPaper);
  TCanvas canvas(bar);
  skin::DrawMenuBarBackground(canvas, {0, 0, 4, 10}, skin::DeepBlue, 0x000000, 0x0000FF,
                              nullptr);
  EXPECT_EQ(bar.Pixel(2, 0), 0x000000u);
  EXPECT_EQ(bar.Pixel(2, 9), 0x0000FFu);
  skin::DrawMenuBarBackground(canvas, {0, 0, 4, 10}, skin::DeepBlue, 0x445566, 0x445566,
                              nullptr);
  EXPECT_EQ(bar.Pixel(3, 5), 0x445566u);
  const TBitmap mac = CoordBitmap(1, 5, 0x22);
  skin::DrawMenuBarBackground(canvas, {0, 0, 4, 10}, skin::MacOS, 1, 1, &mac);
  EXPECT_EQ(bar.Pixel(3, 2), Coord(0, 1, 0x22));
}

TEST(FormMenuBar, HotButtonIsFilledAndFramed) {
  testing_support::ScopedFixedCellText text;
  TBitmap bar = Filled(40, 22, kPaper);
  TCanvas canvas(bar);
  const TRect button{5, 0, 35, 22};
  const skin::TMenuBarButtonLook look =
      skin::MenuBarButtonLook(skin::DeepBlue, nullptr, button, true, true);
  skin::DrawMenuBarButton(canvas, button, "", look, nullptr);
  EXPECT_EQ(bar.Pixel(4, 10), kPaper);
  EXPECT_EQ(bar.Pixel(5, 10), 0xA04A44u);   // frame, entry 18
  EXPECT_EQ(bar.Pixel(20, 10), 0xA04A44u);  // fill, entry 19 (the same in DeepBlue)
  EXPECT_EQ(bar.Pixel(35, 10), kPaper);
}

}  // namespace
