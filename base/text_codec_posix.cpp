#include <iconv.h>

#include <cerrno>

#include "base/text_codec.h"

namespace base {
namespace {

// Converts with iconv; with lossy set, an unconvertible input byte becomes
// the replacement text and conversion goes on.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view in,
                                   std::string_view replacement, bool lossy) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out;
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  char buf[4096];
  while (src_left > 0) {
    char* dst = buf;
    size_t dst_left = sizeof buf;
    size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    out.append(buf, static_cast<size_t>(dst - buf));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      if (!lossy) {
        iconv_close(cd);
        return std::nullopt;
      }
      out += replacement;
      ++src;
      --src_left;
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  return *Convert("UTF-8", "CP936", gbk, "\xEF\xBF\xBD", true);
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  return Convert("CP936", "UTF-8", utf8, "", false);
}

}  // namespace base
