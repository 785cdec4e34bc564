#pragma once
// The installer's own texts, as the GBK bytes it shows. They are written in
// texts.cpp.in as UTF-8 and turned into GBK when it is built.
namespace installer::texts {

// Caption of every message box the installer shows (with its leading space).
extern const char kMessageCaption[];
// Appended to the product's name for the window title.
extern const char kWizardTitleSuffix[];
// The question when the package checksum does not match.
extern const char kChecksumQuestion[];

// The copying page's step label, one text per stage of the installation.
extern const char kCopyingFilesStep[];
extern const char kRegisteringStep[];
extern const char kCreatingShortcutsStep[];
// Shown, followed directly by the file's installed path, when one file
// cannot be written.
extern const char kFileErrorMessage[];
// Put before the product's name to name the uninstaller's link.
extern const char kUninstallLinkPrefix[];

// The finish page's header and subtitle when files could not be written
// (%s: how many), in place of the texts that call the work complete.
extern const char kIncompleteHeader[];
extern const char kIncompleteSubtitle[];

// A folder whose name GBK cannot write and that has no short name either;
// %s is the folder. The first when the user chose it, the second when it is
// the folder the installer was started from.
extern const char kUnusableFolder[];
extern const char kUnusableOwnFolder[];

}  // namespace installer::texts
