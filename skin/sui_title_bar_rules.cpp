#include "skin/sui_title_bar_rules.h"

#include <algorithm>

#include "base/gbk_text.h"
#include "skin/skin_draw.h"
#include "skin/sui_file_theme.h"

namespace skin {

using graphics::TBitmap;
using graphics::TCanvas;
using graphics::TColor;
using graphics::TPoint;
using graphics::TRect;

// Built-in theme entries and file theme items the bar reads.
namespace {
constexpr int kEntryButtons = 5, kEntryButtonsTransparent = 6, kEntryLeftOffset = 7,
              kEntryRightOffset = 8, kEntryButtonsTop = 9, kEntryLeftSection = 10,
              kEntryClientSection = 11, kEntryRightSection = 12, kEntryMinWidth = 13,
              kEntryRoundCorner = 14;
constexpr int kItemButtons = 11;  // picture "SKIN2_TITLEBUTTONS"
constexpr int kFlagFiveSections = 0, kFlagButtonsTransparent = 4;
constexpr int kIntLeftOffset = 0, kIntIconTop = 1, kIntCaptionTop = 2, kIntRightOffset = 3,
              kIntButtonsTop = 4;
constexpr int kColourTrans = 0, kColourCaption = 1, kColourBack = 2;
// The height a built-in theme asks of the form at least.
constexpr int kBuiltInMinHeight = 50;
// Room the caption of a caption section leaves around itself.
constexpr int kCaptionSectionRoom = 21, kCaptionSectionPad = 17;
// The application icon's size and the room it takes in the left area.
constexpr int kIconSize = 16, kIconStep = 21;
// The caption's distance from the buttons when it reads right to left.
constexpr int kRightToLeftGap = 10;

int PictureWidth(const TsuiFileTheme& theme, int item) {
  const TBitmap* p = theme.GetPicture(item);
  return p ? p->Width() : 0;
}
}  // namespace

int FirstButtonFrame(TsuiTitleBarBtnType type, bool host_maximised) {
  switch (type) {
    case suiControlBox: return 1;
    case suiHelp: return 4;
    case suiMax: return host_maximised ? 10 : 7;
    case suiMin: return 13;
    case suiClose: return 16;
    case suiCustom: break;
  }
  return 0;
}

TTitleButtonLook LoadTitleButtonLook(TsuiUIStyle style, const TsuiFileTheme* file_theme,
                                     int first) {
  TTitleButtonLook look;
  TsuiUIStyle theme = DeepBlue;
  TBitmap* frames[] = {&look.Normal, &look.MouseOn, &look.MouseDown};
  if (UsingFileTheme(file_theme, style, theme)) {
    look.Transparent = file_theme->GetFlag(kFlagButtonsTransparent);
    look.Top = file_theme->GetInteger(kIntButtonsTop);
    for (int i = 0; i < 3; ++i)
      file_theme->CopyPicture(kItemButtons, *frames[i], kTitleButtonFrames, first + i);
  } else {
    look.Transparent = GetBuiltInBool(theme, kEntryButtonsTransparent);
    look.Top = GetBuiltInInt(theme, kEntryButtonsTop);
    for (int i = 0; i < 3; ++i)
      GetBuiltInBitmap(theme, kEntryButtons, frames[i], first + i, kTitleButtonFrames);
  }
  return look;
}

void ApplyTitleBarTheme(TsuiUIStyle theme, const TsuiFileTheme* file_theme, bool on_skinned_form,
                        int button_count, TsuiTitleBarSections& sections, TTitleBarMetrics& m) {
  const int shift = on_skinned_form ? kSkinnedFormShift : 0;
  sections.BeginUpdate();
  sections.Clear();
  auto add = [&](const TBitmap& picture, bool auto_size, TsuiTitleBarAlign align, bool cap_sec) {
    TsuiTitleBarSection& s = sections.Add();
    s.SetPicture(picture);
    if (auto_size) s.SetAutoSize(true);
    if (align != suiLeft) s.SetAlign(align);
    if (cap_sec) s.SetCapSec(true);
  };
  if (file_theme) {
    const TsuiFileTheme& ft = *file_theme;
    m.FiveSections = ft.GetFlag(kFlagFiveSections);
    m.TransColor = ft.GetColor(kColourTrans);
    TBitmap p[5];
    for (int i = 0; i < 5; ++i) ft.CopyPicture(i, p[i]);
    add(p[0], true, suiLeft, false);
    add(p[1], false, m.FiveSections ? suiLeft : suiClient, m.FiveSections);
    add(p[2], true, m.FiveSections ? suiLeft : suiRight, false);
    if (m.FiveSections) {
      add(p[3], false, suiClient, false);
      add(p[4], true, suiRight, false);
    }
    m.LeftBtnXOffset = ft.GetInteger(kIntLeftOffset);
    m.RightBtnXOffset = ft.GetInteger(kIntRightOffset);
    const TBitmap* strip = ft.GetPicture(kItemButtons);
    m.ButtonsHeight = strip ? strip->Height() : 0;
    m.ButtonsTop = ft.GetInteger(kIntButtonsTop) - shift;
    m.IconTop = ft.GetInteger(kIntIconTop) - shift;
    m.CaptionTop = ft.GetInteger(kIntCaptionTop);
    m.BackColor = ft.GetColor(kColourBack);
    // The buttons must fit over the section they sit on.
    auto room = [&](int item) {
      return std::max(PictureWidth(ft, item),
                      PictureWidth(ft, kItemButtons) / kTitleButtonFrames * button_count +
                          ft.GetInteger(kIntRightOffset));
    };
    m.MinWidth = m.FiveSections ? PictureWidth(ft, 0) + PictureWidth(ft, 2) + room(4) + 16
                                : PictureWidth(ft, 0) + room(2);
  } else {
    TBitmap left, right, client, strip;
    LoadBuiltInPicture(theme, kEntryLeftSection, &left);
    LoadBuiltInPicture(theme, kEntryRightSection, &right);
    LoadBuiltInPicture(theme, kEntryClientSection, &client);
    LoadBuiltInPicture(theme, kEntryButtons, &strip);
    add(left, true, suiLeft, false);
    add(right, true, suiRight, false);
    add(client, false, suiClient, false);
    m.LeftBtnXOffset = GetBuiltInInt(theme, kEntryLeftOffset);
    m.RightBtnXOffset = GetBuiltInInt(theme, kEntryRightOffset);
    m.ButtonsHeight = strip.Height();
    m.ButtonsTop = GetBuiltInInt(theme, kEntryButtonsTop) - shift;
    m.IconTop = m.ButtonsTop;
    m.MinWidth = GetBuiltInInt(theme, kEntryMinWidth);
    m.MinHeight = kBuiltInMinHeight;
    m.RoundCorner = GetBuiltInInt(theme, kEntryRoundCorner);
    m.RoundCornerBottom = 0;
  }
  sections.EndUpdate();
}

TColor TitleCaptionColour(TsuiUIStyle theme, const TsuiFileTheme* file_theme) {
  if (file_theme) return file_theme->GetColor(kColourCaption);
  return theme == MacOS ? graphics::clBlack : graphics::clWhite;
}

TWindowMenuState WindowMenuState(const TsuiTitleBarButtons& buttons) {
  return {buttons.FindVisible(suiMin) >= 0, buttons.FindVisible(suiMax) >= 0,
          buttons.FindVisible(suiClose) >= 0};
}

std::string ShortenTitleCaption(TCanvas& canvas, std::string_view caption, int limit) {
  if (canvas.TextWidth(caption) <= limit) return std::string(caption);
  std::vector<std::size_t> starts;
  base::ForEachGbkChar(caption, [&](std::size_t i) {
    starts.push_back(i);
    return true;
  });
  // Drop one character at a time from the end.
  for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
    std::string candidate = std::string(caption.substr(0, *it)) + "...";
    if (canvas.TextWidth(candidate) <= limit) return candidate;
  }
  return "...";
}

