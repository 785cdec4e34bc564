#include "framework/core/string_list.h"

#include "base/error.h"

namespace framework {

void TStringList::CheckIndex(int index, int limit) const {
  if (index < 0 || index > limit)
    throw base::Error("List index out of bounds (" + std::to_string(index) + ")");
}

const std::string& TStringList::Strings(int index) const {
  CheckIndex(index, Count() - 1);
  return items_[static_cast<std::size_t>(index)];
}

int TStringList::Add(const std::string& s) {
  items_.push_back(s);
  Changed();
  return Count() - 1;
}

void TStringList::Insert(int index, const std::string& s) {
  CheckIndex(index, Count());
  items_.insert(items_.begin() + index, s);
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index, Count() - 1);
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Put(int index, const std::string& s) {
  CheckIndex(index, Count() - 1);
  items_[static_cast<std::size_t>(index)] = s;
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

void TStringList::Assign(const std::vector<std::string>& lines) {
  items_ = lines;
  Changed();
}

int TStringList::IndexOf(const std::string& s) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<std::size_t>(i)] == s) return i;
  return -1;
}

void TStringList::EndUpdate() {
  if (update_count_ == 0) return;
  if (--update_count_ == 0 && changed_while_updating_) {
    changed_while_updating_ = false;
    if (OnChange) OnChange();
  }
}

void TStringList::Changed() {
  if (update_count_ > 0) {
    changed_while_updating_ = true;
    return;
  }
  if (OnChange) OnChange();
}

}  // namespace framework
