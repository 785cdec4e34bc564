#include "installer/shell_paths.h"

#include "base/gbk_text.h"

namespace installer {
namespace {

// The longest prefix of text, at most max_bytes long, that does not cut a
// character in two.
std::string_view WholeCharsPrefix(std::string_view text, std::size_t max_bytes) {
  std::size_t end = 0;
  base::ForEachGbkChar(text, [&](std::size_t i) {
    std::size_t next = i + base::GbkCharLength(text, i);
    if (next > max_bytes) return false;
    end = next;
    return true;
  });
  return text.substr(0, end);
}

// 0-based index of the first backslash at a character start, npos if none.
std::size_t FirstBackslash(std::string_view text) {
  std::size_t found = std::string_view::npos;
  base::ForEachGbkChar(text, [&](std::size_t i) {
    if (text[i] != '\\') return true;
    found = i;
    return false;
  });
  return found;
}

}  // namespace

std::size_t RPos(std::string_view sub, std::string_view text) {
  if (sub.size() > text.size()) return 0;
  std::size_t result = 0;
  // Character starts in ascending order; the last match wins. The end of the
  // text counts as a start too, for an empty sub.
  auto consider = [&](std::size_t i) {
    if (i + sub.size() <= text.size() && text.compare(i, sub.size(), sub) == 0) result = i + 1;
    return true;
  };
  base::ForEachGbkChar(text, consider);
  consider(text.size());
  return result;
}

std::string ShortenPath(std::string_view path, std::size_t limit) {
  if (path.size() <= limit) return std::string(path);
  constexpr std::size_t kLastComponentMax = 40;
  std::string_view last = path.substr(RPos("\\", path));  // after the backslash, or all of it
  std::string out(WholeCharsPrefix(path, 3));
  out += "...\\";
  out += WholeCharsPrefix(last, kLastComponentMax);
  return out;
}

bool ForceFolders(base::FileSystem& fs, std::string_view path) {
  std::string prefix;
  std::string_view rest = path;
  while (!rest.empty()) {
    std::size_t k = FirstBackslash(rest);
    std::size_t take = (k == std::string_view::npos) ? rest.size() : k + 1;
    prefix.append(rest.substr(0, take));
    rest.remove_prefix(take);
    if (fs.DirectoryExists(prefix)) continue;
    if (!fs.MakeDirectory(prefix)) return false;
  }
  return true;
}

std::string IncludeTrailingBackslash(std::string_view folder) {
  std::string out(folder);
  if (out.empty() || RPos("\\", out) != out.size()) out += '\\';
  return out;
}

std::string ExtractFilePath(std::string_view path) {
  return std::string(path.substr(0, RPos("\\", path)));
}

std::string ExtractFileName(std::string_view path) {
  return std::string(path.substr(RPos("\\", path)));
}

}  // namespace installer
