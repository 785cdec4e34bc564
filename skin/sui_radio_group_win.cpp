#include "skin/sui_check_rules.h"
#include "skin/sui_radio_group.h"

#include "base/win_api.h"

namespace skin {

using framework::TComponent;

// ---------------------------------------------------------------------------
// TsuiCheckGroup

TsuiCheckGroup::TsuiCheckGroup(TComponent* owner) : TsuiCustomGroupBox(owner) {
  SetTabStop(true);
  items_.OnChange = [this] { SyncButtons(); };
}

TsuiCheckGroup::~TsuiCheckGroup() {
  // The buttons go with the component tree; nothing may rebuild them now.
  items_.OnChange = nullptr;
  buttons_.clear();
}

TsuiCheckBox* TsuiCheckGroup::CreateItemButton() { return new TsuiCheckGroupButton(this, this); }

void TsuiCheckGroup::SyncButtons() {
  const int d = items_.Count() - ButtonCount();
  for (int k = 0; k < -d; ++k) {
    TsuiCheckBox* last = buttons_.back();
    buttons_.pop_back();
    TComponent::Free(last);
  }
  for (int k = 0; k < d; ++k) {
    TsuiCheckBox* b = CreateItemButton();
    b->SetParent(this);
    b->SetFont(Font());
    b->SetAutoSize(true);
    b->SetFileTheme(FileTheme());
    b->SetUIStyle(UIStyle());
    b->SetTransparent(Transparent());
    b->SetParentColor(true);
    b->SetTabStop(false);
    b->OnClick = [this](TComponent* sender) { ItemClick(sender); };
    b->SetCursor(Cursor());
    buttons_.push_back(b);
  }
  for (int i = 0; i < ButtonCount(); ++i) {
    buttons_[static_cast<std::size_t>(i)]->SetCaption(items_.Strings(i));
    buttons_[static_cast<std::size_t>(i)]->SetAutoSize(true);
  }
  ArrangeButtons();
  if (d > 0) {
    // Once more through the setter, which hands it to every button.
    SetTransparent(!Transparent());
    SetTransparent(!Transparent());
  }
}

void TsuiCheckGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  std::vector<int> widths;
  widths.reserve(buttons_.size());
  for (TsuiCheckBox* b : buttons_) widths.push_back(b->Width());
  const std::vector<graphics::TPoint> at =
      ArrangeGroupItems(ClientRect(), Width(), Font().Height, top_margin_, columns_, widths,
                        BiDiMode() == framework::TBiDiMode::bdRightToLeft);
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    buttons_[i]->SetBounds(at[i].X, at[i].Y, buttons_[i]->Width(), buttons_[i]->Height());
}

void TsuiCheckGroup::SetColumns(std::int32_t v) {
  if (v < 0) return;
  columns_ = v;
  ArrangeButtons();
}

void TsuiCheckGroup::SetTopMargin(std::int32_t v) {
  if (v < 0) return;
  top_margin_ = v;
  ArrangeButtons();
}

void TsuiCheckGroup::SetItemCursor(framework::TCursor cursor) {
  for (TsuiCheckBox* b : buttons_) b->SetCursor(cursor);
  SetCursor(cursor);
}

void TsuiCheckGroup::SetFontColor(graphics::TColor color) {
  graphics::TFont font = Font();
  font.Color = color;
  SetFont(font);
}

void TsuiCheckGroup::SetTransparent(bool v) {
  TsuiCustomGroupBox::SetTransparent(v);
  for (TsuiCheckBox* b : buttons_) b->SetTransparent(v);
}

void TsuiCheckGroup::ApplyUIStyle() {
  TsuiCustomGroupBox::ApplyUIStyle();
  for (TsuiCheckBox* b : buttons_) {
    b->SetFileTheme(FileTheme());
    b->SetUIStyle(UIStyle());
    b->SetColor(Color());
  }
}

void TsuiCheckGroup::FontChanged() {
  TsuiCustomGroupBox::FontChanged();
  for (TsuiCheckBox* b : buttons_) b->SetFont(Font());
  ArrangeButtons();
}

void TsuiCheckGroup::BoundsChanged(const graphics::TRect& old_bounds) {
  TsuiCustomGroupBox::BoundsChanged(old_bounds);
  ArrangeButtons();
}

void TsuiCheckGroup::Click() { ItemClick(this); }

void TsuiCheckGroup::ItemClick(TComponent*) {
  if (!IsLoading() && OnClick) OnClick(this);
}

void TsuiCheckGroup::PassFocusOn() {
  if (!buttons_.empty() && buttons_.front()->CanFocus()) buttons_.front()->SetFocus();
}

void TsuiCheckGroup::WndProc(framework::TMessage& m) {
  TsuiCustomGroupBox::WndProc(m);
  if (m.Msg == WM_SETFOCUS) PassFocusOn();
}

// ---------------------------------------------------------------------------
// TsuiRadioGroup

TsuiRadioGroup::TsuiRadioGroup(TComponent* owner) : TsuiCheckGroup(owner) {}

TsuiCheckBox* TsuiRadioGroup::CreateItemButton() { return new TsuiRadioGroupButton(this, this); }

std::int32_t TsuiRadioGroup::ItemIndex() const {
  std::vector<bool> checked;
  for (int i = 0; i < ButtonCount(); ++i) checked.push_back(Buttons(i)->Checked());
  return FirstCheckedIndex(checked);
}

void TsuiRadioGroup::SetItemIndex(std::int32_t v) {
  if (!ItemIndexAccepted(v, ButtonCount())) return;
  if (v == -1) {
    for (int i = 0; i < ButtonCount(); ++i) Buttons(i)->SetChecked(false);
    return;
  }
  Buttons(v)->SetChecked(true);
}

void TsuiRadioGroup::PassFocusOn() {
  const int index = ItemIndex();
  if (index >= 0 && index < ButtonCount()) Buttons(index)->SetFocus();
}

}  // namespace skin
