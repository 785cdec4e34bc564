#pragma once
// A list of equally sized images, cut from strips: the toolkit's image
// list. Images added with a mask colour remember which of their pixels are
// masked, and drawing leaves those out.
//
// Disabled drawing shows the image embossed, the platform's look for a
// greyed icon: every "ink" pixel (not masked, and not pure white) is drawn
// in clBtnHighlight one pixel right of and below its place, then in
// clBtnShadow at its place; all other pixels are left out. Both colours are
// system colours, resolved when drawn.
#include <vector>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"

namespace graphics {

class TImageList {
public:
  // Sides below 1 make a list that takes no images.
  TImageList(int width, int height) : width_(width), height_(height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const { return static_cast<int>(images_.size()); }

  // Cuts the strip into images of Width() columns from the left (columns
  // left over at the right are ignored) and appends them; pixels of exactly
  // the mask colour are masked, as are pixels below a strip lower than
  // Height(). Returns the index of the first new image, -1 when the strip
  // held none.
  int AddMasked(const TBitmap& strip, TColor mask);
  // The same without a mask: every pixel is drawn (below a lower strip:
  // black).
  int Add(const TBitmap& strip);

  // Image index at (x, y); an index outside the list draws nothing.
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

  // The image as a Width() x Height() bitmap. For a masked image the masked
  // pixels hold the mask colour it was added with and the bitmap is Transparent() with
  // that colour, so drawing it shows what Draw shows. An index outside the
  // list leaves out empty.
  void GetBitmap(int index, TBitmap& out) const;

  void Clear() { images_.clear(); }

private:
  struct Image {
    TBitmap pixels;
    std::vector<bool> masked;  // empty: nothing masked
    TColor mask = clBlack;     // RGB
  };
  int Append(const TBitmap& strip, bool use_mask, TColor mask);

  int width_;
  int height_;
  std::vector<Image> images_;
};

}  // namespace graphics
