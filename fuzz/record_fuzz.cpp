// Record loading and validation on arbitrary bytes. The invariants: a record
// that passes validation can be walked (names, targets, package reads)
// without any access outside the record, its tables or the package; and
// every path it makes Windows write lies where it belongs: each file one
// file below the target folder, no two the same file, no file where another
// needs a folder; each link one valid name in the Desktop or in the product's
// Programs group, itself one valid name in the Programs folder.
//
// The paths are judged by the small model of Windows' path handling below,
// written apart from the validation code so that it checks it rather than
// repeats it.
//
// Input layout: 4 bytes of package size, then record bytes (as unpacked
// from SETUPINI; short input fills only the front). Each input is also
// tried as a packed block, the way start-up first meets it.
#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/error.h"
#include "installer/packed_block.h"
#include "installer/record_validation.h"
#include "installer/setup_package.h"
#include "installer/texts.h"

namespace {

// --- How Windows reads a path (code page 936) --------------------------------

// Code page 936: a lead byte 0x81..0xFE and a trail byte 0x40..0xFE but 0x7F
// make one character; any other byte is one on its own.
std::size_t CharBytes(const std::string& s, std::size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  if (lead < 0x81 || lead == 0xFF || i + 1 >= s.size()) return 1;
  const auto trail = static_cast<unsigned char>(s[i + 1]);
  return trail >= 0x40 && trail != 0x7F && trail != 0xFF ? 2 : 1;
}

// The components of a path, cut at '\' and '/' where a character starts.
std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> out(1);
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t n = CharBytes(path, i);
    if (n == 1 && (path[i] == '\\' || path[i] == '/')) {
      out.emplace_back();
    } else {
      out.back().append(path, i, n);
    }
    i += n;
  }
  return out;
}

// What Windows makes of a path: empty and "." components dropped, ".."
// taking away the one before it, trailing dots and blanks cut off.
std::vector<std::string> Normalised(const std::string& path) {
  std::vector<std::string> out;
  for (std::string c : Components(path)) {
    if (c == "..") {
      if (out.size() > 1) out.pop_back();  // never above the drive
      continue;
    }
    while (!c.empty() && (c.back() == '.' || c.back() == ' ')) c.pop_back();
    if (!c.empty()) out.push_back(c);
  }
  return out;
}