int TotalButtonWidth(const TsuiTitleBarButtons& buttons, int interval) {
  int total = 0;
  for (int i = 0; i < buttons.Count(); ++i)
    total += buttons.Items(i).PicNormal().Width() + interval;
  return total;
}

TTitleButtonLayout LayoutTitleButtons(const TsuiTitleBarButtons& buttons, int bar_width, int border,
                                      int right_offset, int interval, int top) {
  TTitleButtonLayout layout;
  layout.Rects.resize(static_cast<std::size_t>(buttons.Count()));
  int c = bar_width + border - right_offset - 1;
  for (int i = 0; i < buttons.Count(); ++i) {
    const TsuiTitleBarButton& b = buttons.Items(i);
    if (!b.Visible() || !b.HasPictures()) continue;
    if (b.ButtonType() == suiControlBox) {
      if (layout.ControlBox < 0) layout.ControlBox = i;
      continue;
    }
    const int w = b.PicNormal().Width();
    c -= b.ButtonType() == suiClose ? w : w + interval + 1;
    c = std::min(c, bar_width - 1 - w);  // ends one pixel inside the bar
    layout.Rects[static_cast<std::size_t>(i)] = {c, top, c + w, top + b.PicNormal().Height()};
  }
  layout.Left = c;
  return layout;
}

