#include "skin/sui_skin_items.h"

namespace skin {

const std::array<std::string_view, kSkinItemNames> kSkinItemNameTable = {
    // Colour items (integer entries holding Windows colour values).
    "SKIN2_TRANSCOLOR",
    "SKIN2_TITLEFONTCOLOR",
    "SKIN2_FORMCOLOR",
    "SKIN2_MENUBARSTARTCOLOR",
    "SKIN2_MENUBARENDCOLOR",
    "SKIN2_TOPSELECTEDMENUCOLOR",
    "SKIN2_TOPSELECTEDMENUBORDERCOLOR",
    "SKIN2_TOPSELECTEDMENUFONTCOLOR",
    "SKIN2_TOPMENUFONTCOLOR",
    "SKIN2_LEFTBARSTARTCOLOR",
    "SKIN2_LEFTBARENDCOLOR",
    "SKIN2_MENUITEMCOLOR",
    "SKIN2_MENUITEMFONTCOLOR",
    "SKIN2_SELECTEDMENUCOLOR",
    "SKIN2_SELECTEDMENUBORDERCOLOR",
    "SKIN2_SELECTEDMENUFONTCOLOR",
    "SKIN2_TOOLBARSTARTCOLOR",
    "SKIN2_TOOLBARENDCOLOR",
    "SKIN2_TOOLBARONCOLOR",
    "SKIN2_TOOLBARBORDERCOLOR",
    "SKIN2_TOOLBARDOWNCOLOR",
    "SKIN2_CONTROLCOLOR",
    "SKIN2_CONTROLBORDERCOLOR",
    "SKIN2_CONTROLFONTCOLOR",
    "SKIN2_BUTTONFONTCOLOR",
    "SKIN2_SCROLLBARCOLOR",
    "SKIN2_TABCONTROLCOLOR",
    "SKIN2_TABCONTROLBORDERCOLOR",
    "SKIN2_TABCONTROLACTIVEFONTCOLOR",
    "SKIN2_TABCONTROLINACTIVEFONTCOLOR",
    "SKIN2_SIDECHANNELCOLOR",
    "SKIN2_SIDECHANNELBORDERCOLOR",
    // Picture items (bitmap entries).
    "SKIN2_TITLEBAR1",
    "SKIN2_TITLEBAR2",
    "SKIN2_TITLEBAR3",
    "SKIN2_TITLEBAR4",
    "SKIN2_TITLEBAR5",
    "SKIN2_FORMLEFTBORDER",
    "SKIN2_FORMRIGHTBORDER",
    "SKIN2_FORMBOTTOMBORDER1",
    "SKIN2_FORMBOTTOMBORDER2",
    "SKIN2_FORMBOTTOMBORDER3",
    "SKIN2_MINIMIZEDTITLE",
    "SKIN2_TITLEBUTTONS",
    "SKIN2_CHECKEDMENUICON",
    "SKIN2_MENUBAR",
    "SKIN2_TOOLBAR",
    "SKIN2_BUTTON",
    "SKIN2_CHECKBOX",
    "SKIN2_CHECKBOXLIST",
    "SKIN2_RADIOBUTTON",
    "SKIN2_PROGRESSBAR1",
    "SKIN2_PROGRESSBAR2",
    "SKIN2_PROGRESSBAR3",
    "SKIN2_PROGRESSBAR4",
    "SKIN2_TRACKBAR",
    "SKIN2_TRACKBARSLIDER",
    "SKIN2_TRACKBARVSLIDER",
    "SKIN2_SCROLLBARUPBUTTON",
    "SKIN2_SCROLLBAR",
    "SKIN2_SCROLLBARDOWNBUTTON",
    "SKIN2_TABCONTROL",
    "SKIN2_TABCONTROLLINE",
    "SKIN2_SIDECHANNELBAR",
    "SKIN2_SIDECHANNELTITLE",
    "SKIN2_SCROLLBUTTON",
    // Integer items (integer entries, pixels).
    "SKIN2_TITLEBARICONPOSX",
    "SKIN2_TITLEBARICONPOSY",
    "SKIN2_TITLEBARCAPTIONTOP",
    "SKIN2_TITLEBARBUTTONPOSX",
    "SKIN2_TITLEBARBUTTONPOSY",
    "SKIN2_TITLEBARREGIONMINY",
    "SKIN2_TITLEBARREGIONMAXY",
    "SKIN2_BOTTOMREGIONMINY",
    "SKIN2_BOTTOMREGIONMAXY",
    // Flag items (boolean entries).
    "SKIN2_TITLEFIVESECT",
    "SKIN2_BOTTOMBORDERTHREESECT",
    "SKIN2_TITLEBARNEEDREGION",
    "SKIN2_BOTTOMBORDERNEEDREGION",
    "SKIN2_TITLEBTNTRANS",
    "SKIN2_BUTTONTRANS",
    "SKIN2_CHECKBOXTRANS",
    "SKIN2_RADIOBUTTONTRANS",
    "SKIN2_TABCONTROLTRANS",
};

namespace {

struct KindRange {
  TSkinItemKind kind;
  int first;
  int count;
};

constexpr std::array<KindRange, 4> kRanges = {{
    {TSkinItemKind::Color, 0, kSkinColorItems},
    {TSkinItemKind::Picture, kSkinColorItems, kSkinPictureItems},
    {TSkinItemKind::Integer, kSkinColorItems + kSkinPictureItems, kSkinIntegerItems},
    {TSkinItemKind::Flag, kSkinColorItems + kSkinPictureItems + kSkinIntegerItems,
     kSkinFlagItems},
}};

}  // namespace

std::optional<std::string_view> SkinItemName(TSkinItemKind kind, int item) {
  // Callers pass item numbers as they were stored by a control: only the
  // low seven bits count.
  const int number = item & 127;
  for (const KindRange& r : kRanges) {
    if (r.kind != kind) continue;
    if (number >= r.count) return std::nullopt;
    return kSkinItemNameTable[static_cast<std::size_t>(r.first + number)];
  }
  return std::nullopt;
}

std::optional<TSkinItemKind> SkinItemKindOf(std::string_view name) {
  for (const KindRange& r : kRanges) {
    for (int i = 0; i < r.count; ++i) {
      if (kSkinItemNameTable[static_cast<std::size_t>(r.first + i)] == name) return r.kind;
    }
  }
  return std::nullopt;
}

}  // namespace skin
