#pragma once
// The product manifest: a TOML file (UTF-8) that names everything an
// installer carries. Texts stay UTF-8 here; the builder converts them.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace mksetup {

// An error in the manifest, with the line it concerns (0 when none).
class ManifestError : public std::runtime_error {
public:
  ManifestError(const std::string& message, std::uint32_t line)
      : std::runtime_error(message), line_(line) {}
  std::uint32_t line() const { return line_; }

private:
  std::uint32_t line_;
};

// A text value and the manifest line it came from.
struct Text {
  std::string utf8;
  std::uint32_t line = 0;
};

struct FileSpec {
  std::filesystem::path source;  // a file, or a folder taken with everything below it
  std::string target;            // "\name" below the target folder (UTF-8, backslashes)
  std::uint32_t line = 0;
};

struct ShortcutSpec {
  Text name;
  Text target;  // a file target of the manifest, "\VANTO-X.exe"
  std::uint8_t location = 0;
  Text arguments;
  std::uint32_t line = 0;
};

struct RegistrySpec {
  bool current_user = false;
  Text key;
  Text name;
  std::uint8_t kind = 0;  // 0 bool, 1 string, 2 integer
  bool bool_value = false;
  Text string_value;
  std::int32_t int_value = 0;
  std::uint32_t line = 0;
};

struct Manifest {
  std::filesystem::path base_dir;  // relative sources are resolved against it
  Text product_name, short_name, author, publisher_key, web_site, rights_notice, version,
      release_date, category, description, date1, date2, install_dir;
  std::optional<std::filesystem::path> licence;  // the PROTOCOL text, UTF-8 on disk
  std::uint32_t licence_line = 0;
  // [product] uninstaller = true: the package carries our own uninstaller as
  // "\Uninstall.exe", after the manifest's files (see setup_builder.h).
  bool uninstaller = false;
  std::uint32_t uninstaller_line = 0;
  std::vector<FileSpec> files;
  std::vector<ShortcutSpec> shortcuts;
  std::vector<RegistrySpec> registry;
};

// Throw ManifestError for a mistake in the text, also for a product name,
// shortcut name or file target that breaks the installer's name rule
// (installer/file_name_rules.h); nothing here touches the disk but
// LoadManifest's read.
Manifest LoadManifest(const std::filesystem::path& path);
Manifest ParseManifest(std::string_view toml_text, const std::filesystem::path& base_dir);

}  // namespace mksetup
