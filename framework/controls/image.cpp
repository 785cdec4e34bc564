#include "framework/controls/image.h"

#include "base/error.h"
#include "framework/graphics/bmp_codec.h"
#include "framework/graphics/jpeg_codec.h"

namespace framework {

TImage::TImage(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 105, 105); }

const TClassInfo& TImage::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TImage::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TImage, TGraphicControl>("TImage")
          .Factory()
          .PictureProp("Picture", &TImage::Picture, &TImage::SetPicture)
          .Prop("Stretch", &TImage::Stretch, &TImage::SetStretch)
          .Prop("Center", &TImage::Center, &TImage::SetCenter)
          .Prop("Transparent", &TImage::Transparent, &TImage::SetTransparent)
          .Prop("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize)
          .Done();
  return info;
}

void TImage::SetPicture(const graphics::TBitmap& picture) {
  picture_ = picture;
  PictureChanged();
}

void TImage::LoadPicture(base::ByteView data) {
  graphics::TBitmap loaded;
  if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') {
    loaded = graphics::ReadBmp(data);
  } else if (data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
    loaded = graphics::ReadJpeg(data);
  } else {
    throw base::Error("Picture is neither a BMP nor a JPEG image");
  }
  picture_ = std::move(loaded);
  PictureChanged();
}

void TImage::PictureChanged() {
  // A picture brings its own transparency setting; the control's decides.
  picture_.SetTransparent(transparent_);
  if (auto_size_ && !picture_.Empty()) {
    SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
  }
  Invalidate();
}

void TImage::SetStretch(bool v) {
  stretch_ = v;
  Invalidate();
}

void TImage::SetCenter(bool v) {
  center_ = v;
  Invalidate();
}

void TImage::SetTransparent(bool v) {
  transparent_ = v;
  picture_.SetTransparent(v);
  Invalidate();
}

void TImage::SetAutoSize(bool v) {
  auto_size_ = v;
  if (v) PictureChanged();
}

void TImage::Paint() {
  if (picture_.Empty()) return;
  TCanvas& canvas = Canvas();
  if (stretch_) {
    canvas.StretchDraw(ClientRect(), picture_);
    return;
  }
  const int x = center_ ? (Width() - picture_.Width()) / 2 : 0;
  const int y = center_ ? (Height() - picture_.Height()) / 2 : 0;
  canvas.Draw(x, y, picture_);
}

}  // namespace framework
