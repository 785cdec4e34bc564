#pragma once
// SUIURLLabel: TsuiURLLabel, a label that behaves like a hyperlink: drawn
// underlined in FontLinkColor, FontHoverColor while the pointer is over it,
// the hand cursor, and a click asks the shell to open its URL.
#include <functional>
#include <string>

#include "framework/controls/label.h"

namespace skin {

class TsuiURLLabel : public framework::TCustomLabel {
public:
  explicit TsuiURLLabel(framework::TComponent* owner);

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  const std::string& URL() const { return url_; }
  void SetURL(const std::string& url);
  graphics::TColor FontHoverColor() const { return hover_color_; }
  void SetFontHoverColor(graphics::TColor c) { hover_color_ = c; }
  graphics::TColor FontLinkColor() const { return link_color_; }
  // Also makes it the font colour at once.
  void SetFontLinkColor(graphics::TColor c);

  void Click() override;

  // How the shell is asked to open a URL ("open" verb, no parameters, no
  // working folder, shown normally). Tests replace it; nullptr restores the
  // platform's.
  using ShellOpen = std::function<void(const std::string& url)>;
  static ShellOpen SetShellOpen(ShellOpen open);

protected:
  void MouseEnter() override;
  void MouseLeave() override;

private:
  void SetFontColor(graphics::TColor color);

  std::string url_;
  graphics::TColor hover_color_ = graphics::clRed;
  graphics::TColor link_color_ = graphics::clBlue;
};

// The platform's way (sui_url_label_win.cpp).
void ShellOpenUrl(const std::string& url);

}  // namespace skin
