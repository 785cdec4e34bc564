#include "framework/controls/page_control.h"

#include <algorithm>

#include "framework/controls/form.h"
#include "framework/graphics/text_renderer.h"

namespace framework {
namespace {

constexpr int kTabPadding = 6;   // left and right of a tab's text
constexpr int kTabRowLeft = 2;   // where the first tab starts
constexpr int kActiveLift = 2;   // the active tab stands this much taller and wider
constexpr int kPageMargin = 4;   // between the frame's outer edge and the pages
constexpr int kTabTextGap = 6;   // above and below a tab's text, together

int TabRowHeight(TCanvas& canvas) { return canvas.TextHeight("Ag") + kTabTextGap; }

bool Contains(const TControl* outer, const TControl* inner) {
  for (const TControl* c = inner; c; c = c->Parent())
    if (c == outer) return true;
  return false;
}

// The first control of root that Tab would reach.
TWinControl* FirstFocusable(TWinControl* root) {
  for (TWinControl* w : root->TabList()) {
    if (w->TabStop() && w->CanFocus()) return w;
    if (TWinControl* inner = FirstFocusable(w)) return inner;
  }
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// TTabSheet

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
  // Shown by its page control when it becomes the active page.
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  if (page_control_) page_control_->RemovePage(this, false);
}

const TClassInfo& TTabSheet::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TTabSheet::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TTabSheet, TWinControl>("TTabSheet")
          .Factory()
          .Prop("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex)
          .Prop("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)
          .Event("OnShow", &TTabSheet::OnShow)
          .Event("OnHide", &TTabSheet::OnHide)
          .Done();
  return info;
}

void TTabSheet::SetParent(TWinControl* parent) {
  if (parent == Parent()) return;
  if (page_control_) page_control_->RemovePage(this, true);
  TWinControl::SetParent(parent);
  if (auto* pages = dynamic_cast<TPageControl*>(Parent())) pages->InsertPage(this);
}

int TTabSheet::PageIndex() const {
  if (!page_control_) return -1;
  const auto& pages = page_control_->pages_;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
  if (page_control_) page_control_->MovePage(this, index);
}

void TTabSheet::SetTabVisible(bool v) {
  if (v == tab_visible_) return;
  tab_visible_ = v;
  if (page_control_) page_control_->TabsChanged();
}

void TTabSheet::TextChanged() {
  if (page_control_ && tab_visible_) page_control_->TabsChanged();
}

// ---------------------------------------------------------------------------
// TPageControl

TPageControl::TPageControl(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 289, 193);
  SetControlStyle(ControlStyle() | csAcceptsControls);
}

TPageControl::~TPageControl() {
  // The pages outlive this control's own part when their owner frees them
  // later; they must not come back to it.
  for (TTabSheet* page : pages_) page->page_control_ = nullptr;
  pages_.clear();
  active_ = nullptr;
}

const TClassInfo& TPageControl::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TPageControl::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TPageControl, TCustomControl>("TPageControl")
          .Factory()
          .Prop("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage)
          .Event("OnChange", &TPageControl::OnChange)
          .Done();
  return info;
}

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  page->page_control_ = this;
  TabsChanged();
  if (!active_) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page, bool replace) {
  auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  const auto index = it - pages_.begin();
  pages_.erase(it);
  page->page_control_ = nullptr;
  if (page == active_) {
    active_ = nullptr;
    if (replace && !pages_.empty()) {
      // The page that took its place, or the new last one.
      const auto last = static_cast<std::ptrdiff_t>(pages_.size()) - 1;
      SetActivePage(pages_[static_cast<std::size_t>(std::min(index, last))]);
    }
  }
  TabsChanged();
}

void TPageControl::MovePage(TTabSheet* page, int index) {
  auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  pages_.erase(it);
  index = std::clamp(index, 0, static_cast<int>(pages_.size()));
  pages_.insert(pages_.begin() + index, page);
  Invalidate();
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->page_control_ != this) return;
  if (page == active_) return;
  TTabSheet* old = active_;
  TCustomForm* form = ParentForm();
  TWinControl* focused = form ? form->ActiveControl() : nullptr;
  const bool focus_on_old = old && Contains(old, focused);
  // Hiding the old page moves the window focus away; ask before.
  const bool had_focus = focus_on_old && focused->Focused();

  active_ = page;
  if (page) {
    const TRect r = DisplayRect();
    page->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    page->SetVisible(true);
  }
  if (old) old->SetVisible(false);
  Invalidate();

