#include "installer/startup_payload.h"

#include "base/error.h"
#include "installer/record_file.h"
#include "installer/record_validation.h"
#include "installer/setup_package.h"

namespace installer {

void LoadValidatedRecord(const ResourceSource& resources, base::FileSystem& fs,
                         const std::string& installer_folder, TSetupRecord& record) {
  LoadRecordThroughTempFile(resources, fs, installer_folder, record);
  auto problems = ValidateRecord(record);
  if (!problems.empty()) throw base::Error(RefusalMessage(problems));
}

bool LoadValidatedPackage(const ResourceSource& resources, const TSetupRecord& record,
                          std::unique_ptr<base::MemoryStream>& package) {
  LoadPackage(resources, package);
  auto problems = ValidatePackageBounds(record, package->Size());
  if (!problems.empty()) throw base::Error(RefusalMessage(problems));
  return VerifyPackage(*package, record.PackChecksum);
}

}  // namespace installer
