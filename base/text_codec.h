#pragma once
// Conversions between the system's GBK text (code page 936) and the
// encodings at its edges: UTF-16 for the Windows wide API, UTF-8 for
// manifests, JSON and terminals.
#include <optional>
#include <string>
#include <string_view>

namespace base {

// GBK -> UTF-8. Bytes that are not valid GBK become U+FFFD, so the result
// is always printable.
std::string GbkToUtf8(std::string_view gbk);
// UTF-8 -> GBK; nothing when a character has no GBK form (or the input is
// not UTF-8).
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

#ifdef _WIN32
std::wstring GbkToWide(std::string_view gbk);
// UTF-16 -> GBK for display and logs only: a character without a GBK form
// becomes '?'. Paths never take this way (see base/system_path_win.h).
std::string WideToGbkLossy(std::wstring_view wide);
#endif

}  // namespace base
