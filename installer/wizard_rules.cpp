#include "installer/wizard_rules.h"

#include "installer/shell_paths.h"
#include "installer/wizard_texts.h"

namespace installer {

namespace {

std::string_view TrimControlAndBlank(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
  return text;
}

}  // namespace

FolderDecision ValidateTargetFolder(std::string_view text, base::FileSystem& fs) {
  FolderDecision d;
  d.folder = std::string(TrimControlAndBlank(text));
  const std::string& t = d.folder;
  const std::size_t length = t.size();
  if (length == 0) {
    d.message = wizard_texts::kChooseFolder;
    return d;
  }
  if (length < 2 || t[1] != ':') {
    d.message = wizard_texts::kFullPathNeeded;
    return d;
  }
  // The character at L - 1 or at L, 1-based: the last two bytes.
  if (t[length - 1] == ':' || t[length - 2] == ':') {
    d.message = wizard_texts::kNotDriveRoot;
    return d;
  }
  if (!fs.DirectoryExists(t) && !ForceFolders(fs, t)) {
    d.message = wizard_texts::kCannotCreateFolder;
    return d;
  }
  d.accepted = fs.DirectoryExists(t);
  return d;
}

std::string BrowsedFolderText(const std::string& chosen, const std::string& short_name) {
  if (chosen.size() >= 4) return chosen + "\\" + short_name;
  return chosen + short_name;
}

std::string ReleaseDateText(const std::string& date) {
  auto part = [&](std::size_t from, std::size_t count) {
    return from < date.size() ? date.substr(from, count) : std::string();
  };
  return part(0, 4) + "." + part(4, 2) + "." + part(6, 2) + " ";
}

std::string InitialInstallDir(const std::string& previous_folder, bool previous_folder_exists,
                              const std::string& default_drive, const std::string& short_name) {
  if (previous_folder.size() > 3 && previous_folder_exists) return previous_folder;
  return default_drive + short_name;
}

std::string RegistryPathFromRoot(const std::string& path) {
  return !path.empty() && path[0] == '\\' ? path.substr(1) : path;
}

}  // namespace installer
