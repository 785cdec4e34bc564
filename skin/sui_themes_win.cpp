#include "base/win_api.h"

#include "base/error.h"
#include "base/text_codec.h"
#include "framework/graphics/bmp_codec.h"
#include "skin/sui_themes.h"

namespace skin {

// A BITMAP resource is a packed DIB. Its memory belongs to the mapped image
// and needs no release.
graphics::TBitmap LoadModulePicture(const std::string& name) {
  HMODULE module = GetModuleHandleW(nullptr);
  std::wstring wide = base::GbkToWide(name);
  HRSRC info = FindResourceW(module, wide.c_str(), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  HGLOBAL handle = info ? LoadResource(module, info) : nullptr;
  const void* data = handle ? LockResource(handle) : nullptr;
  if (!data) throw base::Error(base::FormatText("Resource %s not found", {name}));
  DWORD size = SizeofResource(module, info);
  return graphics::ReadPackedDib(
      base::ByteView(static_cast<const std::uint8_t*>(data), static_cast<std::size_t>(size)));
}

}  // namespace skin
