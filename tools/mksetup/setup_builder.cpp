#include "tools/mksetup/setup_builder.h"

#include <algorithm>
#include <fstream>

#include "base/text_codec.h"
#include "installer/file_name_rules.h"
#include "installer/file_name_set.h"
#include "installer/packed_block.h"
#include "installer/record_validation.h"
#include "installer/setup_package.h"
#include "tools/mksetup/parallel_zlib.h"

namespace mksetup {
namespace {

namespace fs = std::filesystem;
using installer::ShortString;

[[noreturn]] void Fail(const std::string& message, std::uint32_t line) {
  throw ManifestError(message, line);
}

std::string ToGbk(const std::string& utf8, const std::string& field, std::uint32_t line) {
  auto gbk = base::Utf8ToGbk(utf8);
  if (!gbk) Fail(field + " has a character that GBK cannot represent", line);
  return *gbk;
}

template <std::size_t N>
void Store(ShortString<N>& out, const std::string& utf8, const std::string& field,
           std::uint32_t line) {
  std::string gbk = ToGbk(utf8, field, line);
  if (gbk.size() > N)
    Fail(field + " is " + std::to_string(gbk.size()) + " bytes in GBK; the field holds " +
             std::to_string(N),
         line);
  out.Assign(gbk);
}

base::Bytes ReadFile(const fs::path& path, std::uint32_t line) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read " + path.string(), line);
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  in.seekg(0);
  base::Bytes bytes(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size))
    Fail("cannot read " + path.string(), line);
  return bytes;
}

struct PlannedFile {
  fs::path source;
  std::string target_utf8;  // "\sub\name"
  std::uint64_t size;
  std::uint32_t line;
  bool own_uninstaller = false;
};

// Expands folder entries (sorted, so builds are reproducible), adds our
// uninstaller when the manifest asks for it, and checks sizes; targets use
// backslashes.
std::vector<PlannedFile> PlanFiles(const Manifest& m, const BuildInputs& inputs) {
  std::vector<PlannedFile> out;
  for (const FileSpec& spec : m.files) {
    std::error_code ec;
    if (fs::is_directory(spec.source, ec)) {
      std::vector<fs::path> found;
      for (const auto& entry : fs::recursive_directory_iterator(spec.source))
        if (entry.is_regular_file()) found.push_back(entry.path());
      std::sort(found.begin(), found.end());
      for (const fs::path& p : found) {
        std::string rel = fs::relative(p, spec.source).generic_string();
        std::replace(rel.begin(), rel.end(), '/', '\\');
        std::string prefix = spec.target == "\\" ? "" : spec.target;
        out.push_back({p, prefix + "\\" + rel, fs::file_size(p), spec.line});
      }
    } else if (fs::is_regular_file(spec.source, ec)) {
      out.push_back({spec.source, spec.target, fs::file_size(spec.source), spec.line});
    } else {
      Fail("no file or folder " + spec.source.string(), spec.line);
    }
  }
  if (m.uninstaller) {
    // Last, so the manifest's first file stays the main program.
    if (inputs.uninstaller.empty())
      Fail("product.uninstaller = true, but no uninstaller program was given (mksetup build "
           "--uninstaller PATH)",
           m.uninstaller_line);
    std::error_code ec;
    if (!fs::is_regular_file(inputs.uninstaller, ec))
      Fail("product.uninstaller = true, but the uninstaller program " +
               inputs.uninstaller.string() + " is not there (build the vanto_uninstaller target, "
               "or give mksetup build --uninstaller PATH)",
           m.uninstaller_line);
    out.push_back({inputs.uninstaller, kOwnUninstallerTarget, fs::file_size(inputs.uninstaller),
                   m.uninstaller_line, true});
  }
  for (const PlannedFile& f : out)
    if (f.size > kMaxPackageSize)
      Fail(f.source.string() + " is larger than 2 GiB, which the installer cannot hold", f.line);
  if (out.size() > installer::kTableSlots)
    Fail("the manifest names " + std::to_string(out.size()) +
             " files; an installer holds at most 256",
         out[installer::kTableSlots].line);
  return out;
}

