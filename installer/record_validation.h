#pragma once
// Checks that a loaded record keeps to its data model before the installer
// acts on it. A record that breaks it could make the installer read outside
// the package or write outside the target folder, so such a record is
// refused as a whole, with a message naming the entry, before anything of
// the product is written.
#include <cstdint>
#include <string>
#include <vector>

#include "installer/setup_record.h"

namespace installer {

struct RecordProblem {
  std::string message;  // GBK; names the field or the table entry
};

// Problems of the record alone: counts outside 0..256, length bytes above a
// field's capacity, file names that break the name rule (file_name_rules.h),
// two file entries that Windows takes for the same file or a file that
// another entry needs as a folder, shortcut targets outside the file table,
// shortcut names and the product name (the Programs group) that are not one
// valid name. Skipped file entries ("*.") are never written, so only their
// length byte is checked.
std::vector<RecordProblem> ValidateRecord(const TSetupRecord& record);

// Problems between the record and the unpacked package: file entries that
// reach past its end.
std::vector<RecordProblem> ValidatePackageBounds(const TSetupRecord& record,
                                                 std::uint64_t package_size);

// The text shown when a record is refused: the first problem, and how many
// more there are.
std::string RefusalMessage(const std::vector<RecordProblem>& problems);

}  // namespace installer
