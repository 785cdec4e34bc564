// In an object of its own: a program that loads only compiled layouts
// links no parser.
#include "framework/core/layout_loader.h"
#include "framework/core/layout_parser.h"

namespace framework {

void LoadLayoutText(TComponent& root, std::string_view utf8, const TLayoutContext& context) {
  LoadLayout(root, ParseLayout(utf8), context);
}

}  // namespace framework
