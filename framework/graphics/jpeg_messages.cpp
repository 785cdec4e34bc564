#include "framework/graphics/jpeg_messages.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>
#include <iterator>

#include <jpeglib.h>

namespace graphics {
namespace {

// jerror.h builds its message table when included with JMESSAGE defined,
// the way libjpeg means applications to. Two entries name texts of a header
// that libjpeg does not install; no decoder ever reports them.
#define JCOPYRIGHT_SHORT "libjpeg copyright"
#define JVERSION "libjpeg version"
#define JMESSAGE(code, string) string,
const char* const kMessages[] = {
#include <jerror.h>
};
#undef JMESSAGE
#undef JVERSION
#undef JCOPYRIGHT_SHORT

void AppendNumber(std::string& out, unsigned long magnitude, bool negative, unsigned base,
                  bool upper, bool zero_pad, std::size_t width) {
  char digits[24];
  std::size_t n = 0;
  const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  do {
    digits[n++] = set[magnitude % base];
    magnitude /= base;
  } while (magnitude != 0);
  const std::size_t length = n + (negative ? 1 : 0);
  const std::size_t pad = width > length ? width - length : 0;
  if (!zero_pad) out.append(pad, ' ');
  if (negative) out += '-';
  if (zero_pad) out.append(pad, '0');
  while (n > 0) out += digits[--n];
}

}  // namespace

const char* JpegMessageText(int code) {
  if (code < 0 || static_cast<std::size_t>(code) >= std::size(kMessages)) return nullptr;
  return kMessages[code];
}

std::string FormatJpegMessage(std::string_view format, std::span<const int> numbers,
                              std::string_view text) {
  const bool with_text = format.find("%s") != std::string_view::npos;
  std::string out;
  std::size_t next = 0;  // the next number to use
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    std::size_t j = i + 1;
    if (j < format.size() && format[j] == '%') {
      out += '%';
      i = j;
      continue;
    }
    const bool zero_pad = j < format.size() && format[j] == '0';
    if (zero_pad) ++j;
    std::size_t width = 0;
    while (j < format.size() && format[j] >= '0' && format[j] <= '9' && width < 64)
      width = width * 10 + static_cast<std::size_t>(format[j++] - '0');
    if (j < format.size() && format[j] == 'l') ++j;
    if (j >= format.size()) {
      out.append(format.substr(i));
      break;
    }
    const char conversion = format[j];
    if (conversion == 's') {
      out.append(with_text ? text : std::string_view());
    } else if (conversion == 'd' || conversion == 'u' || conversion == 'x' ||
               conversion == 'X' || conversion == 'c') {
      const int value = !with_text && next < numbers.size() ? numbers[next] : 0;
      ++next;
      if (conversion == 'c') {
        out += static_cast<char>(value);
      } else if (conversion == 'd') {
        const long v = value;
        AppendNumber(out, v < 0 ? 0ul - static_cast<unsigned long>(v) : static_cast<unsigned long>(v),
                     v < 0, 10, false, zero_pad, width);
      } else {
        AppendNumber(out, static_cast<unsigned>(value), false, conversion == 'u' ? 10 : 16,
                     conversion == 'X', zero_pad, width);
      }
    } else {
      out.append(format.substr(i, j + 1 - i));
    }
    i = j;
  }
  return out;
}

}  // namespace graphics
