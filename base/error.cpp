#include "base/error.h"

namespace base {

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  auto next = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size()) {
      if (pattern[i + 1] == 's') {
        if (next != args.end()) out += *next++;
        ++i;
        continue;
      }
      if (pattern[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
    }
    out += pattern[i];
  }
  return out;
}

}  // namespace base
