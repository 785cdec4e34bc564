#include "skin/skin_draw.h"

#include <algorithm>

#include "base/gbk_text.h"
#include "framework/graphics/image_list.h"

namespace skin {
namespace {

using graphics::TRect;

// A bitmap of the piece's size holding source_rect stretched into it.
TBitmap Piece(const TBitmap& source, const TRect& source_rect, int width, int height) {
  TBitmap piece(width, height);
  TCanvas canvas(piece);
  canvas.CopyRect({0, 0, width, height}, source, source_rect);
  return piece;
}

void DrawMasked(TCanvas& canvas, int x, int y, TBitmap& piece) {
  piece.SetTransparent(true);
  piece.SetTransparentColor(kMaskColour);
  canvas.Draw(x, y, piece);
}

// Which sides of the picture a corner keeps when it is cut down.
enum class Keep { LeftTop, LeftBottom, RightTop, RightBottom };

// Draws one corner and returns the rectangle it covers (empty when it is
// too small to draw; the edges still measure from it).
TRect DrawCorner(const TBitmap& source, TCanvas& canvas, const TRect& source_rect,
                 const TRect& quadrant, Keep keep, const TRect& dest, bool mask) {
  const int cw = std::max(0, std::min(source_rect.Width(), quadrant.Width()));
  const int ch = std::max(0, std::min(source_rect.Height(), quadrant.Height()));
  const bool right = keep == Keep::RightTop || keep == Keep::RightBottom;
  const bool bottom = keep == Keep::LeftBottom || keep == Keep::RightBottom;
  const int x = right ? dest.Right - cw : 0;
  const int y = bottom ? dest.Bottom - ch : 0;
  if (cw > 0 && ch > 0) {
    TRect cut = source_rect;
    if (right) {
      cut.Left = cut.Right - cw;
    } else {
      cut.Right = cut.Left + cw;
    }
    if (bottom) {
      cut.Top = cut.Bottom - ch;
    } else {
      cut.Bottom = cut.Top + ch;
    }
    TBitmap piece = Piece(source, cut, cw, ch);
    if (mask) {
      DrawMasked(canvas, x, y, piece);
    } else {
      canvas.Draw(x, y, piece);
    }
  }
  return {x, y, x + cw, y + ch};
}

enum class Cut { KeepLeft, KeepRight, KeepTop, KeepBottom, None };

// Draws an edge or the centre: source_rect, cut to the destination's
// thickness when the destination is thinner, stretched into dest.
void DrawStretched(const TBitmap& source, TCanvas& canvas, TRect source_rect, const TRect& dest,
                   Cut cut) {
  const int w = dest.Width();
  const int h = dest.Height();
  if (w <= 0 || h <= 0) return;
  switch (cut) {
    case Cut::KeepLeft:
      if (w < source_rect.Width()) source_rect.Right = source_rect.Left + w;
      break;
    case Cut::KeepRight:
      if (w < source_rect.Width()) source_rect.Left = source_rect.Right - w;
      break;
    case Cut::KeepTop:
      if (h < source_rect.Height()) source_rect.Bottom = source_rect.Top + h;
      break;
    case Cut::KeepBottom:
      if (h < source_rect.Height()) source_rect.Top = source_rect.Bottom - h;
      break;
    case Cut::None:
      break;
  }
  TBitmap piece = Piece(source, source_rect, w, h);
  DrawMasked(canvas, dest.Left, dest.Top, piece);
}

// One channel step of a gradient: from + trunc(delta / span * factor), in
// floating point, truncated toward zero.
std::uint8_t Channel(std::uint8_t from, std::uint8_t to, int span, int factor) {
  const long double step = static_cast<long double>(to - from) / span * factor;
  return static_cast<std::uint8_t>(from + static_cast<int>(step));
}

TColor Blend(TColor from, TColor to, int span, int factor) {
  std::uint8_t r1, g1, b1, r2, g2, b2;
  SplitColour(from, r1, g1, b1);
  SplitColour(to, r2, g2, b2);
  return MakeRGB(Channel(r1, r2, span, factor), Channel(g1, g2, span, factor),
                 Channel(b1, b2, span, factor));
}

}  // namespace

void ExtractFrame(const TBitmap& source, TBitmap& target, int frame_count, int frame) {
  const int w = source.Width() / frame_count;
  const int h = source.Height();
  const TRect from = frame == frame_count ? TRect{source.Width() - w, 0, source.Width(), h}
                                          : TRect{w * (frame - 1), 0, w * frame, h};
  TBitmap piece = Piece(source, from, w, h);
  target.SetSize(w, h);
  TCanvas canvas(target);
  canvas.Draw(0, 0, piece);
}

void StretchSkinPicture(const TBitmap& source, TCanvas& canvas, const TRect& dest,
                        bool mask_corners) {
  const int sw = source.Width(), sh = source.Height();
  const int hw = sw / 2, hh = sh / 2;
  const int W = dest.Width(), H = dest.Height();
  const int qw = W / 2, qh = H / 2;

  // The bottom and right pieces start one pixel past the half-way line, in
  // the picture and in the destination alike.
  const TRect tl = DrawCorner(source, canvas, {0, 0, hw, hh}, {0, 0, qw, qh}, Keep::LeftTop,
                              dest, mask_corners);
  const TRect bl = DrawCorner(source, canvas, {0, sh - hh + 1, hw, sh}, {0, H - qh + 1, qw, H},
                              Keep::LeftBottom, dest, mask_corners);
  DrawStretched(source, canvas, {0, hh, hw, sh - hh}, {0, tl.Bottom, tl.Right, bl.Top},
                Cut::KeepLeft);
  const TRect tr = DrawCorner(source, canvas, {sw - hw + 1, 0, sw, hh}, {W - qw + 1, 0, W, qh},
                              Keep::RightTop, dest, mask_corners);
  const TRect br = DrawCorner(source, canvas, {sw - hw + 1, sh - hh + 1, sw, sh},
                              {W - qw + 1, H - qh + 1, W, H}, Keep::RightBottom, dest,
                              mask_corners);
  // The right edge takes other rows than the left edge, and the bottom edge
  // reaches one pixel left of and above the corners' inner lines; the
  // pictures are drawn for these pieces.
  DrawStretched(source, canvas, {sw - hw + 1, sh - hh, sw, hh + 2},
                {tr.Left, tr.Bottom, tr.Right, br.Top}, Cut::KeepRight);
  DrawStretched(source, canvas, {hw, 0, sw - hw + 1, hh}, {tl.Right, 0, tr.Left, tl.Bottom},
                Cut::KeepTop);
  DrawStretched(source, canvas, {hw, hh, sw - hw + 1, sh - hh},
                {tl.Right, tl.Bottom, tr.Left, br.Top - 1}, Cut::None);
  DrawStretched(source, canvas, {hw, sh - hh, sw - hw + 1, sh},
                {tl.Right - 1, bl.Top - 1, br.Left, br.Bottom}, Cut::KeepBottom);
}

void DrawThreeSlice(const TBitmap& bitmap, TCanvas& canvas, const TRect& rect, TColor mask,
                    bool masked) {
  const int w = bitmap.Width() / 3;
  const int h = bitmap.Height();
  if (w == 0 || h == 0) return;
  graphics::TImageList list(w, h);
  if (masked) {
    list.AddMasked(bitmap, mask);
  } else {
    list.Add(bitmap);
  }

  if (rect.Width() < w) {
    TBitmap frame;
    list.GetBitmap(0, frame);
    const int cut = std::max(0, rect.Width());
    if (cut == 0) return;
    TBitmap left(cut, h);
    TCanvas(left).CopyRect({0, 0, cut, h}, frame, {0, 0, cut, h});
    left.SetTransparent(frame.Transparent());
    if (frame.Transparent()) left.SetTransparentColor(frame.TransparentColor());
    canvas.Draw(rect.Left, rect.Top, left);
    return;
  }
  list.Draw(canvas, rect.Left, rect.Top, 0);
  list.Draw(canvas, rect.Right - w, rect.Top, 2);
  TBitmap middle;
  list.GetBitmap(1, middle);
  canvas.StretchDraw({rect.Left + w, rect.Top, rect.Right - w, rect.Top + h}, middle);
}

void TilePicture(TCanvas& canvas, const TBitmap& picture, const TRect& rect) {
  const int pw = picture.Width(), ph = picture.Height();
  if (pw <= 0 || ph <= 0) return;
  for (int y = 0; y < ph + rect.Height(); y += ph) {
    for (int x = 0; x < pw + rect.Width(); x += pw) canvas.Draw(x, y, picture);
  }
}

void FillGradientVertical(TCanvas& canvas, const TRect& rect, TColor from, TColor to) {
  const int span = rect.Bottom - rect.Top;
  if (span == 0) return;
  auto line = [&](int y, TColor colour) {
    canvas.Pen.Color = colour;
    canvas.MoveTo(rect.Left, y);
    canvas.LineTo(rect.Right, y);
  };
  line(rect.Top, graphics::ColorToRGB(from));
  for (int y = rect.Top + 1; y <= rect.Bottom - 2; ++y) {
    line(y, Blend(from, to, span, y - rect.Top - 1));
  }
  line(rect.Bottom - 1, graphics::ColorToRGB(to));
}

void FillGradientHorizontal(TCanvas& canvas, const TRect& rect, TColor from, TColor to) {
  const int span = rect.Right - rect.Left;
  if (span == 0) return;
  auto line = [&](int x, TColor colour) {
    canvas.Pen.Color = colour;
    canvas.MoveTo(x, rect.Top);
    canvas.LineTo(x, rect.Bottom);
  };
  line(rect.Left, graphics::ColorToRGB(from));
  // Unlike the vertical gradient, column x steps by (x - left), not one less.
  for (int x = rect.Left + 1; x <= rect.Right - 2; ++x) {
    line(x, Blend(from, to, span, x - rect.Left));
  }
  line(rect.Right - 1, graphics::ColorToRGB(to));
}

void SplitColour(TColor colour, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue) {
  const TColor rgb = graphics::ColorToRGB(colour);
  red = graphics::GetRValue(rgb);
  green = graphics::GetGValue(rgb);
  blue = graphics::GetBValue(rgb);
}

std::string ShortenWithEllipsis(TCanvas& canvas, std::string_view text, int limit) {
  if (text.empty() || canvas.TextWidth(text) <= limit) return std::string(text);
  // i runs over the ends of the first, second, ... character.
  for (std::size_t i = base::GbkCharLength(text, 0); i < text.size();
       i += base::GbkCharLength(text, i)) {
    std::string candidate = std::string(text.substr(0, i)) + "...";
    if (canvas.TextWidth(candidate) >= limit) return candidate;
  }
  return std::string(text);
}

}  // namespace skin
