#include "framework/controls/keyboard.h"

#include <cctype>

namespace framework {

bool IsAccelerator(std::uintptr_t key, const std::string& caption) {
  if (key >= 0x80) return false;
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return std::toupper(static_cast<unsigned char>(caption[i + 1])) ==
           std::toupper(static_cast<int>(key));
  }
  return false;
}

}  // namespace framework
