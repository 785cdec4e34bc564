#include "installer/shell_shortcuts_win.h"

#include "installer/shell.h"

namespace installer {
namespace {

class ShellShortcuts final : public ShortcutMaker {
public:
  void CreateDesktopShortcut(const std::string& target, const std::string& name,
                             const std::string& arguments) override {
    installer::CreateDesktopShortcut(target, name, arguments);
  }
  void CreateProgramsShortcut(const std::string& group, const std::string& target,
                              const std::string& name, const std::string& arguments) override {
    installer::CreateProgramsShortcut(group, target, name, arguments);
  }
};

}  // namespace

ShortcutMaker& ShellShortcutMaker() {
  static ShellShortcuts maker;
  return maker;
}

}  // namespace installer
