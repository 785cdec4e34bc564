#pragma once
// The names layouts use for the title bar's enumerations.
#include "framework/core/rtti.h"
#include "skin/sui_title_bar_items.h"

namespace skin {

inline constexpr framework::TEnumName kTitleBarAlignNames[] = {
    {"suiLeft", suiLeft}, {"suiRight", suiRight}, {"suiClient", suiClient}};
inline constexpr framework::TEnumInfo kTitleBarAligns{"TsuiTitleBarAlign", kTitleBarAlignNames};

inline constexpr framework::TEnumName kTitleBarBtnTypeNames[] = {{"suiMax", suiMax},
                                                                 {"suiMin", suiMin},
                                                                 {"suiClose", suiClose},
                                                                 {"suiHelp", suiHelp},
                                                                 {"suiControlBox", suiControlBox},
                                                                 {"suiCustom", suiCustom}};
inline constexpr framework::TEnumInfo kTitleBarBtnTypes{"TsuiTitleBarBtnType",
                                                        kTitleBarBtnTypeNames};

}  // namespace skin
