// SUIThemes: the built-in table against the published values, the typed
// look-ups and their failure results, picture loading through a fake
// loader, and style resolution.
#include "skin/sui_themes.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/error.h"
#include "graphics_test_support.h"

namespace {

using graphics::TBitmap;
using skin::TsuiUIStyle;
using Kind = skin::TThemeEntryKind;
using testing_support::Coord;
using testing_support::CoordBitmap;

constexpr TsuiUIStyle kBuiltIn[] = {skin::MacOS, skin::WinXP, skin::DeepBlue, skin::Protein,
                                    skin::BlueGlass};

TEST(BuiltInTable, EveryEntryHasItsKindInEveryTheme) {
  // P picture, F flag, I integer, C colour; entries 1 to 48.
  const std::string kinds = "PFPPPFIIIPPPIICCICCCCCCPCCCPPPCPPPCCCPPPPPPCPPIC";
  ASSERT_EQ(kinds.size(), static_cast<std::size_t>(skin::kBuiltInEntryCount));
  for (TsuiUIStyle theme : kBuiltIn) {
    for (int entry = 1; entry <= 48; ++entry) {
      Kind expected = kinds[entry - 1] == 'P'   ? Kind::Picture
                      : kinds[entry - 1] == 'F' ? Kind::Flag
                      : kinds[entry - 1] == 'I' ? Kind::Integer
                                                : Kind::Colour;
      EXPECT_EQ(skin::GetBuiltInEntry(theme, entry).Kind, expected) << theme << " " << entry;
    }
  }
}

TEST(BuiltInTable, ValuesOfWholeRows) {
  // Columns: MacOS, WinXP, DeepBlue, Protein, BlueGlass.
  const std::map<int, std::vector<std::int32_t>> rows = {
      {2, {1, 0, 0, 0, 1}},
      {6, {0, 0, 0, 1, 1}},
      {7, {3, 2, 0, 0, 4}},
      {8, {-2, -2, 0, 0, -3}},
      {9, {4, 5, 2, 2, 6}},
      {13, {130, 150, 130, 130, 270}},
      {14, {0, 13, 0, 0, 11}},
      {15, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
      {16, {0x7F7F7F, 0xC82C00, 0, 0, 0}},
      {17, {1, 3, 1, 1, 1}},
      {18, {0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E}},
      {19, {0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E}},
      {20, {0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}},
      {21, {0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7}},
      {22, {0, 0, 0, 0, 0}},
      {23, {0, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6}},
      {25, {0x7F7F7F, 0x686868, 0, 0, 0}},
      {26, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
      {27, {0, 0xCF4602, 0, 0, 0}},
      {31, {0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4}},
      {35, {0x474747, 0xC66931, 0x474747, 0x474747, 0x474747}},
      {36, {0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF}},
      {37, {0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8}},
      {44, {0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}},
      {47, {0, 0, 0, 0, 0}},
      {48, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
  };
  for (const auto& [entry, values] : rows) {
    for (std::size_t t = 0; t < 5; ++t) {
      EXPECT_EQ(skin::GetBuiltInEntry(kBuiltIn[t], entry).Value, values[t])
          << "entry " << entry << " theme " << t + 1;
    }
  }
}

TEST(BuiltInTable, PictureNames) {
  const std::map<int, std::vector<std::string>> rows = {
      {1, {"MACOS_BUTTON", "WINXP_BUTTON", "DEEPBLUE_BUTTON", "PROTEIN_BUTTON",
           "BLUEGLASS_BUTTON"}},
      {3, {"MACOS_CHECKBOX", "WINXP_CHECKBOX", "DEEPBLUE_CHECKBOX", "PROTEIN_CHECKBOX",
           "BLUEGLASS_CHECKBOX"}},
      {4, {"MACOS_RADIOBUTTON", "WINXP_RADIOBUTTON", "DEEPBLUE_RADIOBUTTON",
           "PROTEIN_RADIOBUTTON", "BLUEGLASS_RADIOBUTTON"}},
      {5, {"MACOS_TITLEBTN", "WINXP_TITLEBTN", "DEEPBLUE_TITLEBTN", "PROTEIN_TITLEBTN",
           "BLUEGLASS_TITLEBTN"}},
      {11, {"MACOS_TITLE_CLIENT", "WINXP_TITLE_CLIENT", "DEEPBLUE_TITLE_CLIENT",
            "PROTEIN_TITLE_CLIENT", "BLUEGLASS_TITLE_CLIENT"}},
      {30, {"MACOS_TRACKBAR_SLIDER_V", "WINXP_TRACKBAR_SLIDER_V", "DEEPBLUE_TRACKBAR_SLIDER_V",
            "PROTEIN_TRACKBAR_SLIDER_V", "BLUEGLASS_TRACKBAR_SLIDER_V"}},
      {38, {"MACOS_SCROLLBUTTON", "WINXP_SCROLLBUTTON", "MORE_SCROLLBUTTON",
            "MORE_SCROLLBUTTON", "MORE_SCROLLBUTTON"}},
      {41, {"MACOS_SIDECHENNEL_HANDLE", "WINXP_SIDECHENNEL_HANDLE",
            "DEEPBLUE_SIDECHENNEL_HANDLE", "PROTEIN_SIDECHENNEL_HANDLE",
            "BLUEGLASS_SIDECHENNEL_HANDLE"}},
      {43, {"", "", "", "", ""}},
      {46, {"", "", "", "", ""}},
  };
  for (const auto& [entry, names] : rows) {
    for (std::size_t t = 0; t < 5; ++t) {
      EXPECT_EQ(skin::GetBuiltInEntry(kBuiltIn[t], entry).Picture, names[t])
          << "entry " << entry << " theme " << t + 1;
    }
  }
}

TEST(BuiltInTable, OtherThemesAndEntriesAreIntegerMinusOne) {
  for (int theme : {0, 6, 255}) {
    skin::TBuiltInEntry e = skin::GetBuiltInEntry(static_cast<TsuiUIStyle>(theme), 15);
    EXPECT_EQ(e.Kind, Kind::Integer);
    EXPECT_EQ(e.Value, -1);
  }
  EXPECT_EQ(skin::GetBuiltInEntry(skin::DeepBlue, 0).Value, -1);
  EXPECT_EQ(skin::GetBuiltInEntry(skin::DeepBlue, 49).Value, -1);
}

TEST(BuiltInLookups, TypedValuesAndNeverAConversion) {
  EXPECT_EQ(skin::GetBuiltInColor(skin::DeepBlue, 15), 0xE8E8E8u);
  EXPECT_EQ(skin::GetBuiltInColor(skin::DeepBlue, 2), 0u);   // a flag entry
  EXPECT_EQ(skin::GetBuiltInColor(skin::WinXP, 7), 0u);      // an integer entry
  EXPECT_EQ(skin::GetBuiltInColor(skin::FromThemeFile, 15), 0u);
  EXPECT_EQ(skin::GetBuiltInColor(skin::WinXP, 16), 0xC82C00u);

  EXPECT_EQ(skin::GetBuiltInInt(skin::WinXP, 8), -2);
  EXPECT_EQ(skin::GetBuiltInInt(skin::BlueGlass, 8), -3);
  EXPECT_EQ(skin::GetBuiltInInt(skin::FromThemeFile, 8), -1);
  EXPECT_EQ(skin::GetBuiltInInt(skin::DeepBlue, 15), -1);  // a colour entry
  EXPECT_EQ(skin::GetBuiltInInt(skin::DeepBlue, 47), 0);

  const bool transparent[] = {true, false, false, false, true};
  for (std::size_t t = 0; t < 5; ++t) {
    EXPECT_EQ(skin::GetBuiltInBool(kBuiltIn[t], 2), transparent[t]) << t + 1;
  }
  EXPECT_FALSE(skin::GetBuiltInBool(skin::FromThemeFile, 2));
  EXPECT_FALSE(skin::GetBuiltInBool(skin::MacOS, 17));  // integer 1 is no flag
  EXPECT_TRUE(skin::GetBuiltInBool(skin::Protein, 6));
}

// Serves pictures by name and records what was asked for.
class FakeLoader : public ::testing::Test {
protected:
  FakeLoader() {
    previous_ = skin::SetPictureLoader([this](const std::string& name) {
      asked_.push_back(name);
      auto it = pictures_.find(name);
      if (it == pictures_.end()) throw base::Error("Resource " + name + " not found");
      return it->second;
    });
  }
  ~FakeLoader() override { skin::SetPictureLoader(previous_); }

  std::map<std::string, TBitmap> pictures_;
  std::vector<std::string> asked_;
  skin::PictureLoader previous_;
};

TEST_F(FakeLoader, KeptPicturesAreReadOnceAndForgottenWithTheLoader) {
  pictures_["MACOS_MENU_BAR"] = CoordBitmap(4, 3);
  const TBitmap& bar = skin::ThemePicture("MACOS_MENU_BAR");
  EXPECT_EQ(bar.Width(), 4);
  EXPECT_EQ(&skin::ThemePicture("MACOS_MENU_BAR"), &bar);
  // A missing one is empty, and not asked for again either.
  EXPECT_TRUE(skin::ThemePicture("MISSING").Empty());
  EXPECT_TRUE(skin::ThemePicture("MISSING").Empty());
  EXPECT_EQ(asked_, (std::vector<std::string>{"MACOS_MENU_BAR", "MISSING"}));
  // Another loader serves other pixels: nothing kept from the first.
  skin::PictureLoader mine = [](const std::string&) { return TBitmap(7, 7); };
  skin::PictureLoader before = skin::SetPictureLoader(mine);
  EXPECT_EQ(skin::ThemePicture("MACOS_MENU_BAR").Width(), 7);
  skin::SetPictureLoader(before);
  EXPECT_EQ(skin::ThemePicture("MACOS_MENU_BAR").Width(), 4);
}

TEST_F(FakeLoader, FrameTwoOfThreeOfTheWinXPButton) {
  pictures_["WINXP_BUTTON"] = CoordBitmap(54, 21);
  TBitmap b;
  skin::GetBuiltInBitmap(skin::WinXP, 1, &b, 2, 3);
  EXPECT_EQ(asked_, std::vector<std::string>{"WINXP_BUTTON"});
  ASSERT_EQ(b.Width(), 18);
  ASSERT_EQ(b.Height(), 21);
  for (int y = 0; y < 21; ++y) {
    for (int x = 0; x < 18; ++x) ASSERT_EQ(b.Pixel(x, y), Coord(18 + x, y));
  }
}

TEST_F(FakeLoader, WholePicturesReplaceTheImageAndKeepTransparency) {
  pictures_["MORE_SCROLLBUTTON"] = CoordBitmap(7, 3);
  TBitmap b(2, 2);
  b.SetTransparent(true);
  b.SetTransparentColor(graphics::clFuchsia);
  skin::LoadBuiltInPicture(skin::Protein, 38, &b);
  EXPECT_EQ(b.Width(), 7);
  EXPECT_EQ(b.Pixel(6, 2), Coord(6, 2));
  EXPECT_TRUE(b.Transparent());
  EXPECT_EQ(b.TransparentColor(), graphics::clFuchsia);

  TBitmap c;
  skin::GetBuiltInBitmap(skin::DeepBlue, 38, &c, 0, 0);  // frame count 0: whole
  EXPECT_EQ(c.Width(), 7);
}

TEST_F(FakeLoader, NothingHappensWithoutAPictureToLoad) {
  TBitmap b = CoordBitmap(3, 3);
  skin::LoadBuiltInPicture(skin::DeepBlue, 1, nullptr);
  skin::GetBuiltInBitmap(skin::DeepBlue, 1, nullptr, 1, 3);
  skin::LoadBuiltInPicture(skin::DeepBlue, 15, &b);              // a colour entry
  skin::LoadBuiltInPicture(skin::FromThemeFile, 1, &b);          // no built-in theme
  skin::GetBuiltInBitmap(static_cast<TsuiUIStyle>(9), 1, &b, 1, 3);
  skin::GetBuiltInBitmap(skin::DeepBlue, 43, &b, 1, 3);          // names no picture
  skin::LoadBuiltInPicture(skin::DeepBlue, 45, &b);
  EXPECT_TRUE(asked_.empty());
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Pixel(2, 2), Coord(2, 2));
}

TEST_F(FakeLoader, MissingResourcesFailWithTheirName) {
  TBitmap b;
  try {
    skin::GetBuiltInBitmap(skin::MacOS, 5, &b, 1, 18);
    FAIL() << "no error";
  } catch (const base::Error& e) {
    EXPECT_STREQ(e.what(), "Resource MACOS_TITLEBTN not found");
  }
}

TEST(PictureLoader, ThePlatformLoaderKnowsNoSuchResource) {
  // Natively there are no resources; this test program carries none either.
  TBitmap b;
  try {
    skin::LoadBuiltInPicture(skin::BlueGlass, 24, &b);
    FAIL() << "no error";
  } catch (const base::Error& e) {
    EXPECT_STREQ(e.what(), "Resource BLUEGLASS_PROGRESSBAR not found");
  }
  skin::PictureLoader mine = [](const std::string&) { return TBitmap(1, 1); };
  skin::PictureLoader platform = skin::SetPictureLoader(mine);
  EXPECT_TRUE(platform);
  skin::PictureLoader back = skin::SetPictureLoader(nullptr);
  EXPECT_EQ(back("anything").Width(), 1);
  EXPECT_THROW(skin::LoadBuiltInPicture(skin::BlueGlass, 24, &b), base::Error);
}

}  // namespace