  // Keys must not go on to a control that can no longer be seen.
  if (focus_on_old && page) {
    if (TWinControl* first = FirstFocusable(page)) {
      if (had_focus) first->SetFocus();
      else form->SetActiveControl(first);
    }
  }
  if (IsLoading()) return;
  if (old && old->OnHide) old->OnHide(old);
  if (page && page->OnShow) page->OnShow(page);
}

int TPageControl::ActivePageIndex() const { return active_ ? active_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? Pages(index) : nullptr);
}

bool TPageControl::HasTabs() const {
  return std::any_of(pages_.begin(), pages_.end(), [](TTabSheet* p) { return p->TabVisible(); });
}

int TPageControl::TabHeight() const {
  graphics::TBitmap scratch(1, 1);
  TCanvas canvas(scratch);
  canvas.Font = Font();
  return TabRowHeight(canvas);
}

TRect TPageControl::DisplayRect() const {
  const TRect client = ClientRect();
  if (!HasTabs()) return client;
  TRect r{client.Left + kPageMargin, client.Top + TabHeight() + kPageMargin,
          client.Right - kPageMargin, client.Bottom - kPageMargin};
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  return r;
}

std::vector<TRect> TPageControl::TabRects() const {
  std::vector<TRect> rects(pages_.size());
  if (!HasTabs()) return rects;
  graphics::TBitmap scratch(1, 1);
  TCanvas canvas(scratch);
  canvas.Font = Font();
  const int height = TabRowHeight(canvas);
  int left = kTabRowLeft;
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    if (!pages_[i]->TabVisible()) continue;
    const int width = canvas.TextWidth(pages_[i]->Caption()) + 2 * kTabPadding;
    rects[i] = {left, kActiveLift, left + width, height};
    if (pages_[i] == active_) {
      rects[i] = {left - kActiveLift, 0, left + width + kActiveLift, height + 1};
    }
    left += width;
  }
  return rects;
}

TRect TPageControl::TabRect(int page_index) const {
  if (page_index < 0 || page_index >= PageCount()) return {};
  return TabRects()[static_cast<std::size_t>(page_index)];
}

void TPageControl::Paint() {
  if (!HasTabs()) return;  // the pages cover everything
  TCanvas& canvas = Canvas();
  const TRect client = ClientRect();
  const int top = TabHeight();
  canvas.Brush.Style = graphics::TBrushStyle::Solid;
  canvas.Brush.Color = graphics::clBtnHighlight;
  canvas.FillRect({client.Left, top, client.Right - 1, top + 1});
  canvas.FillRect({client.Left, top, client.Left + 1, client.Bottom - 1});
  canvas.Brush.Color = graphics::clBtnShadow;
  canvas.FillRect({client.Left, client.Bottom - 1, client.Right, client.Bottom});
  canvas.FillRect({client.Right - 1, top, client.Right, client.Bottom});
  // The active tab last: it overlaps its neighbours and opens into the page.
  const std::vector<TRect> tabs = TabRects();
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    if (pages_[i] != active_) DrawTab(canvas, tabs[i], pages_[i]->Caption());
  }
  if (active_) {
    DrawTab(canvas, tabs[static_cast<std::size_t>(ActivePageIndex())], active_->Caption());
  }
}

void TPageControl::DrawTab(TCanvas& canvas, const TRect& r, const std::string& caption) {
  if (r.IsEmpty()) return;
  canvas.Brush.Style = graphics::TBrushStyle::Solid;
  canvas.Brush.Color = Color();
  canvas.FillRect(r);
  canvas.Brush.Color = graphics::clBtnHighlight;
  canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
  canvas.FillRect({r.Left, r.Top, r.Right - 1, r.Top + 1});
  canvas.Brush.Color = graphics::clBtnShadow;
  canvas.FillRect({r.Right - 1, r.Top + 1, r.Right, r.Bottom});
  canvas.Brush.Style = graphics::TBrushStyle::Clear;
  canvas.Font = Font();
  TRect text = r;
  canvas.DrawText(caption, text,
                  graphics::dt::SingleLine | graphics::dt::Center | graphics::dt::VCenter);
}

void TPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) {
    const std::vector<TRect> tabs = TabRects();
    for (std::size_t i = 0; i < pages_.size(); ++i) {
      if (pages_[i] == active_ || !tabs[i].Contains({x, y})) continue;
      SetActivePage(pages_[i]);
      if (OnChange) OnChange(this);
      break;
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TPageControl::TabsChanged() {
  const TRect r = DisplayRect();
  for (TTabSheet* page : pages_) page->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  Invalidate();
}

void TPageControl::BoundsChanged(const TRect& old_bounds) {
  TCustomControl::BoundsChanged(old_bounds);
  TabsChanged();
}

void TPageControl::FontChanged() { TabsChanged(); }

}  // namespace framework
