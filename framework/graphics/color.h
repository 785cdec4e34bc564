#pragma once
// Colours as the toolkit stores them: 0x00BBGGRR, red in the low byte, the
// layout of a Windows COLORREF. A value whose high byte is 0xFF names a
// system colour by its index in the low byte; it means nothing to pixel
// arithmetic until ColorToRGB has turned it into red, green and blue.
#include <cstdint>

namespace graphics {

using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clBlue = 0xFF0000;
// Magenta: the see-through colour of skin pictures.
inline constexpr TColor clFuchsia = 0xFF00FF;

// System colours, by the index GetSysColor takes.
inline constexpr TColor kSystemColorFlag = 0xFF000000;
inline constexpr TColor clBtnFace = kSystemColorFlag | 15;
inline constexpr TColor clBtnShadow = kSystemColorFlag | 16;
inline constexpr TColor clBtnText = kSystemColorFlag | 18;
inline constexpr TColor clBtnHighlight = kSystemColorFlag | 20;
inline constexpr TColor clWindow = kSystemColorFlag | 5;
inline constexpr TColor clWindowText = kSystemColorFlag | 8;
inline constexpr TColor clHighlight = kSystemColorFlag | 13;
inline constexpr TColor clHighlightText = kSystemColorFlag | 14;
inline constexpr TColor clGrayText = kSystemColorFlag | 17;

constexpr bool IsSystemColor(TColor c) { return (c >> 24) == 0xFF; }

// <windows.h> defines these names as macros; the functions below do the
// same job with types, so the macros give way wherever this header is seen.
#undef GetRValue
#undef GetGValue
#undef GetBValue
#undef RGB
constexpr std::uint8_t GetRValue(TColor c) { return static_cast<std::uint8_t>(c); }
constexpr std::uint8_t GetGValue(TColor c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t GetBValue(TColor c) { return static_cast<std::uint8_t>(c >> 16); }
constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}

// Red, green and blue of a colour: a system colour goes through the
// resolver; any other value keeps its low three bytes (a high byte other
// than 0xFF carries no meaning for drawing and is dropped).
TColor ColorToRGB(TColor color);

// Maps a system colour index to its RGB value (0x00BBGGRR).
using SysColorResolver = TColor (*)(int index);

// Replaces the resolver and returns the one in force before; nullptr
// restores the platform's own (GetSysColor on Windows; elsewhere the
// Windows classic scheme, see ClassicSysColor). Tests install a fixed one
// so that results do not depend on the desktop's colour scheme.
SysColorResolver SetSysColorResolver(SysColorResolver resolver);

// The Windows classic ("Windows Standard") value of a system colour; black
// for an index that names none, as GetSysColor answers.
TColor ClassicSysColor(int index);

// The platform's resolver (sys_colors_win.cpp / sys_colors_posix.cpp).
TColor PlatformSysColor(int index);

}  // namespace graphics
