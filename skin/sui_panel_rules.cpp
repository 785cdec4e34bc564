#include "skin/sui_panel_rules.h"

namespace skin {

graphics::TSize PictureAutoSizeFor(framework::TAlign align, graphics::TSize current,
                                   graphics::TSize picture) {
  using framework::TAlign;
  switch (align) {
    case TAlign::alNone:
    case TAlign::alCustom:
      return picture;
    case TAlign::alLeft:
    case TAlign::alRight:
      return {picture.cx, current.cy};
    case TAlign::alTop:
    case TAlign::alBottom:
      return {current.cx, picture.cy};
    default:
      return current;
  }
}

}  // namespace skin
