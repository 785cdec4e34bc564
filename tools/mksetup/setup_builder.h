#pragma once
// Turns a manifest into an installer's payload: the record, the package and
// the three resources, checked against the same rules the installer applies.
#include <functional>
#include <memory>
#include <string>

#include "base/bytes.h"
#include "installer/setup_record.h"
#include "tools/mksetup/manifest.h"

namespace mksetup {

struct Payload {
  std::unique_ptr<installer::TSetupRecord> record;  // 207 KB: kept off the stack
  // The unpacked package's size. The package itself is never held whole:
  // each file is read, summed into the checksum and handed to the packer in
  // turn, so the builder's memory stays near the packed size.
  std::uint64_t package_size = 0;
  base::Bytes setup_ini;   // packed record
  base::Bytes setup_pack;  // packed package
  base::Bytes protocol;    // licence text, GBK
};

// Called with a short description of the step and its progress in bytes.
using Progress = std::function<void(const std::string& step, std::uint64_t done, std::uint64_t total)>;

// What the builder takes from outside the manifest.
struct BuildInputs {
  // Our uninstaller (the uninstaller tree's Uninstall.exe), for a manifest
  // that asks for it: it becomes the last file, "\Uninstall.exe", with
  // Flag1 = installer::kOwnUninstallerMark, which tells the installer that
  // the uninstall entry may offer a quiet uninstall (/S).
  std::filesystem::path uninstaller;
  // Threads that pack the package (0: the machine's core count). The bytes
  // are the same whatever the number.
  int jobs = 0;
};

// Where the uninstaller lands below the target folder.
inline constexpr char kOwnUninstallerTarget[] = "\\Uninstall.exe";

// Throws ManifestError (naming the manifest line) for anything the record
// cannot hold: texts past their capacity or without a GBK form, more than
// 256 entries in a table, files over 2 GiB, shortcuts to unknown files, file
// targets (those found in folders too) that break the installer's name rule
// or that Windows would take for one file or for a file and a folder. The
// names ParseManifest checks are not checked again: whatever else breaks
// the installer's rules is refused with line 0. A manifest that asks for
// the uninstaller needs inputs.uninstaller, and may not name
// "\Uninstall.exe" itself.
Payload BuildPayload(const Manifest& manifest, const Progress& progress = nullptr,
                     const BuildInputs& inputs = {});

// The largest package the installer can address: positions are signed
// 32-bit on its side.
inline constexpr std::uint64_t kMaxPackageSize = 0x7FFFFFFF;

}  // namespace mksetup
