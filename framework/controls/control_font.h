#pragma once
// A control's font as a published sub-object, so that layouts can set
// "Font.Name", "Font.Height", "Font.Style" and so on through the control's
// own font setter (which repaints and passes the font to the children that
// follow it).
#include <cstdint>
#include <string>
#include <utility>

#include "framework/core/rtti.h"
#include "framework/graphics/font.h"

namespace framework {

class TControl;

class TControlFont : public TPersistent {
public:
  explicit TControlFont(TControl& control) : control_(control) {}
  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  const graphics::TFont& Get() const;

  // The published fields; each setter passes the whole changed font to the
  // control's SetFont.
  const std::string& Name() const { return Get().Name; }
  void SetName(const std::string& name) { Change(&graphics::TFont::Name, name); }
  int Height() const { return Get().Height; }
  void SetHeight(int height) { Change(&graphics::TFont::Height, height); }
  graphics::TColor Color() const { return Get().Color; }
  void SetColor(graphics::TColor color) { Change(&graphics::TFont::Color, color); }
  std::uint32_t Style() const { return static_cast<std::uint32_t>(Get().Style); }
  void SetStyle(std::uint32_t style) {
    Change(&graphics::TFont::Style, static_cast<graphics::TFontStyles>(style));
  }
  int Charset() const { return Get().Charset; }
  void SetCharset(int charset) {
    Change(&graphics::TFont::Charset, static_cast<std::uint8_t>(charset));
  }

private:
  template <typename V>
  void Change(V graphics::TFont::*field, V value) {
    graphics::TFont font = Get();
    font.*field = std::move(value);
    Apply(font);
  }
  void Apply(const graphics::TFont& font);

  TControl& control_;
};

}  // namespace framework
