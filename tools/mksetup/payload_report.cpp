#include "tools/mksetup/payload_report.h"

#include <nlohmann/json.hpp>

#include <sstream>

#include "base/error.h"
#include "base/text_codec.h"
#include "installer/packed_block.h"
#include "installer/record_validation.h"
#include "installer/setup_package.h"
#include "tools/mksetup/installer_image.h"

namespace mksetup {
namespace {

using nlohmann::ordered_json;

template <std::size_t N>
std::string Utf8(const installer::ShortString<N>& s) {
  return base::GbkToUtf8(s.Value());
}

// The record's text fields in storage order, by the names the record uses.
template <typename Visit>
void ForEachTextField(const installer::TSetupRecord& r, Visit visit) {
  visit("Author", Utf8(r.Author));
  visit("PublisherKey", Utf8(r.PublisherKey));
  visit("WebSite", Utf8(r.WebSite));
  visit("RightsNotice", Utf8(r.RightsNotice));
  visit("Version", Utf8(r.Version));
  visit("ReleaseDate", Utf8(r.ReleaseDate));
  visit("ProductName", Utf8(r.ProductName));
  visit("ShortName", Utf8(r.ShortName));
  visit("Category", Utf8(r.Category));
  visit("Description", Utf8(r.Description));
  visit("Date1", Utf8(r.Date1));
  visit("Date2", Utf8(r.Date2));
  visit("InstallDir", Utf8(r.InstallDir));
}

// Control characters as escapes, so every field stays on its line.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else out += c;
  }
  return out;
}

const char* LocationName(std::uint8_t location) {
  if (location == installer::kDesktopOnly) return "desktop";
  if (location == installer::kProgramsOnly) return "programs";
  return "both";
}

const char* KindName(std::uint8_t kind) {
  switch (kind) {
    case installer::kRegBool: return "bool";
    case installer::kRegString: return "string";
    case installer::kRegInteger: return "integer";
    default: return "none";
  }
}

ordered_json RegValueJson(const installer::TSetupRegValueEntry& v) {
  ordered_json j = {{"root", v.CurrentUser ? "HKCU" : "HKLM"},
                    {"key", Utf8(v.KeyPath)},
                    {"name", Utf8(v.ValueName)},
                    {"kind", KindName(v.Kind)}};
  if (v.Kind == installer::kRegBool) j["value"] = v.BoolValue != 0;
  if (v.Kind == installer::kRegString) j["value"] = Utf8(v.StrValue);
  if (v.Kind == installer::kRegInteger) j["value"] = v.IntValue;
  return j;
}

ordered_json RecordJson(const installer::TSetupRecord& r) {
  ordered_json j;
  ForEachTextField(r, [&](const char* name, const std::string& value) { j[name] = value; });
  j["PackChecksum"] = r.PackChecksum;
  j["FileCount"] = r.FileCount;
  j["ShortcutCount"] = r.ShortcutCount;
  j["RegValueCount"] = r.RegValueCount;
  ordered_json files = ordered_json::array();
  for (int i = 0; i < installer::UsedEntries(r.FileCount); ++i) {
    const auto& f = r.Files[i];
    files.push_back({{"name", Utf8(f.Name)},
                     {"offset", f.Offset},
                     {"size", f.Size},
                     {"skipped", installer::IsSkippedFileEntry(f)}});
  }
  j["Files"] = files;
  ordered_json shortcuts = ordered_json::array();
  for (int i = 0; i < installer::UsedEntries(r.ShortcutCount); ++i) {
    const auto& s = r.Shortcuts[i];
    shortcuts.push_back({{"name", Utf8(s.Name)},
                         {"file_index", s.FileIndex},
                         {"location", LocationName(s.Location)},
                         {"arguments", Utf8(s.Arguments)}});
  }
  j["Shortcuts"] = shortcuts;
  ordered_json values = ordered_json::array();
  for (int i = 0; i < installer::UsedEntries(r.RegValueCount); ++i)
    values.push_back(RegValueJson(r.RegValues[i]));
  j["RegValues"] = values;
  return j;
}

}  // namespace

bool PayloadReport::Intact() const {
  return !failure && record && package_checksum && record->PackChecksum == *package_checksum &&
         problems.empty();
}

