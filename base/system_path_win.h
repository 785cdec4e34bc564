#pragma once
// Paths that the system hands us in UTF-16 (the program's own folder, the
// user's folders, a folder the user picked or typed) and the GBK form the
// program works with. A path is never squeezed: a character without a GBK
// form is never replaced by '?' or by a look-alike, since the result would
// name another file, or none.
#include <optional>
#include <string>
#include <string_view>

#include "base/error.h"

namespace base {

// wide in code_page when every character has its own form there and the
// bytes read back as the same text; nothing otherwise.
std::optional<std::string> EncodeExactly(unsigned code_page, std::wstring_view wide);

// The short (8.3) form of an existing path; "" when the path does not exist
// or the volume keeps no short names.
std::wstring ShortPathOf(const std::wstring& path);

// The GBK form of a path: the path itself when it converts exactly; else
// the path with each component that does not convert replaced by its short
// name (so those components must exist; the rest need not); nothing when
// one of them has no short name that converts.
std::optional<std::string> SystemPathToGbk(const std::wstring& path);

// An error whose text names something GBK cannot write (a folder the system
// named in UTF-16). what() is the GBK approximation, for logs; reports show
// wide_text().
class WideTextError : public Error {
public:
  explicit WideTextError(std::wstring text);
  const std::wstring& wide_text() const { return wide_text_; }

private:
  std::wstring wide_text_;
};

// GBK pattern with one %s, filled with a wide path: the exact text for a
// report that shows UTF-16.
std::wstring FormatWithPath(std::string_view gbk_pattern, const std::wstring& path);

}  // namespace base
