#include <windows.h>

#include "base/text_codec.h"
#include "installer/module_resources_win.h"

namespace installer {

ModuleResourceSource::ModuleResourceSource(HINSTANCE__* module)
    : module_(module ? module : GetModuleHandleW(nullptr)) {}

std::optional<base::ByteView> ModuleResourceSource::FindRcData(const std::string& name) const {
  std::wstring wide = base::GbkToWide(name);
  HRSRC info = FindResourceW(module_, wide.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!info) return std::nullopt;
  HGLOBAL handle = LoadResource(module_, info);
  if (!handle) return std::nullopt;
  // Resource memory is part of the mapped image and lives as long as the
  // module; nothing needs to be released.
  const void* data = LockResource(handle);
  DWORD size = SizeofResource(module_, info);
  if (!data && size != 0) return std::nullopt;
  return base::ByteView(static_cast<const std::uint8_t*>(data), size);
}

}  // namespace installer
