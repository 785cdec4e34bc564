#pragma once
// TImage: a picture on the form, without a window of its own. The picture
// is drawn at the top-left corner, centred (Center), or stretched over the
// whole control (Stretch); with Transparent the pixels of the picture's
// transparent colour (see TBitmap::TransparentColor) let the parent show
// through. AutoSize makes the control the picture's size.
#include "base/bytes.h"
#include "framework/controls/custom_control.h"
#include "framework/graphics/bitmap.h"

namespace framework {

class TImage : public TGraphicControl {
public:
  explicit TImage(TComponent* owner);

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  const graphics::TBitmap& Picture() const { return picture_; }
  void SetPicture(const graphics::TBitmap& picture);
  // A BMP file or a JPEG picture, told apart by their first bytes. Throws
  // base::Error for anything else, or what the codec throws; the picture
  // shown before stays then.
  void LoadPicture(base::ByteView data);

  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool v);

protected:
  void Paint() override;

private:
  void PictureChanged();

  graphics::TBitmap picture_;
  bool stretch_ = false;
  bool center_ = false;
  bool transparent_ = false;
  bool auto_size_ = false;
};

}  // namespace framework
