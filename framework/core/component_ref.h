#pragma once
// TComponentRef: a component's reference to another component it does not
// own (a control's file theme, a menu's image list). Setting it moves the
// holder's free notification from the old target to the new one, and
// Released, called from the holder's Notification, clears it when the
// target goes, so the holder is never left pointing at a freed component.
#include "framework/core/component.h"

namespace framework {

template <typename T>
class TComponentRef {
public:
  explicit TComponentRef(TComponent& holder) : holder_(holder) {}
  // A holder going away is unlinked by TComponent itself.
  TComponentRef(const TComponentRef&) = delete;
  TComponentRef& operator=(const TComponentRef&) = delete;

  T* get() const { return target_; }

  void Set(T* target) {
    if (target == target_) return;
    if (target_) target_->RemoveFreeNotification(&holder_);
    target_ = target;
    if (target_) target_->FreeNotification(&holder_);
  }

  // True when the notification is that the target leaves; the reference is
  // then already none.
  bool Released(const TComponent* component, TOperation operation) {
    if (operation != TOperation::Remove || !target_ ||
        component != static_cast<const TComponent*>(target_))
      return false;
    target_ = nullptr;
    return true;
  }

private:
  TComponent& holder_;
  T* target_ = nullptr;
};

}  // namespace framework
