#include "framework/graphics/fixed_cell_text_renderer.h"
#include "framework/graphics/text_renderer.h"

namespace graphics {

// No font machinery outside Windows: text is drawn as cells.
TextRenderer& PlatformTextRenderer() {
  static FixedCellTextRenderer renderer;
  return renderer;
}

}  // namespace graphics
