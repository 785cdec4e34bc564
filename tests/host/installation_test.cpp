// The installation against recording fakes of every seam. All of them write
// into one log, so a case can pin not only what was done but in which order:
// the wizard shows progress between steps, and a failure must stop exactly
// where it stops.
#include "installer/installation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/error.h"
#include "installer/packed_block.h"
#include "installer/texts.h"
#include "tests/host/fake_file_system.h"
#include "tests/host/gbk_literal.h"

namespace {

using installer::InstallView;
using installer::RegistryRoot;
using Log = std::vector<std::string>;
using testing_support::Gbk;

const std::string kCheng = "\xD5\x5C";  // 誠: its trail byte is a backslash

// The fake file system of the other payload tests, with files that refuse
// to be deleted or written over (read-only or locked) and a shared log.
class RecordingFileSystem final : public base::FileSystem {
public:
  explicit RecordingFileSystem(Log& log) : log_(log) {}
  testing_support::FakeFileSystem inner;
  std::set<std::string> read_only_files;

  bool FileExists(const std::string& path) override { return inner.FileExists(path); }
  bool DirectoryExists(const std::string& path) override { return inner.DirectoryExists(path); }
  bool MakeDirectory(const std::string& path) override {
    log_.push_back("mkdir " + path);
    return inner.MakeDirectory(path);
  }
  bool RemoveEmptyDirectory(const std::string& path) override {
    log_.push_back("rmdir " + path);
    return inner.RemoveEmptyDirectory(path);
  }
  bool RemoveFile(const std::string& path) override {
    log_.push_back("delete " + path);
    return !read_only_files.count(path) && inner.RemoveFile(path);
  }
  base::Bytes ReadWholeFile(const std::string& path) override { return inner.ReadWholeFile(path); }
  void WriteWholeFile(const std::string& path, base::ByteView data) override {
    log_.push_back("write " + path);
    if (read_only_files.count(path)) throw base::Error("Cannot create file \"" + path + "\"");
    inner.WriteWholeFile(path, data);
  }

private:
  Log& log_;
};

// Keys are named by root and path ("HKCU\Software\X"); values read
// "sz:text" or "dword:n".
class FakeRegistry final : public installer::Registry {
public:
  explicit FakeRegistry(Log& log) : log_(log) {}
  std::map<std::string, std::map<std::string, std::string>> keys;
  std::set<std::string> refused_keys;    // can be neither opened nor created
  std::set<std::string> refused_values;  // value names whose writes fail

  std::unique_ptr<installer::RegistryKey> CreateKey(RegistryRoot root,
                                                    const std::string& path) override {
    return Open(root == RegistryRoot::kCurrentUser ? "HKCU" : "HKLM", path);
  }

  std::string Value(const std::string& key, const std::string& name) const {
    auto k = keys.find(key);
    if (k == keys.end()) return "(no key)";
    auto v = k->second.find(name);
    return v == k->second.end() ? "(no value)" : v->second;
  }

private:
  class Key final : public installer::RegistryKey {
  public:
    Key(FakeRegistry& owner, std::string id) : owner_(owner), id_(std::move(id)) {}
    ~Key() override { owner_.log_.push_back("close " + id_); }
    std::unique_ptr<installer::RegistryKey> CreateKey(const std::string& path) override {
      return owner_.Open(id_, path);
    }
    bool WriteString(const std::string& name, const std::string& value) override {
      return owner_.Set(id_, name, "sz:" + value);
    }
    bool WriteInteger(const std::string& name, std::int32_t value) override {
      return owner_.Set(id_, name, "dword:" + std::to_string(value));
    }

  private:
    FakeRegistry& owner_;
    std::string id_;
  };

  std::unique_ptr<installer::RegistryKey> Open(const std::string& base, const std::string& path) {
    std::string id = path.empty() ? base : base + "\\" + path;
    if (refused_keys.count(id)) {
      log_.push_back("refused " + id);
      return nullptr;
    }
    log_.push_back("open " + id);
    keys[id];
    return std::make_unique<Key>(*this, id);
  }
  bool Set(const std::string& id, const std::string& name, const std::string& value) {
    if (refused_values.count(name)) {
      log_.push_back("failed " + id + " " + name);
      return false;
    }
    log_.push_back("set " + id + " " + name + "=" + value);
    keys[id][name] = value;
    return true;
  }

  Log& log_;
};

class RecordingShortcuts final : public installer::ShortcutMaker {
public:
  explicit RecordingShortcuts(Log& log) : log_(log) {}
  std::string failing_name;  // a link of this name throws, as the shell helpers can

