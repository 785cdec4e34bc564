// mksetup: makes installers from a product manifest and looks inside them.
//
//   mksetup build MANIFEST -o SETUP.exe [--stub STUB.exe] [--save-resources DIR]
//   mksetup inspect SETUP.exe [--json]
//   mksetup embed --setupini F --setuppack F [--protocol F] -o OUT [--stub STUB.exe]
//   mksetup extract SETUP.exe -o DIR
//
// Exit codes: 0 done (inspect: payload intact); 1 failed (a manifest error,
// an unreadable file, a damaged payload); 2 the command line is wrong.
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
#include "tools/mksetup/installer_image.h"
#include "tools/mksetup/manifest.h"
#include "tools/mksetup/payload_extract.h"
#include "tools/mksetup/payload_report.h"
#include "tools/mksetup/setup_builder.h"

namespace {

namespace fs = std::filesystem;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "usage:\n"
    "  mksetup build MANIFEST -o SETUP.exe [--stub STUB.exe] [--save-resources DIR]\n"
    "  mksetup inspect SETUP.exe [--json]\n"
    "  mksetup embed --setupini FILE --setuppack FILE [--protocol FILE] -o OUT [--stub STUB.exe]\n"
    "  mksetup extract SETUP.exe -o DIR\n";

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Command-line words: positional arguments and --options with values.
struct Args {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;
  std::vector<std::string> flags;

  static Args Parse(int argc, char** argv, std::initializer_list<const char*> with_value,
                    std::initializer_list<const char*> flags) {
    Args a;
    for (int i = 2; i < argc; ++i) {
      std::string w = argv[i];
      bool takes_value = false, is_flag = false;
      for (auto v : with_value) takes_value = takes_value || w == v;
      for (auto f : flags) is_flag = is_flag || w == f;
      if (takes_value) {
        if (i + 1 >= argc) throw UsageError(w + " needs a value");
        a.options[w] = argv[++i];
      } else if (is_flag) {
        a.flags.push_back(w);
      } else if (w.starts_with("-")) {
        throw UsageError("unknown option " + w);
      } else {
        a.positional.push_back(w);
      }
    }
    return a;
  }
  std::optional<std::string> Get(const std::string& key) const {
    auto it = options.find(key);
    if (it == options.end()) return std::nullopt;
    return it->second;
  }
  std::string Require(const std::string& key) const {
    auto v = Get(key);
    if (!v) throw UsageError(key + " is required");
    return *v;
  }
  bool Has(const std::string& flag) const {
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
  }
};

fs::path StubPath(const Args& args) {
  if (auto stub = args.Get("--stub")) return *stub;
  return VANTO_DEFAULT_STUB;
}

// Progress on stderr, one line rewritten in place, only on a terminal.
void ShowProgress(const std::string& step, std::uint64_t done, std::uint64_t total) {
  static bool tty = isatty(fileno(stderr));
  if (!tty || total == 0) return;
  std::fprintf(stderr, "\r%-14s %3d%%", step.c_str(), static_cast<int>(done * 100 / total));
  if (done == total) std::fputc('\n', stderr);
}

int Build(const Args& args) {
  if (args.positional.size() != 1) throw UsageError("build takes one manifest");
  fs::path manifest_path = args.positional[0];
  fs::path out = args.Require("-o");
  mksetup::Manifest m = mksetup::LoadManifest(manifest_path);
  mksetup::Payload payload = mksetup::BuildPayload(m, ShowProgress);
  base::Bytes stub = mksetup::ReadBinaryFile(StubPath(args));
  mksetup::PayloadResources resources{&payload.setup_ini, &payload.setup_pack,
                                      m.licence ? &payload.protocol : nullptr};
  mksetup::WriteBinaryFile(out, mksetup::EmbedPayload(stub, resources));
  // The raw resources, for tests and for `embed` later.
  if (auto dir = args.Get("--save-resources")) {
    fs::create_directories(*dir);
    mksetup::WriteBinaryFile(fs::path(*dir) / "SETUPINI", payload.setup_ini);
    mksetup::WriteBinaryFile(fs::path(*dir) / "SETUPPACK", payload.setup_pack);
    if (m.licence) mksetup::WriteBinaryFile(fs::path(*dir) / "PROTOCOL", payload.protocol);
  }
  std::printf("%s: %d files, package %zu bytes (packed %zu), checksum %u\n", out.string().c_str(),
              payload.record->FileCount, payload.package.size(), payload.setup_pack.size(),
              payload.record->PackChecksum);
  return kExitOk;
}

int Inspect(const Args& args) {
  if (args.positional.size() != 1) throw UsageError("inspect takes one installer");
  base::Bytes file = mksetup::ReadBinaryFile(args.positional[0]);
  mksetup::PayloadReport report = mksetup::InspectPayload(mksetup::ReadResources(file));
  std::fputs((args.Has("--json") ? mksetup::ReportJson(report) : mksetup::ReportText(report)).c_str(),
             stdout);
  return report.Intact() ? kExitOk : kExitFailed;
}

int Embed(const Args& args) {
  if (!args.positional.empty()) throw UsageError("embed takes no positional arguments");
  base::Bytes ini = mksetup::ReadBinaryFile(args.Require("--setupini"));
  base::Bytes pack = mksetup::ReadBinaryFile(args.Require("--setuppack"));
  std::optional<base::Bytes> protocol;
  if (auto p = args.Get("--protocol")) protocol = mksetup::ReadBinaryFile(*p);
  base::Bytes stub = mksetup::ReadBinaryFile(StubPath(args));
  mksetup::PayloadResources resources{&ini, &pack, protocol ? &*protocol : nullptr};
  mksetup::WriteBinaryFile(args.Require("-o"), mksetup::EmbedPayload(stub, resources));
  return kExitOk;
}

int Extract(const Args& args) {
  if (args.positional.size() != 1) throw UsageError("extract takes one installer");
  fs::path dir = args.Require("-o");
  base::Bytes file = mksetup::ReadBinaryFile(args.positional[0]);
  int written = mksetup::ExtractFiles(mksetup::ReadResources(file), dir);
  std::printf("%d files extracted to %s\n", written, dir.string().c_str());
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  std::string command = argv[1];
  try {
    if (command == "build") return Build(Args::Parse(argc, argv, {"-o", "--stub", "--save-resources"}, {}));
    if (command == "inspect") return Inspect(Args::Parse(argc, argv, {}, {"--json"}));
    if (command == "embed")
      return Embed(Args::Parse(argc, argv,
                               {"-o", "--stub", "--setupini", "--setuppack", "--protocol"}, {}));
    if (command == "extract") return Extract(Args::Parse(argc, argv, {"-o"}, {}));
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
