// mksetup: makes installers from a product manifest and looks inside them.
//
//   mksetup build MANIFEST -o SETUP.exe [--stub STUB.exe] [--uninstaller EXE]
//                 [--save-resources DIR] [--jobs N]
//                 [--sign-with CERT [--sign-key KEY] [--sign-pass-file FILE] [--timestamp URL]]
//   mksetup sign SETUP.exe --sign-with CERT [--sign-key KEY] [--sign-pass-file FILE]
//                [--timestamp URL] [-o OUT]
//   mksetup inspect SETUP.exe [--json]
//   mksetup embed --setupini F --setuppack F [--protocol F] -o OUT [--stub STUB.exe]
//   mksetup extract SETUP.exe -o DIR
//   mksetup check-imports FILE... [--machine x86|x64]
//
// Exit codes: 0 done (inspect: payload intact; check-imports: every file
// imports only Windows' own DLLs); 1 failed (a manifest error, an unreadable
// file, a damaged payload, a DLL Windows lacks); 2 the command line is wrong.
#include <cstdint>
#include <cstdio>
#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/text_codec.h"
#include "tools/common/binary_file.h"
#include "tools/common/command_args.h"
#include "tools/mksetup/code_signing.h"
#include "tools/mksetup/import_check.h"
#include "tools/mksetup/installer_image.h"
#include "tools/mksetup/manifest.h"
#include "tools/mksetup/payload_extract.h"
#include "tools/mksetup/payload_report.h"
#include "tools/mksetup/setup_builder.h"
#include "tools/pe/import_reader.h"
#include "tools/pe/pe_headers.h"

