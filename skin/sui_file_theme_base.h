#pragma once
// What a skinned control asks of a file theme (a theme read from a skin
// file): pictures, colours, flags and integers, each by its own item
// number (items are counted per kind and are not built-in table entries).
// The file theme component implements it; controls and the style
// resolution of SUIThemes see only this.
#include "framework/graphics/bitmap.h"
#include "framework/graphics/color.h"

namespace skin {

class TsuiFileThemeBase {
public:
  virtual ~TsuiFileThemeBase() = default;

  // A skin file was loaded successfully; until then the controls fall back
  // to the built-in DeepBlue theme.
  virtual bool Ready() const = 0;

  // Picture item into bitmap: the whole picture, or frame number frame
  // (1-based) of frame_count equal frames, cut as ExtractFrame cuts.
  void CopyPicture(int item, graphics::TBitmap& bitmap) const { DoCopyPicture(item, bitmap, 0, 0); }
  void CopyPicture(int item, graphics::TBitmap& bitmap, int frame, int frame_count) const {
    DoCopyPicture(item, bitmap, frame, frame_count);
  }

  // Missing items give the neutral values: -1 for colours and integers,
  // false for flags.
  virtual graphics::TColor GetColor(int item) const = 0;
  virtual bool GetFlag(int item) const = 0;
  virtual int GetInteger(int item) const = 0;

protected:
  // frame_count 0: the whole picture. A missing item leaves bitmap as it was.
  virtual void DoCopyPicture(int item, graphics::TBitmap& bitmap, int frame,
                             int frame_count) const = 0;
};

}  // namespace skin
