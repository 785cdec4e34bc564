#include "skin/sui_form_rules.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "skin/sui_file_theme.h"

namespace skin {
namespace {

using graphics::TBitmap;
using graphics::TCanvas;
using graphics::TColor;
using graphics::TRect;

// What a file theme answers for a colour it does not have.
constexpr TColor kMissingColour = 0xFFFFFFFF;

// ---------------------------------------------------------------------------
// Region building

// Collects rectangles added top to bottom and merges a rectangle into the
// one just above it when both have the same columns and touch, so that a
// picture with a straight edge gives one rectangle, not one per row. Only
// exact abutment merges, so the union never changes.
class RegionBuilder {
public:
  RegionBuilder(int width, int height) : width_(width), height_(height) {}

  void Add(int left, int top, int right, int bottom) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    if (left >= right || top >= bottom) return;
    const auto above = open_.find({top, left, right});
    if (above != open_.end()) {
      const std::size_t index = above->second;
      open_.erase(above);
      rects_[index].Bottom = bottom;
      open_[{bottom, left, right}] = index;
      return;
    }
    rects_.push_back({left, top, right, bottom});
    open_[{bottom, left, right}] = rects_.size() - 1;
  }

  std::vector<TRect> Take() { return std::move(rects_); }

private:
  int width_;
  int height_;
  std::vector<TRect> rects_;
  // (bottom, left, right) of every rectangle, for finding the one a new
  // rectangle continues.
  std::map<std::tuple<int, int, int>, std::size_t> open_;
};

void AddPictureRows(RegionBuilder& region, const TBitmap& picture, TColor trans_color,
                    TsuiRegionRows rows, int top) {
  const int w = picture.Width();
  const int h = picture.Height();
  if (w <= 0 || h <= 0) return;
  // A skin without region rows says -1; any negative row means the top.
  const int first = std::clamp(rows.First, 0, h);
  // Rows first..last count, both included; a last row that is not below
  // the first means "to the picture's bottom".
  const int end = first >= rows.Last ? h : std::min(rows.Last + 1, h);
  region.Add(0, top, w, top + first);
  // A skin without a TransColor entry reads -1 (which would resolve as a
  // system colour to black): then no pixel is see-through.
  const TColor trans =
      trans_color == kMissingColour ? graphics::kNoPixel : graphics::ColorToRGB(trans_color);
  for (int y = first; y < end; ++y) {
    int x = 0;
    while (x < w) {
      while (x < w && picture.Pixel(x, y) == trans) ++x;
      const int run = x;
      while (x < w && picture.Pixel(x, y) != trans) ++x;
      if (x > run) region.Add(run, top + y, x, top + y + 1);
    }
  }
  region.Add(0, top + end, w, top + h);
}

// ---------------------------------------------------------------------------
// Drawing

// part stretched over dest, opaque (the pictures are the frame itself).
void CopyStretched(TCanvas& canvas, const TRect& dest, const TBitmap& part) {
  if (part.Empty() || dest.IsEmpty()) return;
  canvas.CopyRect(dest, part, {0, 0, part.Width(), part.Height()});
}

TColor FileColor(const TsuiFileTheme* theme, int item) { return theme->GetColor(item); }

}  // namespace

// ---------------------------------------------------------------------------
// Metrics

void MeasureNativeFrame(TsuiFormMetrics& metrics, const TRect& window,
                        const TRect& client_on_screen) {
  metrics.FrameBottom = ClampFrameThickness(window.Bottom - client_on_screen.Bottom);
  metrics.FrameLeft = ClampFrameThickness(client_on_screen.Left - window.Left);
}

TRect NcClientRect(const TsuiFormMetrics& m, int x, int y, int cx, int cy) {
  // The native frame the window still has (its sizing border) is at least
  // the 4 pixels the skinned frame is drawn in; the client area reaches out
  // over it so that only the skinned borders remain non-client.
  const int frame_bottom = std::max(4, m.FrameBottom);
  const int frame_left = std::max(4, m.FrameLeft);
  TRect r;
  r.Top = y + 4 - frame_bottom;
  if (m.LeftBorderWidth != 0) {
    // One more pixel in from each picture border: the pictures' inner
    // column is the edge the client area starts behind.
    r.Left = x - frame_left + std::max(m.LeftBorderWidth, 4) + 1;
    r.Right = x + cx + frame_left - std::max(m.RightBorderWidth, 4) - 1;
  } else {
    r.Left = x - frame_left + 4;
    r.Right = x + cx + frame_left - 4;
  }
  if (m.BottomBorderHeight != 0) {
    r.Bottom = y + cy + frame_bottom - std::max(m.BottomBorderHeight, 4) - 1;
  } else if (m.BorderWidth == 3) {
    r.Bottom = y + cy + frame_bottom - 4;
  } else {
    r.Bottom = y + cy + frame_bottom - m.BorderWidth - 2;
  }
  return r;
}

