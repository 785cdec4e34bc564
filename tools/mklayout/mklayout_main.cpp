// mklayout LAYOUT OUT: a layout's text compiled and packed as the programs
// carry it (framework/core/stored_layout.h): under 16 MB, so that the
// packed block's fourth byte tells it from text. A layout that does not parse
// fails the build with the parser's message and position.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "base/bytes.h"
#include "base/error.h"
#include "framework/core/compiled_layout.h"
#include "framework/core/layout_parser.h"
#include "installer/packed_block.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: mklayout LAYOUT OUT\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "mklayout: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  try {
    const std::string compiled = framework::CompileLayout(framework::ParseLayout(text));
    if (compiled.size() >= (1u << 24)) throw base::Error("a stored layout is under 16 MB");
    const base::Bytes packed = installer::PackBlock(base::AsBytes(compiled), 9);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(packed.data()),
              static_cast<std::streamsize>(packed.size()));
    if (!out.flush()) {
      std::fprintf(stderr, "mklayout: cannot write %s\n", argv[2]);
      return 1;
    }
  } catch (const base::Error& e) {
    // The position leads the parser's messages: "FILE:line 7, column 12: ...".
    std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
    return 1;
  }
  return 0;
}
