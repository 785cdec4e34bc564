// The uninstaller against the installation it undoes: the real engine
// (installer::RunInstallation) installs into fakes of the file system, the
// registry and the shell, then the uninstaller reads the record copy it left
// and removes through the same fakes. What was there before the
// installation must be there after, exactly: that pins both the plan's
// reading of the record and the executor's rules, against the engine as it
// is, not against a second description of it. Single steps that go wrong
// (a file held open, a key that cannot go, something another program or the
// user left) then show what stays and what counts as an error.
#include "uninstaller/uninstall_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "base/gbk_text.h"
#include "installer/installation.h"
#include "installer/packed_block.h"
#include "installer/record_file.h"
#include "tests/host/fake_file_system.h"
#include "tests/host/gbk_literal.h"
#include "uninstaller/installed_record.h"
#include "uninstaller/uninstall_plan.h"

namespace {

using installer::RegistryRoot;
using testing_support::Gbk;
using uninstaller::EraseOutcome;
using Log = std::vector<std::string>;
using Names = std::vector<std::string>;

// Windows compares registry keys and file names without the case of ASCII
// letters; only character starts are letters (a trail byte may look like one).
std::string Fold(const std::string& text) {
  std::string out = text;
  base::ForEachGbkChar(text, [&](std::size_t i) {
    if (out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 'a' + 'A');
    return true;
  });
  return out;
}

std::string RootId(RegistryRoot root) {
  return root == RegistryRoot::kCurrentUser ? "HKCU" : "HKLM";
}

// The registry as one map of keys (by folded "HKLM\path"), each with its
// values; creating a key creates the keys above it, as Windows does.
class FakeRegistry final : public installer::Registry, public uninstaller::RegistryEraser {
public:
  explicit FakeRegistry(Log& log) : log_(log) {}

  using Values = std::map<std::string, std::string>;
  std::map<std::string, Values> keys;
  std::set<std::string> refused;  // folded ids of keys that cannot be deleted

  void Set(RegistryRoot root, const std::string& path, const std::string& name,
           const std::string& value) {
    keys[Make(RootId(root) + "\\" + path)][name] = value;
  }
  bool Has(RegistryRoot root, const std::string& path) const {
    return keys.count(Fold(RootId(root) + "\\" + path)) != 0;
  }
  const Values& ValuesOf(RegistryRoot root, const std::string& path) {
    return keys[Fold(RootId(root) + "\\" + path)];
  }

  std::unique_ptr<installer::RegistryKey> CreateKey(RegistryRoot root,
                                                    const std::string& path) override {
    return std::make_unique<Key>(*this,
                                 path.empty() ? RootId(root) : Make(RootId(root) + "\\" + path));
  }

  EraseOutcome DeleteValue(RegistryRoot root, const std::string& key,
                           const std::string& name) override {
    log_.push_back("erase value " + RootId(root) + "\\" + key + "\\" + name);
    auto k = keys.find(Fold(RootId(root) + "\\" + key));
    if (k == keys.end() || !k->second.erase(name)) return EraseOutcome::kAbsent;
    return EraseOutcome::kRemoved;
  }
  EraseOutcome DeleteEmptyKey(RegistryRoot root, const std::string& key) override {
    log_.push_back("erase key " + RootId(root) + "\\" + key);
    const std::string id = Fold(RootId(root) + "\\" + key);
    auto k = keys.find(id);
    if (k == keys.end()) return EraseOutcome::kAbsent;
    if (!k->second.empty() || HasBelow(id)) return EraseOutcome::kKept;
    if (refused.count(id)) return EraseOutcome::kFailed;
    keys.erase(k);
    return EraseOutcome::kRemoved;
  }
  EraseOutcome DeleteKeyTree(RegistryRoot root, const std::string& key) override {
    log_.push_back("erase tree " + RootId(root) + "\\" + key);
    const std::string id = Fold(RootId(root) + "\\" + key);
    if (!keys.count(id)) return EraseOutcome::kAbsent;
    if (refused.count(id)) return EraseOutcome::kFailed;
    std::erase_if(keys, [&](const auto& entry) {
      return entry.first == id || entry.first.starts_with(id + "\\");
    });
    return EraseOutcome::kRemoved;
  }
  bool HasSubkeys(RegistryRoot root, const std::string& key) override {
    return HasBelow(Fold(RootId(root) + "\\" + key));
  }

private:
  class Key final : public installer::RegistryKey {
  public:
    Key(FakeRegistry& owner, std::string id) : owner_(owner), id_(std::move(id)) {}
    std::unique_ptr<installer::RegistryKey> CreateKey(const std::string& path) override {
      return std::make_unique<Key>(owner_, path.empty() ? id_ : owner_.Make(id_ + "\\" + path));
    }
    bool WriteString(const std::string& name, const std::string& value) override {
      owner_.keys[id_][name] = "sz:" + value;
      return true;
    }
    bool WriteInteger(const std::string& name, std::int32_t value) override {
      owner_.keys[id_][name] = "dword:" + std::to_string(value);
      return true;
    }

