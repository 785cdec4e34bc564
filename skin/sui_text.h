#pragma once
// Text helpers the skinned controls share.
#include <string>
#include <string_view>

namespace skin {

// text without the blanks and control bytes (0x00-0x20) at either end. GBK
// lead and trail bytes are all above 0x20, so no character is cut.
inline std::string TrimmedText(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= 0x20) ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= 0x20) --e;
  return std::string(text.substr(b, e - b));
}

}  // namespace skin