int TitleBarBorderAnswer(const TsuiFormMetrics& m) {
  return m.LeftBorderWidth != 0 ? std::max(m.LeftBorderWidth, 4) : m.FrameBottom - 1;
}

// ---------------------------------------------------------------------------
// Style

void ApplyFormStyle(TsuiFormLook& look, TsuiUIStyle style, const TsuiFileTheme* file_theme) {
  look.UIStyle = style;
  TsuiUIStyle theme = DeepBlue;
  look.UsesFileTheme = UsingFileTheme(file_theme, style, theme);
  TsuiFormMetrics& m = look.Metrics;
  if (look.UsesFileTheme) {
    const TsuiFileTheme& t = *file_theme;
    look.Color = t.GetColor(form_item::kFormColor);
    look.MenuBarColor = t.GetColor(form_item::kMenuBarColor);
    look.MenuBarToColor = t.GetColor(form_item::kMenuBarToColor);
    const TBitmap* left = t.GetPicture(form_item::kLeftBorder);
    const TBitmap* right = t.GetPicture(form_item::kRightBorder);
    const TBitmap* bottom = t.GetPicture(form_item::kBottomBorder);
    m.LeftBorderWidth = left ? left->Width() : 0;
    m.RightBorderWidth = right ? right->Width() : 0;
    m.BottomBorderHeight = bottom ? bottom->Height() : 0;
    look.TransColor = t.GetColor(form_item::kTransColor);
    look.TitleNeedRegion = t.GetFlag(form_item::kTitleNeedRegion);
    look.BottomNeedRegion = t.GetFlag(form_item::kBottomNeedRegion);
    look.TitleRows = {t.GetInteger(form_item::kTitleRegionFirst),
                      t.GetInteger(form_item::kTitleRegionLast)};
    look.BottomRows = {t.GetInteger(form_item::kBottomRegionFirst),
                       t.GetInteger(form_item::kBottomRegionLast)};
    return;
  }
  look.RoundCornerBottom = 0;
  m.LeftBorderWidth = 0;
  m.RightBorderWidth = 0;
  m.BottomBorderHeight = 0;
  look.TransColor = kMaskColour;
  look.TitleNeedRegion = false;
  look.BottomNeedRegion = false;
  look.TitleRows = {};
  look.BottomRows = {};
  look.BorderColor = GetBuiltInColor(theme, form_entry::kBorderColor);
  m.BorderWidth = GetBuiltInInt(theme, form_entry::kBorderWidth);
  look.Color = GetBuiltInColor(theme, form_entry::kColor);
  look.MenuBarColor = look.Color;
  look.MenuBarToColor = look.Color;
  look.RoundCorner = GetBuiltInInt(theme, form_entry::kRoundCorner);
}

// ---------------------------------------------------------------------------
// Window region

std::vector<TRect> PictureRegionRows(const TBitmap& picture, TColor trans_color,
                                     TsuiRegionRows rows, int width, int top) {
  RegionBuilder region(width, top + picture.Height());
  AddPictureRows(region, picture, trans_color, rows, top);
  return region.Take();
}

std::vector<TRect> PictureRegion(const TsuiFormLook& look, int width, int height,
                                 const TBitmap* title_image, const TBitmap* bottom_image) {
  RegionBuilder region(width, height);
  const bool title = look.TitleNeedRegion && title_image != nullptr;
  const bool bottom = look.BottomNeedRegion && bottom_image != nullptr;
  const int title_height = title ? title_image->Height() : 0;
  const int bottom_height = bottom ? bottom_image->Height() : 0;
  if (title) AddPictureRows(region, *title_image, look.TransColor, look.TitleRows, 0);
  region.Add(0, title_height, width, height - bottom_height);
  if (bottom) {
    AddPictureRows(region, *bottom_image, look.TransColor, look.BottomRows,
                   height - bottom_height);
  }
  return region.Take();
}

