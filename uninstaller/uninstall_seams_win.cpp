#include "uninstaller/uninstall_seams_win.h"

#include <vector>

#include "base/text_codec.h"
#include "base/win_api.h"
#include "installer/registry_win.h"
#include "uninstaller/cleanup_batch.h"

namespace uninstaller {
namespace {

// ---------------------------------------------------------------------------
// Registry

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// An open key, closed when it goes.
class Key {
public:
  Key(RegistryRoot root, const std::string& path, REGSAM access)
      : status_(RegOpenKeyExW(RootKey(root), base::GbkToWide(path).c_str(), 0,
                              access | installer::kProductRegistryView, &key_)) {}
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (status_ == ERROR_SUCCESS) RegCloseKey(key_);
  }
  bool open() const { return status_ == ERROR_SUCCESS; }
  bool missing() const { return status_ == ERROR_FILE_NOT_FOUND; }
  HKEY get() const { return key_; }

private:
  HKEY key_ = nullptr;
  LONG status_;
};

EraseOutcome Failed(LONG status) {
  return status == ERROR_FILE_NOT_FOUND ? EraseOutcome::kAbsent : EraseOutcome::kFailed;
}

class WinRegistryEraser final : public RegistryEraser {
public:
  EraseOutcome DeleteValue(RegistryRoot root, const std::string& key,
                           const std::string& name) override {
    Key k(root, key, KEY_SET_VALUE);
    if (!k.open()) return k.missing() ? EraseOutcome::kAbsent : EraseOutcome::kFailed;
    const LONG status = RegDeleteValueW(k.get(), base::GbkToWide(name).c_str());
    return status == ERROR_SUCCESS ? EraseOutcome::kRemoved : Failed(status);
  }

  EraseOutcome DeleteEmptyKey(RegistryRoot root, const std::string& key) override {
    {
      Key k(root, key, KEY_QUERY_VALUE);
      if (!k.open()) return k.missing() ? EraseOutcome::kAbsent : EraseOutcome::kFailed;
      DWORD subkeys = 0, values = 0;
      if (RegQueryInfoKeyW(k.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                           nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return EraseOutcome::kFailed;
      // RegDeleteKeyExW takes a key with values too: only sub-keys stop it.
      if (subkeys != 0 || values != 0) return EraseOutcome::kKept;
    }
    return Delete(root, key);
  }

  EraseOutcome DeleteKeyTree(RegistryRoot root, const std::string& key) override {
    {
      // Opened in the view, so that the tree below is the view's too.
      Key k(root, key, KEY_ALL_ACCESS);
      if (!k.open()) return k.missing() ? EraseOutcome::kAbsent : EraseOutcome::kFailed;
      const LONG status = RegDeleteTreeW(k.get(), nullptr);  // what is below, not the key
      if (status != ERROR_SUCCESS) return EraseOutcome::kFailed;
    }
    return Delete(root, key);
  }

  bool HasSubkeys(RegistryRoot root, const std::string& key) override {
    Key k(root, key, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS);
    DWORD subkeys = 0;
    return k.open() &&
           RegQueryInfoKeyW(k.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys != 0;
  }

private:
  static EraseOutcome Delete(RegistryRoot root, const std::string& key) {
    const LONG status = RegDeleteKeyExW(RootKey(root), base::GbkToWide(key).c_str(),
                                        installer::kProductRegistryView, 0);
    return status == ERROR_SUCCESS ? EraseOutcome::kRemoved : Failed(status);
  }
};

// ---------------------------------------------------------------------------
// Shell links

// The folder Explorer records under that name for the current user, as the
// installer's shell helpers read it (unexpanded); "" when there is none.
std::wstring ShellFolder(const wchar_t* name) {
  constexpr const wchar_t* kShellFolders =
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  constexpr DWORD kFlags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  DWORD size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kShellFolders, name, kFlags, nullptr, nullptr, &size) !=
      ERROR_SUCCESS)
    return {};
  std::vector<wchar_t> text(size / sizeof(wchar_t) + 1);
  size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, kShellFolders, name, kFlags, nullptr, text.data(), &size) !=
      ERROR_SUCCESS)
    return {};
  return text.data();
}