void FillTexts(const Manifest& m, installer::TSetupRecord& r) {
  Store(r.Author, m.author.utf8, "product.author", m.author.line);
  Store(r.PublisherKey, m.publisher_key.utf8, "product.publisher_key", m.publisher_key.line);
  Store(r.WebSite, m.web_site.utf8, "product.web_site", m.web_site.line);
  Store(r.RightsNotice, m.rights_notice.utf8, "product.rights_notice", m.rights_notice.line);
  Store(r.Version, m.version.utf8, "product.version", m.version.line);
  Store(r.ReleaseDate, m.release_date.utf8, "product.release_date", m.release_date.line);
  Store(r.ProductName, m.product_name.utf8, "product.name", m.product_name.line);
  Store(r.ShortName, m.short_name.utf8, "product.short_name", m.short_name.line);
  Store(r.Category, m.category.utf8, "product.category", m.category.line);
  Store(r.Description, m.description.utf8, "product.description", m.description.line);
  Store(r.Date1, m.date1.utf8, "product.date1", m.date1.line);
  Store(r.Date2, m.date2.utf8, "product.date2", m.date2.line);
  Store(r.InstallDir, m.install_dir.utf8, "product.install_dir", m.install_dir.line);
}

// Completed by the other file's target and line.
const char* ClashText(const installer::FileNameClash& clash) {
  switch (clash.kind) {
    case installer::FileNameClash::kSameFile: return "is the same file as";
    case installer::FileNameClash::kIsOthersFolder: return "is a file where a folder is needed by";
    case installer::FileNameClash::kInOthersFile: return "needs a folder where a file is named by";
  }
  return "";
}

// Lays the files out one after another in table order, reading each one
// as it is packed; returns the packed package (SETUPPACK) and sets the
// checksum, a byte sum that adds up file by file. Targets are checked here,
// after folders are expanded, since the names found on disk are as much the
// installer's names as those in the manifest.
base::Bytes FillFiles(const std::vector<PlannedFile>& files, installer::TSetupRecord& r,
                      installer::FileNameSet& names, const Progress& progress, int jobs,
                      std::uint64_t& package_size) {
  std::uint64_t total = 0;
  for (const PlannedFile& f : files) total += f.size;
  if (total > kMaxPackageSize)
    Fail("the files add up to " + std::to_string(total) +
             " bytes; an installer's package holds at most 2 GiB",
         files.back().line);
  ParallelZlibOptions options;
  if (jobs > 0) options.jobs = jobs;
  options.expected_size = total;
  if (progress) options.progress = [&](std::uint64_t done) { progress("packing", done, total); };
  ParallelZlibCompressor packer(std::move(options));
  std::uint32_t checksum = 0;
  std::uint64_t offset = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const PlannedFile& f = files[i];
    installer::TSetupFileEntry& e = r.Files[i];
    Store(e.Name, f.target_utf8, "files.target \"" + f.target_utf8 + "\"", f.line);
    const std::string what = "files.target \"" + f.target_utf8 + "\" ";
    if (auto why = installer::FileNameProblem(e.Name.Value()))
      Fail(what + base::GbkToUtf8(*why), f.line);
    if (auto clash = names.Add(e.Name.Value(), static_cast<int>(i))) {
      const PlannedFile& other = files[static_cast<std::size_t>(clash->other)];
      // The uninstaller comes last, so the manifest's own entry is the other,
      // and its line is the one to change.
      if (f.own_uninstaller)
        Fail("the uninstaller that product.uninstaller = true (line " + std::to_string(f.line) +
                 ") adds as \"" + f.target_utf8 + "\" " + ClashText(*clash) + " \"" +
                 other.target_utf8 + "\"; leave that file out, or the setting",
             other.line);
      std::string text = what + ClashText(*clash) + " \"" + other.target_utf8 + "\" (line " +
                         std::to_string(other.line) + ")";
      if (clash->kind == installer::FileNameClash::kSameFile)
        text += "; Windows ignores case and takes '/' for '\\'";
      Fail(text, f.line);
    }
    e.Flag1 = f.own_uninstaller ? installer::kOwnUninstallerMark : 0;
    e.Flag2 = 1;
    const base::Bytes bytes = ReadFile(f.source, f.line);
    // A file that grew since it was listed must not break the 2 GiB bound.
    if (offset + bytes.size() > kMaxPackageSize)
      Fail(f.source.string() + " grew while it was read; the package would pass 2 GiB", f.line);
    e.Offset = static_cast<std::uint32_t>(offset);
    e.Size = static_cast<std::uint32_t>(bytes.size());
    checksum += installer::PackageChecksum(bytes);
    packer.Write(bytes);
    offset += bytes.size();
  }
  r.FileCount = static_cast<std::int32_t>(files.size());
  r.PackChecksum = checksum;
  package_size = offset;
  return packer.FinishBlock();
}

