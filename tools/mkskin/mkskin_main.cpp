// mkskin: makes skin files from a folder of pictures and values, and looks
// inside them through the skin reader's own code.
//
//   mkskin pack DIR -o FILE [--password P] [--seed N]
//   mkskin dump FILE [--password P] [--json]
//   mkskin extract FILE -o DIR [--password P]
//
// Exit codes: see kUsage.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/text_codec.h"
#include "skin/reader/skin_archive_layout.h"
#include "tools/common/binary_file.h"
#include "tools/common/command_args.h"
#include "tools/mkskin/skin_archive_writer.h"
#include "tools/mkskin/skin_container_writer.h"
#include "tools/mkskin/skin_dump.h"
#include "tools/mkskin/skin_extract.h"
#include "tools/mkskin/skin_manifest.h"

namespace {

namespace fs = std::filesystem;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitRejected = 3;

const char* const kUsage =
    "usage:\n"
    "  mkskin pack DIR -o FILE [--password P] [--seed N]\n"
    "      DIR/skin.toml and every DIR/*.bmp into a skin file; --seed fixes the\n"
    "      random bytes of the encryption header\n"
    "  mkskin dump FILE [--password P] [--json]\n"
    "      every entry, in chain order, as the skin reader finds it\n"
    "  mkskin extract FILE -o DIR [--password P]\n"
    "      pictures as DIR/NAME.bmp, the other entries as DIR/skin.toml\n"
    "exit codes:\n"
    "  0  done (dump, extract: the file extracts and its whole chain reads)\n"
    "  1  failed: a mistake in the input (named with its file and line), an\n"
    "     unreadable file, a file that is no skin file or whose data is damaged\n"
    "  2  the command line is wrong\n"
    "  3  rejected: encrypted and the password is missing or wrong, or the\n"
    "     member is not the size its headers state\n";

using tools::Args;
using tools::UsageError;

// The password in the program's encoding, as a reader would be given it.
std::string Password(const Args& args) {
  const std::string utf8 = args.Get("--password").value_or("");
  std::optional<std::string> gbk = base::Utf8ToGbk(utf8);
  if (!gbk) throw UsageError("the password has a character GBK cannot represent");
  return *gbk;
}

int ExitCodeOf(const mkskin::SkinDump& dump) {
  if (dump.result == skin::reader::erRejected) return kExitRejected;
  return dump.complete ? kExitOk : kExitFailed;
}

int Pack(const Args& args) {
  if (args.positional.size() != 1) throw UsageError("pack takes one folder");
  const fs::path out = args.Require("-o");
  mkskin::ArchiveOptions options;
  if (args.Get("--password")) {
    options.password = Password(args);
    // An empty password would quietly make an unprotected file.
    if (options.password.empty()) throw UsageError("--password must not be empty");
  }
  if (auto seed = args.Get("--seed")) {
    std::size_t used = 0;
    unsigned long value = 0;
    try {
      value = std::stoul(*seed, &used);
    } catch (const std::exception&) {
      used = 0;
    }
    if (used != seed->size() || value > 0xFFFFFFFFul)
      throw UsageError("--seed is a number from 0 to 4294967295");
    options.seed = static_cast<std::uint32_t>(value);
  }
  const mkskin::SkinPack pack = mkskin::ReadSkinFolder(args.positional[0]);
  for (const mkskin::PackWarning& w : pack.warnings)
    std::fprintf(stderr, "mkskin: warning: %s\n", w.Text().c_str());
  const base::Bytes container = mkskin::WriteContainer(pack.entries);
  const base::Bytes file =
      mkskin::WriteSkinArchive(skin::reader::archive::kSkinDataMember, container, options);
  tools::WriteBinaryFile(out, file);
  std::printf("%s: %zu entries, skin data %zu bytes, file %zu bytes%s\n", out.string().c_str(),
              pack.entries.size(), container.size(), file.size(),
              options.password.empty() ? "" : ", encrypted");
  return kExitOk;
}

int Dump(const Args& args) {
  if (args.positional.size() != 1) throw UsageError("dump takes one skin file");
  const base::Bytes file = tools::ReadBinaryFile(args.positional[0]);
  const mkskin::SkinDump dump = mkskin::DumpSkinFile(file, Password(args));
  const std::string text = args.Has("--json") ? mkskin::DumpJson(dump) : mkskin::DumpText(dump);
  std::fputs(text.c_str(), stdout);
  return ExitCodeOf(dump);
}

int Extract(const Args& args) {
  if (args.positional.size() != 1) throw UsageError("extract takes one skin file");
  const fs::path dir = args.Require("-o");
  const base::Bytes file = tools::ReadBinaryFile(args.positional[0]);
  const mkskin::SkinDump dump = mkskin::DumpSkinFile(file, Password(args));
  if (!dump.complete) {
    std::fputs(mkskin::DumpText(dump).c_str(), stderr);
    std::fprintf(stderr, "mkskin: %s cannot be read whole; nothing extracted\n",
                 args.positional[0].c_str());
    return ExitCodeOf(dump);
  }
  const mkskin::ExtractedSkin done = mkskin::ExtractSkinFolder(dump, dir);
  for (const std::string& w : done.warnings)
    std::fprintf(stderr, "mkskin: warning: %s\n", w.c_str());
  std::printf("%d pictures and %d values extracted to %s\n", done.pictures, done.values,
              dir.string().c_str());
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  const std::string command = argv[1];
  try {
    if (command == "pack") return Pack(Args::Parse(argc, argv, {"-o", "--password", "--seed"}, {}));
    if (command == "dump") return Dump(Args::Parse(argc, argv, {"--password"}, {"--json"}));
    if (command == "extract") return Extract(Args::Parse(argc, argv, {"-o", "--password"}, {}));
    if (command == "--help" || command == "-h" || command == "help") {
      std::fputs(kUsage, stdout);
      return kExitOk;
    }
    throw UsageError("unknown command " + command);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "mkskin: %s\n%s", e.what(), kUsage);
    return kExitUsage;
  } catch (const mkskin::PackError& e) {
    std::fprintf(stderr, "mkskin: %s\n", e.what());
    return kExitFailed;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mkskin: %s\n", base::GbkToUtf8(e.what()).c_str());
    return kExitFailed;
  }
}
