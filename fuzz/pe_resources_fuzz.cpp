// Feeds arbitrary bytes to the PE parser, the resource reader and the import reader; whatever
// they accept must survive a rewrite with one more resource and read back as exactly that tree,
// with the same imports (a rewrite moves the sections after the resources, never what they
// hold).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "base/error.h"
#include "tools/pe/import_reader.h"
#include "tools/pe/resources.h"

namespace {

bool SameImports(const pe::ImageImports& a, const pe::ImageImports& b) {
  if (a.machine != b.machine || a.dlls.size() != b.dlls.size()) return false;
  for (std::size_t i = 0; i < a.dlls.size(); ++i) {
    if (a.dlls[i].name != b.dlls[i].name || a.dlls[i].delay_loaded != b.dlls[i].delay_loaded)
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pe::ResourceTree tree;
  base::Bytes input(data, data + size);
  std::optional<pe::ImageImports> imports;
  try {
    imports = pe::ReadImports(input);
  } catch (const base::Error&) {
  }
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
  // Rewriting may not produce anything the readers refuse or read differently.
  if (imports && !SameImports(pe::ReadImports(written), *imports)) std::abort();
  if (pe::PeImage::Parse(std::move(written)).ReadResources() != tree) std::abort();
  return 0;
}