TPoint TitleBarOrigin(bool on_skinned_form, int border) {
  if (!on_skinned_form) return {0, 0};
  return {border != 0 ? -border : -kSkinnedFormShift, -kSkinnedFormShift};
}

namespace {

// Draws into the bar and into TitleImage (whose origin is the bar's x0, y0).
class TSectionPainter {
public:
  TSectionPainter(TCanvas& bar, TCanvas& title, TPoint origin, const TTitleBarMetrics& m)
      : bar_(bar), title_(title), origin_(origin), m_(m) {}

  void Draw(const TBitmap& picture, const TRect& dest, bool stretch, bool over_back) {
    TBitmap p = picture;
    if (over_back) {
      p.SetTransparent(true);
      p.SetTransparentColor(m_.TransColor);
    }
    const TRect in_title = {dest.Left - origin_.X, dest.Top - origin_.Y, dest.Right - origin_.X,
                            dest.Bottom - origin_.Y};
    for (auto [canvas, r] : {std::pair<TCanvas*, TRect>{&bar_, dest}, {&title_, in_title}}) {
      if (over_back) {
        canvas->Brush.Style = graphics::TBrushStyle::Solid;
        canvas->Brush.Color = m_.BackColor;
        canvas->FillRect(r);
      }
      if (stretch) {
        canvas->StretchDraw(r, p);
      } else {
        canvas->Draw(r.Left, r.Top, p);
      }
    }
  }

private:
  TCanvas& bar_;
  TCanvas& title_;
  TPoint origin_;
  const TTitleBarMetrics& m_;
};

const TBitmap& StatePicture(const TsuiTitleBarButton& b, bool hot, bool pressed) {
  if (!hot) return b.PicNormal();
  return pressed ? b.PicMouseDown() : b.PicMouseOn();
}

}  // namespace

