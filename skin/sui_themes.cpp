#include "skin/sui_themes.h"

#include <array>
#include <map>

#include "skin/skin_draw.h"
#include "skin/sui_file_theme.h"

namespace skin {
namespace {

using Kind = TThemeEntryKind;

struct Row {
  Kind kind;
  std::array<std::int32_t, 5> values;
  std::array<const char*, 5> pictures;
};

// Columns in TsuiUIStyle order: MacOS, WinXP, DeepBlue, Protein, BlueGlass.
constexpr Row Int(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, std::int32_t e) {
  return {Kind::Integer, {a, b, c, d, e}, {"", "", "", "", ""}};
}
constexpr Row Colour(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                     std::uint32_t e) {
  return {Kind::Colour,
          {static_cast<std::int32_t>(a), static_cast<std::int32_t>(b),
           static_cast<std::int32_t>(c), static_cast<std::int32_t>(d),
           static_cast<std::int32_t>(e)},
          {"", "", "", "", ""}};
}
constexpr Row Flag(bool a, bool b, bool c, bool d, bool e) {
  return {Kind::Flag, {a, b, c, d, e}, {"", "", "", "", ""}};
}
constexpr Row Pic(const char* a, const char* b, const char* c, const char* d, const char* e) {
  return {Kind::Picture, {0, 0, 0, 0, 0}, {a, b, c, d, e}};
}

// Entries that no control of this program reads are kept, so that the
// numbers of the others stay as every skin author knows them.
constexpr std::array<Row, kBuiltInEntryCount> kTable = {{
    /*  1 push button face, 3 frames */
    Pic("MACOS_BUTTON", "WINXP_BUTTON", "DEEPBLUE_BUTTON", "PROTEIN_BUTTON", "BLUEGLASS_BUTTON"),
    /*  2 push button Transparent */
    Flag(true, false, false, false, true),
    /*  3 check box mark, 4 frames */
    Pic("MACOS_CHECKBOX", "WINXP_CHECKBOX", "DEEPBLUE_CHECKBOX", "PROTEIN_CHECKBOX",
        "BLUEGLASS_CHECKBOX"),
    /*  4 radio button mark, 4 frames */
    Pic("MACOS_RADIOBUTTON", "WINXP_RADIOBUTTON", "DEEPBLUE_RADIOBUTTON", "PROTEIN_RADIOBUTTON",
        "BLUEGLASS_RADIOBUTTON"),
    /*  5 title-bar buttons, 18 frames */
    Pic("MACOS_TITLEBTN", "WINXP_TITLEBTN", "DEEPBLUE_TITLEBTN", "PROTEIN_TITLEBTN",
        "BLUEGLASS_TITLEBTN"),
    /*  6 title-bar buttons transparent */
    Flag(false, false, false, true, true),
    /*  7 title bar LeftBtnXOffset */
    Int(3, 2, 0, 0, 4),
    /*  8 title bar RightBtnXOffset */
    Int(-2, -2, 0, 0, -3),
    /*  9 title-bar button top offset */
    Int(4, 5, 2, 2, 6),
    /* 10 title bar left section */
    Pic("MACOS_TITLE_LEFT", "WINXP_TITLE_LEFT", "DEEPBLUE_TITLE_LEFT", "PROTEIN_TITLE_LEFT",
        "BLUEGLASS_TITLE_LEFT"),
    /* 11 title bar middle section */
    Pic("MACOS_TITLE_CLIENT", "WINXP_TITLE_CLIENT", "DEEPBLUE_TITLE_CLIENT",
        "PROTEIN_TITLE_CLIENT", "BLUEGLASS_TITLE_CLIENT"),
    /* 12 title bar right section */
    Pic("MACOS_TITLE_RIGHT", "WINXP_TITLE_RIGHT", "DEEPBLUE_TITLE_RIGHT", "PROTEIN_TITLE_RIGHT",
        "BLUEGLASS_TITLE_RIGHT"),
    /* 13 skinned form minimum width */
    Int(130, 150, 130, 130, 270),
    /* 14 RoundCorner of form and title bar */
    Int(0, 13, 0, 0, 11),
    /* 15 form Color, menu bar colours, flat menu frame */
    Colour(0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7),
    /* 16 form BorderColor */
    Colour(0x7F7F7F, 0xC82C00, 0x000000, 0x000000, 0x000000),
    /* 17 form BorderWidth */
    Int(1, 3, 1, 1, 1),
    /* 18 menus SelectedBorderColor */
    Colour(0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E),
    /* 19 menus SelectedColor */
    Colour(0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E),
    /* 20 menus SelectedFontColor */
    Colour(0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF),
    /* 21 menus Color */
    Colour(0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7),
    /* 22 menus FontColor, menu bar text */
    Colour(0x000000, 0x000000, 0x000000, 0x000000, 0x000000),
    /* 23 menus BarColor and BarToColor */
    Colour(0x000000, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6),
    /* 24 progress bar */
    Pic("MACOS_PROGRESSBAR", "WINXP_PROGRESSBAR", "DEEPBLUE_PROGRESSBAR", "PROTEIN_PROGRESSBAR",
        "BLUEGLASS_PROGRESSBAR"),
    /* 25 group box BorderColor */
    Colour(0x7F7F7F, 0x686868, 0x000000, 0x000000, 0x000000),
    /* 26 */
    Colour(0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7),
    /* 27 group box font colour */
    Colour(0x000000, 0xCF4602, 0x000000, 0x000000, 0x000000),
    /* 28 track bar */
    Pic("MACOS_TRACKBAR_BAR", "WINXP_TRACKBAR_BAR", "DEEPBLUE_TRACKBAR_BAR",
        "PROTEIN_TRACKBAR_BAR", "BLUEGLASS_TRACKBAR_BAR"),
    /* 29 track bar slider */
    Pic("MACOS_TRACKBAR_SLIDER", "WINXP_TRACKBAR_SLIDER", "DEEPBLUE_TRACKBAR_SLIDER",
        "PROTEIN_TRACKBAR_SLIDER", "BLUEGLASS_TRACKBAR_SLIDER"),
    /* 30 vertical track bar slider */
    Pic("MACOS_TRACKBAR_SLIDER_V", "WINXP_TRACKBAR_SLIDER_V", "DEEPBLUE_TRACKBAR_SLIDER_V",
        "PROTEIN_TRACKBAR_SLIDER_V", "BLUEGLASS_TRACKBAR_SLIDER_V"),
    /* 31 */
    Colour(0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4),
    /* 32 scroll bar button */
    Pic("MACOS_SCROLLBAR_BUTTON", "WINXP_SCROLLBAR_BUTTON", "DEEPBLUE_SCROLLBAR_BUTTON",
        "PROTEIN_SCROLLBAR_BUTTON", "BLUEGLASS_SCROLLBAR_BUTTON"),
    /* 33 scroll bar track */
    Pic("MACOS_SCROLLBAR_TRACK", "WINXP_SCROLLBAR_TRACK", "DEEPBLUE_SCROLLBAR_TRACK",
        "PROTEIN_SCROLLBAR_TRACK", "BLUEGLASS_SCROLLBAR_TRACK"),
    /* 34 check list */
    Pic("MACOS_CHECKLIST", "WINXP_CHECKLIST", "DEEPBLUE_CHECKLIST", "PROTEIN_CHECKLIST",
        "BLUEGLASS_CHECKLIST"),
    /* 35 */
    Colour(0x474747, 0xC66931, 0x474747, 0x474747, 0x474747),
    /* 36 */
    Colour(0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF),
    /* 37 */
    Colour(0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8),
    /* 38 scroll button: three themes share one picture */
    Pic("MACOS_SCROLLBUTTON", "WINXP_SCROLLBUTTON", "MORE_SCROLLBUTTON", "MORE_SCROLLBUTTON",
        "MORE_SCROLLBUTTON"),
    /* 39 tab */
    Pic("MACOS_TAB", "WINXP_TAB", "DEEPBLUE_TAB", "PROTEIN_TAB", "BLUEGLASS_TAB"),
    /* 40 tab line */
    Pic("MACOS_TAB_LINE", "WINXP_TAB_LINE", "DEEPBLUE_TAB_LINE", "PROTEIN_TAB_LINE",
        "BLUEGLASS_TAB_LINE"),
    /* 41 side channel handle */
    Pic("MACOS_SIDECHENNEL_HANDLE", "WINXP_SIDECHENNEL_HANDLE", "DEEPBLUE_SIDECHENNEL_HANDLE",
        "PROTEIN_SIDECHENNEL_HANDLE", "BLUEGLASS_SIDECHENNEL_HANDLE"),
    /* 42 side channel bar */
    Pic("MACOS_SIDECHENNEL_BAR", "WINXP_SIDECHENNEL_BAR", "DEEPBLUE_SIDECHENNEL_BAR",
        "PROTEIN_SIDECHENNEL_BAR", "BLUEGLASS_SIDECHENNEL_BAR"),
    /* 43 no picture */
    Pic("", "", "", "", ""),
    /* 44 */
    Colour(0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF),
    /* 45 no picture */
    Pic("", "", "", "", ""),
    /* 46 no picture */
    Pic("", "", "", "", ""),
    /* 47 */
    Int(0, 0, 0, 0, 0),
    /* 48 */
    Colour(0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7),
}};

PictureLoader& Loader() {
  static PictureLoader loader;
  return loader;
}

std::map<std::string, graphics::TBitmap>& KeptPictures() {
  static std::map<std::string, graphics::TBitmap> kept;
  return kept;
}

graphics::TBitmap LoadPicture(const std::string& name) {
  const PictureLoader& loader = Loader();
  return loader ? loader(name) : LoadModulePicture(name);
}

}  // namespace

TBuiltInEntry GetBuiltInEntry(TsuiUIStyle theme, int entry) {
  if (theme < MacOS || theme > BlueGlass || entry < 1 || entry > kBuiltInEntryCount) return {};
  const Row& row = kTable[static_cast<std::size_t>(entry - 1)];
  const std::size_t column = theme - MacOS;
  return {row.kind, row.values[column], row.pictures[column]};
}

bool GetBuiltInBool(TsuiUIStyle theme, int entry) {
  TBuiltInEntry e = GetBuiltInEntry(theme, entry);
  return e.Kind == Kind::Flag && e.Value != 0;
}

graphics::TColor GetBuiltInColor(TsuiUIStyle theme, int entry) {
  TBuiltInEntry e = GetBuiltInEntry(theme, entry);
  return e.Kind == Kind::Colour ? static_cast<graphics::TColor>(e.Value) : graphics::clBlack;
}

std::int32_t GetBuiltInInt(TsuiUIStyle theme, int entry) {
  TBuiltInEntry e = GetBuiltInEntry(theme, entry);
  return e.Kind == Kind::Integer ? e.Value : -1;
}

void LoadBuiltInPicture(TsuiUIStyle theme, int entry, graphics::TBitmap* bitmap) {
  if (!bitmap) return;
  TBuiltInEntry e = GetBuiltInEntry(theme, entry);
  if (e.Kind != Kind::Picture || e.Picture.empty()) return;
  bitmap->TakeImage(LoadPicture(std::string(e.Picture)));
}

void GetBuiltInBitmap(TsuiUIStyle theme, int entry, graphics::TBitmap* bitmap, int frame,
                      int frame_count) {
  if (!bitmap) return;
  if (frame_count == 0) {
    LoadBuiltInPicture(theme, entry, bitmap);
    return;
  }
  TBuiltInEntry e = GetBuiltInEntry(theme, entry);
  if (e.Kind != Kind::Picture || e.Picture.empty()) return;
  graphics::TBitmap strip = LoadPicture(std::string(e.Picture));
  ExtractFrame(strip, *bitmap, frame_count, frame);
}

bool UsingFileTheme(const TsuiFileTheme* file_theme, TsuiUIStyle style,
                    TsuiUIStyle& out_theme) {
  out_theme = style;
  if (style != FromThemeFile) return false;
  if (file_theme && file_theme->Ready()) return true;
  out_theme = DeepBlue;
  return false;
}

graphics::TBitmap LoadThemePicture(const std::string& name) { return LoadPicture(name); }

const graphics::TBitmap& ThemePicture(const std::string& name) {
  auto& kept = KeptPictures();
  if (auto it = kept.find(name); it != kept.end()) return it->second;
  graphics::TBitmap picture;
  try {
    picture = LoadPicture(name);
  } catch (const std::exception&) {
    // Kept empty: a missing picture is not looked for on every paint.
  }
  return kept.emplace(name, std::move(picture)).first->second;
}

PictureLoader SetPictureLoader(PictureLoader loader) {
  PictureLoader previous = Loader() ? Loader() : PictureLoader(&LoadModulePicture);
  Loader() = std::move(loader);
  KeptPictures().clear();
  return previous;
}

}  // namespace skin
