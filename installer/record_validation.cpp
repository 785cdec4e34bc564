#include "installer/record_validation.h"

#include "base/gbk_text.h"

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

}  // namespace

std::optional<std::string> UnsafeFileNameReason(const std::string& name) {
  if (name.empty() || name[0] != '\\') return "does not start with a backslash";
  // Split at separators that start a character ('/' counts: Windows takes
  // it as a separator too).
  std::vector<std::string> components(1);
  std::optional<std::string> reason;
  base::ForEachGbkChar(name.substr(1), [&](std::size_t i) {
    char c = name[1 + i];
    if (c == '\\' || c == '/') {
      components.emplace_back();
    } else if (c == ':') {
      reason = "contains a ':'";
      return false;
    } else {
      components.back().append(name, 1 + i, base::GbkCharLength(name, 1 + i));
    }
    return true;
  });
  if (reason) return reason;
  for (const std::string& c : components) {
    if (c.empty()) return "has an empty path component";
    if (c == "..") return "contains a \"..\" component";
    // Windows drops trailing dots and blanks, so "..." or ". ." would name
    // the parent folder as well.
    if (c.find_first_not_of(". ") == std::string::npos) return "has a component of only dots";
  }
  return std::nullopt;
}

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
  for (int i = 0; i < files; ++i) {
    const TSetupFileEntry& f = r.Files[i];
    CheckLength(f.Name, Entry("File", i) + " name", out);
    if (!f.Name.LengthInRange() || IsSkippedFileEntry(f)) continue;
    if (auto why = UnsafeFileNameReason(f.Name.Value()))
      out.push_back({Entry("File", i) + " " + Quoted(f.Name.Value()) + " " + *why +
                     ", so it could be written outside the target folder"});
  }
  for (int i = 0; i < UsedEntries(r.ShortcutCount); ++i) {
    const TSetupShortcutEntry& s = r.Shortcuts[i];
    CheckLength(s.Name, Entry("Shortcut", i) + " name", out);
    CheckLength(s.Arguments, Entry("Shortcut", i) + " arguments", out);
    if (s.FileIndex < 0 || s.FileIndex >= files)
      out.push_back({Entry("Shortcut", i) + " " + Quoted(s.Name.Value()) + " points to file " +
                     std::to_string(s.FileIndex) + ", outside the file table of " +
                     std::to_string(files) + " entries"});
  }
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
