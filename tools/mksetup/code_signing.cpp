#include "tools/mksetup/code_signing.h"

#include <system_error>

#include "base/error.h"
#include "tools/common/binary_file.h"
#include "tools/mksetup/child_process.h"
#include "tools/pe/pe_headers.h"

namespace mksetup {

namespace fs = std::filesystem;

namespace {

// Removes the temporary copies however the signing ends; after a success only the one that was
// not renamed is still there.
class TemporaryFiles {
public:
  explicit TemporaryFiles(std::vector<fs::path> paths) : paths_(std::move(paths)) {
    RemoveAll();  // left over from a run that was killed
  }
  TemporaryFiles(const TemporaryFiles&) = delete;
  TemporaryFiles& operator=(const TemporaryFiles&) = delete;
  ~TemporaryFiles() { RemoveAll(); }

private:
  void RemoveAll() {
    for (const fs::path& p : paths_) {
      std::error_code ignored;
      fs::remove(p, ignored);
    }
  }
  std::vector<fs::path> paths_;
};

fs::path WithSuffix(const fs::path& path, const char* suffix) {
  fs::path result = path;
  result += suffix;
  return result;
}

// osslsigncode's messages, indented under ours; its last line, "Failed", says nothing more.
std::string Indented(const std::string& output) {
  std::string result;
  std::size_t begin = 0;
  while (begin < output.size()) {
    std::size_t end = output.find('\n', begin);
    if (end == std::string::npos) end = output.size();
    std::string line = output.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line != "Failed") result += "\n  " + line;
    begin = end + 1;
  }
  return result;
}

}  // namespace

std::vector<std::string> SignCommand(const SigningOptions& options, const fs::path& in,
                                     const fs::path& out) {
  std::vector<std::string> command = {"osslsigncode", "sign"};
  if (options.key) {
    command.insert(command.end(),
                   {"-certs", options.certificate.string(), "-key", options.key->string()});
  } else {
    command.insert(command.end(), {"-pkcs12", options.certificate.string()});
  }
  if (options.password_file) {
    command.insert(command.end(), {"-readpass", options.password_file->string()});
  }
  command.insert(command.end(), {"-h", "sha256"});
  if (!options.description.empty()) command.insert(command.end(), {"-n", options.description});
  if (!options.url.empty()) command.insert(command.end(), {"-i", options.url});
  if (options.timestamp_url) command.insert(command.end(), {"-t", *options.timestamp_url});
  command.insert(command.end(), {"-in", in.string(), "-out", out.string()});
  return command;
}

void WriteSignedImage(const fs::path& out, base::ByteView image, const SigningOptions& options) {
  const fs::path unsigned_copy = WithSuffix(out, ".unsigned.part");
  const fs::path signed_copy = WithSuffix(out, ".signed.part");
  TemporaryFiles temporaries({unsigned_copy, signed_copy});

  tools::WriteBinaryFile(unsigned_copy, image);
  const ProcessOutcome run = RunProcess(SignCommand(options, unsigned_copy, signed_copy));
  if (run.exit_code != 0) {
    throw base::Error(base::FormatText("osslsigncode could not sign %s (exit code %s):%s",
                                       {out.string(), std::to_string(run.exit_code),
                                        Indented(run.output)}));
  }
  // Trust, but check: a version that signs nothing and says "Succeeded" must not pass.
  if (!pe::IsSigned(tools::ReadBinaryFile(signed_copy))) {
    throw base::Error(base::FormatText("osslsigncode left %s without a signature",
                                       {out.string()}));
  }
  fs::rename(signed_copy, out);
}

}  // namespace mksetup
