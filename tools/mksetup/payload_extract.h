#pragma once
// Cutting a product's files out of an installer's package, by its record.
#include <filesystem>

#include "tools/pe/resource_tree.h"

namespace mksetup {

// Writes every file of the record (skipped entries aside) below dir, names
// converted to UTF-8 and backslashes to folders. Throws base::Error with the
// refusal message when the record breaks its data model, so nothing is ever
// written outside dir. Returns the number of files written.
int ExtractFiles(const pe::ResourceTree& resources, const std::filesystem::path& dir);

}  // namespace mksetup
