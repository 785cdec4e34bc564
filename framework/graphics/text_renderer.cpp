#include "framework/graphics/text_renderer.h"

namespace graphics {
namespace {
TextRenderer* g_default = nullptr;
}

TextRenderer* SetDefaultTextRenderer(TextRenderer* renderer) {
  TextRenderer* previous = &DefaultTextRenderer();
  g_default = renderer;
  return previous;
}

TextRenderer& DefaultTextRenderer() { return g_default ? *g_default : PlatformTextRenderer(); }

}  // namespace graphics
