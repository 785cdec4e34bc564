#pragma once
// The traditional PKWARE encryption of ZIP archives: three 32-bit keys
// stirred by every plain byte, a keystream byte drawn from the third key.
// Weak by today's measure, but it is what skin files are protected with.
#include <cstdint>
#include <string_view>

#include "base/crc32.h"

namespace skin::reader {

// The CRC-32 that ZIP headers carry.
using base::Crc32;

// An encrypted member starts with 12 header bytes; the last one decrypts
// to a check byte that tells a wrong password (with a chance of 1 in 256
// of missing it).
inline constexpr std::size_t kEncryptionHeaderSize = 12;

class TPkwareKeys {
public:
  // Keys set up and stirred with every byte of the password.
  explicit TPkwareKeys(std::string_view password);

  std::uint8_t Decrypt(std::uint8_t cipher) {
    const std::uint8_t plain = cipher ^ StreamByte();
    Update(plain);
    return plain;
  }
  std::uint8_t Encrypt(std::uint8_t plain) {
    const std::uint8_t cipher = plain ^ StreamByte();
    Update(plain);
    return cipher;
  }
  void Decrypt(std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) data[i] = Decrypt(data[i]);
  }
  void Encrypt(std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) data[i] = Encrypt(data[i]);
  }

private:
  void Update(std::uint8_t plain);
  std::uint8_t StreamByte() const {
    // In 32 bits: two 16-bit factors would be promoted to int and overflow.
    const std::uint32_t t = (keys_[2] | 2) & 0xFFFF;
    return static_cast<std::uint8_t>((t * (t ^ 1)) >> 8);
  }

  std::uint32_t keys_[3] = {0x12345678, 0x23456789, 0x34567890};
};

}  // namespace skin::reader
