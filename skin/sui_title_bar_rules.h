#pragma once
// The title bar's rules, free of windows: which frames of the title button
// strip a button shows, what a theme sets on the bar, where sections,
// buttons, the icon and the caption go for a given width, how the caption
// is shortened, which window-menu commands are enabled, and the painting of
// the whole bar into bitmaps (the bar as shown, and the two images the
// skinned form builds its frame and region from).
#include <string>
#include <string_view>
#include <vector>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/font.h"
#include "framework/graphics/geometry.h"
#include "skin/sui_themes.h"
#include "skin/sui_title_bar_items.h"

namespace skin {

// The title button strip: built-in picture entry 5, file theme picture
// item 11, each 18 equal frames.
inline constexpr int kTitleButtonFrames = 18;
// How far a skinned form shifts its title bar up (and, with no border
// answer, left): the bar is drawn from under the form's frame.
inline constexpr int kSkinnedFormShift = 3;
// The form's private query for its left border offset.
inline constexpr unsigned kQueryLeftBorder = 0x26C3;

// The normal frame (1-based) of a button type; mouse-over and pressed are
// the next two. 0 for a custom button, which shows the user's pictures.
int FirstButtonFrame(TsuiTitleBarBtnType type, bool host_maximised);

// What a theme gives one button.
struct TTitleButtonLook {
  bool Transparent = false;
  int Top = 0;
  graphics::TBitmap Normal, MouseOn, MouseDown;
};
// Frames first, first + 1, first + 2 of the strip of the style in force
// (the file theme when style resolves to it, else the built-in theme).
TTitleButtonLook LoadTitleButtonLook(TsuiUIStyle style, const TsuiFileTheme* file_theme, int first);

// The bar's numbers that a theme sets.
struct TTitleBarMetrics {
  int LeftBtnXOffset = 0;
  int RightBtnXOffset = 0;
  int ButtonsHeight = 0;
  int ButtonsTop = 0;
  int IconTop = 0;
  int CaptionTop = 0;
  // The see-through colour of right-aligned pictures and the colour behind
  // them; only a file theme sets them.
  graphics::TColor TransColor = 0;
  graphics::TColor BackColor = 0;
  bool FiveSections = false;
  int RoundCorner = 0;
  int RoundCornerBottom = 0;
  // Size limits the theme asks of the form the bar sits on; -1: none.
  int MinWidth = -1;
  int MinHeight = -1;
};

// Replaces the sections by the theme's and sets the metrics it defines
// (the others keep their values). file_theme: the file theme in force, or
// null for the built-in theme `theme`. button_count enters a file theme's
// minimum width.
void ApplyTitleBarTheme(TsuiUIStyle theme, const TsuiFileTheme* file_theme, bool on_skinned_form,
                        int button_count, TsuiTitleBarSections& sections,
                        TTitleBarMetrics& metrics);

// The caption colour a theme gives: black for MacOS, the file theme's
// colour item 1, else white.
graphics::TColor TitleCaptionColour(TsuiUIStyle theme, const TsuiFileTheme* file_theme);

// Which window-menu commands have a visible button to act for.
struct TWindowMenuState {
  bool Minimise = false;
  bool Maximise = false;
  bool Close = false;
};
TWindowMenuState WindowMenuState(const TsuiTitleBarButtons& buttons);

// The caption as it fits into limit pixels: whole when it fits, else the
// longest prefix (whole characters) that fits with "..." after it, or
// "..." alone.
std::string ShortenTitleCaption(graphics::TCanvas& canvas, std::string_view caption, int limit);

// Sum over all buttons of normal picture width + interval.
int TotalButtonWidth(const TsuiTitleBarButtons& buttons, int interval);

// Where the buttons go, from the right: rects[i] is button i's rectangle,
// empty for a button that is not drawn (hidden, lacking a picture) and for
// the control box, which goes to the left area (control_box).
struct TTitleButtonLayout {
  std::vector<graphics::TRect> Rects;
  int ControlBox = -1;
  // The left edge of the leftmost button drawn (where the caption must end).
  int Left = 0;
};
TTitleButtonLayout LayoutTitleButtons(const TsuiTitleBarButtons& buttons, int bar_width, int border,
                                      int right_offset, int interval, int top);

// Everything one paint needs.
struct TTitleBarPaintInput {
  int Width = 0;
  int Height = 0;
  // The form's left border offset (its answer to kQueryLeftBorder).
  int Border = 0;
  bool OnSkinnedForm = false;
  const TsuiTitleBarSections* Sections = nullptr;  // not owned
  const TsuiTitleBarButtons* Buttons = nullptr;    // not owned
  TTitleBarMetrics Metrics;
  int ButtonInterval = 0;
  // The theme in force: a file theme, or the built-in `Theme`.
  bool UsingFileTheme = false;
  TsuiUIStyle Theme = DeepBlue;
  graphics::TColor Background = graphics::clBtnFace;
  std::string Caption;
  graphics::TFont Font;
  bool FormActive = true;
  graphics::TColor InactiveCaptionColor = graphics::kSystemColorFlag | 3;
  bool DrawAppIcon = true;
  const graphics::TBitmap* AppIcon = nullptr;  // 16 x 16, or null; not owned
  // The mouse, in the bar's coordinates, when it is over the bar.
  bool MouseOver = false;
  graphics::TPoint Mouse;
  bool Pressed = false;
  bool RightToLeft = false;
};

struct TTitleBarPaintResult {
  graphics::TBitmap Bar;
  graphics::TBitmap TitleImage;
  graphics::TBitmap FrameImage;
  int HotButton = -1;
  // The shortened caption while a caption section exists, else empty.
  std::string SectionCaption;
  bool CaptionSectionDrawn = false;
  TTitleButtonLayout Buttons;
  // The control box's (or icon's) rectangle; empty without one.
  graphics::TRect ControlBoxRect;
  // The caption as drawn and where it starts.
  std::string CaptionText;
  graphics::TPoint CaptionAt;
};

// The offset the bar is drawn at: on a skinned form (-border, or -3
// without one; -3), elsewhere (0, 0).
graphics::TPoint TitleBarOrigin(bool on_skinned_form, int border);

void PaintTitleBar(const TTitleBarPaintInput& in, TTitleBarPaintResult& out);

// The window menu's captions as the program carries them (GBK).
std::string BuiltInTitleBarText(TTitleBarText text);

}  // namespace skin
