#include "framework/core/collection.h"

#include <string>

#include "base/error.h"

namespace framework {

const TClassInfo& TCollectionItem::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TCollectionItem::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TCollectionItem, TPersistent>("TCollectionItem").Done();
  return info;
}

const TClassInfo& TCollection::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TCollection::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TCollection, TPersistent>("TCollection").Done();
  return info;
}

int TCollectionItem::Index() const { return collection_->IndexOf(this); }

void TCollectionItem::Changed() { collection_->Changed(this); }

TCollectionItem& TCollection::Item(int index) const {
  if (index < 0 || index >= Count())
    throw base::Error("List index out of bounds (" + std::to_string(index) + ")");
  return *items_[static_cast<std::size_t>(index)];
}

int TCollection::IndexOf(const TCollectionItem* item) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item) return static_cast<int>(i);
  return -1;
}

TCollectionItem& TCollection::Add() {
  items_.push_back(NewItem());
  TCollectionItem& item = *items_.back();
  Changed(nullptr);
  return item;
}

void TCollection::Delete(int index) {
  Item(index);  // range check
  items_.erase(items_.begin() + index);
  Changed(nullptr);
}

void TCollection::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed(nullptr);
}

void TCollection::Assign(const TCollection& source) {
  if (&source == this) return;
  BeginUpdate();
  items_.clear();
  changed_while_updating_ = true;
  for (int i = 0; i < source.Count(); ++i) Add().Assign(source.Item(i));
  EndUpdate();
}

void TCollection::EndUpdate() {
  if (update_count_ > 0 && --update_count_ == 0 && changed_while_updating_) {
    changed_while_updating_ = false;
    Update(nullptr);
  }
}

void TCollection::Changed(TCollectionItem* item) {
  if (update_count_ > 0) {
    changed_while_updating_ = true;
    return;
  }
  Update(item);
}

}  // namespace framework
