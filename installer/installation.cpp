#include "installer/installation.h"

#include <exception>

#include "base/error.h"
#include "installer/file_name_rules.h"
#include "installer/record_file.h"
#include "installer/setup_package.h"
#include "installer/shell_paths.h"
#include "installer/texts.h"

namespace installer {
namespace {

using Label = InstallView::Label;

// The file label shows at most this many bytes of a path.
constexpr std::size_t kFileLabelLimit = 40;

void ShowStep(InstallView& view, const std::string& text) {
  view.SetLabelText(Label::kStep, text);
  view.RepaintLabel(Label::kStep);
}

// Everything before the path's last backslash. A trail byte 0x5C inside a
// Chinese character is not one.
std::string FolderPart(const std::string& path) {
  std::size_t last = RPos("\\", path);
  return last == 0 ? std::string() : path.substr(0, last - 1);
}

// Replaces the file at path by the entry's bytes. Each step throws on
// failure, so a file that cannot be removed is never written over halfway.
void WriteOneFile(const InstallationContext& c, const TSetupFileEntry& entry,
                  const std::string& path) {
  if (c.fs.FileExists(path) && !c.fs.RemoveFile(path))
    throw base::Error("Cannot delete file \"" + path + "\"");
  // The file's bytes straight from the package in memory, in one write:
  // copying them into a buffer of their own first would only cost time.
  c.fs.WriteWholeFile(path, PackageFileBytes(c.package, entry));
}

void InstallFiles(const InstallationContext& c, InstallationState& state) {
  const TSetupRecord& r = c.record;
  const std::string install_dir = r.InstallDir.Value();
  const int count = UsedEntries(r.FileCount);
  for (int i = 0; i < count; ++i) {
    const TSetupFileEntry& entry = r.Files[i];
    const std::string path = install_dir + entry.Name.Value();
    // A pattern such as \*.txt is not a file.
    if (path.find("*.") != std::string::npos) continue;
    if (!ForceFolders(c.fs, FolderPart(path))) continue;

    c.view.SetLabelText(Label::kFileName, ShortenPath(path, kFileLabelLimit));
    c.view.SetLabelWidth(Label::kFileName, kCopyLabelWidth);
    c.view.RepaintLabel(Label::kFileName);

    try {
      WriteOneFile(c, entry, path);
      LogLine(c.log, "File " + path + " (" + std::to_string(entry.Size) + " bytes)");
    } catch (const std::exception& e) {
      // One box per file and the next file follows: a locked file should
      // not cost the user the rest of the product.
      state.FailedFiles.push_back(path);
      LogLine(c.log, "FAILED file " + path + ": " + e.what());
      c.view.ShowFileError(texts::kFileErrorMessage + path);
    }

    c.view.SetProgressColour(kCopyProgressColour);
    c.view.SetProgressPosition(i * 100 / count);
  }
}

// What the next start reads to offer this installation, written before any
// file: an installation cut short (the process killed, the machine off)
// is then found again, and running the installer once more completes it.
void RecordInstallationStart(const InstallationContext& c, RegistryWriter& reg) {
  reg.SelectRoot(RegistryRoot::kLocalMachine);
  reg.OpenKey(c.product_reg_key);
  reg.WriteInteger("Setup", 1);
  reg.WriteString("Folder", c.record.InstallDir.Value());
  reg.CloseKey();
}

void WriteProductKeys(const InstallationContext& c, RegistryWriter& reg) {
  const TSetupRecord& r = c.record;
  const std::string install_dir = r.InstallDir.Value();
  reg.SelectRoot(RegistryRoot::kLocalMachine);

  reg.OpenKey(c.publisher_reg_key);
  reg.WriteString("Site", r.WebSite.Value());
  reg.WriteString("Author", r.Author.Value());
  reg.CloseKey();

  reg.OpenKey(c.product_reg_key);
  reg.WriteInteger("Setup", 1);
  reg.WriteString("Version", r.Version.Value());
  reg.WriteString("Folder", install_dir);
  reg.WriteString("Date", r.Date1.Value());
  reg.CloseKey();

  reg.OpenKey(kUninstallKeyPrefix + r.ProductName.Value());
  reg.WriteString("DisplayName", r.ProductName.Value());
  // Quoted: Windows reads the value as a command line, and an unquoted path
  // under "C:\Program Files" would be tried as "C:\Program.exe" first.
  const std::string uninstaller = "\"" + install_dir + kUninstallerName + "\"";
  reg.WriteString("UninstallString", uninstaller);
  reg.WriteString("DisplayVersion", r.Version.Value());
  reg.WriteString("Publisher", r.Author.Value());
  reg.WriteString("InstallLocation", install_dir);
  const std::string icon = DisplayIconPath(r);
  if (!icon.empty()) reg.WriteString("DisplayIcon", install_dir + icon);
  reg.WriteInteger("EstimatedSize", static_cast<std::int32_t>(EstimatedSizeKb(r)));
  if (!r.WebSite.Value().empty()) reg.WriteString("URLInfoAbout", r.WebSite.Value());
  // The installer offers neither a change nor a repair: the list should not
  // show buttons for them.
  reg.WriteInteger("NoModify", 1);
  reg.WriteInteger("NoRepair", 1);
  if (CarriesOwnUninstaller(r)) reg.WriteString("QuietUninstallString", uninstaller + " /S");
  reg.CloseKey();
}

void WriteExtraValue(const TSetupRegValueEntry& v, RegistryWriter& reg) {
  reg.SelectRoot(v.CurrentUser ? RegistryRoot::kCurrentUser : RegistryRoot::kLocalMachine);
  if (!reg.OpenKey(v.KeyPath.Value())) return;
  const std::string name = v.ValueName.Value();
  switch (v.Kind) {
    case kRegBool: reg.WriteInteger(name, v.BoolValue); break;
    case kRegString: reg.WriteString(name, v.StrValue.Value()); break;
    case kRegInteger: reg.WriteInteger(name, v.IntValue); break;
    default: break;  // an unknown kind has nothing to write
  }
}

void WriteExtraValues(const TSetupRecord& r, RegistryWriter& reg) {
  const int count = UsedEntries(r.RegValueCount);
  for (int k = 0; k < count; ++k) {
    try {
      WriteExtraValue(r.RegValues[k], reg);
    } catch (const std::exception&) {
      // Extras are the product's own settings, not needed to run or remove
      // it; one that cannot be written is dropped without a word.
    }
  }
}

// Shortcuts as the log names them: "Programs\group\name.lnk" or
// "Desktop\name.lnk", with the program they start.
void LogShortcut(InstallLog* log, const std::string& where, const std::string& name,
                 const std::string& target) {
  LogLine(log, "Shortcut " + where + name + ".lnk -> " + target);
}

void CreateShortcuts(const InstallationContext& c) {
  const TSetupRecord& r = c.record;
  const std::string install_dir = r.InstallDir.Value();
  const std::string group = r.ProductName.Value();
  const int count = UsedEntries(r.ShortcutCount);
  for (int j = 0; j < count; ++j) {
    const TSetupShortcutEntry& s = r.Shortcuts[j];
    // Validation keeps targets inside the file table; this only keeps an
    // unchecked record from reading past it.
    if (s.FileIndex < 0 || s.FileIndex >= kTableSlots) continue;
    const std::string target = install_dir + r.Files[s.FileIndex].Name.Value();
    const std::string name = s.Name.Value();
    const std::string arguments = s.Arguments.Value();
    if (ShortcutInPrograms(s.Location)) {
      c.shortcuts.CreateProgramsShortcut(group, target, name, arguments);
      LogShortcut(c.log, "Programs\\" + group + "\\", name, target);
    }
    if (ShortcutOnDesktop(s.Location)) {
      c.shortcuts.CreateDesktopShortcut(target, name, arguments);
      LogShortcut(c.log, "Desktop\\", name, target);
    }
  }
  const std::string uninstall_link = texts::kUninstallLinkPrefix + group;
  c.shortcuts.CreateProgramsShortcut(group, install_dir + kUninstallerName, uninstall_link, "");
  LogShortcut(c.log, "Programs\\" + group + "\\", uninstall_link, install_dir + kUninstallerName);
}

bool EndsWithExe(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& ch : tail) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch + 32 : ch);
  return tail == ".exe";
}

}  // namespace