// Whether Windows takes the component for a device rather than a file.
bool OpensADevice(const std::string& c) {
  std::string stem = c.substr(0, c.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (char& ch : stem)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
  std::vector<std::string> devices = {"CON", "PRN", "AUX", "NUL"};
  for (char d = '1'; d <= '9'; ++d) {
    devices.push_back(std::string("COM") + d);
    devices.push_back(std::string("LPT") + d);
  }
  for (const std::string& d : devices)
    if (stem == d) return true;
  return false;
}

// A component Windows creates exactly as written.
bool IsPlainFileName(const std::string& c) {
  if (c.empty() || c == "." || c == ".." || c.back() == '.' || c.back() == ' ') return false;
  for (std::size_t i = 0; i < c.size(); i += CharBytes(c, i)) {
    if (CharBytes(c, i) == 2) continue;
    const auto b = static_cast<unsigned char>(c[i]);
    if (b < 0x20 || b == 0x7F || std::strchr("<>:\"|?*\\/", b)) return false;
    if (b >= 0x81 && b <= 0xFE) return false;  // half a character: none Windows can convert
  }
  return !OpensADevice(c);
}

// The components path adds below folder, each one checked; traps when the
// path does not lie below folder, or Windows would change or refuse a
// component on the way.
std::vector<std::string> AddedBelow(const std::string& folder, const std::string& path) {
  const std::vector<std::string> base = Normalised(folder);
  const std::vector<std::string> written = Components(path);
  const std::vector<std::string> normal = Normalised(path);
  // Nothing dropped or cut: what Windows makes of the path is the path.
  if (written != normal) __builtin_trap();
  if (normal.size() <= base.size()) __builtin_trap();
  if (!std::equal(base.begin(), base.end(), normal.begin())) __builtin_trap();
  std::vector<std::string> added(normal.begin() + static_cast<long>(base.size()), normal.end());
  for (const std::string& c : added)
    if (!IsPlainFileName(c)) __builtin_trap();
  return added;
}

// Two names Windows takes for one: ASCII letters in one case, double-byte
// characters as they are.
std::string Folded(const std::string& c) {
  std::string out;
  for (std::size_t i = 0; i < c.size(); i += CharBytes(c, i)) {
    if (CharBytes(c, i) == 2) {
      out.append(c, i, 2);
    } else {
      out += c[i] >= 'a' && c[i] <= 'z' ? static_cast<char>(c[i] - 32) : c[i];
    }
  }
  return out;
}

void CheckPaths(const installer::TSetupRecord& record) {
  const std::string target = "C:\\T";
  std::set<std::string> files, folders;
  for (int i = 0; i < installer::UsedEntries(record.FileCount); ++i) {
    const auto& file = record.Files[i];
    if (installer::IsSkippedFileEntry(file)) continue;
    std::string key;
    for (const std::string& c : AddedBelow(target, target + file.Name.Value())) {
      if (!key.empty()) folders.insert(key);
      key += "\\" + Folded(c);
    }
    if (!files.insert(key).second) __builtin_trap();
  }
  for (const std::string& key : files)
    if (folders.count(key)) __builtin_trap();

  const std::string desktop = "C:\\Users\\U\\Desktop";
  const std::string programs = "C:\\Users\\U\\Start Menu\\Programs";
  const std::string group = record.ProductName.Value();
  // The installer always makes the group, for the uninstall link.
  if (AddedBelow(programs, programs + "\\" + group).size() != 1) __builtin_trap();
  const std::string group_folder = programs + "\\" + group;
  const std::string uninstall = std::string(installer::texts::kUninstallLinkPrefix) + group;
  if (AddedBelow(group_folder, group_folder + "\\" + uninstall + ".lnk").size() != 1)
    __builtin_trap();
  for (int i = 0; i < installer::UsedEntries(record.ShortcutCount); ++i) {
    const std::string link = record.Shortcuts[i].Name.Value() + ".lnk";
    if (AddedBelow(desktop, desktop + "\\" + link).size() != 1) __builtin_trap();
    if (AddedBelow(group_folder, group_folder + "\\" + link).size() != 1) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    installer::UnpackToBuffer({data, size});
  } catch (const base::Error&) {
  }
  if (size < 4) return 0;

  // The package is small so that the fuzzer reaches the bounds checks.
  const std::uint32_t package_size = base::GetU32(data) % 4096;
  auto record = std::make_unique<installer::TSetupRecord>();
  installer::LoadRecordBytes(*record, {data + 4, size - 4});
  auto problems = installer::ValidateRecord(*record);
  auto bounds = installer::ValidatePackageBounds(*record, package_size);
  if (!problems.empty() || !bounds.empty()) {
    if (installer::RefusalMessage(problems).empty() && !problems.empty()) __builtin_trap();
    return 0;
  }

  base::MemoryStream package{base::Buffer(package_size)};
  for (int i = 0; i < installer::UsedEntries(record->FileCount); ++i) {
    const auto& file = record->Files[i];
    if (installer::IsSkippedFileEntry(file)) continue;
    if (file.Name.Value().rfind('\\', 0) != 0) __builtin_trap();
    installer::ReadPackageFile(package, file);  // must not throw: bounds were validated
  }
  for (int i = 0; i < installer::UsedEntries(record->ShortcutCount); ++i) {
    std::int32_t index = record->Shortcuts[i].FileIndex;
    if (index < 0 || index >= record->FileCount) __builtin_trap();
  }
  CheckPaths(*record);
  return 0;
}
