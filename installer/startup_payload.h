#pragma once
// The payload half of start-up: the record through "tmp.cx", its
// validation, the package and its checksum. Kept apart from the window so
// that every front end (and the tests) run the same steps in the same order.
#include <memory>
#include <string>

#include "base/file_system.h"
#include "base/memory_stream.h"
#include "installer/resource_source.h"
#include "installer/setup_record.h"

namespace installer {

// Loads and validates the record (throws base::Error with the refusal
// message when it breaks the data model). Nothing is written but the
// short-lived "tmp.cx".
void LoadValidatedRecord(const ResourceSource& resources, base::FileSystem& fs,
                         const std::string& installer_folder, TSetupRecord& record);

// Loads the package into package, checks every file entry lies inside it
// (throws the refusal message otherwise) and returns whether the checksum
// matches.
bool LoadValidatedPackage(const ResourceSource& resources, const TSetupRecord& record,
                          std::unique_ptr<base::MemoryStream>& package);

}  // namespace installer