PayloadReport InspectPayload(const pe::ResourceTree& tree) {
  PayloadReport report;
  TreeResourceSource source(tree);
  for (const char* name :
       {installer::kSetupIniName, installer::kSetupPackName, installer::kProtocolName}) {
    ResourceInfo info{name};
    if (auto bytes = source.FindRcData(name)) {
      info.present = true;
      info.size = bytes->size();
      if (std::string(name) != installer::kProtocolName && bytes->size() >= 4)
        info.unpacked_size = installer::PackedBlockLength(*bytes);
    }
    report.resources.push_back(info);
  }
  try {
    base::Bytes ini = installer::UnpackBlock(installer::OpenResource(source, installer::kSetupIniName));
    report.record = std::make_unique<installer::TSetupRecord>();
    installer::LoadRecordBytes(*report.record, ini);
    for (auto& p : installer::ValidateRecord(*report.record)) report.problems.push_back(p.message);

    base::Bytes package =
        installer::UnpackBlock(installer::OpenResource(source, installer::kSetupPackName));
    report.package_size = package.size();
    report.package_checksum = installer::PackageChecksum(package);
    for (auto& p : installer::ValidatePackageBounds(*report.record, package.size()))
      report.problems.push_back(p.message);
  } catch (const base::Error& e) {
    report.failure = e.what();
  }
  return report;
}

std::string ReportText(const PayloadReport& report) {
  std::ostringstream out;
  out << "Resources:\n";
  for (const auto& r : report.resources) {
    out << "  " << r.name << ": ";
    if (!r.present) {
      out << "missing\n";
      continue;
    }
    out << r.size << " bytes";
    if (r.unpacked_size) out << ", N = " << *r.unpacked_size;
    out << "\n";
  }
  if (report.record) {
    const auto& rec = *report.record;
    out << "Record:\n";
    ForEachTextField(rec, [&](const char* name, const std::string& value) {
      out << "  " << name << ": \"" << Escaped(value) << "\"\n";
    });
    out << "  PackChecksum: " << rec.PackChecksum << "\n";
    out << "Files (" << rec.FileCount << "):\n";
    for (int i = 0; i < installer::UsedEntries(rec.FileCount); ++i) {
      const auto& f = rec.Files[i];
      out << "  [" << i << "] " << Utf8(f.Name) << "  offset " << f.Offset << ", " << f.Size
          << " bytes" << (installer::IsSkippedFileEntry(f) ? " (skipped)" : "") << "\n";
    }
    out << "Shortcuts (" << rec.ShortcutCount << "):\n";
    for (int i = 0; i < installer::UsedEntries(rec.ShortcutCount); ++i) {
      const auto& s = rec.Shortcuts[i];
      out << "  [" << i << "] " << Utf8(s.Name) << " -> file " << s.FileIndex << ", "
          << LocationName(s.Location);
      if (s.Arguments.Length) out << ", arguments \"" << Utf8(s.Arguments) << "\"";
      out << "\n";
    }
    out << "Registry values (" << rec.RegValueCount << "):\n";
    for (int i = 0; i < installer::UsedEntries(rec.RegValueCount); ++i)
      out << "  [" << i << "] " << RegValueJson(rec.RegValues[i]).dump() << "\n";
  }
  if (report.package_size) {
    out << "Package: " << *report.package_size << " bytes, checksum " << *report.package_checksum;
    if (report.record)
      out << (report.record->PackChecksum == *report.package_checksum ? " (matches)"
                                                                        : " (MISMATCH)");
    out << "\n";
  }
  for (const auto& p : report.problems) out << "Problem: " << base::GbkToUtf8(p) << "\n";
  if (report.failure) out << "Error: " << base::GbkToUtf8(*report.failure) << "\n";
  out << (report.Intact() ? "Payload intact.\n" : "Payload NOT intact.\n");
  return out.str();
}

std::string ReportJson(const PayloadReport& report) {
  ordered_json j;
  ordered_json resources = ordered_json::object();
  for (const auto& r : report.resources) {
    ordered_json info = {{"present", r.present}};
    if (r.present) info["size"] = r.size;
    if (r.unpacked_size) info["unpacked_size"] = *r.unpacked_size;
    resources[r.name] = info;
  }
  j["resources"] = resources;
  j["record"] = report.record ? RecordJson(*report.record) : ordered_json(nullptr);
  if (report.package_size) {
    j["package"] = {{"size", *report.package_size},
                    {"checksum", *report.package_checksum},
                    {"checksum_matches",
                     report.record && report.record->PackChecksum == *report.package_checksum}};
  } else {
    j["package"] = nullptr;
  }
  ordered_json problems = ordered_json::array();
  for (const auto& p : report.problems) problems.push_back(base::GbkToUtf8(p));
  j["problems"] = problems;
  j["error"] = report.failure ? ordered_json(base::GbkToUtf8(*report.failure)) : ordered_json(nullptr);
  j["intact"] = report.Intact();
  return j.dump(2) + "\n";
}

}  // namespace mksetup
