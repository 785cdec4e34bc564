#include "installer/registry_win.h"

#include <windows.h>

#include "base/system_path_win.h"
#include "base/text_codec.h"
#include "installer/wizard_rules.h"

namespace installer {
namespace {

// Opens or creates path below parent. An empty path opens parent itself
// again, which RegCreateKeyExW is not documented to do.
HKEY CreateOrOpen(HKEY parent, const std::string& path) {
  std::wstring wide = base::GbkToWide(path);
  HKEY key = nullptr;
  LONG status =
      path.empty()
          ? RegOpenKeyExW(parent, wide.c_str(), 0, KEY_WRITE | kProductRegistryView, &key)
          : RegCreateKeyExW(parent, wide.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_WRITE | kProductRegistryView, nullptr, &key, nullptr);
  return status == ERROR_SUCCESS ? key : nullptr;
}

class WinRegistryKey final : public RegistryKey {
public:
  explicit WinRegistryKey(HKEY key) : key_(key) {}
  WinRegistryKey(const WinRegistryKey&) = delete;
  WinRegistryKey& operator=(const WinRegistryKey&) = delete;
  ~WinRegistryKey() override { RegCloseKey(key_); }

  // nullptr stays nullptr: callers test the result, not the object.
  static std::unique_ptr<RegistryKey> Wrap(HKEY key) {
    if (!key) return nullptr;
    return std::make_unique<WinRegistryKey>(key);
  }

  std::unique_ptr<RegistryKey> CreateKey(const std::string& path) override {
    return Wrap(CreateOrOpen(key_, path));
  }

  bool WriteString(const std::string& name, const std::string& value) override {
    std::wstring text = base::GbkToWide(value);
    // The stored size counts the terminating NUL, as readers expect of REG_SZ.
    auto size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return Set(name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), size);
  }

  bool WriteInteger(const std::string& name, std::int32_t value) override {
    auto dword = static_cast<DWORD>(value);
    return Set(name, REG_DWORD, reinterpret_cast<const BYTE*>(&dword), sizeof dword);
  }

private:
  bool Set(const std::string& name, DWORD type, const BYTE* data, DWORD size) {
    return RegSetValueExW(key_, base::GbkToWide(name).c_str(), 0, type, data, size) ==
           ERROR_SUCCESS;
  }

  HKEY key_;
};

class WinRegistry final : public Registry {
public:
  std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, const std::string& path) override {
    HKEY base = root == RegistryRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    return WinRegistryKey::Wrap(CreateOrOpen(base, path));
  }
};

}  // namespace

Registry& WindowsRegistry() {
  static WinRegistry registry;
  return registry;
}

EarlierInstallation ReadEarlierInstallation(const std::string& product_key, bool create_key) {
  EarlierInstallation earlier;
  HKEY key = nullptr;
  const std::wstring path = base::GbkToWide(RegistryPathFromRoot(product_key));
  const REGSAM access = KEY_QUERY_VALUE | KEY_SET_VALUE | kProductRegistryView;
  const LONG status =
      create_key ? RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, access,
                                   nullptr, &key, nullptr)
                 : RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &key);
  if (status != ERROR_SUCCESS) return earlier;
  DWORD setup = 0, size = sizeof setup, type = 0;
  if (RegQueryValueExW(key, L"Setup", nullptr, &type, reinterpret_cast<BYTE*>(&setup), &size) ==
          ERROR_SUCCESS &&
      type == REG_DWORD) {
    earlier.installed = setup != 0;
    wchar_t buffer[1024] = {};
    DWORD bytes = sizeof buffer - sizeof(wchar_t);
    if (RegQueryValueExW(key, L"Folder", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes) ==
            ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ))
      // A folder without a GBK form counts as no folder: the default is
      // offered instead of a look-alike.
      earlier.folder =
          base::SystemPathToGbk(std::wstring(buffer, wcsnlen(buffer, bytes / sizeof(wchar_t))))
              .value_or(std::string());
  }
  RegCloseKey(key);
  return earlier;
}

}  // namespace installer
