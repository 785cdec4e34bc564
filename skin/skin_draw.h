#pragma once
// The drawing helpers that every skinned control shares: cutting frames out
// of picture strips, drawing a picture as a face that can take any size,
// three-slice bars, tiles, gradients, and the few colour, geometry and text
// helpers of the form, its title bar and the menus. They keep no state and
// release every temporary bitmap before they return.
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/color.h"
#include "framework/graphics/geometry.h"

namespace skin {

using graphics::TBitmap;
using graphics::TCanvas;
using graphics::TColor;
using graphics::TPoint;
using graphics::TRect;

// Where skin pictures are see-through.
inline constexpr TColor kMaskColour = graphics::clFuchsia;

// Frame number frame (1-based) of a strip of frame_count equal frames side
// by side, each source width div frame_count wide; the last frame is the
// rightmost columns, so columns left over by the division belong to it or
// to none. target becomes the frame's size and pixels. frame_count is never
// 0 (callers know their strips).
void ExtractFrame(const TBitmap& source, TBitmap& target, int frame_count, int frame);

// Draws source into dest as a face of any size: the four corners at their
// natural size (cut to the destination's quadrants, keeping the picture's
// outer corners, when dest is smaller), edges and centre stretched between
// them. dest is expected at the canvas origin: pieces are placed at 0 or
// measured back from dest's right and bottom. Corners are opaque unless
// mask_corners, edges and centre always leave out kMaskColour.
void StretchSkinPicture(const TBitmap& source, TCanvas& canvas, const TRect& dest,
                        bool mask_corners);

// A strip of three equal frames as a bar across rect: left cap, middle
// stretched, right cap (a rect narrower than one frame shows the left cap,
// cut to rect's width). With masked, pixels of mask are left out. A bitmap
// narrower than three pixels has no frames and draws nothing.
void DrawThreeSlice(const TBitmap& bitmap, TCanvas& canvas, const TRect& rect, TColor mask,
                    bool masked);

// Repeats picture from the canvas origin (not from rect's top-left) far
// enough to cover rect's width and height from the origin. An empty picture
// draws nothing.
void TilePicture(TCanvas& canvas, const TBitmap& picture, const TRect& rect);

// Gradients made of lines drawn with the canvas pen, whose colour they
// change: from the first line in from to the last in to. System colours
// are resolved first.
void FillGradientVertical(TCanvas& canvas, const TRect& rect, TColor from, TColor to);
void FillGradientHorizontal(TCanvas& canvas, const TRect& rect, TColor from, TColor to);

constexpr TColor MakeRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return red + green * 256u + blue * 65536u;
}

// The colour's red, green and blue; a system colour is resolved first.
void SplitColour(TColor colour, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue);

// Inside, with the right and bottom edges counting as inside.
constexpr bool PtInRectInclusive(TPoint p, const TRect& r) {
  return r.Left <= p.X && p.X <= r.Right && r.Top <= p.Y && p.Y <= r.Bottom;
}

// text when it is no wider than limit on the canvas; otherwise the
// shortest "prefix..." (prefixes ending at character boundaries, never
// inside a double-byte character, shorter than the whole text) whose width
// reaches limit, or the whole text when none does. The result may be wider
// than limit: callers size their text areas to it.
std::string ShortenWithEllipsis(TCanvas& canvas, std::string_view text, int limit);

}  // namespace skin
