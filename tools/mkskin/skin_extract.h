#pragma once
// `mkskin extract`: a skin file back into the input of `mkskin pack`, every
// picture as NAME.bmp (its stored bytes) and the other entries in
// skin.toml, so that packing the folder again gives the same entries.
#include <filesystem>
#include <string>
#include <vector>

#include "tools/mkskin/skin_dump.h"

namespace mkskin {

struct ExtractedSkin {
  int pictures = 0;  // NAME.bmp files written
  int values = 0;    // entries written to skin.toml
  // Entries that do not come back exactly as stored, one line each (UTF-8).
  std::vector<std::string> warnings;
};

// skin.toml for the non-picture entries of dump; warnings receives what it
// cannot give back exactly.
std::string SkinTomlText(const SkinDump& dump, std::vector<std::string>& warnings);

// Writes the folder (creating it). Throws base::Error when dump is not
// complete, and for a picture whose name cannot be a file name (a name is
// never allowed to lead outside dir).
ExtractedSkin ExtractSkinFolder(const SkinDump& dump, const std::filesystem::path& dir);

}  // namespace mkskin
