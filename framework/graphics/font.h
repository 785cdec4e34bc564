#pragma once
// Pens, brushes and fonts: the drawing state a canvas carries, as plain
// values.
#include <cstdint>
#include <string>

#include "framework/graphics/color.h"

namespace graphics {

struct TPen {
  TColor Color = clBlack;
  // In pixels; 0 draws as 1, as with the platform's cosmetic pens.
  int Width = 1;
};

enum class TBrushStyle : std::uint8_t { Solid, Clear };

struct TBrush {
  TColor Color = clWhite;
  // Clear: rectangle fills draw nothing.
  TBrushStyle Style = TBrushStyle::Solid;
};

enum TFontStyle : std::uint8_t {
  fsBold = 1,
  fsItalic = 2,
  fsUnderline = 4,
  fsStrikeOut = 8,
};
using TFontStyles = std::uint8_t;  // TFontStyle bits

inline constexpr std::uint8_t kDefaultCharset = 1;  // DEFAULT_CHARSET
inline constexpr std::uint8_t kGb2312Charset = 134;

struct TFont {
  // GBK. SimSun (宋体): the program's texts are Chinese.
  std::string Name = "\xCB\xCE\xCC\xE5";
  // Character height in pixels (the em height, without internal leading).
  int Height = 12;
  TColor Color = clWindowText;
  TFontStyles Style = 0;
  std::uint8_t Charset = kGb2312Charset;
};

}  // namespace graphics