void PaintTitleBar(const TTitleBarPaintInput& in, TTitleBarPaintResult& out) {
  const TTitleBarMetrics& m = in.Metrics;
  const TPoint o = TitleBarOrigin(in.OnSkinnedForm, in.Border);
  out = TTitleBarPaintResult{};
  out.Bar.SetSize(std::max(in.Width, 0), std::max(in.Height, 0));
  out.TitleImage.SetSize(std::max(in.Width - 2 * o.X, 0), std::max(in.Height - o.Y, 0));
  out.FrameImage.SetSize(out.TitleImage.Width(), out.TitleImage.Height());
  TCanvas bar(out.Bar), title(out.TitleImage), frame(out.FrameImage);
  bar.Brush.Color = in.Background;
  bar.FillRect({0, 0, in.Width, in.Height});
  // What no section covers stays see-through for the form's region.
  title.Brush.Color = m.TransColor;
  title.FillRect({0, 0, out.TitleImage.Width(), out.TitleImage.Height()});
  frame.Brush.Color = m.BackColor;
  frame.FillRect({0, 0, out.FrameImage.Width(), out.FrameImage.Height()});
  bar.Font = in.Font;
  bar.Brush.Style = graphics::TBrushStyle::Clear;

  // Sections.
  TSectionPainter painter(bar, title, o, m);
  int x = o.X, right = in.Width - o.X, last_left = 0, client = -1;
  const int total_buttons = in.Buttons ? TotalButtonWidth(*in.Buttons, in.ButtonInterval) : 0;
  const int count = in.Sections ? in.Sections->Count() : 0;
  for (int i = 0; i < count; ++i) {
    const TsuiTitleBarSection& s = in.Sections->Items(i);
    if (s.Picture().Empty()) continue;  // a missing picture draws nothing
    const int h = s.Picture().Height();
    if (s.CapSec()) {
      const int next = i + 1 < count ? in.Sections->Items(i + 1).Width() : 0;
      const int limit = in.Width - m.LeftBtnXOffset - total_buttons - next - kCaptionSectionRoom;
      out.SectionCaption = ShortenWithEllipsis(bar, in.Caption, limit);
      const int w = std::max(
          0, bar.TextWidth(out.SectionCaption) + m.LeftBtnXOffset - last_left + kCaptionSectionPad);
      painter.Draw(s.Picture(), {x, o.Y, x + w, o.Y + h}, true, false);
      x += w;
      out.CaptionSectionDrawn = true;
    } else if (s.Align() == suiLeft) {
      painter.Draw(s.Picture(), {x, o.Y, x + s.Width(), o.Y + h}, s.Stretch(), false);
      x += s.Width();
      last_left = s.Width();
    } else if (s.Align() == suiRight) {
      right -= s.Width();
      painter.Draw(s.Picture(), {right, o.Y, right + s.Width(), o.Y + h}, s.Stretch(), true);
    } else if (client < 0) {
      client = i;
    }
  }
  if (client >= 0 && right > x) {
    const TBitmap& p = in.Sections->Items(client).Picture();
    painter.Draw(p, {x, o.Y, right, o.Y + p.Height()}, true, false);
  }
  TBitmap title_over_back = out.TitleImage;
  title_over_back.SetTransparent(true);
  title_over_back.SetTransparentColor(m.TransColor);
  frame.Draw(0, 0, title_over_back);
  if (!out.CaptionSectionDrawn) out.SectionCaption.clear();

  // Buttons, from the right.
  if (in.Buttons) {
    out.Buttons = LayoutTitleButtons(*in.Buttons, in.Width, in.Border, m.RightBtnXOffset,
                                     in.ButtonInterval, m.ButtonsTop);
  } else {
    out.Buttons.Left = in.Width + in.Border - m.RightBtnXOffset - 1;
  }
  auto draw_button = [&](const TsuiTitleBarButton& b, const TRect& r, int index) {
    const bool hot = in.MouseOver && PtInRectInclusive(in.Mouse, r);
    if (hot) out.HotButton = index;
    TBitmap p = StatePicture(b, hot, in.Pressed);
    p.SetTransparent(b.Transparent());
    if (in.UsingFileTheme) p.SetTransparentColor(m.TransColor);
    bar.Draw(r.Left, r.Top, p);
  };
  for (std::size_t i = 0; i < out.Buttons.Rects.size(); ++i) {
    const TRect& r = out.Buttons.Rects[i];
    if (r.Right > r.Left)
      draw_button(in.Buttons->Items(static_cast<int>(i)), r, static_cast<int>(i));
  }

  // The left area: the application icon or the control box.
  int left = std::max(0, m.LeftBtnXOffset - in.Border - kSkinnedFormShift);
  if (out.Buttons.ControlBox >= 0) {
    const TsuiTitleBarButton& box = in.Buttons->Items(out.Buttons.ControlBox);
    if (in.DrawAppIcon) {
      out.ControlBoxRect = {left + 3, m.IconTop, left + 3 + kIconSize, m.IconTop + kIconSize};
      if (in.AppIcon && !in.AppIcon->Empty()) bar.StretchDraw(out.ControlBoxRect, *in.AppIcon);
      if (in.MouseOver && PtInRectInclusive(in.Mouse, out.ControlBoxRect))
        out.HotButton = out.Buttons.ControlBox;
      left += kIconStep;
    } else {
      const TBitmap& p = box.PicNormal();
      out.ControlBoxRect = {left, m.IconTop - 1, left + p.Width(), m.IconTop - 1 + p.Height()};
      draw_button(box, out.ControlBoxRect, out.Buttons.ControlBox);
      left += p.Width() + 5;
    }
  }
  if (left == 0) left = 6;

  // The caption.
  const int c = out.Buttons.Left;
  bar.Font.Color = in.FormActive ? in.Font.Color : in.InactiveCaptionColor;
  out.CaptionText = !out.SectionCaption.empty() ? out.SectionCaption
                                                : ShortenTitleCaption(bar, in.Caption, c - left);
  const int y = in.UsingFileTheme     ? m.CaptionTop - 3
                : in.Theme == Protein ? m.ButtonsTop + 3
                                      : m.ButtonsTop;
  const int text_x = in.RightToLeft ? c - kRightToLeftGap - bar.TextWidth(out.CaptionText) : left;
  out.CaptionAt = {text_x, y};
  if (!in.Caption.empty()) bar.TextOut(text_x, y, out.CaptionText);
}

}  // namespace skin
