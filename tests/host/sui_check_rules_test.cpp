// Frame choice, sizes, layout and the group rules of check boxes, radio
// buttons and their groups.
#include <gtest/gtest.h>

#include "skin/sui_check_rules.h"
#include "skin/sui_panel_rules.h"

namespace skin {
namespace {

using framework::TAlign;

TEST(MarkFrames, FileCheckMarksUseSixFramesEverythingElseFour) {
  struct Case {
    int entry;
    bool file, checked, enabled;
    int frame, count;
  } cases[] = {
      {kCheckMarkEntry, true, true, true, 1, 6},   {kCheckMarkEntry, true, true, false, 4, 6},
      {kCheckMarkEntry, true, false, true, 3, 6},  {kCheckMarkEntry, true, false, false, 6, 6},
      {kCheckMarkEntry, false, true, true, 1, 4},  {kCheckMarkEntry, false, true, false, 3, 4},
      {kCheckMarkEntry, false, false, true, 2, 4}, {kCheckMarkEntry, false, false, false, 4, 4},
      // Radio marks have four frames even in a file theme.
      {kRadioMarkEntry, true, true, true, 1, 4},   {kRadioMarkEntry, true, false, false, 4, 4},
      {kRadioMarkEntry, false, false, true, 2, 4}, {kRadioMarkEntry, false, true, false, 3, 4},
  };
  for (const Case& c : cases) {
    const TMarkFrame f = ChooseMarkFrame(c.entry, c.file, c.checked, c.enabled);
    EXPECT_EQ(f.frame, c.frame) << c.entry << c.file << c.checked << c.enabled;
    EXPECT_EQ(f.count, c.count) << c.entry << c.file << c.checked << c.enabled;
  }
}

TEST(CheckBoxGeometry, AutoSizeMakesRoomForMarkCaptionAndFocus) {
  // A 13 x 13 mark: the caption's height decides when taller.
  EXPECT_EQ(CheckBoxAutoSize({13, 13}, 12, 40), (TSize{13 + 40 + 8, 14 + 4}));
  EXPECT_EQ(CheckBoxAutoSize({13, 13}, 9, 40), (TSize{61, 13 + 4}));
  EXPECT_EQ(CheckBoxAutoSize({15, 17}, 12, 0), (TSize{23, 21}));
}

TEST(CheckBoxGeometry, LeftToRightAndMirrored) {
  const TCheckBoxLayout ltr = LayoutCheckBox({93, 17}, {13, 13}, 12, false);
  EXPECT_EQ(ltr.mark, (TPoint{1, 2}));
  EXPECT_EQ(ltr.caption, (TRect{17, 2, 93, 17}));
  EXPECT_EQ(ltr.focus, (TRect{16, 2, 93, 16}));

  const TCheckBoxLayout rtl = LayoutCheckBox({93, 17}, {13, 13}, 12, true);
  EXPECT_EQ(rtl.mark, (TPoint{93 - 13 - 1, 2}));
  EXPECT_EQ(rtl.caption, (TRect{0, 2, 93 - 13 - 4, 17}));
  EXPECT_EQ(rtl.focus, (TRect{0, 2, 93 - 17 + 2, 16}));

  // Odd leftovers are halved toward zero, also when the box is too small.
  const TCheckBoxLayout small = LayoutCheckBox({20, 10}, {13, 13}, 12, false);
  EXPECT_EQ(small.mark.Y, (10 - 13) / 2);
  EXPECT_EQ(small.mark.Y, -1);
  EXPECT_EQ(small.caption.Top, -1);
}

TEST(GroupBoxGeometry, TheFrameLeavesAGapForTheCaption) {
  const TRect client{0, 0, 185, 105};
  // font height -12: the top line at 12 div 2 + 1 = 7.
  const auto with = GroupBoxFramePath(client, -12, 40, true, false);
  ASSERT_EQ(with.size(), 6u);
  EXPECT_EQ(with.front(), (TPoint{2, 7}));
  EXPECT_EQ(with[1], (TPoint{0, 7}));
  EXPECT_EQ(with[2], (TPoint{0, 104}));
  EXPECT_EQ(with[3], (TPoint{184, 104}));
  EXPECT_EQ(with[4], (TPoint{184, 7}));
  EXPECT_EQ(with.back(), (TPoint{46, 7}));  // gap from 2 to caption width + 6

  const auto without = GroupBoxFramePath(client, 12, 40, false, false);
  EXPECT_EQ(without.back(), (TPoint{0, 7})) << "no caption: the frame closes";

  const auto rtl = GroupBoxFramePath(client, 12, 40, true, true);
  EXPECT_EQ(rtl.front(), (TPoint{182, 7}));
  EXPECT_EQ(rtl[2], (TPoint{184, 104}));
  EXPECT_EQ(rtl[3], (TPoint{1, 104}));
  EXPECT_EQ(rtl.back(), (TPoint{185 - 40 - 7, 7}));
  EXPECT_EQ(GroupBoxFramePath(client, 12, 0, false, true).back(), (TPoint{184, 7}));

  EXPECT_EQ(GroupBoxCaptionOrigin(185, 40, false), (TPoint{5, 0}));
  EXPECT_EQ(GroupBoxCaptionOrigin(185, 40, true), (TPoint{139, 0}));
  EXPECT_EQ(GroupBoxAlignArea(client, -12), (TRect{3, 17, 182, 102}));
}

TEST(GroupArrangement, FiveItemsInTwoColumnsMakeThreeRowsDownTheFirstColumn) {
  const TRect client{0, 0, 185, 105};
  const std::vector<int> widths(5, 60);
  const auto at = ArrangeGroupItems(client, 185, -12, 8, 2, widths, false);
  ASSERT_EQ(at.size(), 5u);
  // top = 0 + 12 + 8 = 20; h = 103 - 20 = 83; rows 3; rh 27; y0 = 20 + (83 mod 3) div 2 = 21;
  // column width (185 - 10) div 2 = 87.
  EXPECT_EQ(at[0], (TPoint{8, 21}));
  EXPECT_EQ(at[1], (TPoint{8, 48}));
  EXPECT_EQ(at[2], (TPoint{8, 75}));
  EXPECT_EQ(at[3], (TPoint{95, 21}));
  EXPECT_EQ(at[4], (TPoint{95, 48}));

  const auto mirrored = ArrangeGroupItems(client, 185, -12, 8, 2, {60, 50, 40, 30, 20}, true);
  EXPECT_EQ(mirrored[0].X, 185 - 60 - 8);
  EXPECT_EQ(mirrored[3].X, 185 - 87 - 30 - 8);
  EXPECT_EQ(mirrored[4].Y, at[4].Y);
}

TEST(GroupArrangement, NoColumnsCountsAsOneAndNoButtonsPlaceNothing) {
  const TRect client{0, 0, 185, 105};
  EXPECT_EQ(EffectiveColumns(0), 1);
  EXPECT_EQ(EffectiveColumns(3), 3);
  const auto zero = ArrangeGroupItems(client, 185, 12, 8, 0, {10, 10}, false);
  const auto one = ArrangeGroupItems(client, 185, 12, 8, 1, {10, 10}, false);
  EXPECT_EQ(zero, one);
  EXPECT_EQ(one[1].X, 8);
  EXPECT_TRUE(ArrangeGroupItems(client, 185, 12, 8, 2, {}, false).empty());
  // A group too low for its items still places them, overlapping.
  const auto cramped = ArrangeGroupItems({0, 0, 100, 10}, 100, 12, 8, 1, {10, 10, 10}, false);
  EXPECT_EQ(cramped.size(), 3u);
}

TEST(GroupItemIndex, FirstCheckedAndTheRangeAccepted) {
  EXPECT_EQ(FirstCheckedIndex({false, false, false}), -1);
  EXPECT_EQ(FirstCheckedIndex({false, true, true}), 1);
  EXPECT_EQ(FirstCheckedIndex({}), -1);
  EXPECT_TRUE(ItemIndexAccepted(-1, 3));
  EXPECT_TRUE(ItemIndexAccepted(2, 3));
  EXPECT_FALSE(ItemIndexAccepted(3, 3));
  EXPECT_FALSE(ItemIndexAccepted(7, 3));
  EXPECT_FALSE(ItemIndexAccepted(-2, 3));
  EXPECT_TRUE(ItemIndexAccepted(-1, 0));
  EXPECT_FALSE(ItemIndexAccepted(0, 0));
}

TEST(PanelPictureAutoSize, TheAlignmentOwnsTheOtherSides) {
  const TSize current{185, 41}, picture{64, 32};
  EXPECT_EQ(PictureAutoSizeFor(TAlign::alNone, current, picture), picture);
  EXPECT_EQ(PictureAutoSizeFor(TAlign::alCustom, current, picture), picture);
  EXPECT_EQ(PictureAutoSizeFor(TAlign::alLeft, current, picture), (TSize{64, 41}));
  EXPECT_EQ(PictureAutoSizeFor(TAlign::alRight, current, picture), (TSize{64, 41}));
  EXPECT_EQ(PictureAutoSizeFor(TAlign::alTop, current, picture), (TSize{185, 32}));
  EXPECT_EQ(PictureAutoSizeFor(TAlign::alBottom, current, picture), (TSize{185, 32}));
  EXPECT_EQ(PictureAutoSizeFor(TAlign::alClient, current, picture), current);
}

}  // namespace
}  // namespace skin
