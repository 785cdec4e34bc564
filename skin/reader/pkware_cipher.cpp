#include "skin/reader/pkware_cipher.h"

#include <array>

namespace skin::reader {
namespace {

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

std::uint32_t Crc32Update(std::uint32_t crc, std::uint8_t byte) {
  return kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) crc = Crc32Update(crc, data[i]);
  return crc ^ 0xFFFFFFFFu;
}

TPkwareKeys::TPkwareKeys(std::string_view password) {
  for (const char c : password) Update(static_cast<std::uint8_t>(c));
}

void TPkwareKeys::Update(std::uint8_t plain) {
  keys_[0] = Crc32Update(keys_[0], plain);
  keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
  keys_[2] = Crc32Update(keys_[2], static_cast<std::uint8_t>(keys_[1] >> 24));
}

}  // namespace skin::reader
