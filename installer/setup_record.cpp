#include "installer/setup_record.h"

#include <cstring>

namespace installer {

void LoadRecordBytes(TSetupRecord& record, base::ByteView data) {
  if (!data.empty()) std::memcpy(&record, data.data(), std::min(data.size(), kSetupRecordSize));
}

base::ByteView RecordBytes(const TSetupRecord& record) {
  return {reinterpret_cast<const std::uint8_t*>(&record), kSetupRecordSize};
}

bool IsSkippedFileEntry(const TSetupFileEntry& entry) {
  return entry.Name.Value().find("*.") != std::string::npos;
}

}  // namespace installer
