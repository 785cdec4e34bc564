#pragma once
// The skin file's vocabulary: the entry names under which a skin file
// carries its colours, pictures, integers and flags. Controls ask a file
// theme for an item by kind and number (counted from 0 within the kind);
// these tables turn the number into the entry name. The names and their
// order are the skin file format's own and never change.
#include <array>
#include <optional>
#include <string_view>

namespace skin {

enum class TSkinItemKind { Color, Picture, Integer, Flag };

inline constexpr int kSkinColorItems = 32;
inline constexpr int kSkinPictureItems = 34;
inline constexpr int kSkinIntegerItems = 9;
inline constexpr int kSkinFlagItems = 9;
inline constexpr int kSkinItemNames =
    kSkinColorItems + kSkinPictureItems + kSkinIntegerItems + kSkinFlagItems;  // 84

// All 84 names: colour items first, then picture, integer and flag items.
extern const std::array<std::string_view, kSkinItemNames> kSkinItemNameTable;

// The entry name of item number item of kind; item is taken modulo 128 (a
// number past the kind's items yields no name).
std::optional<std::string_view> SkinItemName(TSkinItemKind kind, int item);

// The kind of the entry name (exact spelling, upper case), or none for a
// name outside the vocabulary.
std::optional<TSkinItemKind> SkinItemKindOf(std::string_view name);

// Items read by this system's controls. The picture items that are strips
// of equal frames say how many.
namespace skin_item {
// Colours.
inline constexpr int kTransColor = 0;
inline constexpr int kTitleFontColor = 1;
inline constexpr int kFormColor = 2;
inline constexpr int kControlBorderColor = 22;
inline constexpr int kControlFontColor = 23;
inline constexpr int kButtonFontColor = 24;
// Pictures.
inline constexpr int kTitleButtons = 11;  // 18 frames
inline constexpr int kTitleButtonFrames = 18;
inline constexpr int kButton = 15;  // 3 frames: normal, hot, down
inline constexpr int kButtonFrames = 3;
inline constexpr int kCheckBox = 16;  // 6 frames
inline constexpr int kCheckBoxFrames = 6;
inline constexpr int kRadioButton = 18;  // 4 frames
inline constexpr int kRadioButtonFrames = 4;
// Flags.
inline constexpr int kButtonTrans = 5;
}  // namespace skin_item

}  // namespace skin
