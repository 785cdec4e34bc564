// Measures the installer's two heavy steps on Windows (or Wine) against
// what the system does with the same bytes, in one run, so the ratios hold
// on any machine:
//   - start-up's payload work (the record through "tmp.cx" and its
//     validation, the package unpacked, bounds-checked and checksummed)
//     against a bare UnpackToBuffer + PackageChecksum of the same resource;
//   - the installation's file writing (RunInstallation on the system's file
//     system) against CopyFileW of the same files from a prepared folder.
// Usage: installer_bench [megabytes]   (default 100)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/file_system.h"
#include "base/memory_stream.h"
#include "base/text_codec.h"
#include "bench/product_like_data.h"
#include "installer/installation.h"
#include "installer/packed_block.h"
#include "installer/record_file.h"
#include "installer/resource_source.h"
#include "installer/setup_package.h"
#include "installer/setup_record.h"
#include "installer/startup_payload.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFileCount = 200;
constexpr int kRuns = 5;
// Product-like nesting, so the installation's folder making is measured too.
const char* const kFolders[] = {"\\bin", "\\data", "\\doc\\html", "\\res"};

double SecondsSince(Clock::time_point t0) {
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "installer_bench: %s\n", what.c_str());
  std::exit(1);
}

// --- The installation's seams that the file figure leaves out. ---

class NullKey final : public installer::RegistryKey {
public:
  std::unique_ptr<RegistryKey> CreateKey(const std::string&) override {
    return std::make_unique<NullKey>();
  }
  bool WriteString(const std::string&, const std::string&) override { return true; }
  bool WriteInteger(const std::string&, std::int32_t) override { return true; }
};

class NullRegistry final : public installer::Registry {
public:
  std::unique_ptr<installer::RegistryKey> CreateKey(installer::RegistryRoot,
                                                    const std::string&) override {
    return std::make_unique<NullKey>();
  }
};

class NullShortcuts final : public installer::ShortcutMaker {
public:
  void CreateDesktopShortcut(const std::string&, const std::string&,
                             const std::string&) override {}
  void CreateProgramsShortcut(const std::string&, const std::string&, const std::string&,
                              const std::string&) override {}
};

// Draws nothing; counts the file errors, since a file that was not written
// would make the installation look faster than it is.
class QuietView final : public installer::SilentInstallView {
public:
  void ShowFileError(const std::string& message) override {
    ++errors;
    std::fprintf(stderr, "file error: %s\n", message.c_str());
  }
  int errors = 0;
};

// --- Folders. ---

std::vector<std::wstring> ListNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

void RemoveTree(const std::wstring& path) {
  for (const std::wstring& name : ListNames(path)) {
    std::wstring child = path + L"\\" + name;
    DWORD a = GetFileAttributesW(child.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY))
      RemoveTree(child);
    else
      DeleteFileW(child.c_str());
  }
  RemoveDirectoryW(path.c_str());
}

void MakeFolder(const std::wstring& path) {
  if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    Fail("cannot create folder " + base::WideToGbkLossy(path));
}

// The folders a file list needs, parents first, as relative names.
std::vector<std::string> FoldersOf(const std::vector<std::string>& names) {
  std::vector<std::string> folders;
  for (const std::string& name : names) {
    for (std::size_t at = name.find('\\', 1); at != std::string::npos;
         at = name.find('\\', at + 1)) {
      std::string folder = name.substr(0, at);
      if (std::find(folders.begin(), folders.end(), folder) == folders.end())
        folders.push_back(folder);
    }
  }
  return folders;
}

// Every file is there with its size: a run that skipped one does not count.
void CheckFiles(const std::wstring& root, const std::vector<std::string>& names,
                const std::vector<std::uint32_t>& sizes) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    std::wstring path = root + base::GbkToWide(names[i]);
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        data.nFileSizeHigh != 0 || data.nFileSizeLow != sizes[i])
      Fail("file missing or of the wrong size: " + base::WideToGbkLossy(path));
  }
}

// --- The product. ---

struct Product {
  installer::MemoryResourceSource resources;
  std::vector<std::string> names;  // relative, with a leading backslash
  std::vector<std::uint32_t> sizes;
  double packed_mb = 0;
};

