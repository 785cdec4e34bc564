#pragma once
// Owners of GDI handles. One owner template with a traits type per kind of
// handle (how it is released; null is "none") and scoped helpers for the
// pairs that GDI wants balanced: BeginPaint/EndPaint, GetDC/ReleaseDC,
// SelectObject and its restore, SaveDC/RestoreDC. An early return or an
// exception then puts back and frees everything, and no paint code writes
// the second half of a pair by hand.
//
// Owners are move-only (a copy would release twice); scoped helpers are
// neither copied nor moved: they belong to the block that made them.
#include <utility>

#include "base/win_api.h"

namespace graphics {

template <typename Traits>
class GdiOwner {
public:
  using Handle = typename Traits::Handle;

  GdiOwner() = default;
  explicit GdiOwner(Handle handle) noexcept : handle_(handle) {}
  GdiOwner(const GdiOwner&) = delete;
  GdiOwner& operator=(const GdiOwner&) = delete;
  GdiOwner(GdiOwner&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiOwner& operator=(GdiOwner&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ~GdiOwner() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }
  // Gives the handle up: the caller releases it, or keeps it for good.
  Handle release() noexcept { return std::exchange(handle_, nullptr); }
  void reset(Handle handle = nullptr) noexcept {
    if (handle_) Traits::Close(handle_);
    handle_ = handle;
  }

private:
  Handle handle_ = nullptr;
};

// Pens, brushes, fonts, bitmaps and regions: DeleteObject. An object must
// not be selected into a DC when it goes (ScopedSelect sees to that).
template <typename H>
struct GdiObjectTraits {
  using Handle = H;
  static void Close(H handle) noexcept { DeleteObject(handle); }
};

// A DC made with CreateCompatibleDC or CreateDC.
struct MemoryDCTraits {
  using Handle = HDC;
  static void Close(HDC dc) noexcept { DeleteDC(dc); }
};

using OwnedDC = GdiOwner<MemoryDCTraits>;
using OwnedFont = GdiOwner<GdiObjectTraits<HFONT>>;
using OwnedBrush = GdiOwner<GdiObjectTraits<HBRUSH>>;
using OwnedPen = GdiOwner<GdiObjectTraits<HPEN>>;
using OwnedBitmap = GdiOwner<GdiObjectTraits<HBITMAP>>;
using OwnedRegion = GdiOwner<GdiObjectTraits<HRGN>>;

// Selects an object into a DC for the scope, and puts back the one it
// replaced. The object is borrowed: its owner must outlive the selection.
class ScopedSelect {
public:
  ScopedSelect(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
  ~ScopedSelect() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The whole drawing state of a DC (selections, colours, modes, clipping,
// origins) for the scope: SaveDC, then RestoreDC.
class ScopedSaveDC {
public:
  explicit ScopedSaveDC(HDC dc) noexcept : dc_(dc), saved_(SaveDC(dc)) {}
  ScopedSaveDC(const ScopedSaveDC&) = delete;
  ScopedSaveDC& operator=(const ScopedSaveDC&) = delete;
  ~ScopedSaveDC() {
    if (saved_ != 0) RestoreDC(dc_, saved_);
  }

private:
  HDC dc_;
  int saved_;
};

// BeginPaint for the scope; EndPaint validates the window even when the
// painting in between threw, so one failed paint is not asked for again and
// again.
class PaintDC {
public:
  explicit PaintDC(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  ~PaintDC() { EndPaint(window_, &paint_); }

  HDC get() const noexcept { return dc_; }
  const RECT& area() const noexcept { return paint_.rcPaint; }

private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// GetDC for the scope (GetWindowDC with kWholeWindow: the frame too), then
// ReleaseDC.
class WindowDC {
public:
  static constexpr bool kWholeWindow = true;
  explicit WindowDC(HWND window, bool whole_window = false) noexcept
      : window_(window), dc_(whole_window ? GetWindowDC(window) : GetDC(window)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }

  HDC get() const noexcept { return dc_; }

private:
  HWND window_;
  HDC dc_;
};

}  // namespace graphics
