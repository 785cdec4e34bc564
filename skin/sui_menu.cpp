#include "skin/sui_menu.h"

namespace skin {

using framework::TComponent;
using framework::TMenuItem;
using framework::TOperation;

// ---------------------------------------------------------------------------
// TsuiMenuBase

template <typename Base>
TsuiMenuBase<Base>::TsuiMenuBase(TComponent* owner)
    : Base(owner), self_(std::make_shared<TsuiMenuBase*>(this)) {
  SetUIStyle(menu_platform::OwnerStyle(owner));
}

template <typename Base>
TsuiMenuBase<Base>::~TsuiMenuBase() {
  *self_ = nullptr;
}

template <typename Base>
void TsuiMenuBase<Base>::SetFileTheme(TsuiFileTheme* theme) {
  file_theme_.Set(theme);
  SetUIStyle(look_.UIStyle);
}

template <typename Base>
void TsuiMenuBase<Base>::SetUIStyle(TsuiUIStyle style) {
  ApplyMenuStyle(look_, style, file_theme_.get());
  this->MenuChanged(nullptr, false);
}

template <typename Base>
void TsuiMenuBase<Base>::SetMenuItemHeight(int v) {
  Set(look_.MenuItemHeight, v);
}

template <typename Base>
void TsuiMenuBase<Base>::SetSeparatorHeight(int v) {
  if (look_.UIStyle == MacOS) return;
  Set(look_.SeparatorHeight, v);
}

template <typename Base>
void TsuiMenuBase<Base>::HookItem(TMenuItem* item) {
  if (!item) return;
  std::weak_ptr<TsuiMenuBase*> self = self_;
  item->OnMeasureItem = [self](TComponent* sender, graphics::TCanvas& canvas, int& w, int& h) {
    auto menu = self.lock();
    auto* measured = dynamic_cast<TMenuItem*>(sender);
    if (menu && *menu && measured) (*menu)->MeasureItem(*measured, canvas, w, h);
  };
  item->OnDrawItem = [self](TComponent* sender, graphics::TCanvas& canvas,
                            const graphics::TRect& rect, bool selected) {
    auto menu = self.lock();
    auto* drawn = dynamic_cast<TMenuItem*>(sender);
    if (menu && *menu && drawn) (*menu)->DrawItem(*drawn, canvas, rect, selected);
  };
  for (int i = 0; i < item->Count(); ++i) HookItem(item->Items(i));
}

template <typename Base>
void TsuiMenuBase<Base>::Notification(TComponent* component, TOperation operation) {
  Base::Notification(component, operation);
  if (file_theme_.Released(component, operation)) {
    SetUIStyle(DeepBlue);
  } else if (operation == TOperation::Insert) {
    // An item joins the owner once it is whole (see TMenuItem): one that is
    // already in this menu's tree (handed over to another owner) is hooked
    // now; a new one is hooked when it is added to the tree.
    auto* item = dynamic_cast<TMenuItem*>(component);
    if (item && this->Contains(item)) HookItem(item);
  }
}

template <typename Base>
void TsuiMenuBase<Base>::Loaded() {
  Base::Loaded();
  HookAllItems();
}

template <typename Base>
const graphics::TImageList* TsuiMenuBase<Base>::ItemImages() const {
  const framework::TImageListComponent* images = Base::Images();
  return images ? &images->List() : nullptr;
}

template <typename Base>
void TsuiMenuBase<Base>::MeasureItem(TMenuItem& item, graphics::TCanvas& canvas, int& width,
                                     int& height) {
  MeasureMenuItem(look_, item, canvas, menu_platform::SystemMenuFont(), width, height);
}

template <typename Base>
void TsuiMenuBase<Base>::DrawItem(TMenuItem& item, graphics::TCanvas& canvas,
                                  const graphics::TRect& rect, bool selected) {
  if (look_.FlatMenu) menu_platform::DrawFlatMenuFrame(FlatMenuLineColor(look_.UIStyle, file_theme_.get()));
  TMenuItemPictures pictures;
  pictures.images = ItemImages();
  pictures.check_marks = CheckMarks();
  pictures.system_font = menu_platform::SystemMenuFont();
  pictures.right_to_left =
      MenuIsRightToLeft(this->BiDiMode(), menu_platform::RightToLeftLocale());
  if (look_.UIStyle == MacOS) {
    // Empty in a program without them: the item has no background then.
    pictures.macos_select = &ThemePicture("MACOS_MENU_SELECT");
    pictures.macos_bar = &ThemePicture("MACOS_MENU_BAR");
  }
  DrawMenuItem(look_, item, canvas, rect, selected, pictures);
}

template class TsuiMenuBase<framework::TPopupMenu>;
template class TsuiMenuBase<framework::TMainMenu>;

// ---------------------------------------------------------------------------
// TsuiPopupMenu

TsuiPopupMenu::TsuiPopupMenu(TComponent* owner) : TsuiMenuBase(owner) {}

void TsuiPopupMenu::SetMenuItemHeight(int v) {
  if (look_.UIStyle == MacOS) return;
  TsuiMenuBase::SetMenuItemHeight(v);
}

const graphics::TImageList* TsuiPopupMenu::CheckMarks() const {
  static const graphics::TImageList list = [] {
    graphics::TImageList l(16, 16);
    LoadCheckMarks(l);
    return l;
  }();
  return &list;
}

// ---------------------------------------------------------------------------
// TsuiMainMenu

TsuiMainMenu::TsuiMainMenu(TComponent* owner) : TsuiMenuBase(owner) {
  LoadCheckMarks(own_checks_);
  menu_platform::ClearOwnerFormMenu(owner);
}

void TsuiMainMenu::SetUseSystemFont(bool v) {
  TsuiMenuBase::SetUseSystemFont(v);
  if (skinned_form_) skinned_form_->MenuBarFontChanged();
}

const graphics::TImageList* TsuiMainMenu::ItemImages() const {
  const framework::TImageListComponent* images = Images();
  return images ? &images->List() : &own_checks_;
}

void TsuiMainMenu::MenuChanged(TMenuItem* source, bool structure) {
  TsuiMenuBase::MenuChanged(source, structure);
  // Only a form sets itself as skinned_form_, so the owner-is-a-form rule
  // holds whenever there is one to tell.
  if (IsLoading() || IsDestroying() || !skinned_form_) return;
  if (IsDesigning()) {
    skinned_form_->RebuildMenuBar();
  } else {
    skinned_form_->UpdateMenuBarItems();
  }
}

void TsuiMainMenu::Loaded() {
  TsuiMenuBase::Loaded();
  if (skinned_form_) skinned_form_->RebuildMenuBar();
}

}  // namespace skin