  void CreateDesktopShortcut(const std::string& target, const std::string& name,
                             const std::string& arguments) override {
    log_.push_back("desktop " + target + "|" + name + "|" + arguments);
    if (name == failing_name) throw base::Error("Shell link failure");
  }
  void CreateProgramsShortcut(const std::string& group, const std::string& target,
                              const std::string& name, const std::string& arguments) override {
    log_.push_back("programs " + group + "|" + target + "|" + name + "|" + arguments);
    if (name == failing_name) throw base::Error("File access denied");
  }

private:
  Log& log_;
};

// Also notes InstallBusy at every call, to show what the wizard would see.
class RecordingView final : public InstallView {
public:
  RecordingView(Log& log, const installer::InstallationState& state) : log_(log), state_(state) {}
  std::vector<int> busy_seen;

  void SetLabelText(Label label, const std::string& text) override {
    Note("text " + Name(label) + " " + text);
  }
  void SetLabelWidth(Label label, int pixels) override {
    Note("width " + Name(label) + " " + std::to_string(pixels));
  }
  void HideLabel(Label label) override { Note("hide " + Name(label)); }
  void RepaintLabel(Label label) override { Note("repaint " + Name(label)); }
  void SetProgressColour(std::uint32_t colour) override {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", colour);
    Note(std::string("colour ") + text);
  }
  void SetProgressPosition(int position) override {
    Note("position " + std::to_string(position));
  }
  void ShowFileError(const std::string& message) override { Note("message " + message); }

private:
  static std::string Name(Label label) {
    switch (label) {
      case Label::kStep: return "step";
      case Label::kFileName: return "file";
      case Label::kHeader8: return "header8";
      case Label::kHeader12: return "header12";
    }
    return "?";
  }
  void Note(const std::string& entry) {
    log_.push_back(entry);
    busy_seen.push_back(state_.InstallBusy);
  }

  Log& log_;
  const installer::InstallationState& state_;
};

class InstallationTest : public ::testing::Test {
protected:
  void SetUp() override {
    fs.inner.folders = {"C:\\", "C:\\App"};
    r->InstallDir.Assign("C:\\App");
    r->ProductName.Assign("Prod");
    r->WebSite.Assign("http://vanto.example");
    r->Author.Assign("Au");
    r->Version.Assign("V26.8");
    r->Date1.Assign("20240225");
  }

  // Appends a file to the package and to the file table.
  void AddFile(const std::string& name, const std::string& bytes) {
    auto& f = r->Files[r->FileCount++];
    f.Name.Assign(name);
    f.Offset = static_cast<std::uint32_t>(package_bytes.size());
    f.Size = static_cast<std::uint32_t>(bytes.size());
    package_bytes.insert(package_bytes.end(), bytes.begin(), bytes.end());
  }
  void AddShortcut(const std::string& name, int file, std::uint8_t location,
                   const std::string& arguments = "") {
    auto& s = r->Shortcuts[r->ShortcutCount++];
    s.Name.Assign(name);
    s.FileIndex = file;
    s.Location = location;
    s.Arguments.Assign(arguments);
  }
  installer::TSetupRegValueEntry& AddValue(bool current_user, const std::string& key,
                                           const std::string& name, std::uint8_t kind) {
    auto& v = r->RegValues[r->RegValueCount++];
    v.CurrentUser = current_user ? 1 : 0;
    v.KeyPath.Assign(key);
    v.ValueName.Assign(name);
    v.Kind = kind;
    return v;
  }

  void Run() {
    ini = installer::PackBlock(installer::RecordBytes(*r));
    resources.Set("SETUPINI", ini);
    base::MemoryStream package{base::ByteView(package_bytes)};
    installer::InstallationContext context{
        *r, package, resources, "\\Software\\Vanto", "\\Software\\Vanto\\Prod",
        fs, registry, shortcuts, view, install_log};
    installer::RunInstallation(context, state);
  }
  // The message of the error that ends the run.
  std::string RunExpectingError() {
    try {
      Run();
    } catch (const base::Error& e) {
      return e.what();
    }
    return "(no error)";
  }

  // The log entries that begin with prefix, in order.
  Log Entries(const std::string& prefix) const {
    Log out;
    for (const std::string& e : log)
      if (e.rfind(prefix, 0) == 0) out.push_back(e);
    return out;
  }
  bool Logged(const std::string& entry) const {
    return std::find(log.begin(), log.end(), entry) != log.end();
  }
  base::Bytes FileBytes(const std::string& path) const {
    auto it = fs.inner.files.find(path);
    return it == fs.inner.files.end() ? base::Bytes{0xEE, 0xEE} : it->second;
  }
  static base::Bytes B(const std::string& s) { return base::Bytes(s.begin(), s.end()); }