// Sizes from a fifth of the mean to 1.8 times it, summing to the whole.
std::vector<std::uint32_t> FileSizes(std::size_t total) {
  std::mt19937 rng(7);
  std::vector<double> weights(kFileCount);
  double sum = 0;
  for (double& w : weights) sum += (w = 0.25 + (rng() % 1000) / 500.0);
  std::vector<std::uint32_t> sizes(kFileCount);
  std::size_t given = 0;
  for (int i = 0; i < kFileCount - 1; ++i) {
    sizes[i] = static_cast<std::uint32_t>(total * (weights[i] / sum));
    given += sizes[i];
  }
  sizes.back() = static_cast<std::uint32_t>(total - given);
  return sizes;
}

void MakeProduct(std::size_t size, Product& p) {
  auto record = std::make_unique<installer::TSetupRecord>();
  record->ProductName.Assign("VANTO-X");
  record->ShortName.Assign("VANTO-X");
  record->PublisherKey.Assign("Vanto");
  record->Version.Assign("1.0");
  record->InstallDir.Assign("C:\\VANTO-X");  // each run installs elsewhere
  p.sizes = FileSizes(size);
  std::uint32_t offset = 0;
  for (int i = 0; i < kFileCount; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "%s\\file%03d.bin", kFolders[i % 4], i);
    p.names.push_back(name);
    installer::TSetupFileEntry& f = record->Files[i];
    f.Name.Assign(name);
    f.Offset = offset;
    f.Size = p.sizes[i];
    offset += p.sizes[i];
  }
  record->FileCount = kFileCount;

  base::Bytes data = bench::ProductLikeData(size);
  record->PackChecksum = installer::PackageChecksum(data);
  base::Bytes packed = installer::PackBlock(data, 9);
  p.packed_mb = packed.size() / 1048576.0;
  p.resources.Set(installer::kSetupPackName, std::move(packed));
  p.resources.Set(installer::kSetupIniName,
                  installer::PackBlock(installer::RecordBytes(*record), 9));
}

std::string TempFolder() {
  wchar_t buffer[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
  if (n == 0 || n > MAX_PATH) Fail("no temporary folder");
  return base::WideToGbkLossy(std::wstring(buffer, n) + L"vanto-installer-bench");
}

}  // namespace

