#pragma once
// The skinned form's rules that need no window system: the thickness of
// the native frame it keeps, the client rectangle it answers WM_NCCALCSIZE
// with, what a style does to its colours and border metrics, the window
// region as data, the pieces of its frame that are pure pixel work, where a
// maximised form goes, and the menu bar's colours. TsuiForm, the Windows
// side, keeps a TsuiFormLook and calls these; nothing here touches a
// window.
//
// Window coordinates: (0, 0) is the top-left corner of the host window,
// right and bottom are exclusive, as everywhere in the toolkit.
#include <string>
#include <vector>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/color.h"
#include "framework/graphics/geometry.h"
#include "skin/skin_draw.h"
#include "skin/sui_themes.h"

namespace skin {

class TsuiFileTheme;

// ---------------------------------------------------------------------------
// Metrics

// The native frame is measured once, when the form attaches. A thickness
// outside 0..12 comes from a window that is not laid out yet (or an
// unusual non-client theme); 4 is the thickness the rest of the geometry
// is built around.
inline constexpr int kFrameFallback = 4;
inline constexpr int kFrameMaximum = 12;
constexpr int ClampFrameThickness(int measured) {
  return measured < 0 || measured > kFrameMaximum ? kFrameFallback : measured;
}

// Everything the non-client geometry depends on.
struct TsuiFormMetrics {
  int FrameBottom = kFrameFallback;
  int FrameLeft = kFrameFallback;
  // File theme only: the border pictures' sizes (0 with built-in themes).
  int LeftBorderWidth = 0;
  int RightBorderWidth = 0;
  int BottomBorderHeight = 0;
  int BorderWidth = 1;
};

// FrameBottom and FrameLeft from the host's window rectangle and its
// client rectangle in screen coordinates, clamped.
void MeasureNativeFrame(TsuiFormMetrics& metrics, const graphics::TRect& window,
                        const graphics::TRect& client_on_screen);

// The client rectangle for a proposed window rectangle (x, y, cx, cy) in
// the parent's coordinates, as WM_NCCALCSIZE with wParam true returns it
// (in both of its first two rectangles, with WVR_VALIDRECTS).
graphics::TRect NcClientRect(const TsuiFormMetrics& metrics, int x, int y, int cx, int cy);

// The title bar's private query (message 0x26C3): how far the frame reaches
// into the window on the left, so that the bar draws its pictures on out
// to the window's edge.
inline constexpr unsigned kTitleBarBorderQuery = 0x26C3;
int TitleBarBorderAnswer(const TsuiFormMetrics& metrics);

// ---------------------------------------------------------------------------
// Style

// Rows of a file theme's pictures between which the window's outline
// follows the picture (integer items 5 to 8; -1 when the skin has none).
struct TsuiRegionRows {
  int First = -1;
  int Last = -1;
};

// What a style sets on the form, at its values before the first style.
struct TsuiFormLook {
  TsuiUIStyle UIStyle = DeepBlue;
  bool UsesFileTheme = false;  // the last style came from a ready file theme
  TsuiFormMetrics Metrics;
  graphics::TColor Color = graphics::clBtnFace;
  graphics::TColor MenuBarColor = graphics::clBtnFace;
  graphics::TColor MenuBarToColor = graphics::clBtnFace;
  graphics::TColor BorderColor = graphics::clBlack;
  graphics::TColor TransColor = kMaskColour;
  bool TitleNeedRegion = false;
  bool BottomNeedRegion = false;
  TsuiRegionRows TitleRows;
  TsuiRegionRows BottomRows;
  int RoundCorner = 0;
  int RoundCornerBottom = 0;
};

// Where a ready file theme is asked for the form's items.
namespace form_item {
// Colours.
inline constexpr int kTransColor = 0;
inline constexpr int kFormColor = 2;
inline constexpr int kMenuBarColor = 3;
inline constexpr int kMenuBarToColor = 4;
inline constexpr int kMenuBarHotColor = 5;
inline constexpr int kMenuBarHotBorderColor = 6;
inline constexpr int kMenuBarHotFontColor = 7;
inline constexpr int kMenuBarFontColor = 8;
// Pictures.
inline constexpr int kLeftBorder = 5;
inline constexpr int kRightBorder = 6;
inline constexpr int kBottomBorder = 7;  // left part, or a three-slice strip
inline constexpr int kBottomBorderMiddle = 8;
inline constexpr int kBottomBorderRight = 9;
// Integers.
inline constexpr int kTitleRegionFirst = 5;
inline constexpr int kTitleRegionLast = 6;
inline constexpr int kBottomRegionFirst = 7;
inline constexpr int kBottomRegionLast = 8;
// Flags.
inline constexpr int kBottomThreePictures = 1;
inline constexpr int kTitleNeedRegion = 2;
inline constexpr int kBottomNeedRegion = 3;
}  // namespace form_item

// Built-in theme entries the form reads.
namespace form_entry {
inline constexpr int kRoundCorner = 14;
inline constexpr int kColor = 15;
inline constexpr int kBorderColor = 16;
inline constexpr int kBorderWidth = 17;
inline constexpr int kMenuSelectedBorderColor = 18;
inline constexpr int kMenuSelectedColor = 19;
inline constexpr int kMenuSelectedFontColor = 20;
inline constexpr int kMenuFontColor = 22;
}  // namespace form_entry

// Stores style, then takes the colours and metrics from the file theme
// (when UsingFileTheme says so) or from the resolved built-in theme. A file
// theme leaves BorderColor, BorderWidth and the corners as they were (its
// frame is pictures); a built-in theme clears the file metrics and region
// flags, so that nothing of an earlier skin file outlives it. FrameBottom
// and FrameLeft are the window's and never change here.
void ApplyFormStyle(TsuiFormLook& look, TsuiUIStyle style, const TsuiFileTheme* file_theme);

// The host's minimum height: title bar, menu bar and bottom border, plus
// the 3 rows of frame above the title bar (heights of absent bars are 0).
constexpr int FormMinimumHeight(int menu_bar_height, int title_bar_height,
                                int bottom_border_height) {
  return menu_bar_height + title_bar_height + bottom_border_height + 3;
}

// ---------------------------------------------------------------------------
// Window region

// File themes whose pictures carry the window's outline: the union of
// these rectangles (window coordinates, clipped to the window) is the
// region. Rows of the title picture (when TitleNeedRegion) outside its
// region rows are opaque over their width, rows inside add one rectangle
// per run of pixels that differ from TransColor; then the opaque band down
// to the bottom picture; then the bottom picture (when BottomNeedRegion)
// the same way at its place. Runs of equal extent in adjacent rows are one
// taller rectangle, so the list stays short and is still exact.
// title_image and bottom_image may be null when their flag is off.
std::vector<graphics::TRect> PictureRegion(const TsuiFormLook& look, int width, int height,
                                           const graphics::TBitmap* title_image,
                                           const graphics::TBitmap* bottom_image);

// The rectangles of one picture's part of the region (see above), offset
// down by top. Exposed for the title bar and for tests.
std::vector<graphics::TRect> PictureRegionRows(const graphics::TBitmap& picture,
                                               graphics::TColor trans_color, TsuiRegionRows rows,
                                               int width, int top);

// Built-in themes: the region as a union of shapes, in the order a Windows
// layer combines them (CreateRoundRectRgn / CreateRectRgn, then RGN_OR).
struct TRegionShape {
  enum Kind { Rectangle, RoundRectangle };
  Kind Shape = Rectangle;
  graphics::TRect Bounds;
  int Corner = 0;  // ellipse width and height of a rounded rectangle
  friend bool operator==(const TRegionShape&, const TRegionShape&) = default;
};

// The top half (0 to height div 2) rounded with RoundCorner, its lower
// corners squared by RoundCorner squares; the bottom half rounded with
// RoundCornerBottom, its upper corners squared likewise. A hidden title
// bar, or a negative corner, counts as 0; a corner of 0 gives a plain
// rectangle. Squares of side 0 are left out.
std::vector<TRegionShape> BuiltInRegionShapes(int width, int height, int round_corner,
                                              int round_corner_bottom, bool title_bar_visible);

// ---------------------------------------------------------------------------
// Frame pieces

// The bottom border of a file theme as one picture across the window:
// width x the height of picture item 7. With flag item 1, picture 7 at the
// left, 9 at the right end and 8 stretched between; otherwise picture 7 as
// a three-slice strip. With BottomNeedRegion the picture is drawn over a
// fill of colour item 2 and becomes transparent in TransColor (the region
// and the frame leave those pixels out). No picture 7: an empty bitmap.
void ComposeBottomImage(graphics::TBitmap& target, int width, const TsuiFileTheme& file_theme,
                        const TsuiFormLook& look);

// A title bar whose sections are all there (3 or 5 with a file theme, the
// three of a built-in theme) continues its pictures into the frame.
constexpr bool FileTitleBarComplete(int section_count) {
  return section_count == 3 || section_count == 5;
}

// File theme: the frame above and beside the title bar, copied 1:1 from
// the title bar's FrameImage (which the bar draws shifted so that it
// covers the window from its top-left corner): the left strip
// max(LeftBorderWidth, 4) wide, the top 3 rows, and the right strip
// max(4, RightBorderWidth) wide, taken from FrameImage's right end and put
// at the window's.
void DrawFileTitleFrame(graphics::TCanvas& window, int width, const graphics::TBitmap& frame_image,
                        const TsuiFormMetrics& metrics);

// Built-in theme: the 3-pixel strips left of, right of and above the title
// bar, cut from its section pictures so they run on to the window's edge.
// Left: the first 3 columns of the left section; right: the last 3 of the
// right section (a right section at most 2 pixels wide is stretched over
// the 3); top: the top 3 rows of left, client (stretched) and right
// section side by side. Null pictures draw nothing of theirs.
struct TTitleSectionPictures {
  const graphics::TBitmap* Left = nullptr;
  const graphics::TBitmap* Client = nullptr;
  const graphics::TBitmap* Right = nullptr;
};
inline constexpr int kBuiltInFrameStrip = 3;
void DrawBuiltInTitleFrame(graphics::TCanvas& window, int width,
                           const TTitleSectionPictures& sections);

// The whole frame of a file theme, in the order it is painted: the title
// frame (when frame_image is given: a visible, complete title bar), the
// side border pictures (items 5 and 6) stretched from below the title bar
// (title_height + 3; 0 without a title bar) down to the bottom border,
// colour item 2 where a side picture is narrower than 4 pixels (the menu
// bar's colours beside menu_bar, a window rectangle; empty without one),
// the bottom image at the bottom, and colour item 2 in the rows from
// height - 4 down to the bottom image when that is lower than 4.
struct TFileFrame {
  int Width = 0;
  int Height = 0;
  const graphics::TBitmap* FrameImage = nullptr;
  int TitleHeight = 0;  // the title bar's height; 0 while it is hidden
  graphics::TRect MenuBar;
  const graphics::TBitmap* BottomImage = nullptr;
};
void PaintFileFrame(graphics::TCanvas& window, const TFileFrame& frame,
                    const TsuiFileTheme& file_theme, const TsuiFormLook& look);

// The whole frame of a built-in theme: the title frame from the section
// pictures (when sections.Left is given: a visible, complete title bar);
// without a title bar a 1-pixel BorderColor line on top and 2 rows of
// Color under it; BorderColor bands BorderWidth wide along the left,
// bottom and right edges (the side bands below the title frame, or from
// the top without a title bar); and with a BorderWidth below 4 the gap to the
// client area in Color (left and right 3 pixels in, the bottom band from
// height - 2), beside menu_bar in the menu bar's colours. The arcs that
// outline rounded corners are the Windows layer's (GDI Arc).
struct TBuiltInFrame {
  int Width = 0;
  int Height = 0;
  bool TitleBarVisible = true;
  TTitleSectionPictures Sections;
  int TitleHeight = 0;  // rows the title frame covers: the section pictures' height
  graphics::TRect MenuBar;
};
void PaintBuiltInFrame(graphics::TCanvas& window, const TBuiltInFrame& frame,
                       const TsuiFormLook& look);

// ---------------------------------------------------------------------------
// Placement

// Where a maximised form goes: the work area of its monitor widened by 2
// pixels left, top and right and shortened by 1 at the bottom, so that the
// frame's outer pixels fall off screen and the task bar's auto-hide edge
// stays reachable.
constexpr graphics::TRect MaximisedBounds(const graphics::TRect& work_area) {
  return {work_area.Left - 2, work_area.Top - 2, work_area.Right + 2, work_area.Bottom - 1};
}

// ---------------------------------------------------------------------------
// Menu bar

// A tool button in the hot or pressed look carries this tag, so that the
// menu bar knows a menu is being worked with (accelerators without Alt).
inline constexpr int kMenuBarHotTag = 888;
inline constexpr graphics::TColor kMenuBarDisabledText = 0x808080;

struct TMenuBarButtonLook {
  int Tag = 0;
  bool MacSelect = false;  // "MACOS_MENU_SELECT" stretched over the button
  bool Filled = false;
  graphics::TColor FillColor = 0;
  bool Framed = false;
  graphics::TColor FrameColor = 0;
  graphics::TColor TextColor = 0;
  graphics::TRect TextRect;  // single line, centred both ways
};

// style is the one in force for the bar: the TsuiMainMenu's when the form's
// menu is one, else the form's.
TMenuBarButtonLook MenuBarButtonLook(TsuiUIStyle style, const TsuiFileTheme* file_theme,
                                     const graphics::TRect& button, bool hot_or_pressed,
                                     bool enabled);

// Draws the button's background and caption (in the canvas's font, whose
// colour becomes TextColor). macos_select may be null (nothing drawn).
void DrawMenuBarButton(graphics::TCanvas& canvas, const graphics::TRect& button,
                       const std::string& caption, const TMenuBarButtonLook& look,
                       const graphics::TBitmap* macos_select);

enum class TMenuBarBackground { MacPicture, Gradient, Flat };
constexpr TMenuBarBackground MenuBarBackground(TsuiUIStyle style, graphics::TColor color,
                                               graphics::TColor to_color) {
  if (style == MacOS) return TMenuBarBackground::MacPicture;
  return color != to_color ? TMenuBarBackground::Gradient : TMenuBarBackground::Flat;
}

// The bar's background over rect: "MACOS_MENU_BAR" stretched (macos_bar;
// null draws nothing), the vertical gradient, or the flat colour.
void DrawMenuBarBackground(graphics::TCanvas& canvas, const graphics::TRect& rect,
                           TsuiUIStyle style, graphics::TColor color, graphics::TColor to_color,
                           const graphics::TBitmap* macos_bar);

}  // namespace skin