namespace {

namespace fs = std::filesystem;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "usage:\n"
    "  mksetup build MANIFEST -o SETUP.exe [--stub STUB.exe] [--uninstaller EXE]\n"
    "                [--save-resources DIR] [--jobs N]\n"
    "                [--sign-with CERT [--sign-key KEY] [--sign-pass-file FILE]\n"
    "                 [--timestamp URL]]\n"
    "  mksetup sign SETUP.exe --sign-with CERT [--sign-key KEY] [--sign-pass-file FILE]\n"
    "               [--timestamp URL] [-o OUT]\n"
    "  mksetup inspect SETUP.exe [--json]\n"
    "  mksetup embed --setupini FILE --setuppack FILE [--protocol FILE] -o OUT [--stub STUB.exe]\n"
    "  mksetup extract SETUP.exe -o DIR\n"
    "  mksetup check-imports FILE... [--machine x86|x64]\n";

using tools::Args;
using tools::UsageError;

fs::path StubPath(const Args& args) {
  if (auto stub = args.Get("--stub")) return *stub;
  return VANTO_DEFAULT_STUB;
}

// The Uninstall.exe that a manifest with [product] uninstaller = true gets.
fs::path UninstallerPath(const Args& args) {
  if (auto uninstaller = args.Get("--uninstaller")) return *uninstaller;
  return VANTO_DEFAULT_UNINSTALLER;
}

// Progress on stderr, one line rewritten in place, only on a terminal.
void ShowProgress(const std::string& step, std::uint64_t done, std::uint64_t total) {
  static bool tty = isatty(fileno(stderr));
  if (!tty || total == 0) return;
  std::fprintf(stderr, "\r%-14s %3d%%", step.c_str(), static_cast<int>(done * 100 / total));
  if (done == total) std::fputc('\n', stderr);
}

// A warning, not a failure: the stub may be meant for a machine that has the DLL, and a build
// under Wine cannot tell.
void WarnAboutForeignImports(const fs::path& stub_path, const base::Bytes& stub) {
  try {
    for (const std::string& dll : mksetup::ForeignDlls(pe::ReadImports(stub))) {
      std::fprintf(stderr,
                   "mksetup: warning: the stub %s imports %s, which is not part of Windows; the "
                   "installer will not start where it is missing\n",
                   stub_path.string().c_str(), dll.c_str());
    }
  } catch (const base::Error& e) {
    std::fprintf(stderr, "mksetup: warning: cannot read the imports of the stub %s: %s\n",
                 stub_path.string().c_str(), base::GbkToUtf8(e.what()).c_str());
  }
}

// The signing options of the command line; none without --sign-with. The description and URL
// that Windows shows are the product's.
std::optional<mksetup::SigningOptions> SigningFrom(const Args& args, std::string description,
                                                   std::string url) {
  const std::optional<std::string> certificate = args.Get("--sign-with");
  if (!certificate) {
    for (const char* option : {"--sign-key", "--sign-pass-file", "--timestamp"}) {
      if (args.Get(option)) throw UsageError(std::string(option) + " needs --sign-with");
    }
    return std::nullopt;
  }
  mksetup::SigningOptions options;
  options.certificate = *certificate;
  if (auto key = args.Get("--sign-key")) options.key = *key;
  if (auto pass = args.Get("--sign-pass-file")) options.password_file = *pass;
  options.timestamp_url = args.Get("--timestamp");
  options.description = std::move(description);
  options.url = std::move(url);
  return options;
}

void WriteInstaller(const fs::path& out, const base::Bytes& image,
                    const std::optional<mksetup::SigningOptions>& signing) {
  if (signing) {
    mksetup::WriteSignedImage(out, image, *signing);
  } else {
    tools::WriteBinaryFile(out, image);
  }
}

// A signature covers every byte, so embedding always drops it (pe::WriteResources); whoever
// signed the stub should not find out from Windows.
void NoteDroppedSignature(const fs::path& stub_path, const base::Bytes& stub) {
  if (!pe::IsSigned(stub)) return;
  std::fprintf(stderr,
               "mksetup: note: the stub %s was signed; the signature is dropped, sign the new "
               "installer again\n",
               stub_path.string().c_str());
}

// --jobs: the threads that pack (default: one per core). Any number gives
// the same installer, byte for byte.
int JobsOption(const Args& args) {
  const std::optional<std::string> text = args.Get("--jobs");
  if (!text) return 0;
  int jobs = 0;
  for (char c : *text) {
    if (c < '0' || c > '9' || jobs > 1000) throw UsageError("--jobs takes a number from 1 to 1024");
    jobs = jobs * 10 + (c - '0');
  }
  if (jobs < 1 || jobs > 1024) throw UsageError("--jobs takes a number from 1 to 1024");
  return jobs;
}

int Build(const Args& args) {
  if (args.positional.size() != 1) throw UsageError("build takes one manifest");
  fs::path manifest_path = args.positional[0];
  fs::path out = args.Require("-o");
  mksetup::Manifest m = mksetup::LoadManifest(manifest_path);
  mksetup::Payload payload =
      mksetup::BuildPayload(m, ShowProgress, {UninstallerPath(args), JobsOption(args)});
  const fs::path stub_path = StubPath(args);
  base::Bytes stub = tools::ReadBinaryFile(stub_path);
  mksetup::PayloadResources resources{&payload.setup_ini, &payload.setup_pack,
                                      m.licence ? &payload.protocol : nullptr};
  const std::optional<mksetup::SigningOptions> signing =
      SigningFrom(args, m.product_name.utf8, m.web_site.utf8);
  WriteInstaller(out, mksetup::EmbedPayload(stub, resources), signing);
  // After embedding, which has refused a stub that is not a PE file with its own message.
  if (!signing) NoteDroppedSignature(stub_path, stub);
  WarnAboutForeignImports(stub_path, stub);
  // The raw resources, for tests and for `embed` later.
  if (auto dir = args.Get("--save-resources")) {
    fs::create_directories(*dir);
    tools::WriteBinaryFile(fs::path(*dir) / "SETUPINI", payload.setup_ini);
    tools::WriteBinaryFile(fs::path(*dir) / "SETUPPACK", payload.setup_pack);
    if (m.licence) tools::WriteBinaryFile(fs::path(*dir) / "PROTOCOL", payload.protocol);
  }
  std::printf("%s: %d files, package %llu bytes (packed %zu), checksum %u\n",
              out.string().c_str(), payload.record->FileCount,
              static_cast<unsigned long long>(payload.package_size), payload.setup_pack.size(),
              payload.record->PackChecksum);
  return kExitOk;
}

int Inspect(const Args& args) {
  if (args.positional.size() != 1) throw UsageError("inspect takes one installer");
  base::Bytes file = tools::ReadBinaryFile(args.positional[0]);
  mksetup::PayloadReport report = mksetup::InspectPayload(mksetup::ReadResources(file));
  std::fputs((args.Has("--json") ? mksetup::ReportJson(report) : mksetup::ReportText(report)).c_str(),
             stdout);
  return report.Intact() ? kExitOk : kExitFailed;
}

int Embed(const Args& args) {
  if (!args.positional.empty()) throw UsageError("embed takes no positional arguments");
  base::Bytes ini = tools::ReadBinaryFile(args.Require("--setupini"));
  base::Bytes pack = tools::ReadBinaryFile(args.Require("--setuppack"));
  std::optional<base::Bytes> protocol;
  if (auto p = args.Get("--protocol")) protocol = tools::ReadBinaryFile(*p);
  const fs::path stub_path = StubPath(args);
  base::Bytes stub = tools::ReadBinaryFile(stub_path);
  mksetup::PayloadResources resources{&ini, &pack, protocol ? &*protocol : nullptr};
  tools::WriteBinaryFile(args.Require("-o"), mksetup::EmbedPayload(stub, resources));
  NoteDroppedSignature(stub_path, stub);
  return kExitOk;
}

// Signs an installer built earlier, in place or into -o. A signature it already has is
// replaced. Any PE file can be signed; an installer's own product name is its description.
int Sign(const Args& args) {
  if (args.positional.size() != 1) throw UsageError("sign takes one installer");
  if (!args.Get("--sign-with")) throw UsageError("--sign-with is required");
  const fs::path in = args.positional[0];
  const fs::path out = args.Get("-o").value_or(in.string());
  const base::Bytes file = tools::ReadBinaryFile(in);
  pe::ParseHeaders(file);  // A file that is not a PE gets our message, not osslsigncode's.
  std::string description, url;
  try {
    const mksetup::PayloadReport report = mksetup::InspectPayload(mksetup::ReadResources(file));
    if (report.record) {
      description = base::GbkToUtf8(report.record->ProductName.Value());
      url = base::GbkToUtf8(report.record->WebSite.Value());
    }
  } catch (const base::Error&) {
    // No readable resources: signed without a description.
  }
  mksetup::WriteSignedImage(out, file, *SigningFrom(args, description, url));
  std::printf("%s: signed\n", out.string().c_str());
  return kExitOk;
}

int Extract(const Args& args) {
  if (args.positional.size() != 1) throw UsageError("extract takes one installer");
  fs::path dir = args.Require("-o");
  base::Bytes file = tools::ReadBinaryFile(args.positional[0]);
  int written = mksetup::ExtractFiles(mksetup::ReadResources(file), dir);
  std::printf("%d files extracted to %s\n", written, dir.string().c_str());
  return kExitOk;
}

std::optional<std::uint16_t> MachineOption(const Args& args) {
  const std::optional<std::string> machine = args.Get("--machine");
  if (!machine) return std::nullopt;
  if (*machine == "x86") return pe::kMachineI386;
  if (*machine == "x64") return pe::kMachineAmd64;
  throw UsageError("--machine is x86 or x64, not " + *machine);
}

// Every file is checked even after one fails, so that one run lists every problem.
int CheckImports(const Args& args) {
  if (args.positional.empty()) throw UsageError("check-imports takes one or more files");
  const std::optional<std::uint16_t> machine = MachineOption(args);
  bool all_pass = true;
  for (const std::string& path : args.positional) {
    try {
      const pe::ImageImports imports = pe::ReadImports(tools::ReadBinaryFile(path));
      std::printf("%s: %s\n", path.c_str(), mksetup::DescribeImports(imports, machine).c_str());
      all_pass = mksetup::ImportsPass(imports, machine) && all_pass;
    } catch (const std::exception& e) {  // Reading a folder, say, fails with a std::exception.
      std::fflush(stdout);
      std::fprintf(stderr, "mksetup: %s: %s\n", path.c_str(), base::GbkToUtf8(e.what()).c_str());
      all_pass = false;
    }
  }
  return all_pass ? kExitOk : kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  std::string command = argv[1];
  try {
    if (command == "build")
      return Build(Args::Parse(argc, argv,
                               {"-o", "--stub", "--uninstaller", "--save-resources", "--jobs",
                                "--sign-with", "--sign-key", "--sign-pass-file", "--timestamp"},
                               {}));
    if (command == "sign")
      return Sign(Args::Parse(
          argc, argv, {"-o", "--sign-with", "--sign-key", "--sign-pass-file", "--timestamp"}, {}));
    if (command == "inspect") return Inspect(Args::Parse(argc, argv, {}, {"--json"}));
    if (command == "embed")
      return Embed(Args::Parse(argc, argv,
                               {"-o", "--stub", "--setupini", "--setuppack", "--protocol"}, {}));
    if (command == "extract") return Extract(Args::Parse(argc, argv, {"-o"}, {}));
    if (command == "check-imports") return CheckImports(Args::Parse(argc, argv, {"--machine"}, {}));
    if (command == "--help" || command == "-h") {
      std::fputs(kUsage, stdout);
      return kExitOk;
    }
    throw UsageError("unknown command " + command);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "mksetup: %s\n%s", e.what(), kUsage);
    return kExitUsage;
  } catch (const mksetup::ManifestError& e) {
    if (e.line())
      std::fprintf(stderr, "mksetup: %s:%u: %s\n", argc > 2 ? argv[2] : "", e.line(), e.what());
    else
      std::fprintf(stderr, "mksetup: %s\n", e.what());
    return kExitFailed;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mksetup: %s\n", base::GbkToUtf8(e.what()).c_str());
    return kExitFailed;
  }
}
