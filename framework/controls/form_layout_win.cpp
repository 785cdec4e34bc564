#include "framework/controls/form_layout.h"

#include "base/error.h"
#include "base/text_codec.h"
#include "framework/graphics/bmp_codec.h"
#include "framework/graphics/jpeg_codec.h"
#include "framework/controls/menus.h"
#include "framework/core/compiled_layout.h"
#include "framework/core/stored_layout.h"
#include <optional>

#include "base/win_api.h"

namespace framework {

namespace {

std::optional<base::ByteView> FindResourceBytes(const std::string& name, const wchar_t* type) {
  HMODULE module = GetModuleHandleW(nullptr);
  std::wstring wide = base::GbkToWide(name);
  HRSRC info = FindResourceW(module, wide.c_str(), type);
  if (!info) return std::nullopt;
  HGLOBAL handle = LoadResource(module, info);
  const void* data = handle ? LockResource(handle) : nullptr;
  if (!data) return std::nullopt;
  return base::ByteView(static_cast<const std::uint8_t*>(data), SizeofResource(module, info));
}

}  // namespace

graphics::TBitmap LoadPictureResource(const std::string& name) {
  if (auto dib = FindResourceBytes(name, MAKEINTRESOURCEW(2) /* RT_BITMAP */))
    return graphics::ReadPackedDib(*dib);
  auto bytes = FindResourceBytes(name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!bytes) throw base::Error("Resource " + name + " not found");
  if (bytes->size() >= 2 && (*bytes)[0] == 0xFF && (*bytes)[1] == 0xD8)
    return graphics::ReadJpeg(*bytes);
  return graphics::ReadBmp(*bytes);
}

TLayoutContext ControlLayoutContext() {
  TLayoutContext context;
  context.set_parent = [](TComponent& child, TComponent& parent) {
    if (child.SetParentComponent(parent)) return;
    auto* control = dynamic_cast<TControl*>(&child);
    auto* container = dynamic_cast<TWinControl*>(&parent);
    if (control && container) control->SetParent(container);
  };
  context.load_picture = [](const std::string& name) -> TPropValue {
    return TPictureValue{std::any(LoadPictureResource(name))};
  };
  return context;
}

void LoadFormLayout(TCustomForm& form, const std::string& resource_name) {
  auto stored = FindResourceBytes(resource_name, MAKEINTRESOURCEW(10));
  if (!stored) throw base::Error("Resource " + resource_name + " not found");
  // Compiled only: reading text would bring the parser into every program.
  const std::string bytes = UnpackStoredLayout(*stored, resource_name);
  if (!IsCompiledLayout(base::AsBytes(bytes)))
    throw base::Error("Resource " + resource_name + " is not a compiled layout");
  LoadLayout(form, ReadCompiledLayout(base::AsBytes(bytes), resource_name), ControlLayoutContext());
}

}  // namespace framework
