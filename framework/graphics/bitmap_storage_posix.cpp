#include <memory>

#include "framework/graphics/bitmap.h"

namespace graphics::detail {
namespace {

class HeapStorage final : public PixelStorage {
public:
  explicit HeapStorage(std::size_t count) : pixels_(std::make_unique<Pixel32[]>(count)) {}
  Pixel32* Pixels() override { return pixels_.get(); }

private:
  std::unique_ptr<Pixel32[]> pixels_;  // value-initialised: black
};

}  // namespace

std::unique_ptr<PixelStorage> CreatePixelStorage(int width, int height) {
  return std::make_unique<HeapStorage>(static_cast<std::size_t>(width) *
                                       static_cast<std::size_t>(height));
}

}  // namespace graphics::detail
