#pragma once
// The record copy an installation leaves in the install folder (V_an.cx),
// read back for the uninstaller. It decides which files, links and keys go,
// so it is taken only when it is whole: its zlib stream must end with the
// right Adler-32 value and hold exactly one record, and the record must keep
// to its data model (installer::ValidateRecord), which keeps every file
// name inside the install folder. The installer's own reading
// (installer::LoadSetupRecord) stops after the record's bytes and looks at
// nothing else; a flipped bit there would name other files.
#include <memory>
#include <string>

#include "base/file_system.h"
#include "installer/setup_record.h"

namespace uninstaller {

// The record in the file at path. Throws base::Error saying what is wrong
// (English, for the message and the log): the file is missing or cannot be
// read, the data is damaged, or the record breaks its data model.
std::unique_ptr<installer::TSetupRecord> ReadInstalledRecord(base::FileSystem& fs,
                                                             const std::string& path);

}  // namespace uninstaller
