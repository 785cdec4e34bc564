#pragma once
// The names layouts use for TsuiUIStyle values.
#include "framework/core/rtti.h"
#include "skin/sui_themes.h"

namespace skin {

inline constexpr framework::TEnumName kUIStyleNames[] = {
    {"FromThemeFile", FromThemeFile}, {"MacOS", MacOS},     {"WinXP", WinXP},
    {"DeepBlue", DeepBlue},           {"Protein", Protein}, {"BlueGlass", BlueGlass}};
inline constexpr framework::TEnumInfo kUIStyles{"TsuiUIStyle", kUIStyleNames};

}  // namespace skin
