#include <cstdio>
#include <cstdlib>
#include <random>

#include "skin/reader/sk2_skin_file_reader.h"

namespace skin::reader {

std::string TemporarySkinDataPath() {
  const char* dir = std::getenv("TMPDIR");
  std::string path = dir && *dir ? dir : "/tmp";
  if (path.back() != '/') path += '/';
  // A version 4 GUID from the system's random source: names never repeat
  // between readers, also across processes.
  std::random_device random;
  std::uint8_t g[16];
  for (std::uint8_t& b : g) b = static_cast<std::uint8_t>(random());
  g[6] = static_cast<std::uint8_t>((g[6] & 0x0F) | 0x40);
  g[8] = static_cast<std::uint8_t>((g[8] & 0x3F) | 0x80);
  char text[40];
  std::snprintf(text, sizeof text,
                "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g[0],
                g[1], g[2], g[3], g[4], g[5], g[6], g[7], g[8], g[9], g[10], g[11], g[12], g[13],
                g[14], g[15]);
  return path + text;
}

}  // namespace skin::reader
