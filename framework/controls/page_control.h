#pragma once
// TPageControl and TTabSheet: pages of controls on top of each other, of
// which one, the active page, is shown; a row of tabs above them (drawn by
// the page control itself) lets the user pick one. A page whose TabVisible
// is off has no tab but can still be made active in code; when no page
// shows a tab there is no tab row at all, and the pages fill the whole
// control (a wizard switches its steps that way).
//
// A sheet joins a page control by having it as its parent; pages keep the
// order in which they joined unless PageIndex moves them. The first page
// to join becomes the active one; when the active page moves elsewhere the
// next one takes over, but a page that is freed leaves none active (pages
// are freed while their form goes away, when no page should show). A
// sheet's OnShow fires when it becomes the active page and OnHide when it
// stops being it, never while loading.
#include <string>
#include <vector>

#include "framework/controls/custom_control.h"

namespace framework {

class TPageControl;

class TTabSheet : public TWinControl {
public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  TPageControl* PageControl() const { return page_control_; }
  void SetParent(TWinControl* parent) override;

  // Position among the page control's pages; -1 outside one.
  int PageIndex() const;
  void SetPageIndex(int index);
  bool TabVisible() const { return tab_visible_; }
  void SetTabVisible(bool v);

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

protected:
  void TextChanged() override;

private:
  friend class TPageControl;
  TPageControl* page_control_ = nullptr;  // not owned: the parent, when it is a page control
  bool tab_visible_ = true;
};

class TPageControl : public TCustomControl {
public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const { return pages_[static_cast<std::size_t>(index)]; }

  // Null, or a page of this control (others are ignored).
  TTabSheet* ActivePage() const { return active_; }
  void SetActivePage(TTabSheet* page);
  // -1 when there is no active page; an index out of range activates none.
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);

  // Where the pages lie, in client coordinates.
  TRect DisplayRect() const;
  // The tab of a page; empty when it shows none.
  TRect TabRect(int page_index) const;

  // The user picked another page by its tab.
  TNotifyEvent OnChange;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void BoundsChanged(const TRect& old_bounds) override;
  void FontChanged() override;

private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  // replace: make another page active when page was the active one.
  void RemovePage(TTabSheet* page, bool replace);
  void MovePage(TTabSheet* page, int index);
  // Tabs came, went or changed their text: the pages' area may change.
  void TabsChanged();
  bool HasTabs() const;
  int TabHeight() const;
  // Every page's tab (empty for those that show none), in page order.
  std::vector<TRect> TabRects() const;
  void DrawTab(TCanvas& canvas, const TRect& r, const std::string& caption);

  std::vector<TTabSheet*> pages_;  // not owned: they are children
  TTabSheet* active_ = nullptr;    // not owned
};

}  // namespace framework