std::vector<TRegionShape> BuiltInRegionShapes(int width, int height, int round_corner,
                                              int round_corner_bottom, bool title_bar_visible) {
  // The corners are the title bar's; without it the window is square.
  const int top_corner = title_bar_visible ? std::max(round_corner, 0) : 0;
  const int bottom_corner = title_bar_visible ? std::max(round_corner_bottom, 0) : 0;
  const int half = height / 2;
  std::vector<TRegionShape> shapes;
  auto half_shape = [&](const TRect& bounds, int corner, bool square_lower) {
    if (corner == 0) {
      shapes.push_back({TRegionShape::Rectangle, bounds, 0});
      return;
    }
    shapes.push_back({TRegionShape::RoundRectangle, bounds, corner});
    // The corners next to the other half are squared: a corner x corner
    // square covers the quarter ellipse of diameter corner.
    const int y0 = square_lower ? std::max(bounds.Top, bounds.Bottom - corner) : bounds.Top;
    const int y1 = square_lower ? bounds.Bottom : std::min(bounds.Bottom, bounds.Top + corner);
    const int side = std::min(corner, bounds.Width());
    shapes.push_back({TRegionShape::Rectangle, {bounds.Left, y0, bounds.Left + side, y1}, 0});
    shapes.push_back({TRegionShape::Rectangle, {bounds.Right - side, y0, bounds.Right, y1}, 0});
  };
  half_shape({0, 0, width, half}, top_corner, true);
  half_shape({0, half, width, height}, bottom_corner, false);
  return shapes;
}

// ---------------------------------------------------------------------------
// Frame pieces

void ComposeBottomImage(TBitmap& target, int width, const TsuiFileTheme& t,
                        const TsuiFormLook& look) {
  const TBitmap* left = t.GetPicture(form_item::kBottomBorder);
  if (left == nullptr || width <= 0) {
    target.SetSize(0, 0);
    return;
  }
  const int h = left->Height();
  target.SetSize(width, h);
  TCanvas canvas(target);
  if (look.BottomNeedRegion) {
    // Whatever the pictures leave uncovered is the form's colour, never a
    // stray black that the region would keep.
    canvas.Brush.Style = graphics::TBrushStyle::Solid;
    canvas.Brush.Color = t.GetColor(form_item::kFormColor);
    canvas.FillRect({0, 0, width, h});
  }
  if (t.GetFlag(form_item::kBottomThreePictures)) {
    const TBitmap* middle = t.GetPicture(form_item::kBottomBorderMiddle);
    const TBitmap* right = t.GetPicture(form_item::kBottomBorderRight);
    const int right_width = right ? right->Width() : 0;
    if (middle) CopyStretched(canvas, {left->Width(), 0, width - right_width, h}, *middle);
    canvas.CopyRect({0, 0, left->Width(), h}, *left, {0, 0, left->Width(), h});
    if (right) {
      canvas.CopyRect({width - right_width, 0, width, right->Height()}, *right,
                      {0, 0, right_width, right->Height()});
    }
  } else {
    DrawThreeSlice(*left, canvas, {0, 0, width, h}, look.TransColor, false);
  }
  target.SetTransparent(look.BottomNeedRegion && look.TransColor != kMissingColour);
  target.SetTransparentColor(look.TransColor);
}

void DrawFileTitleFrame(TCanvas& window, int width, const TBitmap& frame_image,
                        const TsuiFormMetrics& m) {
  const int fw = frame_image.Width();
  const int fh = frame_image.Height();
  if (fw <= 0 || fh <= 0) return;
  const int left = std::max(m.LeftBorderWidth, 4);
  const int right = std::max(4, m.RightBorderWidth);
  window.CopyRect({0, 0, left, fh}, frame_image, {0, 0, left, fh});
  window.CopyRect({0, 0, std::min(width, fw), 3}, frame_image, {0, 0, std::min(width, fw), 3});
  window.CopyRect({width - right, 0, width, fh}, frame_image, {fw - right, 0, fw, fh});
}

