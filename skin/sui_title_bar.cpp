// The title bar's sections, buttons and window menu (portable).
#include <utility>

#include "skin/sui_file_theme.h"
#include "skin/sui_title_bar_items.h"
#include "skin/sui_title_bar_rules.h"

namespace skin {

using framework::TCollectionItem;

namespace {

TTitleBarErrorDialog& ErrorDialog() {
  static TTitleBarErrorDialog dialog;
  return dialog;
}

}  // namespace

TTitleBarErrorDialog SetTitleBarErrorDialog(TTitleBarErrorDialog dialog) {
  return std::exchange(ErrorDialog(), std::move(dialog));
}

void ShowTitleBarError(const std::string& text) {
  if (ErrorDialog()) {
    ErrorDialog()(text);
  } else {
    title_bar_platform::ShowError(text);
  }
}

// ---------------------------------------------------------------------------
// TsuiTitleBarSection

TsuiTitleBarSections& TsuiTitleBarSection::Sections() const {
  return static_cast<TsuiTitleBarSections&>(Collection());
}

void TsuiTitleBarSection::Assign(const TCollectionItem& source) {
  const auto* s = dynamic_cast<const TsuiTitleBarSection*>(&source);
  if (!s) return;
  // Copied as stored: the list being copied already keeps the one-client rule.
  auto_size_ = s->auto_size_;
  width_ = s->width_;
  align_ = s->align_;
  picture_ = s->picture_;
  stretch_ = s->stretch_;
  cap_sec_ = s->cap_sec_;
  Changed();
}

void TsuiTitleBarSection::AutoSizeToPicture() {
  if (auto_size_ && !picture_.Empty()) width_ = picture_.Width();
}

void TsuiTitleBarSection::SetAutoSize(bool v) {
  auto_size_ = v;
  AutoSizeToPicture();
  Changed();
}

void TsuiTitleBarSection::SetWidth(int v) {
  width_ = v;
  Changed();
}

void TsuiTitleBarSection::SetAlign(TsuiTitleBarAlign v) {
  if (v == suiClient) {
    if (Sections().ClientSection() >= 0) {
      ShowTitleBarError(kOnlyOneClientSection);
      return;
    }
    stretch_ = true;
  }
  align_ = v;
  Changed();
}

void TsuiTitleBarSection::SetPicture(const graphics::TBitmap& picture) {
  picture_ = picture;
  AutoSizeToPicture();
  Changed();
}

void TsuiTitleBarSection::SetStretch(bool v) {
  stretch_ = v || align_ == suiClient;
  Changed();
}

void TsuiTitleBarSection::SetCapSec(bool v) {
  cap_sec_ = v;
  Changed();
}

int TsuiTitleBarSections::ClientSection() const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i).Align() == suiClient) return i;
  return -1;
}

// ---------------------------------------------------------------------------
// TsuiTitleBarButton

TsuiTitleBarButton::TsuiTitleBarButton(framework::TCollection& collection)
    : TCollectionItem(collection) {}

TsuiTitleBarButtons& TsuiTitleBarButton::Buttons() const {
  return static_cast<TsuiTitleBarButtons&>(Collection());
}

void TsuiTitleBarButton::Assign(const TCollectionItem& source) {
  const auto* s = dynamic_cast<const TsuiTitleBarButton*>(&source);
  if (!s) return;
  ui_style_ = s->ui_style_;
  button_type_ = s->button_type_;
  transparent_ = s->transparent_;
  top_ = s->top_;
  visible_ = s->visible_;
  pic_normal_ = s->pic_normal_;
  pic_mouse_on_ = s->pic_mouse_on_;
  pic_mouse_down_ = s->pic_mouse_down_;
  SetControlBoxMenu(s->control_box_menu_);
}

void TsuiTitleBarButton::SetUIStyle(TsuiUIStyle style) {
  ui_style_ = style;
  LoadPictures();
  Changed();
}

void TsuiTitleBarButton::SetButtonType(TsuiTitleBarBtnType v) {
  if (v == suiControlBox) {
    const TsuiTitleBarButtons& list = Buttons();
    for (int i = 0; i < list.Count(); ++i) {
      if (list.Items(i).ButtonType() == suiControlBox) {
        ShowTitleBarError(kOnlyOneControlBox);
        return;
      }
    }
  }
  button_type_ = v;
  LoadPictures();
  Changed();
}

void TsuiTitleBarButton::SetTransparent(bool v) {
  transparent_ = v;
  Changed();
}

void TsuiTitleBarButton::SetTop(int v) {
  top_ = v;
  Changed();
}

void TsuiTitleBarButton::SetControlBoxMenu(framework::TPopupMenu* menu) {
  control_box_menu_ = menu;
  if (menu && Buttons().TitleBar()) Buttons().TitleBar()->WatchMenu(menu);
  Changed();
}

void TsuiTitleBarButton::MenuGone(const framework::TComponent* menu) {
  if (menu && static_cast<const framework::TComponent*>(control_box_menu_) == menu) {
    control_box_menu_ = nullptr;
  }
}

void TsuiTitleBarButton::SetVisible(bool v) {
  visible_ = v;
  Changed();
}

void TsuiTitleBarButton::SetPicNormal(const graphics::TBitmap& v) {
  pic_normal_ = v;
  Changed();
}

void TsuiTitleBarButton::SetPicMouseOn(const graphics::TBitmap& v) {
  pic_mouse_on_ = v;
  Changed();
}

void TsuiTitleBarButton::SetPicMouseDown(const graphics::TBitmap& v) {
  pic_mouse_down_ = v;
  Changed();
}

void TsuiTitleBarButton::LoadPictures() {
  TsuiTitleBarItemsHost* bar = Buttons().TitleBar();
  const int first = FirstButtonFrame(button_type_, bar && bar->HostMaximised());
  if (first == 0) return;  // a custom button keeps the user's pictures
  const TsuiFileTheme* file_theme = bar ? bar->TitleBarFileTheme() : nullptr;
  TTitleButtonLook look = LoadTitleButtonLook(ui_style_, file_theme, first);
  transparent_ = look.Transparent;
  top_ = look.Top;
  pic_normal_ = std::move(look.Normal);
  pic_mouse_on_ = std::move(look.MouseOn);
  pic_mouse_down_ = std::move(look.MouseDown);
}

int TsuiTitleBarButtons::FindVisible(TsuiTitleBarBtnType type) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i).Visible() && Items(i).ButtonType() == type) return i;
  return -1;
}

// ---------------------------------------------------------------------------
// TsuiTitleBarPopupMenu

std::string TitleBarText(TTitleBarText text) {
  std::string loaded = title_bar_platform::LoadText(text);
  return loaded.empty() ? BuiltInTitleBarText(text) : loaded;
}

TsuiTitleBarPopupMenu::TsuiTitleBarPopupMenu(framework::TComponent* owner) : TsuiPopupMenu(owner) {
  const std::string captions[] = {TitleBarText(TTitleBarText::Minimise),
                                  TitleBarText(TTitleBarText::Maximise), "-",
                                  TitleBarText(TTitleBarText::Close)};
  for (const std::string& caption : captions) {
    auto* item = new framework::TMenuItem(this);
    item->SetCaption(caption);
    Items()->Add(item);
  }
  HookAllItems();
}

void TsuiTitleBarPopupMenu::EnableFor(const TsuiTitleBarButtons& buttons) {
  const TWindowMenuState state = WindowMenuState(buttons);
  MinimiseItem()->SetEnabled(state.Minimise);
  MaximiseItem()->SetEnabled(state.Maximise);
  CloseItem()->SetEnabled(state.Close);
}

}  // namespace skin
