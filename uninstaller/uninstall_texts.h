#pragma once
// The uninstaller's own texts, as the GBK bytes it shows. They are written
// in uninstall_texts.cpp.in as UTF-8 and turned into GBK when it is built.
// A %s stands for the product's name or a path, as each says.
namespace uninstaller::texts {

// Caption of every message box: the product's name followed by the suffix,
// or the caption alone while no product is known.
extern const char kCaptionSuffix[];
extern const char kCaption[];

// The one question before anything is removed (%s: the product).
extern const char kConfirmQuestion[];

// Nothing was removed: the record copy (%s) cannot be used, followed by a
// blank line and the reason; the own folder (%s) has no GBK form; the log
// file (%s) cannot be created.
extern const char kRecordUnreadable[];
extern const char kUnusableOwnFolder[];
extern const char kLogUnwritable[];

// The end (%s: the product). With errors, the items that stayed follow, one
// a line, at most kListedItems of them, then kMoreItems (%s: how many more).
extern const char kDone[];
extern const char kDoneWithErrors[];
extern const char kMoreItems[];
inline constexpr int kListedItems = 10;
// The install folder (%s) stays because files that are not the product's
// are left in it.
extern const char kFolderKept[];

// An error nobody foresaw (%s: its text).
extern const char kUnexpectedError[];

// The switches and the exit codes, for /? and a command line that is wrong.
extern const char kSwitchesHelp[];

}  // namespace uninstaller::texts