int main(int argc, char** argv) try {
  std::size_t mb = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  const std::size_t size = mb << 20;
  if (size == 0 || size > 0x7FFFFFFF) Fail("megabytes must be 1 to 2047");
  const double size_mb = size / 1048576.0;
  base::FileSystem& fs = base::NativeFileSystem();

  const std::string work = TempFolder();
  const std::wstring work_w = base::GbkToWide(work);
  RemoveTree(work_w);  // what a crashed run left
  MakeFolder(work_w);

  std::printf("preparing %zu MB of product-like data in %d files...\n", mb, kFileCount);
  Product product;
  MakeProduct(size, product);
  std::printf("packed to %.1f MB\n", product.packed_mb);

  // 1. Start-up's payload work. Both sides get the resource as it is and
  // free their result before the other runs; they alternate, so that load
  // from elsewhere on the machine falls on both.
  const base::ByteView block = *product.resources.FindRcData(installer::kSetupPackName);
  auto record = std::make_unique<installer::TSetupRecord>();
  std::unique_ptr<base::MemoryStream> package;
  std::uint32_t sink = 0;
  double t_startup = 1e30, t_bare = 1e30;
  for (int run = 0; run < kRuns; ++run) {
    package.reset();
    auto t0 = Clock::now();
    installer::LoadValidatedRecord(product.resources, fs, work, *record);
    bool verified = installer::LoadValidatedPackage(product.resources, *record, package);
    t_startup = std::min(t_startup, SecondsSince(t0));
    if (!verified) Fail("the package's checksum does not match");
    package.reset();

    t0 = Clock::now();
    {
      base::Buffer bare = installer::UnpackToBuffer(block);
      sink += installer::PackageChecksum(bare.View());
    }
    t_bare = std::min(t_bare, SecondsSince(t0));
  }
  installer::LoadValidatedPackage(product.resources, *record, package);
  std::printf("\nstart-up's payload work (record through tmp.cx, validation, package, checksum;"
              "\n  the window's creation is not part of this figure): %.3f s (%.0f MB/s)\n",
              t_startup, size_mb / t_startup);
  std::printf("bare UnpackToBuffer + PackageChecksum: %.3f s (%.0f MB/s)\n", t_bare,
              size_mb / t_bare);
  std::printf("  ratio %.3f (goal <= 1.1): %s\n", t_startup / t_bare,
              t_startup / t_bare <= 1.1 ? "met" : "NOT met");

  // 2. The installation's file writing, into a fresh folder each run,
  // against copying the same files (and the record copy it also writes)
  // from a prepared folder into a fresh one with the folders made first.
  const std::string source = work + "\\source";
  const std::wstring source_w = base::GbkToWide(source);
  std::vector<std::string> files = product.names;
  std::vector<std::uint32_t> sizes = product.sizes;
  files.push_back(std::string("\\") + installer::kInstalledRecordFileName);
  sizes.push_back(static_cast<std::uint32_t>(
      product.resources.FindRcData(installer::kSetupIniName)->size()));
  const std::vector<std::string> folders = FoldersOf(files);
  MakeFolder(source_w);
  for (const std::string& folder : folders) MakeFolder(source_w + base::GbkToWide(folder));
  for (int i = 0; i < kFileCount; ++i)
    fs.WriteWholeFile(source + files[i], installer::ReadPackageFile(*package, record->Files[i]));
  installer::SaveSetupIni(product.resources, fs, source + files.back());

  NullRegistry registry;
  NullShortcuts shortcuts;
  QuietView view;
  double t_install = 1e30, t_copy = 1e30, t_direct = 1e30;
  for (int run = 0; run < kRuns; ++run) {
    const std::string target = work + "\\install-" + std::to_string(run);
    const std::wstring target_w = base::GbkToWide(target);
    record->InstallDir.Assign(target);
    installer::InstallationContext context{*record, *package, product.resources,
                                           "\\Software\\Vanto", "\\Software\\Vanto\\VANTO-X",
                                           fs, registry, shortcuts, view};
    installer::InstallationState state;
    auto t0 = Clock::now();
    installer::RunInstallation(context, state);
    t_install = std::min(t_install, SecondsSince(t0));
    if (view.errors != 0 || state.InstallBusy != 0) Fail("the installation did not finish");
    CheckFiles(target_w, files, sizes);
    RemoveTree(target_w);

    const std::wstring copy_w = base::GbkToWide(work + "\\copy-" + std::to_string(run));
    t0 = Clock::now();
    MakeFolder(copy_w);
    for (const std::string& folder : folders) MakeFolder(copy_w + base::GbkToWide(folder));
    for (const std::string& file : files) {
      const std::wstring name = base::GbkToWide(file);
      if (!CopyFileW((source_w + name).c_str(), (copy_w + name).c_str(), FALSE))
        Fail("CopyFileW failed on " + file);
    }
    t_copy = std::min(t_copy, SecondsSince(t0));
    CheckFiles(copy_w, files, sizes);
    RemoveTree(copy_w);

    // Where the installation's own way could get to: the same file system
    // calls, each file written from its place in the package.
    const std::string direct = work + "\\direct-" + std::to_string(run);
    t0 = Clock::now();
    fs.MakeDirectory(direct);
    for (const std::string& folder : folders) fs.MakeDirectory(direct + folder);
    for (int i = 0; i < kFileCount; ++i) {
      const installer::TSetupFileEntry& f = record->Files[i];
      fs.WriteWholeFile(direct + files[i], package->View().subspan(f.Offset, f.Size));
    }
    installer::SaveSetupIni(product.resources, fs, direct + files.back());
    t_direct = std::min(t_direct, SecondsSince(t0));
    CheckFiles(base::GbkToWide(direct), files, sizes);
    RemoveTree(base::GbkToWide(direct));
  }
  std::printf("\ninstallation's file writing (%d files, %.0f MB, RunInstallation with no "
              "registry,\n  shortcuts or drawing): %.3f s (%.0f MB/s)\n",
              kFileCount, size_mb, t_install, size_mb / t_install);
  std::printf("CopyFileW of the same files from a prepared folder: %.3f s (%.0f MB/s)\n", t_copy,
              size_mb / t_copy);
  std::printf("  ratio %.3f (goal <= 1.25): %s\n", t_install / t_copy,
              t_install / t_copy <= 1.25 ? "met" : "NOT met");
  std::printf("  for reference, the same files written straight from the package (no copy of"
              "\n  each file first): %.3f s (%.0f MB/s), ratio %.3f to CopyFileW\n",
              t_direct, size_mb / t_direct, t_direct / t_copy);

  RemoveTree(work_w);
  return sink == 0xFFFFFFFF ? 1 : 0;  // keeps the bare checksums from being optimised away
} catch (const std::exception& e) {
  Fail(e.what());
}
