#pragma once
// Byte buffers and field access. Every multi-byte integer that the system
// stores (packed blocks, the setup record, PE headers, skin files) is
// little-endian, so these helpers are the only place that knows; the
// formats it reads from others (PNG, zlib's Adler-32) are big-endian.
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace base {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

inline std::uint16_t GetU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t GetU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint32_t GetU32Be(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}
inline void PutU16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Deflate cannot expand data by more than 1032:1 (a 258-byte match costs at
// least two bits): a stream that claims to inflate to more than this many
// times its size is damage, refused before anything that size is allocated.
inline constexpr std::uint64_t kMaxDeflateRatio = 1032;

inline ByteView AsBytes(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}
inline std::string AsString(ByteView b) {
  return {reinterpret_cast<const char*>(b.data()), b.size()};
}

}  // namespace base
