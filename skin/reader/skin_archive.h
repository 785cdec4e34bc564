#pragma once
// Extracting the member of a skin file. Every field of the file is
// untrusted: whatever it says, extraction ends with one of three results,
// never reads outside the file and never loops.
#include <string>

#include "base/bytes.h"
#include "base/file_system.h"

namespace skin::reader {

enum TExtractResult {
  erDone = 0,      // the member was decoded whole and has its stated size
  erFailed = 1,    // not a skin file, member missing, unreadable, or empty
  erRejected = 2,  // encrypted without the right password, or wrong size
};

// Decodes member (its name compared in upper case, the first match wins)
// from the bytes of a skin file into out. out holds what was decoded, also
// when the result is not erDone. created_target tells whether the member
// was found, i.e. whether a file extraction would have created its target.
TExtractResult ExtractArchiveMember(base::ByteView skin_file, const std::string& member,
                                    const std::string& password, base::Bytes& out,
                                    bool* created_target = nullptr);

// The same from and to files: the target file is written only when the
// result is erDone; otherwise a target created on the way is deleted. The
// skin file is never changed.
TExtractResult ExtractArchiveEntry(const std::string& skin_file, const std::string& member,
                                   const std::string& target_file, const std::string& password,
                                   base::FileSystem& fs = base::NativeFileSystem());

}  // namespace skin::reader
