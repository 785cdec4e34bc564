#pragma once
// The installation behind Next on the confirmation page: the package's
// files into the target folder, the record's copy beside them, the product's
// registry entries, the shortcuts. Everything it touches comes through the
// seams below, so the whole routine runs in the native tests; on Windows the
// wizard hands it the system's file system, registry and shell.
#include <cstdint>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/memory_stream.h"
#include "installer/install_log.h"
#include "installer/registry.h"
#include "installer/resource_source.h"
#include "installer/setup_record.h"

namespace installer {

// The copying page as the installation drives it. The routine runs inside a
// click handler and the message loop does not turn meanwhile, so nothing
// set here is drawn until RepaintLabel, or until a message box runs its own
// loop.
class InstallView {
public:
  enum class Label {
    kStep,      // what the installation is doing (WorkLb)
    kFileName,  // the file being written (FNameLb)
    kHeader8,   // the page's two header labels (Label8 and Label12)
    kHeader12,
  };

  virtual ~InstallView() = default;
  virtual void SetLabelText(Label label, const std::string& text) = 0;
  virtual void SetLabelWidth(Label label, int pixels) = 0;
  virtual void HideLabel(Label label) = 0;
  // Draws the label as it now stands, at once.
  virtual void RepaintLabel(Label label) = 0;
  // The progress bar (range 0 to 100): the colour of its bar and of its
  // background brush (0x00BBGGRR), and its position.
  virtual void SetProgressColour(std::uint32_t colour) = 0;
  virtual void SetProgressPosition(int position) = 0;
  // A modal message box with texts::kMessageCaption, the information icon
  // and OK (flags 0x40); returns once the user has closed it.
  virtual void ShowFileError(const std::string& message) = 0;
};

// A view that shows nothing: unattended installations, tests and
// benchmarks. ShowFileError may be overridden to count what failed.
class SilentInstallView : public InstallView {
public:
  void SetLabelText(Label, const std::string&) override {}
  void SetLabelWidth(Label, int) override {}
  void HideLabel(Label) override {}
  void RepaintLabel(Label) override {}
  void SetProgressColour(std::uint32_t) override {}
  void SetProgressPosition(int) override {}
  void ShowFileError(const std::string&) override {}
};

// The shortcuts of the installation; the Windows one is the shell helpers'
// CreateDesktopShortcut and CreateProgramsShortcut, errors included.
class ShortcutMaker {
public:
  virtual ~ShortcutMaker() = default;
  virtual void CreateDesktopShortcut(const std::string& target, const std::string& name,
                                     const std::string& arguments) = 0;
  virtual void CreateProgramsShortcut(const std::string& group, const std::string& target,
                                      const std::string& name, const std::string& arguments) = 0;
};

// The wizard's state that the installation owns.
struct InstallationState {
  // 1 while the routine runs; left at 1 when a failure ends it early, so
  // the wizard knows it stopped halfway (Cancel stays inert).
  std::uint8_t InstallBusy = 0;
  // The installed paths of the files that could not be written, in table
  // order: the finish page must not call such an installation complete.
  std::vector<std::string> FailedFiles;
};

// What the installation reads and where it writes. All texts are GBK.
struct InstallationContext {
  const TSetupRecord& record;
  base::MemoryStream& package;      // unpacked; file i is Size bytes at Offset
  const ResourceSource& resources;  // SETUPINI, copied as stored
  std::string publisher_reg_key;    // "\Software\" + PublisherKey
  std::string product_reg_key;      // publisher key + "\" + ShortName
  base::FileSystem& fs;
  Registry& registry;
  ShortcutMaker& shortcuts;
  InstallView& view;
  InstallLog* log = nullptr;        // every step written, when there is one
};

// The uninstall entry's key below HKLM, and the uninstaller the entry and
// the Programs group's link start.
inline constexpr const char* kUninstallKeyPrefix =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr const char* kUninstallerName = "\\uninstall.exe";

// What the system's list of installed programs shows beside the name.
// EstimatedSize is the package's files in KB, rounded up. The icon is that
// of the first shortcut's program (.exe); none when no shortcut starts one.
// The quiet command is given only when the package carries our own
// uninstaller (kOwnUninstallerMark), which knows /S.
std::uint32_t EstimatedSizeKb(const TSetupRecord& record);
std::string DisplayIconPath(const TSetupRecord& record);
bool CarriesOwnUninstaller(const TSetupRecord& record);

// The copying page's bar colour: red 255, green 153, blue 0, as the bottom
// panel.
inline constexpr std::uint32_t kCopyProgressColour = 0x0099FF;
inline constexpr int kCopyLabelWidth = 300;

// Runs the installation. The product key's "Setup" and "Folder" come
// first, so a run that is killed halfway is offered as the earlier
// installation next time and can be completed. A file that cannot be
// written gets one message box, joins FailedFiles, and the next file follows; a shortcut folder that is not there is
// passed over; an extra registry value that cannot be written is ignored.
// Everything else that fails (the record copy, a value of the product's own
// keys, a Programs group that cannot be entered, no shell link object)
// throws base::Error, leaving what was done so far and InstallBusy at 1.
void RunInstallation(const InstallationContext& context, InstallationState& state);

}  // namespace installer