void FillShortcuts(const Manifest& m, const installer::FileNameSet& names,
                   installer::TSetupRecord& r) {
  if (m.shortcuts.size() > installer::kTableSlots)
    Fail("more than 256 shortcuts", m.shortcuts[installer::kTableSlots].line);
  for (std::size_t i = 0; i < m.shortcuts.size(); ++i) {
    const ShortcutSpec& s = m.shortcuts[i];
    installer::TSetupShortcutEntry& e = r.Shortcuts[i];
    Store(e.Name, s.name.utf8, "shortcuts.name", s.name.line);
    Store(e.Arguments, s.arguments.utf8, "shortcuts.arguments", s.arguments.line);
    // Found as Windows finds files: "\APP.exe" is the file "\app.exe".
    auto gbk_target = base::Utf8ToGbk(s.target.utf8);
    auto index = gbk_target ? names.Find(*gbk_target) : std::nullopt;
    if (!index)
      Fail("shortcuts.target \"" + s.target.utf8 + "\" is not the target of any file", s.target.line);
    e.FileIndex = *index;
    e.Location = s.location;
  }
  r.ShortcutCount = static_cast<std::int32_t>(m.shortcuts.size());
}

void FillRegistry(const Manifest& m, installer::TSetupRecord& r) {
  if (m.registry.size() > installer::kTableSlots)
    Fail("more than 256 registry values", m.registry[installer::kTableSlots].line);
  for (std::size_t i = 0; i < m.registry.size(); ++i) {
    const RegistrySpec& s = m.registry[i];
    installer::TSetupRegValueEntry& e = r.RegValues[i];
    Store(e.ValueName, s.name.utf8, "registry.name", s.name.line);
    Store(e.KeyPath, s.key.utf8, "registry.key", s.key.line);
    e.CurrentUser = s.current_user ? 1 : 0;
    e.Kind = s.kind;
    e.BoolValue = s.bool_value ? 1 : 0;
    if (s.kind == installer::kRegString)
      Store(e.StrValue, s.string_value.utf8, "registry.value", s.string_value.line);
    e.IntValue = s.int_value;
  }
  r.RegValueCount = static_cast<std::int32_t>(m.registry.size());
}

}  // namespace

Payload BuildPayload(const Manifest& manifest, const Progress& progress,
                     const BuildInputs& inputs) {
  Payload p;
  p.record = std::make_unique<installer::TSetupRecord>();
  installer::TSetupRecord& r = *p.record;
  FillTexts(manifest, r);
  installer::FileNameSet names;
  p.setup_pack =
      FillFiles(PlanFiles(manifest, inputs), r, names, progress, inputs.jobs, p.package_size);
  FillShortcuts(manifest, names, r);
  FillRegistry(manifest, r);

  if (manifest.licence) {
    base::Bytes text = ReadFile(*manifest.licence, manifest.licence_line);
    std::string utf8 = base::AsString(text);
    if (utf8.starts_with("\xEF\xBB\xBF")) utf8.erase(0, 3);  // a byte order mark is not text
    std::string gbk = ToGbk(utf8, "the licence text", manifest.licence_line);
    p.protocol.assign(gbk.begin(), gbk.end());
  }

  // The installer refuses what breaks the data model; so does the builder.
  auto problems = installer::ValidateRecord(r);
  if (!problems.empty()) Fail(base::GbkToUtf8(installer::RefusalMessage(problems)), 0);

  p.setup_ini = installer::PackBlock(installer::RecordBytes(r), 9);
  return p;
}

}  // namespace mksetup
