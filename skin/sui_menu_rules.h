#pragma once
// The skinned menus' rules that need no window system: what a style does
// to a menu's colours and sizes, how big an item is, and how one item is
// drawn onto a canvas covering it (side bar, gradient, selection, check
// mark, image, caption, shortcut, separator, the MacOS pictures, the
// right-to-left mirror). TsuiPopupMenu and TsuiMainMenu (sui_menu.h) keep a
// TsuiMenuLook and call these.
#include <cstdint>
#include <string>

#include "framework/controls/menus.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/font.h"
#include "framework/graphics/image_list.h"
#include "skin/sui_themes.h"

namespace skin {

class TsuiFileTheme;

// Every published value a skinned menu draws with, at its value before the
// first style is applied.
struct TsuiMenuLook {
  TsuiUIStyle UIStyle = DeepBlue;
  int MenuItemHeight = 21;
  int SeparatorHeight = 21;
  int BarWidth = 0;
  graphics::TColor BarColor = graphics::clBtnFace;
  graphics::TColor BarToColor = graphics::clBtnFace;
  graphics::TColor Color = graphics::clWhite;
  graphics::TColor SeparatorColor = 0x808080;
  graphics::TColor SelectedBorderColor = graphics::clHighlight;
  graphics::TColor SelectedColor = graphics::clHighlight;
  graphics::TColor SelectedFontColor = graphics::clWhite;
  graphics::TColor FontColor = graphics::clWhite;
  graphics::TColor BorderColor = 0;
  bool FlatMenu = false;
  std::string FontName = "MS Sans Serif";
  int FontSize = 8;
  std::uint8_t FontCharset = graphics::kDefaultCharset;
  bool UseSystemFont = true;
};

// Where a ready file theme is asked for a menu's colours (colour items).
namespace menu_item {
inline constexpr int kFrameLine = 2;  // the line of a flat menu's window frame
inline constexpr int kBarColor = 9;
inline constexpr int kBarToColor = 10;
inline constexpr int kColor = 11;
inline constexpr int kFontColor = 12;
inline constexpr int kSelectedColor = 13;
inline constexpr int kSelectedBorderColor = 14;
inline constexpr int kSelectedFontColor = 15;
}  // namespace menu_item

// Stores style, then sets BarWidth, the heights, the separator colour and
// the colours from the file theme (when UsingFileTheme says so) or from the
// resolved built-in theme.
void ApplyMenuStyle(TsuiMenuLook& look, TsuiUIStyle style, const TsuiFileTheme* file_theme);

// The colour of the line drawn over a flat menu's frame: file theme colour
// item 2, or built-in entry 15 of the resolved theme.
graphics::TColor FlatMenuLineColor(TsuiUIStyle style, const TsuiFileTheme* file_theme);

// The font items are drawn in: the system's menu font, or FontName at
// FontSize points (96 pixels to the inch) in FontCharset.
graphics::TFont MenuItemFont(const TsuiMenuLook& look, const graphics::TFont& system_font);

// Mirrored only when the menu does not read left to right and the system
// lays out right-to-left locales.
constexpr bool MenuIsRightToLeft(framework::TBiDiMode mode, bool right_to_left_locale) {
  return mode != framework::TBiDiMode::bdLeftToRight && right_to_left_locale;
}

// Height: a separator's is SeparatorHeight; another item's the larger of
// its caption's text height and MenuItemHeight. Width: caption width +
// shortcut text width + BarWidth + 40. The canvas's font becomes the
// item's.
void MeasureMenuItem(const TsuiMenuLook& look, const framework::TMenuItem& item,
                     graphics::TCanvas& canvas, const graphics::TFont& system_font, int& width,
                     int& height);

// What drawing needs beyond the look. Pictures and lists are not owned and
// may be null (nothing of theirs is drawn).
struct TMenuItemPictures {
  const graphics::TImageList* images = nullptr;       // the items' own images
  const graphics::TImageList* check_marks = nullptr;  // image 0: the check mark
  const graphics::TBitmap* macos_select = nullptr;    // "MACOS_MENU_SELECT"
  const graphics::TBitmap* macos_bar = nullptr;       // "MACOS_MENU_BAR"
  graphics::TFont system_font;
  bool right_to_left = false;
};

void DrawMenuItem(const TsuiMenuLook& look, const framework::TMenuItem& item,
                  graphics::TCanvas& canvas, const graphics::TRect& rect, bool selected,
                  const TMenuItemPictures& pictures);

// The check-mark list: the 16 x 16 picture "MENU_CHECKED" with white as
// its mask colour; empty when the picture cannot be had.
void LoadCheckMarks(graphics::TImageList& list);

}  // namespace skin