  std::unique_ptr<installer::TSetupRecord> r = std::make_unique<installer::TSetupRecord>();
  base::Bytes package_bytes;
  base::Bytes ini;
  installer::MemoryResourceSource resources;
  Log log;
  RecordingFileSystem fs{log};
  FakeRegistry registry{log};
  RecordingShortcuts shortcuts{log};
  installer::InstallationState state;
  RecordingView view{log, state};
  installer::InstallLog* install_log = nullptr;
};

// ---------------------------------------------------------------------------

TEST_F(InstallationTest, RunsItsStepsInOrder) {
  AddFile("\\a.txt", "abc");
  AddValue(true, "Software\\Vanto\\X", "N", installer::kRegString).StrValue.Assign("v");
  AddShortcut("A", 0, installer::kDesktopAndPrograms, "-x");

  Run();

  const Log expected = {
      "text step " + Gbk(u8"正在复制文件..."),
      "width step 300",
      "repaint step",
      // Recorded before any file, so a run cut short is found next time.
      "open HKLM\\Software\\Vanto\\Prod",
      "set HKLM\\Software\\Vanto\\Prod Setup=dword:1",
      "set HKLM\\Software\\Vanto\\Prod Folder=sz:C:\\App",
      "close HKLM\\Software\\Vanto\\Prod",
      "text file C:\\App\\a.txt",
      "width file 300",
      "repaint file",
      "write C:\\App\\a.txt",
      "colour 0099FF",
      "position 0",
      "write C:\\App\\V_an.cx",
      "text step " + Gbk(u8"正在注册相关信息..."),
      "repaint step",
      "hide file",
      "repaint file",
      "open HKLM\\Software\\Vanto",
      "set HKLM\\Software\\Vanto Site=sz:http://vanto.example",
      "set HKLM\\Software\\Vanto Author=sz:Au",
      "close HKLM\\Software\\Vanto",
      "open HKLM\\Software\\Vanto\\Prod",
      "set HKLM\\Software\\Vanto\\Prod Setup=dword:1",
      "set HKLM\\Software\\Vanto\\Prod Version=sz:V26.8",
      "set HKLM\\Software\\Vanto\\Prod Folder=sz:C:\\App",
      "set HKLM\\Software\\Vanto\\Prod Date=sz:20240225",
      "close HKLM\\Software\\Vanto\\Prod",
      "open HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Prod",
      "set HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Prod DisplayName=sz:Prod",
      "set HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Prod "
      "UninstallString=sz:\"C:\\App\\uninstall.exe\"",
      "set HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Prod "
      "DisplayVersion=sz:V26.8",
      "set HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Prod " "Publisher=sz:Au",
      "set HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Prod "
      "InstallLocation=sz:C:\\App",
      // 3 bytes are 1 KB; a.txt is no program, so the entry has no icon.
      "set HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Prod " "EstimatedSize=dword:1",
      "set HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Prod "
      "URLInfoAbout=sz:http://vanto.example",
      "set HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Prod " "NoModify=dword:1",
      "set HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Prod " "NoRepair=dword:1",
      "close HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Prod",
      "open HKCU\\Software\\Vanto\\X",
      "set HKCU\\Software\\Vanto\\X N=sz:v",
      "close HKCU\\Software\\Vanto\\X",
      "text step " + Gbk(u8"正在创建快捷方式..."),
      "repaint step",
      "programs Prod|C:\\App\\a.txt|A|-x",
      "desktop C:\\App\\a.txt|A|-x",
      "programs Prod|C:\\App\\uninstall.exe|" + Gbk(u8"卸载") + "Prod|",
      "hide header8",
      "hide header12",
  };
  EXPECT_EQ(log, expected);
  EXPECT_EQ(FileBytes("C:\\App\\a.txt"), B("abc"));
  EXPECT_EQ(FileBytes("C:\\App\\V_an.cx"), ini);  // the resource as stored

  // Busy from the first step to the last; the header labels go after it.
  std::vector<int> busy(view.busy_seen.size(), 1);
  busy[busy.size() - 2] = busy[busy.size() - 1] = 0;
  EXPECT_EQ(view.busy_seen, busy);
  EXPECT_EQ(state.InstallBusy, 0);
}

// ---------------------------------------------------------------------------
// Files

TEST_F(InstallationTest, NoFilesNorValuesStillLeaveRecordRegistryAndUninstallerLink) {
  Run();

  EXPECT_EQ(Entries("write "), Log{"write C:\\App\\V_an.cx"});
  EXPECT_TRUE(Entries("position ").empty());
  EXPECT_TRUE(Entries("text file").empty());
  // The product's own fifteen values (two of them first written before
  // the files; no icon without a shortcut), and no extra ones.
  EXPECT_EQ(Entries("set ").size(), 17u);
  EXPECT_EQ(registry.keys.size(), 3u);
  EXPECT_EQ(Entries("programs "),
            Log{"programs Prod|C:\\App\\uninstall.exe|" + Gbk(u8"卸载") + "Prod|"});
  EXPECT_EQ(state.InstallBusy, 0);
}

TEST_F(InstallationTest, MissingFoldersAreMadeFromTheTopDown) {
  AddFile("\\sub\\dir\\a.txt", "A");
  Run();
  ASSERT_EQ(Entries("mkdir ").size(), 2u);
  EXPECT_TRUE(Entries("mkdir ")[0].starts_with("mkdir C:\\App\\sub"));
  EXPECT_TRUE(Entries("mkdir ")[1].starts_with("mkdir C:\\App\\sub\\dir"));
  EXPECT_EQ(fs.inner.folders,
            (std::set<std::string>{"C:\\", "C:\\App", "C:\\App\\sub", "C:\\App\\sub\\dir"}));
  EXPECT_EQ(FileBytes("C:\\App\\sub\\dir\\a.txt"), B("A"));
}

// A backslash byte inside a Chinese character must not be taken for the
// last separator: the file's own name would become a folder to make.
TEST_F(InstallationTest, ChineseNamesSplitAtRealBackslashesOnly) {
  const std::string dir = "C:\\" + Gbk(u8"墨柘");
  fs.inner.folders.insert(dir);
  r->InstallDir.Assign(dir);
  AddFile("\\a" + kCheng, "1");
  AddFile("\\" + Gbk(u8"说明") + "\\b.txt", "2");

  Run();

  ASSERT_EQ(Entries("mkdir ").size(), 1u);
  EXPECT_TRUE(Entries("mkdir ")[0].starts_with("mkdir " + dir + "\\" + Gbk(u8"说明")));
  EXPECT_EQ(FileBytes(dir + "\\a" + kCheng), B("1"));
  EXPECT_EQ(FileBytes(dir + "\\" + Gbk(u8"说明") + "\\b.txt"), B("2"));
  EXPECT_TRUE(Entries("message ").empty());
}

TEST_F(InstallationTest, PatternEntryIsSkippedLeavingLabelAndBar) {
  AddFile("\\a.txt", "A");
  AddFile("\\*.txt", "P");
  AddFile("\\docs\\*.htm", "Q");
  AddFile("\\b.txt", "B");

  Run();

  EXPECT_EQ(Entries("text file"), (Log{"text file C:\\App\\a.txt", "text file C:\\App\\b.txt"}));
  EXPECT_EQ(Entries("position "), (Log{"position 0", "position 75"}));
  EXPECT_TRUE(Entries("mkdir ").empty());
  EXPECT_EQ(Entries("write "),
            (Log{"write C:\\App\\a.txt", "write C:\\App\\b.txt", "write C:\\App\\V_an.cx"}));
}

TEST_F(InstallationTest, SixFilesMoveTheBarInSixthsWithoutReaching100) {
  for (int i = 0; i < 6; ++i) AddFile("\\f" + std::to_string(i), std::string(i, 'x'));
  Run();
  EXPECT_EQ(Entries("position "), (Log{"position 0", "position 16", "position 33", "position 50",
                                       "position 66", "position 83"}));
  EXPECT_EQ(Entries("colour "), Log(6, "colour 0099FF"));
}

TEST_F(InstallationTest, LongPathIsShortenedOnTheLabel) {
  r->InstallDir.Assign("C:\\Program Files\\Some Vendor\\Product");
  AddFile("\\bin\\tool.exe", "T");
  Run();
  EXPECT_EQ(Entries("text file"), Log{"text file C:\\...\\tool.exe"});
  EXPECT_EQ(FileBytes("C:\\Program Files\\Some Vendor\\Product\\bin\\tool.exe"), B("T"));
}

TEST_F(InstallationTest, ExistingFileIsReplacedAndEmptyFileIsMade) {
  fs.inner.files["C:\\App\\a.txt"] = B("old contents");
  AddFile("\\a.txt", "new");
  AddFile("\\empty.dat", "");
  Run();
  EXPECT_EQ(FileBytes("C:\\App\\a.txt"), B("new"));
  ASSERT_EQ(fs.inner.files.count("C:\\App\\empty.dat"), 1u);
  EXPECT_TRUE(FileBytes("C:\\App\\empty.dat").empty());
  EXPECT_TRUE(Entries("message ").empty());
}

TEST_F(InstallationTest, ReadOnlyFileGetsOneMessageStaysAndTheRestFollow) {
  fs.inner.files["C:\\App\\b.txt"] = B("kept");
  fs.read_only_files = {"C:\\App\\b.txt"};
  AddFile("\\a.txt", "A");
  AddFile("\\b.txt", "B");
  AddFile("\\c.txt", "C");

  Run();

  EXPECT_EQ(Entries("message "),
            Log{"message " + Gbk(u8"安装下列文件时发生错误，\r\n建议重新启动后再次安装!\r\n") +
                "C:\\App\\b.txt"});
  EXPECT_EQ(FileBytes("C:\\App\\b.txt"), B("kept"));
  EXPECT_FALSE(Logged("write C:\\App\\b.txt")) << "written after it could not be deleted";
  EXPECT_EQ(FileBytes("C:\\App\\a.txt"), B("A"));
  EXPECT_EQ(FileBytes("C:\\App\\c.txt"), B("C"));
  EXPECT_EQ(state.FailedFiles, std::vector<std::string>{"C:\\App\\b.txt"});
  // The bar moves for the failed file too, after its message.
  const Log tail(std::find(log.begin(), log.end(), Entries("message ")[0]), log.end());
  EXPECT_EQ(Log(tail.begin() + 1, tail.begin() + 3), (Log{"colour 0099FF", "position 33"}));
  EXPECT_EQ(state.InstallBusy, 0);
}

TEST_F(InstallationTest, FileThatCannotBeCreatedGetsTheMessage) {
  fs.read_only_files = {"C:\\App\\a.txt"};  // not there yet, but cannot be made
  AddFile("\\a.txt", "A");
  Run();
  EXPECT_EQ(Entries("message ").size(), 1u);
  EXPECT_EQ(fs.inner.files.count("C:\\App\\a.txt"), 0u);
}

TEST_F(InstallationTest, FolderThatCannotBeMadeSkipsTheEntrySilently) {
  fs.inner.folders.insert("C:\\App\\ro");
  fs.inner.read_only_folders = {"C:\\App\\ro"};
  AddFile("\\ro\\sub\\a.txt", "A");
  AddFile("\\b.txt", "B");

  Run();

  EXPECT_EQ(Entries("mkdir "), Log{"mkdir C:\\App\\ro\\sub"});
  EXPECT_TRUE(Entries("message ").empty());
  EXPECT_EQ(Entries("text file"), Log{"text file C:\\App\\b.txt"});
  EXPECT_EQ(Entries("position "), Log{"position 50"});
}

// Validation refuses such records; should one get through, the package is
// still never read past its end.
TEST_F(InstallationTest, EntryPastThePackageEndIsAFailedFile) {
  AddFile("\\a.txt", "AAAA");
  r->Files[0].Size = 7;  // the package holds 6 bytes
  AddFile("\\b.txt", "B");
  r->Files[1].Offset = 0xFFFFFFFF;
  AddFile("\\c.txt", "C");
  Run();
  EXPECT_EQ(Entries("message ").size(), 2u);
  EXPECT_EQ(fs.inner.files.count("C:\\App\\a.txt"), 0u);
  EXPECT_EQ(fs.inner.files.count("C:\\App\\b.txt"), 0u);
  EXPECT_EQ(FileBytes("C:\\App\\c.txt"), B("C"));
}

// ---------------------------------------------------------------------------
// The record copy

TEST_F(InstallationTest, RecordCopyThatCannotBeWrittenEndsTheRunBusy) {
  fs.read_only_files = {"C:\\App\\V_an.cx"};
  AddFile("\\a.txt", "A");

  EXPECT_EQ(RunExpectingError(), "Cannot create file \"C:\\App\\V_an.cx\"");

  EXPECT_EQ(state.InstallBusy, 1);
  EXPECT_EQ(FileBytes("C:\\App\\a.txt"), B("A"));  // not rolled back
  EXPECT_EQ(log.back(), "write C:\\App\\V_an.cx");
  EXPECT_TRUE(Entries("message ").empty());
}

// ---------------------------------------------------------------------------
// The registry

TEST_F(InstallationTest, ExtraValuesByKindAndRoot) {
  AddValue(false, "\\Software\\V", "Flag", installer::kRegBool).BoolValue = 1;
  AddValue(false, "\\Software\\V", "Off", installer::kRegBool).BoolValue = 0;
  AddValue(true, "\\Software\\V", "Text", installer::kRegString).StrValue.Assign(Gbk(u8"墨柘"));
  AddValue(true, "\\Software\\V", "Count", installer::kRegInteger).IntValue = -7;
  auto& unknown = AddValue(true, "\\Software\\V", "Nothing", 3);
  unknown.IntValue = 1;
  unknown.StrValue.Assign("x");

  Run();

  EXPECT_EQ(registry.keys["HKLM\\Software\\V"],
            (std::map<std::string, std::string>{{"Flag", "dword:1"}, {"Off", "dword:0"}}));
  EXPECT_EQ(registry.keys["HKCU\\Software\\V"],
            (std::map<std::string, std::string>{{"Text", "sz:" + Gbk(u8"墨柘")},
                                                {"Count", "dword:-7"}}));
  EXPECT_FALSE(Logged("set HKCU\\Software\\V Nothing=dword:1"));
}

// A relative path continues from the key that the last successful open of
// the same root left open; a leading backslash, a change of root, or no
// open key at all starts from the root.
TEST_F(InstallationTest, RelativeKeyPathsFollowTheCurrentKey) {
  AddValue(false, "Software\\First", "a", installer::kRegInteger).IntValue = 1;
  AddValue(true, "Software\\Vanto", "b", installer::kRegInteger).IntValue = 2;
  AddValue(true, "Sub", "c", installer::kRegInteger).IntValue = 3;
  AddValue(true, "\\Other", "d", installer::kRegInteger).IntValue = 4;
  AddValue(false, "Rel", "e", installer::kRegInteger).IntValue = 5;
  AddValue(false, "Deeper", "f", 3);
  AddValue(false, "", "g", installer::kRegInteger).IntValue = 7;

  Run();

  EXPECT_EQ(Entries("open HK"),
            (Log{"open HKLM\\Software\\Vanto\\Prod", "open HKLM\\Software\\Vanto",
                 "open HKLM\\Software\\Vanto\\Prod", "open HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Prod",
                 "open HKLM\\Software\\First", "open HKCU\\Software\\Vanto",
                 "open HKCU\\Software\\Vanto\\Sub", "open HKCU\\Other", "open HKLM\\Rel",
                 "open HKLM\\Rel\\Deeper", "open HKLM\\Rel\\Deeper"}));
  EXPECT_EQ(registry.Value("HKLM\\Software\\First", "a"), "dword:1");
  EXPECT_EQ(registry.Value("HKCU\\Software\\Vanto", "b"), "dword:2");
  EXPECT_EQ(registry.Value("HKCU\\Software\\Vanto\\Sub", "c"), "dword:3");
  EXPECT_EQ(registry.Value("HKCU\\Other", "d"), "dword:4");
  EXPECT_EQ(registry.Value("HKLM\\Rel", "e"), "dword:5");
  EXPECT_EQ(registry.keys["HKLM\\Rel\\Deeper"],
            (std::map<std::string, std::string>{{"g", "dword:7"}}));
}

TEST_F(InstallationTest, KeyThatCannotBeCreatedWritesNothingAndTheNextEntryRuns) {
  registry.refused_keys = {"HKCU\\Bad", "HKCU\\Software\\A\\Bad"};
  registry.refused_values = {"fails"};
  AddValue(true, "\\Bad", "x", installer::kRegInteger);
  AddValue(true, "Software\\A", "y", installer::kRegInteger).IntValue = 1;
  AddValue(true, "Bad", "z", installer::kRegInteger);
  // The failed open left Software\A current: a relative path continues there.
  AddValue(true, "Sub", "fails", installer::kRegInteger);
  AddValue(true, "", "w", installer::kRegInteger).IntValue = 2;

  Run();

  EXPECT_EQ(registry.keys.count("HKCU\\Bad"), 0u);
  EXPECT_EQ(registry.Value("HKCU\\Software\\A", "y"), "dword:1");
  EXPECT_EQ(registry.keys.count("HKCU\\Software\\A\\Bad"), 0u);
  EXPECT_TRUE(Logged("failed HKCU\\Software\\A\\Sub fails"));
  // A value that could not be set leaves its key open for the next entry.
  EXPECT_EQ(registry.Value("HKCU\\Software\\A\\Sub", "w"), "dword:2");
  EXPECT_EQ(Entries("set HKCU"), (Log{"set HKCU\\Software\\A y=dword:1",
                                      "set HKCU\\Software\\A\\Sub w=dword:2"}));
  EXPECT_EQ(state.InstallBusy, 0);
  EXPECT_EQ(Entries("programs ").size(), 1u);
}

TEST_F(InstallationTest, ProductKeyThatCannotBeCreatedEndsTheRunNamingItsFirstValue) {
  registry.refused_keys = {"HKLM\\Software\\Vanto\\Prod"};
  AddShortcut("A", 0, 0);
  AddFile("\\a.txt", "A");

  EXPECT_EQ(RunExpectingError(), "Failed to set data for 'Setup'");

  // The key is the first thing written, so nothing else was.
  EXPECT_EQ(state.InstallBusy, 1);
  EXPECT_EQ(log.back(), "refused HKLM\\Software\\Vanto\\Prod");
  EXPECT_TRUE(Entries("write ").empty());
  EXPECT_EQ(registry.Value("HKLM\\Software\\Vanto", "Author"), "(no key)");
  EXPECT_TRUE(Entries("desktop ").empty());
  EXPECT_FALSE(Logged("hide header8"));
}

TEST_F(InstallationTest, ValueOfTheProductsOwnKeysThatFailsEndsTheRun) {
  AddValue(true, "Software\\X", "extra", installer::kRegInteger);
  for (const std::string name : {"Author", "Folder", "UninstallString"}) {
    log.clear();
    registry.refused_values = {name};
    state.InstallBusy = 0;
    EXPECT_EQ(RunExpectingError(), "Failed to set data for '" + name + "'");
    EXPECT_EQ(state.InstallBusy, 1) << name;
    // The failed value is the last thing done; its key is closed as the
    // error leaves.
    ASSERT_GE(log.size(), 2u);
    EXPECT_TRUE(log.end()[-2].starts_with("failed ") && log.end()[-2].ends_with(" " + name))
        << log.end()[-2];
    EXPECT_TRUE(log.back().starts_with("close ")) << log.back();
    EXPECT_TRUE(Entries("open HKCU").empty()) << name;
    EXPECT_TRUE(Entries("programs ").empty()) << name;
  }
}

// ---------------------------------------------------------------------------
// Shortcuts

TEST_F(InstallationTest, ShortcutLocationsAndTheUninstallerLink) {
  AddFile("\\app.exe", "E");
  AddFile("\\readme.txt", "R");
  AddShortcut("Desk", 0, 0);
  AddShortcut("Group", 1, 1, "/r");
  AddShortcut("Both", 0, 2, "-a b");
  AddShortcut("Five", 1, 5);
  r->ProductName.Assign(Gbk(u8"墨柘"));

  Run();

  const std::string group = Gbk(u8"墨柘");
  const Log expected = {
      "desktop C:\\App\\app.exe|Desk|",
      "programs " + group + "|C:\\App\\readme.txt|Group|/r",
      "programs " + group + "|C:\\App\\app.exe|Both|-a b",
      "desktop C:\\App\\app.exe|Both|-a b",
      "programs " + group + "|C:\\App\\readme.txt|Five|",
      "desktop C:\\App\\readme.txt|Five|",
      "programs " + group + "|C:\\App\\uninstall.exe|" + Gbk(u8"卸载墨柘") + "|",
  };
  Log all;
  for (const std::string& e : log)
    if (e.rfind("desktop ", 0) == 0 || e.rfind("programs ", 0) == 0) all.push_back(e);
  EXPECT_EQ(all, expected);
}

TEST_F(InstallationTest, ShortcutErrorEndsTheRunBusy) {
  AddFile("\\app.exe", "E");
  AddShortcut("One", 0, 1);
  AddShortcut("Two", 0, 1);
  shortcuts.failing_name = "One";

  EXPECT_EQ(RunExpectingError(), "File access denied");

  EXPECT_EQ(state.InstallBusy, 1);
  EXPECT_EQ(log.back(), "programs Prod|C:\\App\\app.exe|One|");
  EXPECT_FALSE(Logged("hide header8"));
}

class LinesLog final : public installer::InstallLog {
public:
  void Line(const std::string& text) override { lines.push_back(text); }
  Log lines;
};

const std::string kUninstallEntry =
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Prod";

TEST_F(InstallationTest, UninstallEntryNamesIconSizeAndQuietCommandOfOurOwnUninstaller) {
  AddFile("\\readme.txt", std::string(1500, 'r'));
  AddFile("\\bin\\App.EXE", std::string(2000, 'e'));
  AddFile("\\*.txt", "");  // a pattern: no size of its own
  AddFile("\\Uninstall.exe", std::string(700, 'u'));
  r->Files[3].Flag1 = installer::kOwnUninstallerMark;
  AddShortcut("Readme", 0, 1);  // not a program: passed over for the icon
  AddShortcut("App", 1, 0);
  Run();

  EXPECT_EQ(registry.Value(kUninstallEntry, "DisplayIcon"), "sz:C:\\App\\bin\\App.EXE");
  EXPECT_EQ(registry.Value(kUninstallEntry, "EstimatedSize"), "dword:5");  // 4200 bytes
  EXPECT_EQ(registry.Value(kUninstallEntry, "QuietUninstallString"),
            "sz:\"C:\\App\\uninstall.exe\" /S");
  EXPECT_EQ(registry.Value(kUninstallEntry, "Publisher"), "sz:Au");
}

TEST_F(InstallationTest, AProductsOwnUninstallerGetsNoQuietCommandAndNoSiteNoLink) {
  AddFile("\\Uninstall.exe", "u");  // brought by the product: Flag1 0
  AddFile("\\other.exe", "o");
  r->Files[1].Flag1 = installer::kOwnUninstallerMark;  // the mark on another name counts not
  r->WebSite.Assign("");
  Run();

  EXPECT_EQ(registry.Value(kUninstallEntry, "QuietUninstallString"), "(no value)");
  EXPECT_EQ(registry.Value(kUninstallEntry, "URLInfoAbout"), "(no value)");
  EXPECT_EQ(registry.Value(kUninstallEntry, "DisplayIcon"), "(no value)");  // no shortcut
  EXPECT_EQ(registry.Value(kUninstallEntry, "EstimatedSize"), "dword:1");
  EXPECT_EQ(registry.Value(kUninstallEntry, "NoRepair"), "dword:1");
}

TEST_F(InstallationTest, LogNamesEveryFileKeyValueShortcutAndFailure) {
  LinesLog lines;
  install_log = &lines;
  AddFile("\\a.txt", "abc");
  AddFile("\\held.txt", "h");
  fs.read_only_files = {"C:\\App\\held.txt"};
  fs.inner.files["C:\\App\\held.txt"] = {};
  AddShortcut("A", 0, 2);
  AddValue(true, "\\Software\\Vanto\\X", "N", installer::kRegString).StrValue.Assign("v");
  registry.refused_keys = {"HKLM\\Software\\Refused"};
  AddValue(false, "\\Software\\Refused", "M", installer::kRegInteger);
  Run();

  auto has = [&](const std::string& line) {
    return std::find(lines.lines.begin(), lines.lines.end(), line) != lines.lines.end();
  };
  EXPECT_TRUE(has("File C:\\App\\a.txt (3 bytes)"));
  EXPECT_TRUE(has("File C:\\App\\V_an.cx"));
  EXPECT_TRUE(has("Key HKLM\\Software\\Vanto\\Prod"));
  EXPECT_TRUE(has("Value HKLM\\Software\\Vanto\\Prod\\Setup = 1"));
  EXPECT_TRUE(has("Value HKCU\\Software\\Vanto\\X\\N = \"v\""));
  EXPECT_TRUE(has("Value " + kUninstallEntry + "\\UninstallString = \"\"C:\\App\\uninstall.exe\"\""));
  EXPECT_TRUE(has("Shortcut Programs\\Prod\\A.lnk -> C:\\App\\a.txt"));
  EXPECT_TRUE(has("Shortcut Desktop\\A.lnk -> C:\\App\\a.txt"));
  EXPECT_TRUE(has("Shortcut Programs\\Prod\\" + Gbk(u8"卸载") + "Prod.lnk -> C:\\App\\uninstall.exe"));
  EXPECT_TRUE(has("FAILED key HKLM\\Software\\Refused: it can be neither opened nor created"));
  const auto failed = std::find_if(lines.lines.begin(), lines.lines.end(), [](const std::string& l) {
    return l.rfind("FAILED file C:\\App\\held.txt: ", 0) == 0;
  });
  EXPECT_NE(failed, lines.lines.end());
  EXPECT_FALSE(has("File C:\\App\\held.txt (1 bytes)"));
}

TEST(RegistryWriterPaths, RelativePathsComposeOnTheCurrentKeyAndRootPathsStartOver) {
  using installer::RegistryWriter;
  EXPECT_EQ(RegistryWriter::ResolvePath("", "\\Software\\A"), "Software\\A");
  EXPECT_EQ(RegistryWriter::ResolvePath("Software\\A", "B\\C"), "Software\\A\\B\\C");
  EXPECT_EQ(RegistryWriter::ResolvePath("Software\\A", "\\Software\\D"), "Software\\D");
  EXPECT_EQ(RegistryWriter::ResolvePath("", "Software\\E"), "Software\\E");
  EXPECT_EQ(RegistryWriter::ResolvePath("Software\\A", ""), "Software\\A");
}

}  // namespace

