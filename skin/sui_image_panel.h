#pragma once
// SUIImagePanel: TsuiCustomPanel, the container the skinned group boxes
// stand on. It paints all of its area itself, off-screen and in one copy:
// the parent's background when transparent, else its picture (at the
// origin, stretched or tiled) or its colour, then its caption.
#include <cstdint>

#include "framework/controls/custom_control.h"
#include "framework/controls/label.h"
#include "framework/graphics/bitmap.h"
#include "skin/sui_panel_rules.h"

namespace skin {

enum TsuiPanelDrawMode : std::uint8_t { dmOrigin = 0, dmStretch = 1, dmTile = 2 };

class TsuiCustomPanel : public framework::TCustomControl {
public:
  explicit TsuiCustomPanel(framework::TComponent* owner);

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();

  const graphics::TBitmap& Picture() const { return picture_; }
  void SetPicture(const graphics::TBitmap& picture);
  bool PictureAutoSize() const { return picture_auto_size_; }
  void SetPictureAutoSize(bool v);
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool v);
  int CaptionX() const { return caption_x_; }
  void SetCaptionX(int v);
  int CaptionY() const { return caption_y_; }
  void SetCaptionY(int v);
  TsuiPanelDrawMode DrawMode() const { return draw_mode_; }
  void SetDrawMode(TsuiPanelDrawMode v);
  bool EraseBackground() const { return erase_background_; }
  void SetEraseBackground(bool v) { erase_background_ = v; }
  // Where an automatically placed caption goes across the panel.
  framework::TAlignment Alignment() const { return alignment_; }
  void SetAlignment(framework::TAlignment v);

  void WndProc(framework::TMessage& message) override;

protected:
  void Paint() override;
  void BoundsChanged(const graphics::TRect& old_bounds) override;
  void TextChanged() override { Invalidate(); }
  // The picture was replaced: size to it when asked, follow Transparent.
  virtual void PictureChanged();

private:
  graphics::TBitmap picture_;
  bool picture_auto_size_ = false;
  bool transparent_ = false;
  int caption_x_ = -1;
  int caption_y_ = -1;
  TsuiPanelDrawMode draw_mode_ = dmOrigin;
  bool erase_background_ = false;
  framework::TAlignment alignment_ = framework::TAlignment::taCenter;
};

}  // namespace skin
