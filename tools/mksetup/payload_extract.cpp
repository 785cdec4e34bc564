#include "tools/mksetup/payload_extract.h"

#include <algorithm>
#include <memory>

#include "base/error.h"
#include "base/text_codec.h"
#include "installer/packed_block.h"
#include "installer/record_validation.h"
#include "installer/setup_package.h"
#include "tools/common/binary_file.h"
#include "tools/mksetup/installer_image.h"

namespace mksetup {

int ExtractFiles(const pe::ResourceTree& resources, const std::filesystem::path& dir) {
  TreeResourceSource source(resources);
  auto record = std::make_unique<installer::TSetupRecord>();
  installer::LoadRecordBytes(
      *record, installer::UnpackBlock(installer::OpenResource(source, installer::kSetupIniName)));
  auto problems = installer::ValidateRecord(*record);
  base::MemoryStream package(
      installer::UnpackToBuffer(installer::OpenResource(source, installer::kSetupPackName)));
  auto bounds = installer::ValidatePackageBounds(*record, package.Size());
  problems.insert(problems.end(), bounds.begin(), bounds.end());
  if (!problems.empty()) throw base::Error(installer::RefusalMessage(problems));

  int written = 0;
  for (int i = 0; i < installer::UsedEntries(record->FileCount); ++i) {
    const auto& entry = record->Files[i];
    if (installer::IsSkippedFileEntry(entry)) continue;
    // Validated above: a relative path below dir.
    std::string relative = base::GbkToUtf8(entry.Name.Value().substr(1));
    std::replace(relative.begin(), relative.end(), '\\', '/');
    std::filesystem::path target = dir / std::filesystem::path(relative);
    std::filesystem::create_directories(target.parent_path());
    tools::WriteBinaryFile(target, installer::ReadPackageFile(package, entry));
    ++written;
  }
  return written;
}

}  // namespace mksetup
