#include "framework/core/component.h"

#include <algorithm>

#include "base/error.h"
#include "framework/core/ascii.h"

namespace framework {
namespace {

void Erase(std::vector<TComponent*>& list, TComponent* item) {
  auto it = std::find(list.begin(), list.end(), item);
  if (it != list.end()) list.erase(it);
}

}  // namespace

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  state_ |= csDestroying;
  // Partners hear of it before anything this component owns goes, as long
  // as the component is still whole enough to be compared and named.
  while (!free_notifies_.empty()) {
    TComponent* partner = free_notifies_.back();
    free_notifies_.pop_back();
    Erase(partner->free_notifies_, this);
    partner->Notification(this, TOperation::Remove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

const TClassInfo& TComponent::StaticClassInfo() {
  static const TClassInfo& info = TClassInfo::Define<TComponent, TPersistent>("TComponent")
                                      .Prop("Tag", &TComponent::Tag, &TComponent::SetTag)
                                      .Done();
  return info;
}

const TClassInfo& TComponent::ClassInfo() const { return StaticClassInfo(); }

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    if (SameText(c->name_, name)) return c;
  }
  return nullptr;
}

void TComponent::EndLoading() {
  CancelLoading();
  Loaded();
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(free_notifies_.begin(), free_notifies_.end(), other) != free_notifies_.end()) {
    return;
  }
  free_notifies_.push_back(other);
  other->free_notifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (!other) return;
  Erase(free_notifies_, other);
  Erase(other->free_notifies_, this);
}

void TComponent::ChangeOwner(TComponent* new_owner) {
  if (new_owner == owner_) return;
  // Owning oneself, directly or around a loop, would free nothing ever, or
  // free twice.
  for (const TComponent* c = new_owner; c; c = c->owner_) {
    if (c == this) {
      throw base::Error(base::FormatText("%s cannot be owned by a component it owns", {name_}));
    }
  }
  if (owner_) owner_->RemoveComponent(this);
  if (new_owner) new_owner->InsertComponent(this);
}

std::optional<TMethod> TComponent::FindMethod(const std::string&) { return std::nullopt; }

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::Remove) RemoveFreeNotification(component);
  // By index from the end: a component that reacts may free others.
  for (std::size_t i = components_.size(); i-- > 0;) {
    if (i >= components_.size()) continue;
    TComponent* c = components_[i];
    if (c != component) c->Notification(component, operation);
  }
}

void TComponent::InsertComponent(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
  Notification(component, TOperation::Insert);
}

void TComponent::RemoveComponent(TComponent* component) {
  Erase(components_, component);
  component->owner_ = nullptr;
  Notification(component, TOperation::Remove);
}

void TComponent::AnnounceDestruction() noexcept {
  if (destruction_announced_) return;
  destruction_announced_ = true;
  BeforeDestruction();
}

void TComponent::Free(TComponent* component) noexcept {
  if (!component) return;
  component->AnnounceDestruction();
  delete component;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    // Announced while it is still one of ours; what its handlers do may
    // change the list (a handler can hand it to another owner, which then
    // frees it), so it is looked for again.
    last->AnnounceDestruction();
    auto it = std::find(components_.begin(), components_.end(), last);
    if (it == components_.end()) continue;
    // Taken out of the list before it is freed, so its destructor does not
    // come back to an owner that is going away anyway.
    components_.erase(it);
    last->owner_ = nullptr;
    delete last;
  }
}

}  // namespace framework
