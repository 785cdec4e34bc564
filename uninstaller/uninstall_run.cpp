#include "uninstaller/uninstall_run.h"

namespace uninstaller {
namespace {

using installer::LogLine;

std::string KeyName(RegistryRoot root, const std::string& key) {
  return std::string(installer::RootName(root)) + "\\" + key;
}

std::string ValueName(RegistryRoot root, const std::string& key, const std::string& name) {
  // The default value has no name; the log still shows where it was.
  return KeyName(root, key) + "\\" + (name.empty() ? "(default)" : name);
}

class Runner {
public:
  Runner(const UninstallPlan& plan, const UninstallSeams& seams) : plan_(plan), s_(seams) {}

  UninstallResult Run() {
    LogLine(s_.log, "Uninstalling " + plan_.programs_group + " from " + plan_.install_folder);
    RemoveLinks();
    for (const std::string& file : plan_.files) RemoveFile(file);
    if (!plan_.own_program.empty())
      LogLine(s_.log, "Left for the clean-up: " + plan_.own_program + ", the running uninstaller");
    RemoveExtraValues();
    RemoveProductKey();
    RemovePublisherKey();
    RemoveFile(plan_.record_copy);
    for (const std::string& folder : plan_.folders) RemoveFolder(folder);
    Outcome(s_.registry.DeleteKeyTree(RegistryRoot::kLocalMachine, plan_.uninstall_key), "key",
            KeyName(RegistryRoot::kLocalMachine, plan_.uninstall_key));
    LogLine(s_.log, result_.failed.empty()
                        ? std::string("Uninstalled")
                        : "Uninstalled with errors: " + std::to_string(result_.failed.size()) +
                              " items could not be removed");
    return std::move(result_);
  }

private:
  // Logs one step's outcome under what (file, folder, link, key, value) and
  // name; a failure joins the result.
  void Outcome(EraseOutcome outcome, const char* what, const std::string& name) {
    switch (outcome) {
      case EraseOutcome::kRemoved:
        LogLine(s_.log, std::string("Removed ") + what + " " + name);
        break;
      case EraseOutcome::kAbsent: LogLine(s_.log, std::string("No ") + what + " " + name); break;
      case EraseOutcome::kKept:
        LogLine(s_.log, std::string("Kept ") + what + " " + name + ": not empty");
        break;
      case EraseOutcome::kFailed:
        LogLine(s_.log, std::string("FAILED ") + what + " " + name + ": it cannot be removed");
        result_.failed.push_back(name);
        break;
    }
  }

  void RemoveLinks() {
    for (const LinkRef& link : plan_.links) {
      if (link.place == LinkRef::kDesktop)
        Outcome(s_.shortcuts.RemoveDesktopLink(link.name), "link",
                "Desktop\\" + link.name + ".lnk");
      else
        Outcome(s_.shortcuts.RemoveProgramsLink(plan_.programs_group, link.name), "link",
                "Programs\\" + plan_.programs_group + "\\" + link.name + ".lnk");
    }
    Outcome(s_.shortcuts.RemoveProgramsGroup(plan_.programs_group), "folder",
            "Programs\\" + plan_.programs_group);
  }

  void RemoveFile(const std::string& path) {
    if (!s_.fs.FileExists(path)) return Outcome(EraseOutcome::kAbsent, "file", path);
    // One that is held open stays; the files after it still go.
    Outcome(s_.fs.RemoveFile(path) ? EraseOutcome::kRemoved : EraseOutcome::kFailed, "file", path);
  }

  void RemoveFolder(const std::string& path) {
    if (!s_.fs.DirectoryExists(path)) return Outcome(EraseOutcome::kAbsent, "folder", path);
    if (s_.fs.RemoveEmptyDirectory(path)) return Outcome(EraseOutcome::kRemoved, "folder", path);
    // Whatever is left in it is not the product's: the user's, or a file
    // that could not be deleted, which is counted already.
    Outcome(EraseOutcome::kKept, "folder", path);
    result_.kept_folders.push_back(path);
  }

  void RemoveValue(RegistryRoot root, const std::string& key, const std::string& name) {
    Outcome(s_.registry.DeleteValue(root, key, name), "value", ValueName(root, key, name));
  }

  void RemoveEmptyKey(RegistryRoot root, const std::string& key) {
    Outcome(s_.registry.DeleteEmptyKey(root, key), "key", KeyName(root, key));
  }

  void RemoveExtraValues() {
    for (const RegistryValueRef& v : plan_.extra_values) RemoveValue(v.root, v.key, v.name);
    for (const RegistryKeyRef& k : plan_.extra_keys) RemoveEmptyKey(k.root, k.path);
  }

  void RemoveProductKey() {
    for (const char* name : kProductValues)
      RemoveValue(RegistryRoot::kLocalMachine, plan_.product_key, name);
    RemoveEmptyKey(RegistryRoot::kLocalMachine, plan_.product_key);
  }

  void RemovePublisherKey() {
    const RegistryRoot hklm = RegistryRoot::kLocalMachine;
    if (s_.registry.HasSubkeys(hklm, plan_.publisher_key)) {
      // Site and Author serve every product of the publisher.
      LogLine(s_.log, "Kept " + KeyName(hklm, plan_.publisher_key) +
                          ": other products of the publisher are installed");
    } else {
      for (const char* name : kPublisherValues) RemoveValue(hklm, plan_.publisher_key, name);
      RemoveEmptyKey(hklm, plan_.publisher_key);
    }
    if (plan_.user_publisher_key) RemoveEmptyKey(RegistryRoot::kCurrentUser, plan_.publisher_key);
  }

  const UninstallPlan& plan_;
  const UninstallSeams& s_;
  UninstallResult result_;
};

}  // namespace

UninstallResult RunUninstall(const UninstallPlan& plan, const UninstallSeams& seams) {
  return Runner(plan, seams).Run();
}

}  // namespace uninstaller
