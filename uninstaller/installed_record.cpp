#include "uninstaller/installed_record.h"

#include <zlib.h>

#include "base/bytes.h"
#include "base/error.h"
#include "installer/record_validation.h"

namespace uninstaller {
namespace {

constexpr std::size_t kLengthFieldSize = 4;

[[noreturn]] void Damaged(const std::string& path, const std::string& why) {
  throw base::Error("the record copy \"" + path + "\" is damaged: " + why);
}

}  // namespace

std::unique_ptr<installer::TSetupRecord> ReadInstalledRecord(base::FileSystem& fs,
                                                             const std::string& path) {
  if (!fs.FileExists(path)) throw base::Error("the record copy \"" + path + "\" is missing");
  const base::Bytes packed = fs.ReadWholeFile(path);
  if (packed.size() < kLengthFieldSize) Damaged(path, "it is too short to hold a record");
  const std::uint32_t length = base::GetU32(packed.data());
  if (length != installer::kSetupRecordSize)
    Damaged(path, "it announces " + std::to_string(length) + " bytes, not a record's " +
                      std::to_string(installer::kSetupRecordSize));

  // The whole zlib stream, its Adler-32 value included: uncompress2 reports
  // Z_OK only for a stream that ends, checked, within the input.
  base::Bytes unpacked(installer::kSetupRecordSize + 1);
  uLongf out_size = static_cast<uLongf>(unpacked.size());
  uLong in_size = static_cast<uLong>(packed.size() - kLengthFieldSize);
  const int rc =
      uncompress2(unpacked.data(), &out_size, packed.data() + kLengthFieldSize, &in_size);
  if (rc == Z_BUF_ERROR && out_size < unpacked.size()) Damaged(path, "its data is cut short");
  if (rc == Z_BUF_ERROR) Damaged(path, "its data unpacks to more than a record");
  if (rc != Z_OK) Damaged(path, "its data is damaged (zlib error " + std::to_string(rc) + ")");
  if (out_size != installer::kSetupRecordSize)
    Damaged(path, "it unpacks to " + std::to_string(out_size) + " bytes, not a record's " +
                      std::to_string(installer::kSetupRecordSize));

  auto record = std::make_unique<installer::TSetupRecord>();
  installer::LoadRecordBytes(*record, base::ByteView(unpacked.data(), out_size));
  const std::vector<installer::RecordProblem> problems = installer::ValidateRecord(*record);
  if (!problems.empty())
    throw base::Error("the record copy \"" + path + "\" breaks the record's rules. " +
                      installer::RefusalMessage(problems));
  return record;
}

}  // namespace uninstaller
