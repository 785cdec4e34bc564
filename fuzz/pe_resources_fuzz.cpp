// Feeds arbitrary bytes to the PE parser and resource reader; whatever they accept must survive
// a rewrite with one more resource and read back as exactly that tree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/error.h"
#include "tools/pe/resources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pe::ResourceTree tree;
  base::Bytes input(data, data + size);
  try {
    tree = pe::PeImage::Parse(input).ReadResources();
  } catch (const base::Error&) {
    return 0;
  }

  tree.Set(pe::ResourceId::Number(pe::kRtRcData), pe::ResourceId::Name("FUZZ"), 0,
           {base::Bytes{1, 2, 3}, 0});
  base::Bytes written;
  try {
    written = pe::WriteResources(input, tree);
  } catch (const base::Error&) {
    // A valid image may still have no room for another section header.
    return 0;
  }
  // Rewriting may not produce anything the reader refuses or reads differently.
  if (pe::PeImage::Parse(std::move(written)).ReadResources() != tree) std::abort();
  return 0;
}
