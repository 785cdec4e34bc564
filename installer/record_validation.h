#pragma once
// Checks that a loaded record keeps to its data model before the installer
// acts on it. A record that breaks it could make the installer read outside
// the package or write outside the target folder, so such a record is
// refused as a whole, with a message naming the entry, before anything of
// the product is written.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "installer/setup_record.h"

namespace installer {

struct RecordProblem {
  std::string message;  // GBK; names the field or the table entry
};

// Problems of the record alone: counts outside 0..256, length bytes above a
// field's capacity, file names that could leave the target folder, shortcut
// targets outside the file table. Skipped file entries ("*.") are never
// written, so only their length byte is checked.
std::vector<RecordProblem> ValidateRecord(const TSetupRecord& record);

// Problems between the record and the unpacked package: file entries that
// reach past its end.
std::vector<RecordProblem> ValidatePackageBounds(const TSetupRecord& record,
                                                 std::uint64_t package_size);

// Why a file name could leave the target folder, or nothing when it is safe:
// it must start with a backslash, name something below it, and contain no
// ".." component, no ':' (drive or stream) and no empty component.
std::optional<std::string> UnsafeFileNameReason(const std::string& name);

// The text shown when a record is refused: the first problem, and how many
// more there are.
std::string RefusalMessage(const std::vector<RecordProblem>& problems);

}  // namespace installer
