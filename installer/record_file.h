#pragma once
// The record's passage through files: the packed SETUPINI resource written
// out as it is stored, and a record loaded back from such a file.
#include <string>

#include "base/file_system.h"
#include "installer/resource_source.h"
#include "installer/setup_record.h"

namespace installer {

inline constexpr const char* kTempRecordFileName = "tmp.cx";
inline constexpr const char* kInstalledRecordFileName = "V_an.cx";

// Writes the SETUPINI resource, byte for byte, to path, replacing any file
// there.
void SaveSetupIni(const ResourceSource& resources, base::FileSystem& fs, const std::string& path);

// Loads the record from the packed file at path; a missing file leaves the
// record as it was.
void LoadSetupRecord(base::FileSystem& fs, const std::string& path, TSetupRecord& record);

// Start-up's way of loading the record: through "tmp.cx" in the installer's
// folder, which is removed afterwards. A failure while loading leaves the
// file behind.
void LoadRecordThroughTempFile(const ResourceSource& resources, base::FileSystem& fs,
                               const std::string& installer_folder, TSetupRecord& record);

}  // namespace installer
