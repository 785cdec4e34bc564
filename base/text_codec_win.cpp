#include <windows.h>

#include "base/text_codec.h"

namespace base {
namespace {

constexpr UINT kGbk = 936;

std::wstring ToWide(UINT codepage, DWORD flags, std::string_view in, bool* ok) {
  *ok = true;
  if (in.empty()) return {};
  int n = MultiByteToWideChar(codepage, flags, in.data(), static_cast<int>(in.size()), nullptr, 0);
  if (n <= 0) {
    *ok = false;
    return {};
  }
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codepage, flags, in.data(), static_cast<int>(in.size()), out.data(), n);
  return out;
}

std::string FromWide(UINT codepage, std::wstring_view in, bool strict, bool* ok) {
  *ok = true;
  if (in.empty()) return {};
  BOOL used_default = FALSE;
  BOOL* used = strict ? &used_default : nullptr;
  int n = WideCharToMultiByte(codepage, 0, in.data(), static_cast<int>(in.size()), nullptr, 0,
                              nullptr, used);
  if (n <= 0 || used_default) {
    *ok = false;
    return {};
  }
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codepage, 0, in.data(), static_cast<int>(in.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

}  // namespace

std::wstring GbkToWide(std::string_view gbk) {
  bool ok;
  return ToWide(kGbk, 0, gbk, &ok);
}

std::string WideToGbkLossy(std::wstring_view wide) {
  bool ok;
  return FromWide(kGbk, wide, false, &ok);
}

std::string GbkToUtf8(std::string_view gbk) {
  bool ok;
  return FromWide(CP_UTF8, GbkToWide(gbk), false, &ok);
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  bool ok;
  std::wstring wide = ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, &ok);
  if (!ok) return std::nullopt;
  std::string gbk = FromWide(kGbk, wide, true, &ok);
  if (!ok) return std::nullopt;
  return gbk;
}

}  // namespace base
