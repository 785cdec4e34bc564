#pragma once
// SUIThemes: the theme a skinned control draws with. Five themes are built
// in: their pictures are BITMAP resources of the program, their colours and
// numbers one constant table of 48 entries. The sixth style, FromThemeFile,
// sends the control to its file theme, or to DeepBlue when that is missing
// or not ready.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/color.h"

namespace skin {

class TsuiFileTheme;

enum TsuiUIStyle : std::uint8_t { FromThemeFile, MacOS, WinXP, DeepBlue, Protein, BlueGlass };

inline constexpr int kBuiltInEntryCount = 48;

enum class TThemeEntryKind : std::uint8_t { Integer = 0, Colour = 1, Picture = 2, Flag = 3 };

struct TBuiltInEntry {
  TThemeEntryKind Kind = TThemeEntryKind::Integer;
  std::int32_t Value = -1;   // integer, colour (0x00BBGGRR) or flag (0/1)
  std::string_view Picture;  // resource name of a picture entry; "" is no picture
};

// Entry 1..48 of built-in theme 1..5 (MacOS..BlueGlass). Any other theme
// (FromThemeFile included) or entry number gives kind integer, value -1.
TBuiltInEntry GetBuiltInEntry(TsuiUIStyle theme, int entry);

// The entry's value when it is of the kind asked for; otherwise false, 0
// (black) or -1. Values are never converted between kinds.
bool GetBuiltInBool(TsuiUIStyle theme, int entry);
graphics::TColor GetBuiltInColor(TsuiUIStyle theme, int entry);
std::int32_t GetBuiltInInt(TsuiUIStyle theme, int entry);

// With a bitmap and a picture entry that names a picture, replaces the
// bitmap's image by that picture (its transparency settings stay);
// otherwise leaves the bitmap as it was. A missing resource throws
// base::Error "Resource NAME not found".
void LoadBuiltInPicture(TsuiUIStyle theme, int entry, graphics::TBitmap* bitmap);

// frame_count 0: LoadBuiltInPicture. Otherwise the bitmap becomes frame
// number frame (1-based) of frame_count equal frames of the picture
// (ExtractFrame). Without a bitmap, or when the entry yields no picture,
// nothing changes.
void GetBuiltInBitmap(TsuiUIStyle theme, int entry, graphics::TBitmap* bitmap, int frame,
                      int frame_count);

// Style resolution, done at every paint: out_theme becomes the style; true
// only for FromThemeFile with a file theme that is Ready() (the control
// asks the file theme). FromThemeFile without a usable file theme gives
// false and out_theme DeepBlue.
bool UsingFileTheme(const TsuiFileTheme* file_theme, TsuiUIStyle style,
                    TsuiUIStyle& out_theme);

// Turns a picture's resource name into its pixels; throws base::Error
// "Resource NAME not found" when there is none.
using PictureLoader = std::function<graphics::TBitmap(const std::string& name)>;

// Replaces the loader and returns the one in force before; an empty loader
// restores the platform's (LoadModulePicture). Tests install fakes.
PictureLoader SetPictureLoader(PictureLoader loader);

// The picture of that name through the loader in force (a built-in theme
// picture that no table entry names, such as the menus' check mark).
// Throws base::Error "Resource NAME not found" when there is none.
graphics::TBitmap LoadThemePicture(const std::string& name);

// The same picture read once and kept, for what is drawn on every paint
// (the MacOS menu and form pictures); an empty bitmap when there is none.
// Installing a loader forgets what was kept. GUI thread only.
const graphics::TBitmap& ThemePicture(const std::string& name);

// The platform's loader: BITMAP resources of the running executable on
// Windows (sui_themes_win.cpp); elsewhere there are none and every name is
// missing.
graphics::TBitmap LoadModulePicture(const std::string& name);

}  // namespace skin
