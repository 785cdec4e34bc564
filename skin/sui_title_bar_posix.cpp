// Without a window system there is no error box to show and no resources
// to read: the built-in captions stand in.
#include "skin/sui_title_bar_items.h"

namespace skin::title_bar_platform {

void ShowError(const std::string&) {}

std::string LoadText(TTitleBarText) { return {}; }

}  // namespace skin::title_bar_platform
