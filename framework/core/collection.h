#pragma once
// TCollection: an ordered list of items owned by the list, each item an
// object of one item class that knows its list. A property that holds
// several records of the same shape (a title bar's sections, its buttons)
// is a collection; the list announces every change of an item, or of the
// list itself, through Update, so that its holder can react in one place.
//
// Changes between BeginUpdate and the matching EndUpdate are announced
// once, at EndUpdate, as a change of the whole list.
#include <memory>
#include <vector>

#include "framework/core/rtti.h"

namespace framework {

class TCollection;

class TCollectionItem : public TPersistent {
public:
  ~TCollectionItem() override = default;
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  TCollection& Collection() const { return *collection_; }
  // Position in the list.
  int Index() const;
  // Takes over source's values (an item of the same class); the base
  // class has none.
  virtual void Assign(const TCollectionItem& source) { (void)source; }

protected:
  explicit TCollectionItem(TCollection& collection) : collection_(&collection) {}
  // Announces a change of this item.
  void Changed();

private:
  TCollection* collection_;  // not owned: the list that owns this item
};

class TCollection : public TPersistent {
public:
  TCollection() = default;
  ~TCollection() override = default;
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  int Count() const { return static_cast<int>(items_.size()); }
  // Throws base::Error "List index out of bounds (N)" outside 0..Count-1.
  TCollectionItem& Item(int index) const;
  int IndexOf(const TCollectionItem* item) const;

  // A new item at the end.
  TCollectionItem& Add();
  void Delete(int index);
  void Clear();
  // As many items as source has, each assigned from source's item.
  void Assign(const TCollection& source);

  void BeginUpdate() { ++update_count_; }
  void EndUpdate();

protected:
  // Makes an item of the list's item class for this list.
  virtual std::unique_ptr<TCollectionItem> NewItem() = 0;
  // item changed; null: the list as a whole (items added, removed, or
  // several changes at once).
  virtual void Update(TCollectionItem* item) { (void)item; }

private:
  friend class TCollectionItem;
  void Changed(TCollectionItem* item);

  std::vector<std::unique_ptr<TCollectionItem>> items_;
  int update_count_ = 0;
  bool changed_while_updating_ = false;
};

// A collection of one item class, with typed access.
template <typename T>
class TTypedCollection : public TCollection {
public:
  T& Add() { return static_cast<T&>(TCollection::Add()); }
  T& Items(int index) const { return static_cast<T&>(TCollection::Item(index)); }
};

}  // namespace framework
