#include "skin/sui_menu_rules.h"

#include <algorithm>

#include "skin/skin_draw.h"
#include "skin/sui_file_theme.h"

namespace skin {

namespace {

using graphics::TColor;
using graphics::TRect;
namespace dt = graphics::dt;

// Built-in theme entries that menus read.
constexpr int kEntryFrameLine = 15;
constexpr int kEntrySelectedBorder = 18;
constexpr int kEntrySelected = 19;
constexpr int kEntrySelectedFont = 20;
constexpr int kEntryColor = 21;
constexpr int kEntryFont = 22;
constexpr int kEntryBar = 23;

// The MacOS pictures are a few pixels taller than the part of them that
// is used: only the top rows are stretched over an item.
constexpr int kMacSelectRows = 20;
constexpr int kMacBarRows = 20;
constexpr int kMacSeparatorRows = 12;

constexpr TColor kDisabledText = 0x808080;

void StretchRows(graphics::TCanvas& canvas, const TRect& rect, const graphics::TBitmap* picture,
                 int rows) {
  if (!picture || picture->Empty()) return;
  canvas.CopyRect(rect, *picture, {0, 0, picture->Width(), std::min(rows, picture->Height())});
}

// The side bar and the item's colour beside it.
void FillPlainBackground(const TsuiMenuLook& look, graphics::TCanvas& canvas, const TRect& rect,
                         bool rtl) {
  TRect rest = rect;
  canvas.Brush.Style = graphics::TBrushStyle::Solid;
  if (look.BarWidth > 0) {
    TRect bar = rect;
    if (rtl) {
      bar.Left = rect.Right - look.BarWidth;
      rest.Right = bar.Left;
    } else {
      bar.Right = rect.Left + look.BarWidth;
      rest.Left = bar.Right;
    }
    if (look.BarColor == look.BarToColor) {
      canvas.Brush.Color = look.BarColor;
      canvas.FillRect(bar);
    } else {
      FillGradientHorizontal(canvas, bar, look.BarColor, look.BarToColor);
    }
  }
  canvas.Brush.Color = look.Color;
  canvas.FillRect(rest);
}

}  // namespace

void ApplyMenuStyle(TsuiMenuLook& look, TsuiUIStyle style, const TsuiFileTheme* file_theme) {
  look.UIStyle = style;
  look.BarWidth = 26;
  if (style == MacOS) {
    look.MenuItemHeight = 20;
    look.SeparatorHeight = 12;
    look.SeparatorColor = graphics::clBlack;
  } else {
    look.MenuItemHeight = 21;
    look.SeparatorHeight = 5;
    look.SeparatorColor = 0x848284;
  }
  TsuiUIStyle theme = DeepBlue;
  if (UsingFileTheme(file_theme, style, theme)) {
    look.BarColor = file_theme->GetColor(menu_item::kBarColor);
    look.BarToColor = file_theme->GetColor(menu_item::kBarToColor);
    look.Color = file_theme->GetColor(menu_item::kColor);
    look.FontColor = file_theme->GetColor(menu_item::kFontColor);
    look.SelectedBorderColor = file_theme->GetColor(menu_item::kSelectedBorderColor);
    look.SelectedColor = file_theme->GetColor(menu_item::kSelectedColor);
    look.SelectedFontColor = file_theme->GetColor(menu_item::kSelectedFontColor);
    return;
  }
  look.BarColor = GetBuiltInColor(theme, kEntryBar);
  look.BarToColor = look.BarColor;
  look.Color = GetBuiltInColor(theme, kEntryColor);
  look.FontColor = GetBuiltInColor(theme, kEntryFont);
  look.SelectedBorderColor = GetBuiltInColor(theme, kEntrySelectedBorder);
  look.SelectedColor = GetBuiltInColor(theme, kEntrySelected);
  look.SelectedFontColor = GetBuiltInColor(theme, kEntrySelectedFont);
}

graphics::TColor FlatMenuLineColor(TsuiUIStyle style, const TsuiFileTheme* file_theme) {
  TsuiUIStyle theme = DeepBlue;
  if (UsingFileTheme(file_theme, style, theme)) return file_theme->GetColor(menu_item::kFrameLine);
  return GetBuiltInColor(theme, kEntryFrameLine);
}

graphics::TFont MenuItemFont(const TsuiMenuLook& look, const graphics::TFont& system_font) {
  if (look.UseSystemFont) return system_font;
  graphics::TFont font;
  font.Name = look.FontName;
  // Points to pixels at 96 dpi, rounded as the platform rounds.
  font.Height = (look.FontSize * 96 + 36) / 72;
  font.Charset = look.FontCharset;
  font.Style = 0;
  return font;
}

void MeasureMenuItem(const TsuiMenuLook& look, const framework::TMenuItem& item,
                     graphics::TCanvas& canvas, const graphics::TFont& system_font, int& width,
                     int& height) {
  canvas.Font = MenuItemFont(look, system_font);
  if (item.Default()) canvas.Font.Style |= graphics::fsBold;
  const std::string caption = framework::StripHotkey(item.Caption());
  const std::string shortcut = framework::ShortCutToText(item.ShortCut());
  if (item.IsLine()) {
    height = look.SeparatorHeight;
  } else {
    height = std::max(canvas.TextHeight(caption), look.MenuItemHeight);
  }
  width = canvas.TextWidth(caption) + (shortcut.empty() ? 0 : canvas.TextWidth(shortcut)) +
          look.BarWidth + 40;
}

void DrawMenuItem(const TsuiMenuLook& look, const framework::TMenuItem& item,
                  graphics::TCanvas& canvas, const graphics::TRect& rect, bool selected,
                  const TMenuItemPictures& pictures) {
  const bool rtl = pictures.right_to_left;
  const bool macos = look.UIStyle == MacOS;

  if (item.IsLine()) {
    if (macos) {
      StretchRows(canvas, rect, pictures.macos_bar, kMacSeparatorRows);
      return;
    }
    FillPlainBackground(look, canvas, rect, rtl);
    canvas.Pen.Color = look.SeparatorColor;
    canvas.Pen.Width = 1;
    const int y = rect.Top + 2;
    if (rtl) {
      canvas.MoveTo(rect.Left + 2, y);
      canvas.LineTo(rect.Right - look.BarWidth - 4, y);
    } else {
      canvas.MoveTo(rect.Left + look.BarWidth + 4, y);
      canvas.LineTo(rect.Right - 2, y);
    }
    return;
  }

  // Background.
  if (selected && item.Enabled()) {
    if (macos) {
      StretchRows(canvas, rect, pictures.macos_select, kMacSelectRows);
    } else {
      canvas.Brush.Style = graphics::TBrushStyle::Solid;
      canvas.Brush.Color = look.SelectedColor;
      canvas.FillRect(rect);
      canvas.Brush.Color = look.SelectedBorderColor;
      canvas.FrameRect(rect);
    }
  } else if (macos) {
    StretchRows(canvas, rect, pictures.macos_bar, kMacBarRows);
  } else {
    FillPlainBackground(look, canvas, rect, rtl);
  }

  // Check mark and image column.
  const int x = rtl ? rect.Right - 20 : rect.Left + 4;
  const bool has_image = pictures.images && item.ImageIndex() >= 0 &&
                         item.ImageIndex() < pictures.images->Count();
  if (item.Checked()) {
    if (has_image) {
      canvas.Pen.Color = graphics::clBlack;
      canvas.Pen.Width = 1;
      canvas.Brush.Style = graphics::TBrushStyle::Solid;
      canvas.Brush.Color = look.SelectedColor;
      canvas.Rectangle(x - 2, rect.Top + 1, x + 17, rect.Top + 20);
    } else if (pictures.check_marks) {
      pictures.check_marks->Draw(canvas, x, rect.Top + 3, 0, item.Enabled());
    }
  }
  if (has_image) pictures.images->Draw(canvas, x, rect.Top + 3, item.ImageIndex());

  // Texts.
  canvas.Font = MenuItemFont(look, pictures.system_font);
  if (!item.Enabled()) {
    canvas.Font.Color = kDisabledText;
  } else {
    canvas.Font.Color = selected ? look.SelectedFontColor : look.FontColor;
  }
  if (item.Default()) canvas.Font.Style |= graphics::fsBold;
  canvas.Brush.Style = graphics::TBrushStyle::Clear;

  TRect text = rect;
  if (rtl) {
    text.Left = rect.Left + look.BarWidth;
    text.Right = rect.Right - 4;
    canvas.DrawText(item.Caption(), text, dt::Right | dt::SingleLine | dt::VCenter);
  } else {
    text.Left = rect.Left + look.BarWidth + 4;
    canvas.DrawText(item.Caption(), text, dt::Left | dt::SingleLine | dt::VCenter);
  }

  const std::string shortcut = framework::ShortCutToText(item.ShortCut());
  if (!shortcut.empty()) {
    TRect r = rect;
    if (rtl) {
      r.Left = rect.Left + look.BarWidth + 4;
    } else {
      r.Left = rect.Right - canvas.TextWidth(shortcut) - 16;
    }
    canvas.DrawText(shortcut, r, dt::Left | dt::SingleLine | dt::VCenter | dt::NoPrefix);
  }
}

void LoadCheckMarks(graphics::TImageList& list) {
  list = graphics::TImageList(16, 16);
  try {
    list.AddMasked(LoadThemePicture("MENU_CHECKED"), graphics::clWhite);
  } catch (const std::exception&) {
    // No picture: checked items then show no mark, as a missing image does.
  }
}

}  // namespace skin