EraseOutcome DeleteLink(const std::wstring& folder, const std::string& name) {
  if (folder.empty()) return EraseOutcome::kAbsent;  // no such folder: no link was made there
  const std::wstring path = folder + L"\\" + base::GbkToWide(name) + L".lnk";
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return EraseOutcome::kAbsent;
  return DeleteFileW(path.c_str()) ? EraseOutcome::kRemoved : EraseOutcome::kFailed;
}

class WinShortcutRemover final : public ShortcutRemover {
public:
  EraseOutcome RemoveDesktopLink(const std::string& name) override {
    return DeleteLink(ShellFolder(L"Desktop"), name);
  }

  EraseOutcome RemoveProgramsLink(const std::string& group, const std::string& name) override {
    const std::wstring programs = ShellFolder(L"Programs");
    if (programs.empty()) return EraseOutcome::kAbsent;
    return DeleteLink(programs + L"\\" + base::GbkToWide(group), name);
  }

  EraseOutcome RemoveProgramsGroup(const std::string& group) override {
    const std::wstring programs = ShellFolder(L"Programs");
    if (programs.empty()) return EraseOutcome::kAbsent;
    const std::wstring path = programs + L"\\" + base::GbkToWide(group);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
      return EraseOutcome::kAbsent;
    if (RemoveDirectoryW(path.c_str())) return EraseOutcome::kRemoved;
    return GetLastError() == ERROR_DIR_NOT_EMPTY ? EraseOutcome::kKept : EraseOutcome::kFailed;
  }
};

}  // namespace

RegistryEraser& SystemRegistryEraser() {
  static WinRegistryEraser eraser;
  return eraser;
}

ShortcutRemover& SystemShortcutRemover() {
  static WinShortcutRemover remover;
  return remover;
}

bool ScheduleCleanup(const std::wstring& own_program, const std::wstring& install_folder) {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD temp_length = GetTempPathW(static_cast<DWORD>(std::size(temp)), temp);
  if (temp_length == 0 || temp_length > MAX_PATH) return false;
  const std::wstring temp_folder(temp, temp_length);  // ends in a backslash
  const std::wstring batch =
      temp_folder + L"vanto-uninstall-" + std::to_wstring(GetCurrentProcessId()) + L".bat";

  const std::string text = CleanupBatchText(ExpansionFor({own_program, install_folder, batch}));
  HANDLE file = CreateFileW(batch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
      written == text.size();
  CloseHandle(file);
  if (!ok) {
    DeleteFileW(batch.c_str());
    return false;
  }

  // The child inherits the environment: the paths travel there in UTF-16.
  SetEnvironmentVariableW(kUninstallerVariable, own_program.c_str());
  SetEnvironmentVariableW(kInstallFolderVariable, install_folder.c_str());
  SetEnvironmentVariableW(kCleanupBatchVariable, batch.c_str());

  wchar_t system[MAX_PATH + 1] = {};
  const UINT system_length = GetSystemDirectoryW(system, static_cast<UINT>(std::size(system)));
  if (system_length == 0 || system_length > MAX_PATH) return false;
  const std::wstring cmd = std::wstring(system, system_length) + L"\\cmd.exe";
  // /d: no AutoRun commands of the user's. With more than two quotes the
  // interpreter drops the outer pair and runs what is inside as it stands.
  std::wstring command_line = L"\"" + cmd + L"\" /d /c \"\"" + batch + L"\"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // Started in the temporary folder: a process's current folder cannot be
  // removed, and the install folder is to go.
  if (!CreateProcessW(cmd.c_str(), command_line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                      nullptr, temp_folder.c_str(), &startup, &process)) {
    DeleteFileW(batch.c_str());
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace uninstaller
