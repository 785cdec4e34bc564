// Record loading and validation on arbitrary bytes. The invariant: a record
// that passes validation can be walked (names, targets, package reads)
// without any access outside the record, its tables or the package.
//
// Input layout: 4 bytes of package size, then record bytes (as unpacked
// from SETUPINI; short input fills only the front). Each input is also
// tried as a packed block, the way start-up first meets it.
#include <cstdint>
#include <cstring>
#include <memory>

#include "base/error.h"
#include "installer/packed_block.h"
#include "installer/record_validation.h"
#include "installer/setup_package.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    installer::UnpackToBuffer({data, size});
  } catch (const base::Error&) {
  }
  if (size < 4) return 0;

  // The package is small so that the fuzzer reaches the bounds checks.
  const std::uint32_t package_size = base::GetU32(data) % 4096;
  auto record = std::make_unique<installer::TSetupRecord>();
  installer::LoadRecordBytes(*record, {data + 4, size - 4});
  auto problems = installer::ValidateRecord(*record);
  auto bounds = installer::ValidatePackageBounds(*record, package_size);
  if (!problems.empty() || !bounds.empty()) {
    if (installer::RefusalMessage(problems).empty() && !problems.empty()) __builtin_trap();
    return 0;
  }

  base::MemoryStream package{base::Buffer(package_size)};
  for (int i = 0; i < installer::UsedEntries(record->FileCount); ++i) {
    const auto& file = record->Files[i];
    if (installer::IsSkippedFileEntry(file)) continue;
    std::string name = file.Name.Value();
    if (name.empty() || name[0] != '\\' || name.find("\\..") != std::string::npos) __builtin_trap();
    installer::ReadPackageFile(package, file);  // must not throw: bounds were validated
  }
  for (int i = 0; i < installer::UsedEntries(record->ShortcutCount); ++i) {
    std::int32_t index = record->Shortcuts[i].FileIndex;
    if (index < 0 || index >= record->FileCount) __builtin_trap();
  }
  return 0;
}
