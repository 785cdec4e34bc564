#pragma once
// The benchmarks' stand-in for a product's files, shared so that every
// figure is measured on bytes of the same shape.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>

#include "base/bytes.h"

namespace bench {

// Data shaped like a product: runs of text-like bytes, some repeated blocks
// (like code), some incompressible stretches (like pictures). The same size
// always gives the same bytes.
inline base::Bytes ProductLikeData(std::size_t size) {
  std::mt19937 rng(2024);
  base::Bytes data(size);
  const char* words[] = {"install ", "VANTO-X ", "program ", "\r\n", "file ", "registry ",
                         "shortcut ", "0x00401000 ", "mov eax, ", "call "};
  std::size_t i = 0;
  while (i < size) {
    std::size_t run = std::min<std::size_t>(size - i, 4096 + rng() % 65536);
    switch (rng() % 3) {
      case 0:  // text
        for (std::size_t j = 0; j < run; ++j) {
          const char* w = words[rng() % 10];
          for (; *w && j < run; ++w, ++j) data[i + j] = static_cast<std::uint8_t>(*w);
        }
        break;
      case 1:  // repeats of an earlier block
        if (i > run) {
          std::memcpy(&data[i], &data[rng() % (i - run)], run);
          break;
        }
        [[fallthrough]];
      default:  // noise
        for (std::size_t j = 0; j < run; ++j) data[i + j] = static_cast<std::uint8_t>(rng());
    }
    i += run;
  }
  return data;
}

}  // namespace bench