  private:
    FakeRegistry& owner_;
    std::string id_;
  };

  // The key and every key above it below the root; returns its folded id.
  std::string Make(const std::string& id) {
    const std::string folded = Fold(id);
    for (std::size_t at = folded.find('\\', 5); at != std::string::npos;
         at = folded.find('\\', at + 1))
      keys[folded.substr(0, at)];
    keys[folded];
    return folded;
  }
  bool HasBelow(const std::string& id) const {
    return std::any_of(keys.begin(), keys.end(),
                       [&](const auto& entry) { return entry.first.starts_with(id + "\\"); });
  }

  Log& log_;
};

// The shell's links and the Programs group, as items "Desktop\name.lnk",
// "Programs\group" and "Programs\group\name.lnk" (folded).
class FakeShell final : public installer::ShortcutMaker, public uninstaller::ShortcutRemover {
public:
  explicit FakeShell(Log& log) : log_(log) {}
  std::set<std::string> items;

  void CreateDesktopShortcut(const std::string&, const std::string& name,
                             const std::string&) override {
    items.insert(Fold("Desktop\\" + name + ".lnk"));
  }
  void CreateProgramsShortcut(const std::string& group, const std::string&, const std::string& name,
                              const std::string&) override {
    items.insert(Fold("Programs\\" + group));
    items.insert(Fold("Programs\\" + group + "\\" + name + ".lnk"));
  }

  EraseOutcome RemoveDesktopLink(const std::string& name) override {
    return Remove("Desktop\\" + name + ".lnk");
  }
  EraseOutcome RemoveProgramsLink(const std::string& group, const std::string& name) override {
    return Remove("Programs\\" + group + "\\" + name + ".lnk");
  }
  EraseOutcome RemoveProgramsGroup(const std::string& group) override {
    const std::string id = Fold("Programs\\" + group);
    log_.push_back("rmgroup " + id);
    if (!items.count(id)) return EraseOutcome::kAbsent;
    if (std::any_of(items.begin(), items.end(),
                    [&](const std::string& item) { return item.starts_with(id + "\\"); }))
      return EraseOutcome::kKept;
    items.erase(id);
    return EraseOutcome::kRemoved;
  }

private:
  EraseOutcome Remove(const std::string& item) {
    log_.push_back("unlink " + item);
    return items.erase(Fold(item)) ? EraseOutcome::kRemoved : EraseOutcome::kAbsent;
  }
  Log& log_;
};

// The fake file system of the other tests, with files held open (they
// cannot be deleted) and the shared log.
class HeldFiles final : public base::FileSystem {
public:
  explicit HeldFiles(Log& log) : log_(log) {}
  testing_support::FakeFileSystem inner;
  std::set<std::string> held;

