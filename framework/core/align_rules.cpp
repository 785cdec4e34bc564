#include "framework/core/align_rules.h"

#include <algorithm>

namespace framework {

std::vector<graphics::TRect> ArrangeAligned(graphics::TRect area,
                                            const std::vector<TAlignedChild>& children) {
  std::vector<graphics::TRect> out;
  out.reserve(children.size());
  for (const TAlignedChild& c : children) out.push_back(c.bounds);
  constexpr TAlign kOrder[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight,
                               TAlign::alClient};
  for (TAlign pass : kOrder) {
    for (std::size_t i = 0; i < children.size(); ++i) {
      if (children[i].align != pass) continue;
      const int w = std::max(children[i].bounds.Width(), 0);
      const int h = std::max(children[i].bounds.Height(), 0);
      const int area_w = std::max(area.Width(), 0);
      const int area_h = std::max(area.Height(), 0);
      graphics::TRect& r = out[i];
      switch (pass) {
        case TAlign::alTop:
          r = {area.Left, area.Top, area.Left + area_w, area.Top + h};
          area.Top = std::min(area.Top + h, std::max(area.Bottom, area.Top));
          break;
        case TAlign::alBottom:
          r = {area.Left, area.Bottom - h, area.Left + area_w, area.Bottom};
          area.Bottom = std::max(area.Bottom - h, area.Top);
          break;
        case TAlign::alLeft:
          r = {area.Left, area.Top, area.Left + w, area.Top + area_h};
          area.Left = std::min(area.Left + w, std::max(area.Right, area.Left));
          break;
        case TAlign::alRight:
          r = {area.Right - w, area.Top, area.Right, area.Top + area_h};
          area.Right = std::max(area.Right - w, area.Left);
          break;
        default:
          r = {area.Left, area.Top, area.Left + area_w, area.Top + area_h};
          break;
      }
    }
  }
  return out;
}

}  // namespace framework