void DrawBuiltInTitleFrame(TCanvas& window, int width, const TTitleSectionPictures& s) {
  constexpr int strip = kBuiltInFrameStrip;
  if (s.Left && !s.Left->Empty()) {
    const TBitmap& p = *s.Left;
    window.CopyRect({0, 0, strip, p.Height()}, p, {0, 0, strip, p.Height()});
  }
  if (s.Right && !s.Right->Empty()) {
    const TBitmap& p = *s.Right;
    const TRect dest{width - strip, 0, width, p.Height()};
    if (p.Width() <= 2) {
      CopyStretched(window, dest, p);
    } else {
      window.CopyRect(dest, p, {p.Width() - strip, 0, p.Width(), p.Height()});
    }
  }
  // Top rows: left section, right section at the right end, the client
  // section stretched between them.
  const int left_width = s.Left ? s.Left->Width() : 0;
  const int right_width = s.Right ? s.Right->Width() : 0;
  if (s.Client && !s.Client->Empty()) {
    window.CopyRect({left_width, 0, width - right_width, strip}, *s.Client,
                    {0, 0, s.Client->Width(), strip});
  }
  if (left_width > 0) {
    window.CopyRect({0, 0, left_width, strip}, *s.Left, {0, 0, left_width, strip});
  }
  if (right_width > 0) {
    window.CopyRect({width - right_width, 0, width, strip}, *s.Right,
                    {0, 0, right_width, strip});
  }
}

namespace {

void Fill(TCanvas& canvas, const TRect& r, TColor colour) {
  if (r.IsEmpty()) return;
  canvas.Brush.Style = graphics::TBrushStyle::Solid;
  canvas.Brush.Color = colour;
  canvas.FillRect(r);
}

// A strip of the frame's gap in colour, except the rows beside the menu
// bar, which continue the bar's background (flat or its gradient, over
// the bar's own rows so the colours line up with it).
void FillGap(TCanvas& canvas, const TRect& gap, TColor colour, const TRect& menu_bar,
             const TsuiFormLook& look) {
  if (gap.IsEmpty()) return;
  const TRect beside = Intersect(gap, {gap.Left, menu_bar.Top, gap.Right, menu_bar.Bottom});
  if (menu_bar.IsEmpty() || beside.IsEmpty()) {
    Fill(canvas, gap, colour);
    return;
  }
  Fill(canvas, {gap.Left, gap.Top, gap.Right, beside.Top}, colour);
  Fill(canvas, {gap.Left, beside.Bottom, gap.Right, gap.Bottom}, colour);
  if (look.MenuBarColor == look.MenuBarToColor) {
    Fill(canvas, beside, look.MenuBarColor);
  } else {
    // The gradient runs over the bar's rows; only the part beside it shows.
    TBitmap band(beside.Width(), menu_bar.Height());
    TCanvas band_canvas(band);
    FillGradientVertical(band_canvas, {0, 0, band.Width(), band.Height()}, look.MenuBarColor,
                         look.MenuBarToColor);
    canvas.CopyRect(beside, band,
                    {0, beside.Top - menu_bar.Top, band.Width(), beside.Bottom - menu_bar.Top});
  }
}

}  // namespace

void PaintFileFrame(TCanvas& window, const TFileFrame& f, const TsuiFileTheme& t,
                    const TsuiFormLook& look) {
  const TsuiFormMetrics& m = look.Metrics;
  if (f.FrameImage) DrawFileTitleFrame(window, f.Width, *f.FrameImage, m);
  const int top = f.TitleHeight > 0 ? f.TitleHeight + 3 : 0;
  const int bottom = f.Height - m.BottomBorderHeight;
  const TColor form_colour = t.GetColor(form_item::kFormColor);
  const TBitmap* left = t.GetPicture(form_item::kLeftBorder);
  const TBitmap* right = t.GetPicture(form_item::kRightBorder);
  const int left_width = left ? left->Width() : 0;
  const int right_width = right ? right->Width() : 0;
  if (left) CopyStretched(window, {0, top, left_width, bottom}, *left);
  if (right) CopyStretched(window, {f.Width - right_width, top, f.Width, bottom}, *right);
  if (left_width < 4) FillGap(window, {left_width, top, 4, bottom}, form_colour, f.MenuBar, look);
  if (right_width < 4) {
    FillGap(window, {f.Width - 4, top, f.Width - right_width, bottom}, form_colour, f.MenuBar,
            look);
  }
  if (f.BottomImage && !f.BottomImage->Empty()) window.Draw(0, bottom, *f.BottomImage);
  if (m.BottomBorderHeight < 4) {
    Fill(window, {left_width, f.Height - 4, f.Width - right_width, bottom}, form_colour);
  }
}

