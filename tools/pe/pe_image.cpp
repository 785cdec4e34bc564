#include "tools/pe/pe_image.h"

#include <utility>

#include "tools/pe/resource_reader.h"

namespace pe {

PeImage PeImage::Parse(base::Bytes file) {
  PeHeaders headers = ParseHeaders(file);
  return PeImage(std::move(file), std::move(headers));
}

ResourceTree PeImage::ReadResources() const { return ReadResourceTree(file_, headers_); }

}  // namespace pe
