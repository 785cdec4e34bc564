#include "skin/sui_url_label.h"

#include "framework/core/rtti.h"

namespace skin {

namespace {

TsuiURLLabel::ShellOpen& CurrentShellOpen() {
  static TsuiURLLabel::ShellOpen open;
  return open;
}

bool IsBlank(const std::string& text) {
  return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

}  // namespace

TsuiURLLabel::TsuiURLLabel(framework::TComponent* owner) : framework::TCustomLabel(owner) {
  SetCursor(framework::crHandPoint);
  graphics::TFont font = Font();
  font.Style = graphics::fsUnderline;
  font.Color = graphics::clBlue;
  SetFont(font);
  SetAutoSize(true);
  SetCaption("Visit our web site");
}

TsuiURLLabel::ShellOpen TsuiURLLabel::SetShellOpen(ShellOpen open) {
  ShellOpen before = std::move(CurrentShellOpen());
  CurrentShellOpen() = std::move(open);
  return before;
}

void TsuiURLLabel::SetURL(const std::string& url) {
  if (url != url_) url_ = url;
}

void TsuiURLLabel::SetFontLinkColor(graphics::TColor c) {
  link_color_ = c;
  SetFontColor(c);
}

void TsuiURLLabel::SetFontColor(graphics::TColor color) {
  if (Font().Color == color) return;
  graphics::TFont font = Font();
  font.Color = color;
  SetFont(font);
}

void TsuiURLLabel::MouseEnter() {
  framework::TCustomLabel::MouseEnter();
  SetFontColor(IsDesigning() ? graphics::clBlue : hover_color_);
}

void TsuiURLLabel::MouseLeave() {
  framework::TCustomLabel::MouseLeave();
  SetFontColor(link_color_);
}

void TsuiURLLabel::Click() {
  // The untrimmed URL goes to the shell; a blank one opens nothing.
  if (!IsBlank(url_)) {
    if (CurrentShellOpen()) CurrentShellOpen()(url_);
    else ShellOpenUrl(url_);
  }
  framework::TCustomLabel::Click();
}

const framework::TClassInfo& TsuiURLLabel::ClassInfo() const { return StaticClassInfo(); }
const framework::TClassInfo& TsuiURLLabel::StaticClassInfo() {
  static const framework::TClassInfo& info =
      framework::TClassInfo::Define<TsuiURLLabel, framework::TCustomLabel>("TsuiURLLabel")
          .Factory()
          .Prop("URL", [](const TsuiURLLabel& l) { return l.URL(); },
                [](TsuiURLLabel& l, const std::string& v) { l.SetURL(v); })
          .ColorProp("FontHoverColor", &TsuiURLLabel::FontHoverColor,
                     &TsuiURLLabel::SetFontHoverColor)
          .ColorProp("FontLinkColor", &TsuiURLLabel::FontLinkColor,
                     &TsuiURLLabel::SetFontLinkColor)
          .Done();
  return info;
}

}  // namespace skin
