#pragma once
// The input of `mkskin pack`: a folder with skin.toml (colours, integers,
// flags and strings) and BMP pictures, one entry per *.bmp file named after
// the file in upper case. Entries come out in a fixed order, so equal input
// makes an equal container.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tools/mkskin/skin_container_writer.h"

namespace mkskin {

inline constexpr char kSkinToml[] = "skin.toml";

// A mistake in the input, with the file and line (0: the whole file) it
// concerns; what() reads "FILE:LINE: message".
class PackError : public std::runtime_error {
public:
  PackError(const std::string& file, std::uint32_t line, const std::string& message);
  const std::string& file() const { return file_; }
  std::uint32_t line() const { return line_; }

private:
  std::string file_;
  std::uint32_t line_;
};

// Something packed as asked that is probably not what was meant: a name
// outside the skin vocabulary, or a vocabulary name under the wrong kind.
struct PackWarning {
  std::string file;
  std::uint32_t line = 0;
  std::string message;
  // "FILE:LINE: message", one line.
  std::string Text() const;
};

struct SkinPack {
  // Colours, pictures, integers, flags, strings; within each, vocabulary
  // names in vocabulary order, then the others sorted.
  std::vector<SkinEntry> entries;
  std::vector<PackWarning> warnings;
};

// Reads DIR/skin.toml and every DIR/*.bmp. Throws PackError.
SkinPack ReadSkinFolder(const std::filesystem::path& dir);

// skin.toml alone; file names it in messages.
SkinPack ParseSkinToml(std::string_view toml_text, const std::string& file);

// "#RRGGBB" as a Windows colour value, 0x00BBGGRR; nothing for other text.
std::optional<std::uint32_t> ParseHtmlColor(std::string_view text);
// The other way round; the high byte is dropped.
std::string FormatHtmlColor(std::uint32_t color);

// The name in upper case (ASCII letters only: a GBK trail byte is never
// turned into another character). Readers compare names this way, and the
// vocabulary is spelt in upper case.
std::string UpperName(std::string_view name);

}  // namespace mkskin