  bool FileExists(const std::string& path) override { return inner.FileExists(path); }
  bool DirectoryExists(const std::string& path) override { return inner.DirectoryExists(path); }
  bool MakeDirectory(const std::string& path) override { return inner.MakeDirectory(path); }
  bool RemoveEmptyDirectory(const std::string& path) override {
    log_.push_back("rmdir " + path);
    return inner.RemoveEmptyDirectory(path);
  }
  bool RemoveFile(const std::string& path) override {
    log_.push_back("delete " + path);
    return !held.count(path) && inner.RemoveFile(path);
  }
  base::Bytes ReadWholeFile(const std::string& path) override { return inner.ReadWholeFile(path); }
  void WriteWholeFile(const std::string& path, base::ByteView data) override {
    inner.WriteWholeFile(path, data);
  }

private:
  Log& log_;
};

class LineLog final : public installer::InstallLog {
public:
  Log lines;
  void Line(const std::string& text) override { lines.push_back(text); }
};

// Everything the fakes hold, for comparing the system before and after.
struct Snapshot {
  std::map<std::string, base::Bytes> files;
  std::set<std::string> folders;
  std::map<std::string, FakeRegistry::Values> keys;
  std::set<std::string> shell;
  bool operator==(const Snapshot&) const = default;
};

void PrintTo(const Snapshot& s, std::ostream* os) {
  for (const auto& [path, bytes] : s.files) *os << "\n  file " << path;
  for (const std::string& folder : s.folders) *os << "\n  folder " << folder;
  for (const auto& [key, values] : s.keys) {
    *os << "\n  key " << key;
    for (const auto& [name, value] : values) *os << " " << name << "=" << value;
  }
  for (const std::string& item : s.shell) *os << "\n  shell " << item;
}

const std::string kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class UninstallRunTest : public ::testing::Test {
protected:
  void SetUp() override {
    fs.inner.folders = {"C:\\"};
    // What the machine holds already: other programs' entries and the
    // user's own link.
    registry.Set(RegistryRoot::kLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                 "Other", "sz:other.exe");
    registry.Set(RegistryRoot::kLocalMachine, kUninstallKey + "\\Other", "DisplayName", "sz:Other");
    registry.Set(RegistryRoot::kCurrentUser, "Software\\Microsoft", "Kept", "dword:1");
    shell.items.insert(Fold("Desktop\\Mine.lnk"));

    r->ProductName.Assign(product);
    r->ShortName.Assign("Prod");
    r->PublisherKey.Assign("Vanto");
    r->Author.Assign("Au");
    r->WebSite.Assign("http://vanto.example");
    r->Version.Assign("V1");
    r->Date1.Assign("20240225");
    r->InstallDir.Assign("C:\\Proposed by the builder");
    AddFile("\\App.exe", "program");
    AddFile("\\docs\\a.txt", "alpha");
    AddFile("\\docs\\sub\\b.txt", "beta");
    AddFile("\\*.txt", "");  // a pattern: nothing is written for it
    AddFile("\\Uninstall.exe", "uninstaller").Flag1 = installer::kOwnUninstallerMark;
    AddShortcut("App", 0, installer::kDesktopAndPrograms);
    AddShortcut(Gbk(u8"说明"), 1, installer::kProgramsOnly);
    AddValue(true, "Software\\Vanto\\Prod", "FirstRun", installer::kRegBool);
    AddValue(true, "Window", "Left", installer::kRegInteger);  // below the key before
    AddValue(false, "\\Software\\Vanto\\Prod\\Paths", "Home", installer::kRegString);
    AddValue(false, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Prod",
             installer::kRegString);
    AddValue(false, "\\Software\\Vanto\\Prod\\Empty", "Nothing", 9);  // a key, no value
  }

  installer::TSetupFileEntry& AddFile(const std::string& name, const std::string& bytes) {
    auto& f = r->Files[r->FileCount++];
    f.Name.Assign(name);
    f.Offset = static_cast<std::uint32_t>(package.size());
    f.Size = static_cast<std::uint32_t>(bytes.size());
    package.insert(package.end(), bytes.begin(), bytes.end());
    return f;
  }
  void AddShortcut(const std::string& name, int file, std::uint8_t location) {
    auto& s = r->Shortcuts[r->ShortcutCount++];
    s.Name.Assign(name);
    s.FileIndex = file;
    s.Location = location;
  }
  void AddValue(bool current_user, const std::string& key, const std::string& name,
                std::uint8_t kind) {
    auto& v = r->RegValues[r->RegValueCount++];
    v.CurrentUser = current_user ? 1 : 0;
    v.KeyPath.Assign(key);
    v.ValueName.Assign(name);
    v.Kind = kind;
    v.StrValue.Assign("text");
    v.IntValue = 3;
    v.BoolValue = 1;
  }

  // The wizard's way: the folder page makes the folder, the record gets the
  // chosen folder, the engine runs.
  void Install() {
    installer::MemoryResourceSource resources;
    resources.Set(installer::kSetupIniName, installer::PackBlock(installer::RecordBytes(*r)));
    auto chosen = std::make_unique<installer::TSetupRecord>(*r);
    chosen->InstallDir.Assign(kFolder);
    ASSERT_TRUE(fs.MakeDirectory(kFolder));
    base::MemoryStream stream{base::ByteView(package)};
    installer::SilentInstallView view;
    installer::InstallationState state;
    installer::InstallationContext context{
        *chosen,  stream, resources, "\\Software\\Vanto", "\\Software\\Vanto\\Prod", fs,
        registry, shell,  view};
    installer::RunInstallation(context, state);
    ASSERT_TRUE(state.FailedFiles.empty());
  }

  // The uninstaller's way: the record copy from the folder it runs in, the
  // plan, the run; then what the clean-up batch does once it has ended.
  uninstaller::UninstallResult Uninstall() {
    log.clear();
    auto record = uninstaller::ReadInstalledRecord(fs, std::string(kFolder) + "\\V_an.cx");
    const uninstaller::UninstallPlan plan =
        uninstaller::MakeUninstallPlan(*record, std::string(kFolder) + "\\", "Uninstall.exe");
    uninstaller::UninstallResult result =
        uninstaller::RunUninstall(plan, {fs, registry, shell, &lines});
    fs.inner.RemoveFile(plan.own_program);
    fs.inner.RemoveEmptyDirectory(plan.install_folder);
    return result;
  }

  Snapshot Take() const { return {fs.inner.files, fs.inner.folders, registry.keys, shell.items}; }

  static constexpr char kFolder[] = "C:\\App";
  const std::string product = Gbk(u8"墨柘 Prod");
  std::unique_ptr<installer::TSetupRecord> r = std::make_unique<installer::TSetupRecord>();
  base::Bytes package;
  Log log;
  HeldFiles fs{log};
  FakeRegistry registry{log};
  FakeShell shell{log};
  LineLog lines;
};

TEST_F(UninstallRunTest, LeavesTheMachineAsItWasBeforeTheInstallation) {
  const Snapshot before = Take();
  Install();
  ASSERT_NE(Take(), before);
  ASSERT_TRUE(registry.Has(RegistryRoot::kCurrentUser, "Software\\Vanto\\Prod\\Window"));
  ASSERT_TRUE(registry.Has(RegistryRoot::kLocalMachine, "Software\\Vanto\\Prod\\Empty"));

  const uninstaller::UninstallResult result = Uninstall();
  EXPECT_EQ(Take(), before);
  EXPECT_EQ(result.failed, Names{});
  // The install folder holds the uninstaller until the clean-up.
  EXPECT_EQ(result.kept_folders, Names{kFolder});
}

TEST_F(UninstallRunTest, AnotherProductOfThePublisherKeepsThePublishersKeyAndItsValues) {
  registry.Set(RegistryRoot::kLocalMachine, "Software\\Vanto", "Site", "sz:http://vanto.example");
  registry.Set(RegistryRoot::kLocalMachine, "Software\\Vanto", "Author", "sz:Au");
  registry.Set(RegistryRoot::kLocalMachine, "Software\\Vanto\\Second", "Version", "sz:V9");
  const Snapshot before = Take();
  Install();
  Uninstall();
  EXPECT_EQ(Take(), before);
}

TEST_F(UninstallRunTest, WhatOthersLeftInTheProductsPlacesStaysWithThoseKeysAndFolders) {
  Install();
  fs.inner.files["C:\\App\\notes.txt"] = {'n'};
  fs.inner.files["C:\\App\\docs\\sub\\mine.txt"] = {'m'};
  registry.Set(RegistryRoot::kLocalMachine, "Software\\Vanto\\Prod", "Cache", "sz:x");
  registry.Set(RegistryRoot::kCurrentUser, "Software\\Vanto\\Prod\\Window\\Size", "W", "dword:9");
  shell.items.insert(Fold("Programs\\" + product + "\\Mine.lnk"));

  const uninstaller::UninstallResult result = Uninstall();
  EXPECT_EQ(result.failed, Names{}) << "what is kept is no error";
  EXPECT_EQ(result.kept_folders, (Names{"C:\\App\\docs\\sub", "C:\\App\\docs", "C:\\App"}));
  // The user's files alone are left.
  EXPECT_EQ(fs.inner.files.size(), 2u);
  EXPECT_TRUE(fs.inner.files.count("C:\\App\\notes.txt"));
  EXPECT_TRUE(fs.inner.files.count("C:\\App\\docs\\sub\\mine.txt"));
  // The product key without the installation's values; the per-user keys
  // down to what another program put below them.
  EXPECT_EQ(registry.ValuesOf(RegistryRoot::kLocalMachine, "Software\\Vanto\\Prod"),
            (FakeRegistry::Values{{"Cache", "sz:x"}}));
  EXPECT_TRUE(
      registry.ValuesOf(RegistryRoot::kCurrentUser, "Software\\Vanto\\Prod\\Window").empty());
  EXPECT_TRUE(registry.Has(RegistryRoot::kCurrentUser, "Software\\Vanto\\Prod\\Window\\Size"));
  // The publisher key keeps Site and Author while the product key stays.
  EXPECT_EQ(registry.ValuesOf(RegistryRoot::kLocalMachine, "Software\\Vanto").size(), 2u);
  EXPECT_FALSE(registry.Has(RegistryRoot::kLocalMachine, "Software\\Vanto\\Prod\\Paths"));
  EXPECT_FALSE(registry.Has(RegistryRoot::kLocalMachine, kUninstallKey + "\\" + product));
  // The Programs group keeps the user's link, and only that.
  EXPECT_EQ(shell.items,
            (std::set<std::string>{Fold("Desktop\\Mine.lnk"), Fold("Programs\\" + product),
                                   Fold("Programs\\" + product + "\\Mine.lnk")}));
}

TEST_F(UninstallRunTest, AFileHeldOpenAndAKeyThatCannotGoAreErrorsAndTheRestGoesOn) {
  const Snapshot before = Take();
  Install();
  fs.held.insert("C:\\App\\docs\\a.txt");
  registry.refused.insert(Fold("HKLM\\Software\\Vanto\\Prod\\Paths"));

  const uninstaller::UninstallResult result = Uninstall();
  EXPECT_EQ(result.failed, (Names{"C:\\App\\docs\\a.txt", "HKLM\\Software\\Vanto\\Prod\\Paths"}));
  EXPECT_EQ(result.kept_folders, (Names{"C:\\App\\docs", "C:\\App"}));
  EXPECT_TRUE(std::find(lines.lines.begin(), lines.lines.end(),
                        "FAILED file C:\\App\\docs\\a.txt: it cannot be removed") !=
              lines.lines.end());

  // Everything else went, the files after the held one included.
  Snapshot after = Take();
  EXPECT_EQ(after.files.size(), 1u);
  EXPECT_FALSE(after.files.count("C:\\App\\docs\\sub\\b.txt"));
  EXPECT_FALSE(after.folders.count("C:\\App\\docs\\sub"));
  after.files.clear();
  after.folders.erase("C:\\App");
  after.folders.erase("C:\\App\\docs");
  // The key that stayed holds up its parents; the rest is as before.
  EXPECT_TRUE(registry.Has(RegistryRoot::kLocalMachine, "Software\\Vanto\\Prod\\Paths"));
  std::erase_if(after.keys,
                [](const auto& k) { return k.first.starts_with("HKLM\\SOFTWARE\\VANTO"); });
  EXPECT_EQ(after, before);
}

// Links first, so that nothing starts the product while it goes; the record
// copy after the registry, the folders after it, and the uninstall entry
// last, so that a run cut short is offered again by the system's list.
TEST_F(UninstallRunTest, StepsRunInTheirOrder) {
  Install();
  Uninstall();
  Log kinds;
  for (const std::string& entry : log) {
    std::string kind = entry.substr(0, entry.find(' '));
    if (entry.ends_with("V_an.cx")) kind = "delete record copy";
    if (entry.starts_with("erase")) kind = entry.starts_with("erase tree") ? "tree" : "erase";
    if (kinds.empty() || kinds.back() != kind) kinds.push_back(kind);
  }
  EXPECT_EQ(kinds,
            (Log{"unlink", "rmgroup", "delete", "erase", "delete record copy", "rmdir", "tree"}));
}

}  // namespace