std::uint32_t EstimatedSizeKb(const TSetupRecord& record) {
  std::uint64_t bytes = 0;
  const int count = UsedEntries(record.FileCount);
  for (int i = 0; i < count; ++i)
    if (!IsSkippedFileEntry(record.Files[i])) bytes += record.Files[i].Size;
  return static_cast<std::uint32_t>((bytes + 1023) / 1024);
}

std::string DisplayIconPath(const TSetupRecord& record) {
  const int count = UsedEntries(record.ShortcutCount);
  for (int j = 0; j < count; ++j) {
    const std::int32_t index = record.Shortcuts[j].FileIndex;
    if (index < 0 || index >= UsedEntries(record.FileCount)) continue;
    const std::string name = record.Files[index].Name.Value();
    if (EndsWithExe(name)) return name;
  }
  return {};
}

bool CarriesOwnUninstaller(const TSetupRecord& record) {
  const std::string uninstaller = FileNameKey(kUninstallerName);
  const int count = UsedEntries(record.FileCount);
  for (int i = 0; i < count; ++i) {
    const TSetupFileEntry& e = record.Files[i];
    if (e.Flag1 == kOwnUninstallerMark && FileNameKey(e.Name.Value()) == uninstaller) return true;
  }
  return false;
}

void RunInstallation(const InstallationContext& c, InstallationState& state) {
  state.InstallBusy = 1;
  c.view.SetLabelText(Label::kStep, texts::kCopyingFilesStep);
  c.view.SetLabelWidth(Label::kStep, kCopyLabelWidth);
  c.view.RepaintLabel(Label::kStep);

  LogLine(c.log, "Installing " + c.record.ProductName.Value() + " " + c.record.Version.Value() +
                    " into " + c.record.InstallDir.Value());
  {
    RegistryWriter reg(c.registry, c.log);
    RecordInstallationStart(c, reg);
  }
  InstallFiles(c, state);

  const std::string record_copy = c.record.InstallDir.Value() + "\\" + kInstalledRecordFileName;
  try {
    SaveSetupIni(c.resources, c.fs, record_copy);
  } catch (const std::exception& e) {
    LogLine(c.log, "FAILED file " + record_copy + ": " + e.what());
    throw;
  }
  LogLine(c.log, "File " + record_copy);

  ShowStep(c.view, texts::kRegisteringStep);
  c.view.HideLabel(Label::kFileName);
  c.view.RepaintLabel(Label::kFileName);

  {
    RegistryWriter reg(c.registry, c.log);
    WriteProductKeys(c, reg);
    WriteExtraValues(c.record, reg);
  }  // the last extra value's key is closed before the shortcuts

  ShowStep(c.view, texts::kCreatingShortcutsStep);
  CreateShortcuts(c);

  state.InstallBusy = 0;
  c.view.HideLabel(Label::kHeader8);
  c.view.HideLabel(Label::kHeader12);
}

}  // namespace installer
