#include "installer/record_validation.h"

#include "installer/file_name_rules.h"
#include "installer/file_name_set.h"

namespace installer {
namespace {

template <std::size_t N>
void CheckLength(const ShortString<N>& field, const std::string& what,
                 std::vector<RecordProblem>& out) {
  if (!field.LengthInRange())
    out.push_back({what + " has a length of " + std::to_string(field.Length) +
                   " bytes, more than its " + std::to_string(N) + "-byte field"});
}

void CheckCount(std::int32_t count, const char* what, std::vector<RecordProblem>& out) {
  if (count < 0 || count > kTableSlots)
    out.push_back({std::string(what) + " is " + std::to_string(count) + ", outside 0 to 256"});
}

std::string Entry(const char* table, int index) {
  return std::string(table) + " entry " + std::to_string(index);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Completed by the other entry: "... <text> entry 1 "\a"".
const char* ClashText(const FileNameClash& clash) {
  switch (clash.kind) {
    case FileNameClash::kSameFile: return "names the same file as";
    case FileNameClash::kIsOthersFolder: return "names a file where a folder is needed by";
    case FileNameClash::kInOthersFile: return "needs a folder where a file is named by";
  }
  return "";
}

}  // namespace

std::vector<RecordProblem> ValidateRecord(const TSetupRecord& r) {
  std::vector<RecordProblem> out;
  CheckLength(r.Author, "Author", out);
  CheckLength(r.PublisherKey, "PublisherKey", out);
  CheckLength(r.WebSite, "WebSite", out);
  CheckLength(r.RightsNotice, "RightsNotice", out);
  CheckLength(r.Version, "Version", out);
  CheckLength(r.ReleaseDate, "ReleaseDate", out);
  CheckLength(r.ProductName, "ProductName", out);
  CheckLength(r.ShortName, "ShortName", out);
  CheckLength(r.Category, "Category", out);
  CheckLength(r.Description, "Description", out);
  CheckLength(r.Date1, "Date1", out);
  CheckLength(r.Date2, "Date2", out);
  CheckLength(r.InstallDir, "InstallDir", out);
  CheckCount(r.FileCount, "FileCount", out);
  CheckCount(r.ShortcutCount, "ShortcutCount", out);
  CheckCount(r.RegValueCount, "RegValueCount", out);

  const int files = UsedEntries(r.FileCount);
  FileNameSet names;
  for (int i = 0; i < files; ++i) {
    const TSetupFileEntry& f = r.Files[i];
    CheckLength(f.Name, Entry("File", i) + " name", out);
    if (!f.Name.LengthInRange() || IsSkippedFileEntry(f)) continue;
    const std::string name = f.Name.Value();
    const std::string what = Entry("File", i) + " " + Quoted(name);
    if (auto why = FileNameProblem(name)) {
      out.push_back({what + " " + *why});
    } else if (auto clash = names.Add(name, i)) {
      out.push_back({what + " " + ClashText(*clash) + " entry " + std::to_string(clash->other) +
                     " " + Quoted(r.Files[clash->other].Name.Value())});
    }
  }
  for (int i = 0; i < UsedEntries(r.ShortcutCount); ++i) {
    const TSetupShortcutEntry& s = r.Shortcuts[i];
    CheckLength(s.Name, Entry("Shortcut", i) + " name", out);
    CheckLength(s.Arguments, Entry("Shortcut", i) + " arguments", out);
    if (s.Name.LengthInRange())
      if (auto why = SingleNameProblem(s.Name.Value()))
        out.push_back({Entry("Shortcut", i) + " " + Quoted(s.Name.Value()) + " " + *why});
    if (s.FileIndex < 0 || s.FileIndex >= files)
      out.push_back({Entry("Shortcut", i) + " " + Quoted(s.Name.Value()) + " points to file " +
                     std::to_string(s.FileIndex) + ", outside the file table of " +
                     std::to_string(files) + " entries"});
  }
  // The Programs group is made even without shortcuts (the uninstall link
  // goes there), so the product name always has to be one valid name.
  if (r.ProductName.LengthInRange())
    if (auto why = SingleNameProblem(r.ProductName.Value()))
      out.push_back({"ProductName " + Quoted(r.ProductName.Value()) + " " + *why});
  for (int i = 0; i < UsedEntries(r.RegValueCount); ++i) {
    const TSetupRegValueEntry& v = r.RegValues[i];
    CheckLength(v.ValueName, Entry("Registry value", i) + " name", out);
    CheckLength(v.KeyPath, Entry("Registry value", i) + " key", out);
    CheckLength(v.StrValue, Entry("Registry value", i) + " string", out);
  }
  return out;
}

std::vector<RecordProblem> ValidatePackageBounds(const TSetupRecord& r,
                                                 std::uint64_t package_size) {
  std::vector<RecordProblem> out;
  for (int i = 0; i < UsedEntries(r.FileCount); ++i) {
    const TSetupFileEntry& f = r.Files[i];
    if (IsSkippedFileEntry(f)) continue;
    std::uint64_t end = std::uint64_t{f.Offset} + f.Size;
    // Positions in the package are signed 32-bit on the installer's side.
    if (end > package_size || f.Offset > 0x7FFFFFFFu || f.Size > 0x7FFFFFFFu)
      out.push_back({Entry("File", i) + " " + Quoted(f.Name.Value()) + " lies at bytes " +
                     std::to_string(f.Offset) + " to " + std::to_string(end) +
                     ", past the end of the " + std::to_string(package_size) + "-byte package"});
  }
  return out;
}

std::string RefusalMessage(const std::vector<RecordProblem>& problems) {
  if (problems.empty()) return {};
  std::string text = "The setup data is damaged: " + problems.front().message + ".";
  if (problems.size() > 1)
    text += " (" + std::to_string(problems.size() - 1) + " more problem" +
            (problems.size() > 2 ? "s" : "") + ")";
  return text;
}

}  // namespace installer
