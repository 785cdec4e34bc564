#include "framework/controls/keyboard.h"

#include "base/gbk_text.h"

namespace framework {

std::string_view AcceleratorOf(std::string_view caption) {
  // By characters: a Chinese accelerator is two bytes. No GBK trail byte
  // is '&' (trail bytes start at 0x40), but the character after it is
  // measured as GBK.
  for (std::size_t i = 0; i < caption.size(); i += base::GbkCharLength(caption, i)) {
    if (caption[i] != '&' || i + 1 >= caption.size()) continue;
    if (caption[i + 1] == '&') {
      ++i;  // "&&": the loop steps over the second '&'
      continue;
    }
    return caption.substr(i + 1, base::GbkCharLength(caption, i + 1));
  }
  return {};
}

}  // namespace framework
