#pragma once
// What an uninstallation removes, worked out from the installed record
// alone, before anything is touched: the same walk over the record that
// the installation made (installer/installation.cpp), so that exactly what
// it wrote is named, and nothing else. The plan is plain data; the
// executor (uninstall_run.h) carries it out through seams.
//
// Paths and names are GBK. Registry key paths are below their root, without
// a leading backslash ("Software\Vanto\VANTO-X").
#include <string>
#include <vector>

#include "installer/registry.h"
#include "installer/setup_record.h"

namespace uninstaller {

using installer::RegistryRoot;

struct RegistryKeyRef {
  RegistryRoot root;
  std::string path;
  bool operator==(const RegistryKeyRef&) const = default;
};

struct RegistryValueRef {
  RegistryRoot root;
  std::string key;
  std::string name;
  bool operator==(const RegistryValueRef&) const = default;
};

// A shell link the installation made: <Desktop>\name.lnk, or
// <Programs>\<group>\name.lnk.
struct LinkRef {
  enum Place { kDesktop, kPrograms };
  Place place;
  std::string name;  // without ".lnk"
  bool operator==(const LinkRef&) const = default;
};

struct UninstallPlan {
  std::string install_folder;  // without a trailing backslash
  // Record files that are not patterns, in table order.
  std::vector<std::string> files;
  // The record copy (V_an.cx) in the install folder, deleted after the
  // files: it is what the uninstaller reads, so a run cut short before it
  // can be started again.
  std::string record_copy;
  // The running uninstaller's own file, when the record lists it: it cannot
  // be deleted while it runs, so it is left for the clean-up after the end.
  std::string own_program;
  // The folders the file names imply, deepest first, then the install folder
  // itself (never a drive's root); removed only when empty.
  std::vector<std::string> folders;
  std::string programs_group;  // <Programs>\<ProductName>, removed when empty
  std::vector<LinkRef> links;  // in the order they were made; the uninstall link last

  // The record's extra values, in table order, each where RegistryWriter
  // opened its key.
  std::vector<RegistryValueRef> extra_values;
  // The keys of extra values that lie below the publisher's key (in either
  // root), with the keys between them and the publisher's key, deepest
  // first; the product's key is not among them. Removed when the values are
  // gone and nothing else is left in them. Key paths are compared as Windows
  // compares them: ASCII letters without case, empty components ignored.
  std::vector<RegistryKeyRef> extra_keys;
  // HKEY_CURRENT_USER\<publisher key>, when an extra value lies below it: the
  // per-user side of the publisher, removed when empty.
  bool user_publisher_key = false;

  std::string publisher_key;  // HKLM "Software\<PublisherKey>"
  std::string product_key;    // HKLM publisher key + "\<ShortName>"
  std::string uninstall_key;  // HKLM "...\CurrentVersion\Uninstall\<ProductName>"
};

// The values the installation writes into the publisher's and the product's
// keys.
inline constexpr const char* kPublisherValues[] = {"Site", "Author"};
inline constexpr const char* kProductValues[] = {"Setup", "Version", "Folder", "Date"};

// The plan for record (validated: installer::ValidateRecord found nothing)
// installed in install_folder (the folder that holds the record copy, with
// or without a trailing backslash). own_program_name is the file name of the
// running uninstaller ("Uninstall.exe"): a record file of that name directly
// in the install folder, compared as Windows compares names, becomes
// own_program instead of a file to delete now.
UninstallPlan MakeUninstallPlan(const installer::TSetupRecord& record,
                                const std::string& install_folder,
                                const std::string& own_program_name);

}  // namespace uninstaller
