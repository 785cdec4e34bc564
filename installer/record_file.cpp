#include "installer/record_file.h"

#include "installer/packed_block.h"
#include "installer/shell_paths.h"

namespace installer {

void SaveSetupIni(const ResourceSource& resources, base::FileSystem& fs, const std::string& path) {
  if (fs.FileExists(path)) fs.RemoveFile(path);  // outcome ignored: creating will tell
  fs.WriteWholeFile(path, OpenResource(resources, kSetupIniName));
}

void LoadSetupRecord(base::FileSystem& fs, const std::string& path, TSetupRecord& record) {
  if (!fs.FileExists(path)) return;
  base::Bytes unpacked = UnpackBlock(fs.ReadWholeFile(path));
  LoadRecordBytes(record, unpacked);
}

void LoadRecordThroughTempFile(const ResourceSource& resources, base::FileSystem& fs,
                               const std::string& installer_folder, TSetupRecord& record) {
  const std::string path = IncludeTrailingBackslash(installer_folder) + kTempRecordFileName;
  SaveSetupIni(resources, fs, path);
  LoadSetupRecord(fs, path, record);
  fs.RemoveFile(path);
}

}  // namespace installer
