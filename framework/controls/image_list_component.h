#pragma once
// TImageListComponent (class name "TImageList"): a graphics::TImageList as
// a component, so that menus and other components can refer to one and
// hear when it goes away. Changing Width or Height empties the list, as
// the images are cut to the old size.
#include "framework/core/component.h"
#include "framework/graphics/image_list.h"

namespace framework {

class TImageListComponent : public TComponent {
public:
  explicit TImageListComponent(TComponent* owner) : TComponent(owner) {}

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  int Width() const { return list_.Width(); }
  void SetWidth(int width) { list_ = graphics::TImageList(width, list_.Height()); }
  int Height() const { return list_.Height(); }
  void SetHeight(int height) { list_ = graphics::TImageList(list_.Width(), height); }
  int Count() const { return list_.Count(); }

  graphics::TImageList& List() { return list_; }
  const graphics::TImageList& List() const { return list_; }

private:
  graphics::TImageList list_{16, 16};
};

}  // namespace framework
