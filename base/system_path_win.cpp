#include "base/system_path_win.h"

#include <windows.h>

#include "base/text_codec.h"

namespace base {
namespace {

constexpr UINT kGbk = 936;

// The position after the path's root ("C:\", "\\server\share\"), where
// its first component that could be shortened starts.
std::size_t RootLength(const std::wstring& path) {
  if (path.size() >= 2 && path[1] == L':')
    return path.size() >= 3 && (path[2] == L'\\' || path[2] == L'/') ? 3 : 2;
  if (path.rfind(L"\\\\", 0) == 0) {
    std::size_t server_end = path.find(L'\\', 2);
    if (server_end == std::wstring::npos) return path.size();
    std::size_t share_end = path.find(L'\\', server_end + 1);
    return share_end == std::wstring::npos ? path.size() : share_end + 1;
  }
  return 0;
}

}  // namespace

std::optional<std::string> EncodeExactly(unsigned code_page, std::wstring_view wide) {
  if (wide.empty()) return std::string();
  // UTF-8 takes neither the flag nor the "used default" report; it has a
  // form for everything but lone surrogates, which the round trip catches.
  const bool utf8 = code_page == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL used_default = FALSE;
  int n = WideCharToMultiByte(code_page, flags, wide.data(), static_cast<int>(wide.size()), nullptr,
                              0, nullptr, utf8 ? nullptr : &used_default);
  if (n <= 0 || used_default) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(code_page, flags, wide.data(), static_cast<int>(wide.size()), bytes.data(), n,
                      nullptr, nullptr);
  // Some code pages map several characters to one form without calling it a
  // default; only a form that reads back as the same text will do.
  std::wstring back(static_cast<std::size_t>(n), L'\0');
  int m = MultiByteToWideChar(code_page, 0, bytes.data(), n, back.data(), n);
  back.resize(m > 0 ? static_cast<std::size_t>(m) : 0);
  if (back != wide) return std::nullopt;
  return bytes;
}

std::wstring ShortPathOf(const std::wstring& path) {
  DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (n == 0) return {};
  std::wstring short_path(n, L'\0');
  n = GetShortPathNameW(path.c_str(), short_path.data(), n);
  if (n == 0 || n >= short_path.size()) return {};
  short_path.resize(n);
  return short_path;
}

std::optional<std::string> SystemPathToGbk(const std::wstring& path) {
  if (auto exact = EncodeExactly(kGbk, path)) return exact;
  // Component by component: one that converts stays as it is, one that does
  // not takes its short name, which only an existing folder or file has. So
  // "C:\Program Files\Muñoz" becomes "C:\Program Files\MUOZ~1", and the
  // user still recognises most of the path.
  const std::size_t root = RootLength(path);
  auto out = EncodeExactly(kGbk, std::wstring_view(path).substr(0, root));
  if (!out) return std::nullopt;
  std::wstring long_prefix = path.substr(0, root);
  std::size_t pos = root;
  for (;;) {
    const std::size_t separator = path.find_first_of(L"\\/", pos);
    const std::size_t end = separator == std::wstring::npos ? path.size() : separator;
    const std::wstring component = path.substr(pos, end - pos);
    long_prefix += component;
    auto gbk = EncodeExactly(kGbk, component);
    if (!gbk) {
      const std::wstring short_path = ShortPathOf(long_prefix);
      const std::size_t last = short_path.find_last_of(L"\\/");
      if (short_path.empty() || last == std::wstring::npos) return std::nullopt;
      gbk = EncodeExactly(kGbk, std::wstring_view(short_path).substr(last + 1));
      if (!gbk) return std::nullopt;
    }
    *out += *gbk;
    if (separator == std::wstring::npos) return out;
    *out += static_cast<char>(path[separator]);
    long_prefix += path[separator];
    pos = separator + 1;
  }
}

WideTextError::WideTextError(std::wstring text)
    : Error(WideToGbkLossy(text)), wide_text_(std::move(text)) {}

std::wstring FormatWithPath(std::string_view gbk_pattern, const std::wstring& path) {
  const std::wstring pattern = GbkToWide(gbk_pattern);
  const std::size_t at = pattern.find(L"%s");
  if (at == std::wstring::npos) return pattern;
  return pattern.substr(0, at) + path + pattern.substr(at + 2);
}

}  // namespace base
