#include "tools/pe/resource_id.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "base/error.h"

namespace pe {
namespace {

char16_t UpperAscii(char16_t c) { return c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c; }

// How many continuation bytes follow a UTF-8 lead byte; -1 when it cannot lead.
int ContinuationBytes(unsigned char lead) {
  if (lead < 0x80) return 0;
  if ((lead & 0xE0) == 0xC0) return 1;
  if ((lead & 0xF0) == 0xE0) return 2;
  if ((lead & 0xF8) == 0xF0) return 3;
  return -1;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  std::size_t i = 0;
  auto invalid = [&] {
    return base::Error(base::FormatText("Resource name \"%s\" is not valid UTF-8", {utf8}));
  };
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int extra = ContinuationBytes(lead);
    if (extra < 0 || utf8.size() - i <= static_cast<std::size_t>(extra)) throw invalid();
    char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      const auto cont = static_cast<unsigned char>(utf8[i + k]);
      if ((cont & 0xC0) != 0x80) throw invalid();
      cp = (cp << 6) | (cont & 0x3F);
    }
    constexpr char32_t kMinForLength[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMinForLength[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      throw invalid();
    }
    if (cp >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
    i += extra + 1;
  }
  return out;
}

// Lone surrogates, which a file may hold, become U+FFFD so the result is always printable.
std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = utf16[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

std::strong_ordering CompareNames(std::u16string_view a, std::u16string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (auto c = UpperAscii(a[i]) <=> UpperAscii(b[i]); c != 0) return c;
  }
  return a.size() <=> b.size();
}

}  // namespace

ResourceId ResourceId::Number(std::uint16_t number) {
  ResourceId id;
  id.is_number_ = true;
  id.number_ = number;
  return id;
}

ResourceId ResourceId::Name(std::string_view utf8) {
  if (utf8.empty()) throw base::Error("Resource name is empty");
  ResourceId id;
  id.name_ = Utf8ToUtf16(utf8);
  for (char16_t& c : id.name_) c = UpperAscii(c);
  return id;
}

ResourceId ResourceId::RawName(std::u16string name) {
  ResourceId id;
  id.name_ = std::move(name);
  return id;
}

ResourceId ResourceId::Parse(std::string_view text) {
  if (text.empty() || text[0] != '#') return Name(text);
  unsigned value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data() + 1, end, value);
  if (ec != std::errc() || ptr != end || text.size() == 1 || value > 0xFFFF) {
    throw base::Error(
        base::FormatText("Resource number \"%s\" is not a number from 0 to 65535", {text}));
  }
  return Number(static_cast<std::uint16_t>(value));
}

std::string ResourceId::ToString() const {
  return is_number_ ? "#" + std::to_string(number_) : Utf16ToUtf8(name_);
}

bool operator==(const ResourceId& a, const ResourceId& b) { return (a <=> b) == 0; }

std::strong_ordering operator<=>(const ResourceId& a, const ResourceId& b) {
  if (a.is_number_ != b.is_number_) return a.is_number_ <=> b.is_number_;
  if (a.is_number_) return a.number_ <=> b.number_;
  return CompareNames(a.name_, b.name_);
}

}  // namespace pe
