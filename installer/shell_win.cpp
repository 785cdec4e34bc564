#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "base/com_ptr_win.h"
#include "base/error.h"
#include "base/system_path_win.h"
#include "base/text_codec.h"
#include "base/win_error.h"
#include "installer/shell.h"
#include "installer/shell_paths.h"
#include "installer/texts.h"

namespace installer {
namespace {

constexpr const wchar_t* kShellFoldersKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const wchar_t* kHtmlOpenCommandKey = L"htmlfile\\shell\\open\\command";

// Item ID lists come from the shell's task allocator and go back to it.
struct CoTaskMemDeleter {
  void operator()(void* p) const { CoTaskMemFree(p); }
};
using Pidl = std::unique_ptr<std::remove_pointer_t<PIDLIST_ABSOLUTE>, CoTaskMemDeleter>;

// A registry key opened for reading only. Opening never creates the key, so
// looking for a setting leaves no trace in the user's registry.
class RegistryReader {
public:
  RegistryReader(HKEY root, const wchar_t* subkey) {
    if (RegOpenKeyExW(root, subkey, 0, KEY_QUERY_VALUE, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  RegistryReader(const RegistryReader&) = delete;
  RegistryReader& operator=(const RegistryReader&) = delete;
  ~RegistryReader() {
    if (key_) RegCloseKey(key_);
  }

  // The text of a string value (nullptr names the key's default value); ""
  // when the key or value is missing or holds no text. The stored data need
  // not end in a NUL: whoever wrote it may have left it off.
  std::wstring ReadString(const wchar_t* name) const {
    if (!key_) return {};
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    std::vector<BYTE> data;
    LONG status;
    do {  // the value may grow between the two queries
      data.resize(size);
      status = RegQueryValueExW(key_, name, nullptr, &type, data.data(), &size);
    } while (status == ERROR_MORE_DATA);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
    std::wstring text(size / sizeof(wchar_t), L'\0');
    std::copy_n(data.data(), text.size() * sizeof(wchar_t), reinterpret_cast<BYTE*>(text.data()));
    std::size_t end = text.find(L'\0');
    if (end != std::wstring::npos) text.resize(end);
    return text;
  }

private:
  HKEY key_ = nullptr;
};

// Kept in UTF-16: the user's folders may have names GBK lacks, and the
// shortcut code only passes them on to the system.
std::wstring ShellFolder(const wchar_t* value) {
  return RegistryReader(HKEY_CURRENT_USER, kShellFoldersKey).ReadString(value);
}

bool WideDirectoryExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void SaveShellLink(const std::string& target, const std::string& name, const std::wstring& folder,
                   const std::string& arguments) {
  const std::wstring link_path = folder + L"\\" + base::GbkToWide(name) + L".lnk";
  // For messages only.
  const std::string link_text = base::WideToGbkLossy(link_path);
  // The program enters its apartment once, at its start; a thread without
  // one has no shell objects to offer.
  if (!base::InSingleThreadedApartment())
    throw base::Error(base::FormatText(
        "Cannot create shortcut \"%s\": COM is not initialised on this thread", {link_text}));
  base::ComPtr<IShellLinkW> link;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                __uuidof(IShellLinkW), link.PutVoid());
  if (FAILED(hr))
    throw base::Error(base::FormatText(
        "Cannot create shortcut \"%s\": the shell link object is not available. %s",
        {link_text, base::SystemErrorText(static_cast<DWORD>(hr))}));

  // A link that cannot take one of its properties is still worth having, so
  // the outcomes of these setters are not checked.
  std::wstring wide_target = base::GbkToWide(target);
  link->SetPath(wide_target.c_str());
  link->SetArguments(base::GbkToWide(arguments).c_str());
  link->SetIconLocation(wide_target.c_str(), 0);
  link->SetWorkingDirectory(base::GbkToWide(ExtractFilePath(target)).c_str());

  base::ComPtr<IPersistFile> file;
  hr = link.As(file);
  if (FAILED(hr))
    throw base::Error(base::FormatText(
        "Cannot create shortcut \"%s\": the shell link object cannot be saved. %s",
        {link_text, base::SystemErrorText(static_cast<DWORD>(hr))}));
  // A shortcut is a convenience: one that cannot be written is left out
  // rather than failing the installation.
  file->Save(link_path.c_str(), FALSE);
}

// Short input/output error texts by Win32 error code: the usual reasons for
// a folder that cannot be entered get words, any other its number.
std::string InOutErrorText(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND: return "File not found";
    case ERROR_PATH_NOT_FOUND: return "Invalid filename";
    case ERROR_ACCESS_DENIED: return "File access denied";
    default: return base::FormatText("I/O error %s", {std::to_string(code)});
  }
}

// The program of a command line whose program is quoted, as registered
// commands write it ("C:\...\browser.exe" -args): the text between the first
// two double quotes, "" when there are fewer than two.
std::wstring QuotedProgram(std::wstring_view command) {
  std::size_t open = command.find(L'"');
  if (open == std::wstring_view::npos) return {};
  std::wstring_view rest = command.substr(open + 1);
  std::size_t close = rest.find(L'"');
  if (close == std::wstring_view::npos) return {};
  return std::wstring(rest.substr(0, close));
}

}  // namespace

bool DirectoryExists(const std::string& path) {
  DWORD attributes = GetFileAttributesW(base::GbkToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void BrowseForFolder(int root, const std::string& title, std::string& result) {
  HWND owner = GetActiveWindow();
  PIDLIST_ABSOLUTE raw_root = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(owner, root, &raw_root))) return;
  Pidl root_pidl(raw_root);

  std::wstring wide_title = base::GbkToWide(title);
  wchar_t display_name[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pidlRoot = root_pidl.get();
  info.pszDisplayName = display_name;
  info.lpszTitle = wide_title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  Pidl chosen(SHBrowseForFolderW(&info));
  if (!chosen) return;  // cancelled

  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(chosen.get(), path)) return;
  auto gbk = base::SystemPathToGbk(path);
  if (!gbk) throw base::WideTextError(base::FormatWithPath(texts::kUnusableFolder, path));
  result = *gbk;
}

std::string OwnProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
  auto gbk = base::SystemPathToGbk(folder);
  if (!gbk) throw base::WideTextError(base::FormatWithPath(texts::kUnusableOwnFolder, folder));
  return IncludeTrailingBackslash(*gbk);
}

std::string GetDesktopFolder() { return base::SystemPathToGbk(ShellFolder(L"Desktop")).value_or(""); }

std::string GetProgramsFolder() {
  return base::SystemPathToGbk(ShellFolder(L"Programs")).value_or("");
}

void CreateShellLink(const std::string& target, const std::string& name, const std::string& folder,
                     const std::string& arguments) {
  SaveShellLink(target, name, base::GbkToWide(folder), arguments);
}

void CreateDesktopShortcut(const std::string& target, const std::string& name,
                           const std::string& arguments) {
  const std::wstring desktop = ShellFolder(L"Desktop");
  if (desktop.empty() || !WideDirectoryExists(desktop)) return;
  SaveShellLink(target, name, desktop, arguments);
}

void CreateProgramsShortcut(const std::string& group, const std::string& target,
                            const std::string& name, const std::string& arguments) {
  const std::wstring programs = ShellFolder(L"Programs");
  if (programs.empty() || !WideDirectoryExists(programs)) return;
  // The group is made and entered relative to the Programs folder; the
  // process stays in the group afterwards, as shell.h promises.
  SetCurrentDirectoryW(programs.c_str());
  std::wstring wide_group = base::GbkToWide(group);
  CreateDirectoryW(wide_group.c_str(), nullptr);  // it may well exist already
  if (!SetCurrentDirectoryW(wide_group.c_str())) throw base::Error(InOutErrorText(GetLastError()));
  SaveShellLink(target, name, programs + L"\\" + wide_group, arguments);
}

bool OpenUrlWithBrowser(const std::string& url) {
  std::wstring command =
      RegistryReader(HKEY_CLASSES_ROOT, kHtmlOpenCommandKey).ReadString(nullptr);
  if (command.empty()) return false;
  // The registered arguments are not used: the browser gets the url alone.
  std::wstring program = QuotedProgram(command);
  // A command that does not quote its program yields none, and then nothing
  // is started: the shell is not asked to open an empty name, which some
  // systems take for the current folder.
  if (!program.empty())
    ShellExecuteW(nullptr, L"open", program.c_str(), base::GbkToWide(url).c_str(), nullptr, SW_SHOW);
  return true;
}

}  // namespace installer
