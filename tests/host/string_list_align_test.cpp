// The string list's change announcements, the rule of aligned controls and
// the rule of tool bar buttons.
#include <gtest/gtest.h>

#include "base/error.h"
#include "framework/core/align_rules.h"
#include "framework/core/string_list.h"
#include "framework/core/tool_bar_rules.h"

namespace framework {
namespace {

using graphics::TRect;

TEST(StringList, EveryEditAnnouncesItselfOnceAndBatchesAnnounceOnce) {
  TStringList list;
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  list.Add("a");
  list.Add("c");
  list.Insert(1, "b");
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"a", "b", "c"}));
  list.Put(0, "z");
  list.Delete(2);
  EXPECT_EQ(changes, 5);
  EXPECT_EQ(list.IndexOf("b"), 1);
  EXPECT_EQ(list.IndexOf("c"), -1);

  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("x");
  list.Add("y");
  list.EndUpdate();
  EXPECT_EQ(changes, 5) << "inner EndUpdate announces nothing";
  list.EndUpdate();
  EXPECT_EQ(changes, 6);
  list.EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(changes, 6);

  list.Clear();
  list.Clear();  // already empty: no change
  EXPECT_EQ(changes, 7);
  list.Assign({});
  EXPECT_EQ(changes, 8) << "an assignment is a change even when nothing differs";
}

TEST(StringList, IndexesOutsideTheListAreRefused) {
  TStringList list;
  list.Add("only");
  EXPECT_THROW(list.Strings(1), base::Error);
  EXPECT_THROW(list.Strings(-1), base::Error);
  EXPECT_THROW(list.Delete(1), base::Error);
  EXPECT_THROW(list.Insert(2, "x"), base::Error);
  list.Insert(1, "end");  // Count() is a valid insertion point
  EXPECT_EQ(list.Strings(1), "end");
}

TEST(AlignRules, EdgesAreTakenInOrderAndClientFillsTheRest) {
  const TRect area{3, 17, 182, 102};  // 179 x 85
  const std::vector<TAlignedChild> children = {
      {TAlign::alClient, {0, 0, 10, 10}},
      {TAlign::alLeft, {0, 0, 20, 5}},
      {TAlign::alTop, {0, 0, 7, 10}},
      {TAlign::alNone, {50, 60, 70, 80}},
      {TAlign::alBottom, {0, 0, 1, 15}},
      {TAlign::alRight, {0, 0, 30, 1}},
      {TAlign::alTop, {0, 0, 7, 5}},
  };
  const std::vector<TRect> r = ArrangeAligned(area, children);
  EXPECT_EQ(r[2], (TRect{3, 17, 182, 27}));   // first top strip
  EXPECT_EQ(r[6], (TRect{3, 27, 182, 32}));   // second top strip under it
  EXPECT_EQ(r[4], (TRect{3, 87, 182, 102}));  // bottom
  EXPECT_EQ(r[1], (TRect{3, 32, 23, 87}));    // left, between top and bottom
  EXPECT_EQ(r[5], (TRect{152, 32, 182, 87}));
  EXPECT_EQ(r[0], (TRect{23, 32, 152, 87}));
  EXPECT_EQ(r[3], (TRect{50, 60, 70, 80}));   // unaligned: untouched
}

TEST(AlignRules, StripsLargerThanTheAreaNeverInvertIt) {
  const std::vector<TRect> r =
      ArrangeAligned({0, 0, 10, 10}, {{TAlign::alTop, {0, 0, 1, 30}},
                                      {TAlign::alBottom, {0, 0, 1, 4}},
                                      {TAlign::alClient, {0, 0, 1, 1}}});
  EXPECT_EQ(r[0], (TRect{0, 0, 10, 30}));
  EXPECT_GE(r[1].Height(), 0);
  EXPECT_GE(r[2].Width(), 0);
  EXPECT_GE(r[2].Height(), 0);
}

TEST(ToolBarRule, ButtonsRunLeftToRightAndWrapOnlyWhenTheyWouldCrossTheEdge) {
  // 40 + 30 fit in 80; 20 more would cross it and starts row 2.
  TToolBarLayout wrapped = ArrangeToolButtons({40, 30, 20, 50}, 80, 22, true, false);
  EXPECT_EQ(wrapped.rows, 2);
  EXPECT_EQ(wrapped.buttons, (std::vector<TRect>{
                                 {0, 0, 40, 22}, {40, 0, 70, 22}, {0, 22, 20, 44}, {20, 22, 70, 44}}));
  // Exactly filling the width is no crossing.
  EXPECT_EQ(ArrangeToolButtons({40, 40}, 80, 22, true, false).rows, 1);
  // A row takes its first button however wide; without wrapping one row.
  TToolBarLayout wide = ArrangeToolButtons({100, 10}, 80, 20, true, false);
  EXPECT_EQ(wide.buttons[0], (TRect{0, 0, 100, 20}));
  EXPECT_EQ(wide.buttons[1], (TRect{0, 20, 10, 40}));
  EXPECT_EQ(ArrangeToolButtons({40, 30, 20, 50}, 80, 22, false, false).rows, 1);
  EXPECT_EQ(ArrangeToolButtons({}, 80, 22, true, false).rows, 0);
  EXPECT_EQ(ArrangeToolButtons({-5}, 80, 22, true, false).buttons[0], (TRect{0, 0, 0, 22}));
  EXPECT_EQ(ToolButtonWidthForText(24), 38);
}

TEST(ToolBarRule, RightToLeftMirrorsEachRowWithinTheWidth) {
  TToolBarLayout layout = ArrangeToolButtons({40, 30, 20}, 80, 22, true, true);
  EXPECT_EQ(layout.buttons, (std::vector<TRect>{{40, 0, 80, 22}, {10, 0, 40, 22}, {60, 22, 80, 44}}));
}

}  // namespace
}  // namespace framework
