#include "skin/reader/pkware_cipher.h"

namespace skin::reader {

using base::Crc32Update;

TPkwareKeys::TPkwareKeys(std::string_view password) {
  for (const char c : password) Update(static_cast<std::uint8_t>(c));
}

void TPkwareKeys::Update(std::uint8_t plain) {
  keys_[0] = Crc32Update(keys_[0], plain);
  keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
  keys_[2] = Crc32Update(keys_[2], static_cast<std::uint8_t>(keys_[1] >> 24));
}

}  // namespace skin::reader
