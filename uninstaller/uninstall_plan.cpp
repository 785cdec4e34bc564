#include "uninstaller/uninstall_plan.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "base/gbk_text.h"
#include "installer/file_name_rules.h"
#include "installer/installation.h"
#include "installer/record_file.h"
#include "installer/texts.h"

namespace uninstaller {
namespace {

using installer::TSetupRecord;
using installer::UsedEntries;

// The components of text between separators found at character starts
// (a trail byte 0x5C inside a Chinese character is not one); empty ones
// are dropped.
template <typename IsSeparator>
std::vector<std::string> Components(std::string_view text, IsSeparator is_separator) {
  std::vector<std::string> out;
  std::size_t start = 0;
  auto cut = [&](std::size_t end) {
    if (end > start) out.emplace_back(text.substr(start, end - start));
  };
  base::ForEachGbkChar(text, [&](std::size_t i) {
    if (is_separator(text[i])) {
      cut(i);
      start = i + 1;
    }
    return true;
  });
  cut(text.size());
  return out;
}

// File names: Windows takes '/' for '\'. Registry key names may hold a '/'.
std::vector<std::string> FileComponents(std::string_view name) {
  return Components(name, [](char c) { return c == '\\' || c == '/'; });
}
std::vector<std::string> KeyComponents(std::string_view path) {
  return Components(path, [](char c) { return c == '\\'; });
}

std::string Join(const std::vector<std::string>& parts, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) {
    if (i) out += '\\';
    out += parts[i];
  }
  return out;
}

// ASCII letters folded at character starts only: the trail byte of a
// Chinese character can be a letter's code and must stay as it is.
std::string FoldAscii(std::string_view text) {
  std::string out(text);
  base::ForEachGbkChar(text, [&](std::size_t i) {
    if (out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 'a' + 'A');
    return true;
  });
  return out;
}

std::vector<std::string> FoldedKey(std::string_view path) {
  std::vector<std::string> parts = KeyComponents(path);
  for (std::string& part : parts) part = FoldAscii(part);
  return parts;
}

// The folder without the backslash at its end; a trailing 0x5C that is the
// second byte of a Chinese character stays.
std::string WithoutTrailingBackslash(std::string_view folder) {
  for (;;) {
    std::size_t last_start = std::string_view::npos;
    base::ForEachGbkChar(folder, [&](std::size_t i) {
      last_start = i;
      return true;
    });
    if (last_start == std::string_view::npos || folder[last_start] != '\\' ||
        last_start != folder.size() - 1)
      return std::string(folder);
    folder.remove_suffix(1);
  }
}

bool IsDriveRoot(std::string_view folder) { return folder.size() == 2 && folder[1] == ':'; }

void PlanFiles(const TSetupRecord& r, const std::string& own_program_name, UninstallPlan& plan) {
  const std::string own_key =
      own_program_name.empty() ? std::string() : installer::FileNameKey("\\" + own_program_name);
  // Folders by FileNameKey, each at its first appearance, with its depth.
  struct Folder {
    std::string path;
    std::size_t depth;
  };
  std::vector<Folder> folders;
  std::set<std::string> seen;
  const int count = UsedEntries(r.FileCount);
  for (int i = 0; i < count; ++i) {
    const installer::TSetupFileEntry& entry = r.Files[i];
    if (installer::IsSkippedFileEntry(entry)) continue;  // a pattern was never written
    const std::string name = entry.Name.Value();
    const std::string path = plan.install_folder + name;
    if (!own_key.empty() && installer::FileNameKey(name) == own_key)
      plan.own_program = path;
    else
      plan.files.push_back(path);
    const std::vector<std::string> parts = FileComponents(name);
    for (std::size_t depth = 1; depth < parts.size(); ++depth) {
      const std::string folder = plan.install_folder + "\\" + Join(parts, depth);
      if (seen.insert(installer::FileNameKey(folder)).second) folders.push_back({folder, depth});
    }
  }
  plan.record_copy = plan.install_folder + "\\" + installer::kInstalledRecordFileName;
  // Deepest first, so that each folder is empty of folders when its turn
  // comes; among equals, in the order the files named them.
  std::stable_sort(folders.begin(), folders.end(),
                   [](const Folder& a, const Folder& b) { return a.depth > b.depth; });
  for (const Folder& f : folders) plan.folders.push_back(f.path);
  if (!IsDriveRoot(plan.install_folder)) plan.folders.push_back(plan.install_folder);
}

void PlanLinks(const TSetupRecord& r, UninstallPlan& plan) {
  std::set<std::pair<LinkRef::Place, std::string>> seen;
  auto add = [&](LinkRef::Place place, const std::string& name) {
    // A second shortcut of one name replaced the first: one link to remove.
    if (seen.insert({place, installer::FileNameKey(name)}).second)
      plan.links.push_back({place, name});
  };
  const int count = UsedEntries(r.ShortcutCount);
  for (int j = 0; j < count; ++j) {
    const installer::TSetupShortcutEntry& s = r.Shortcuts[j];
    // The installation passes over such an entry too.
    if (s.FileIndex < 0 || s.FileIndex >= installer::kTableSlots) continue;
    if (installer::ShortcutInPrograms(s.Location)) add(LinkRef::kPrograms, s.Name.Value());
    if (installer::ShortcutOnDesktop(s.Location)) add(LinkRef::kDesktop, s.Name.Value());
  }
  add(LinkRef::kPrograms, installer::texts::kUninstallLinkPrefix + plan.programs_group);
}

// The extra values where the installation's RegistryWriter put them: it
// comes to them with the product's keys closed and HKEY_LOCAL_MACHINE
// selected, a change of root closes the current key, and a path without a
// leading backslash is taken from the key opened before.
void PlanExtraValues(const TSetupRecord& r, UninstallPlan& plan) {
  RegistryRoot root = RegistryRoot::kLocalMachine;
  std::string current;
  struct Candidate {
    RegistryKeyRef key;
    std::size_t depth;
  };
  std::vector<Candidate> candidates;
  std::set<std::pair<RegistryRoot, std::vector<std::string>>> seen;
  const std::vector<std::string> publisher = FoldedKey(plan.publisher_key);
  const std::vector<std::string> product = FoldedKey(plan.product_key);

  const int count = UsedEntries(r.RegValueCount);
  for (int k = 0; k < count; ++k) {
    const installer::TSetupRegValueEntry& v = r.RegValues[k];
    const RegistryRoot wanted =
        v.CurrentUser ? RegistryRoot::kCurrentUser : RegistryRoot::kLocalMachine;
    if (wanted != root) {
      root = wanted;
      current.clear();
    }
    current = installer::RegistryWriter::ResolvePath(current, v.KeyPath.Value());
    // A value of an unknown kind was never written, but its key was opened,
    // that is, made.
    if (v.Kind == installer::kRegBool || v.Kind == installer::kRegString ||
        v.Kind == installer::kRegInteger)
      plan.extra_values.push_back({root, current, v.ValueName.Value()});

    const std::vector<std::string> parts = KeyComponents(current);
    const std::vector<std::string> folded = FoldedKey(current);
    if (folded.size() <= publisher.size() ||
        !std::equal(publisher.begin(), publisher.end(), folded.begin()))
      continue;  // not ours alone: a value elsewhere goes, its key stays
    if (root == RegistryRoot::kCurrentUser) plan.user_publisher_key = true;
    for (std::size_t depth = folded.size(); depth > publisher.size(); --depth) {
      std::vector<std::string> prefix(folded.begin(), folded.begin() + depth);
      // The product's own key has its own rule.
      if (root == RegistryRoot::kLocalMachine && prefix == product) continue;
      if (seen.insert({root, prefix}).second)
        candidates.push_back({{root, Join(parts, depth)}, depth});
    }
  }
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const Candidate& a, const Candidate& b) { return a.depth > b.depth; });
  for (const Candidate& c : candidates) plan.extra_keys.push_back(c.key);
}

}  // namespace

UninstallPlan MakeUninstallPlan(const TSetupRecord& r, const std::string& install_folder,
                                const std::string& own_program_name) {
  UninstallPlan plan;
  plan.install_folder = WithoutTrailingBackslash(install_folder);
  plan.programs_group = r.ProductName.Value();
  plan.publisher_key = "Software\\" + r.PublisherKey.Value();
  plan.product_key = plan.publisher_key + "\\" + r.ShortName.Value();
  // The prefix is written for RegistryWriter::OpenKey, from the root: with
  // its leading backslash.
  plan.uninstall_key = std::string(installer::kUninstallKeyPrefix + 1) + r.ProductName.Value();
  PlanFiles(r, own_program_name, plan);
  PlanLinks(r, plan);
  PlanExtraValues(r, plan);
  return plan;
}

}  // namespace uninstaller