void PaintBuiltInFrame(TCanvas& window, const TBuiltInFrame& f, const TsuiFormLook& look) {
  const int w = f.Width;
  const int h = f.Height;
  const int border = std::max(look.Metrics.BorderWidth, 0);
  // The side bands start below the title frame, whose pictures carry
  // their own edge; without a title bar they meet the top line.
  int band_top = 0;
  int gap_top = 3;
  if (f.TitleBarVisible) {
    if (f.Sections.Left) DrawBuiltInTitleFrame(window, w, f.Sections);
    band_top = gap_top = f.TitleHeight;
  } else {
    Fill(window, {0, 0, w, 1}, look.BorderColor);
    Fill(window, {0, 1, w, 3}, look.Color);
  }
  Fill(window, {0, band_top, border, h}, look.BorderColor);
  Fill(window, {0, h - border, w, h}, look.BorderColor);
  Fill(window, {w - border, band_top, w, h}, look.BorderColor);
  if (border < 4) {
    FillGap(window, {border, gap_top, 3, h - border}, look.Color, f.MenuBar, look);
    FillGap(window, {w - 3, gap_top, w - border, h - border}, look.Color, f.MenuBar, look);
    Fill(window, {border, h - 2, w - border, h - border}, look.Color);
  }
}

// ---------------------------------------------------------------------------
// Menu bar

TMenuBarButtonLook MenuBarButtonLook(TsuiUIStyle style, const TsuiFileTheme* file_theme,
                                     const TRect& button, bool hot_or_pressed, bool enabled) {
  TMenuBarButtonLook look;
  TsuiUIStyle theme = DeepBlue;
  const bool file = UsingFileTheme(file_theme, style, theme);
  look.TextRect = button;
  if (hot_or_pressed) {
    look.Tag = kMenuBarHotTag;
    if (!file && theme == MacOS) {
      look.MacSelect = true;
      look.TextColor = GetBuiltInColor(MacOS, form_entry::kMenuSelectedFontColor);
      return look;
    }
    look.Filled = true;
    look.Framed = true;
    look.FillColor = file ? FileColor(file_theme, form_item::kMenuBarHotColor)
                          : GetBuiltInColor(theme, form_entry::kMenuSelectedColor);
    look.FrameColor = file ? FileColor(file_theme, form_item::kMenuBarHotBorderColor)
                           : GetBuiltInColor(theme, form_entry::kMenuSelectedBorderColor);
    look.TextColor = file ? FileColor(file_theme, form_item::kMenuBarHotFontColor)
                          : GetBuiltInColor(theme, form_entry::kMenuSelectedFontColor);
  } else if (!enabled) {
    look.TextColor = kMenuBarDisabledText;
  } else {
    look.TextColor = file ? FileColor(file_theme, form_item::kMenuBarFontColor)
                          : GetBuiltInColor(theme, form_entry::kMenuFontColor);
  }
  // The caption sits 2 pixels low, as on the pressed look of a tool button.
  look.TextRect.Top += 2;
  look.TextRect.Bottom += 2;
  return look;
}

void DrawMenuBarButton(TCanvas& canvas, const TRect& button, const std::string& caption,
                       const TMenuBarButtonLook& look, const TBitmap* macos_select) {
  if (look.MacSelect && macos_select) CopyStretched(canvas, button, *macos_select);
  canvas.Brush.Style = graphics::TBrushStyle::Solid;
  if (look.Filled) {
    canvas.Brush.Color = look.FillColor;
    canvas.FillRect(button);
  }
  if (look.Framed) {
    canvas.Brush.Color = look.FrameColor;
    canvas.FrameRect(button);
  }
  canvas.Font.Color = look.TextColor;
  canvas.Brush.Style = graphics::TBrushStyle::Clear;
  TRect text = look.TextRect;
  canvas.DrawText(caption, text,
                  graphics::dt::SingleLine | graphics::dt::Center | graphics::dt::VCenter);
}

void DrawMenuBarBackground(TCanvas& canvas, const TRect& rect, TsuiUIStyle style, TColor color,
                           TColor to_color, const TBitmap* macos_bar) {
  switch (MenuBarBackground(style, color, to_color)) {
    case TMenuBarBackground::MacPicture:
      if (macos_bar) CopyStretched(canvas, rect, *macos_bar);
      break;
    case TMenuBarBackground::Gradient:
      FillGradientVertical(canvas, rect, color, to_color);
      break;
    case TMenuBarBackground::Flat:
      canvas.Brush.Style = graphics::TBrushStyle::Solid;
      canvas.Brush.Color = color;
      canvas.FillRect(rect);
      break;
  }
}

}  // namespace skin
