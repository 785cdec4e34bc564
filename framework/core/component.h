#pragma once
// The component model: components with an owner that frees what it owns, a
// name, removal notifications to components that refer to one that goes
// away, and a "being loaded" state. Controls, forms and non-visual parts
// (file themes, timers, menus) are all components.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/core/events.h"
#include "framework/core/rtti.h"

namespace framework {

enum class TOperation { Insert, Remove };

// Lifetime states of a component.
enum TComponentStateFlag : std::uint32_t {
  csLoading = 1u << 0,     // properties are being set from a stored layout
  csDestroying = 1u << 1,  // the destructor is running
  csDesigning = 1u << 2,   // never set at run time; kept for the rules that mention it
};

class TComponent : public TPersistent {
public:
  // owner may be null; an owner frees the components it owns, last created
  // first, when it is destroyed.
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  // The class's published-property information (run-time type information).
  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  TComponent* Owner() const { return owner_; }

  // Owned components, in creation order.
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_[static_cast<std::size_t>(index)]; }
  // The owned component of that name (case-insensitive for ASCII), or null.
  TComponent* FindComponent(const std::string& name) const;

  std::uint32_t ComponentState() const { return state_; }
  bool IsLoading() const { return state_ & csLoading; }
  bool IsDesigning() const { return state_ & csDesigning; }
  bool IsDestroying() const { return state_ & csDestroying; }
  void BeginLoading() { state_ |= csLoading; }
  // Clears the loading state and calls Loaded().
  void EndLoading();
  // Clears the loading state without Loaded(): a load that failed leaves a
  // component that is not complete, and Loaded() must not treat it as one.
  void CancelLoading() { state_ &= ~static_cast<std::uint32_t>(csLoading); }

  // A number for the application's own use; published.
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  // The event handler of that name, for binding stored layouts' event
  // properties; forms override it to offer their handlers (see BindMethod
  // in events.h). Nothing by default.
  virtual std::optional<TMethod> FindMethod(const std::string& name);
  // A layout nests this component in `parent` where the nesting is not a
  // control's (a menu item in its menu). False when this kind of component
  // has no such parent, so that the layout tries the other kinds. Virtual,
  // so that a program's layouts reach the menus only when it has them.
  virtual bool SetParentComponent(TComponent& parent) {
    (void)parent;
    return false;
  }

  // Asks for a Notification(this-is-going, Remove) from other when it is
  // destroyed; the link is mutual and undone by either side's destruction.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

  // Owner change without freeing: moves this component to new_owner's list.
  void ChangeOwner(TComponent* new_owner);

  // Frees a component made with new: first BeforeDestruction(), while the
  // whole object still exists, then delete. Owners free what they own this
  // way, and so does the application its forms; plain delete skips
  // BeforeDestruction(). Null does nothing.
  static void Free(TComponent* component) noexcept;

protected:
  // Called on this component when component is inserted into or removed from
  // its owner's list, and on every component that asked FreeNotification of
  // component when it is destroyed. Overrides clear their references to it
  // and call the inherited version, which passes the news on to every
  // component this one owns (so a control hears of a sibling's removal from
  // the form). An Insert arrives from inside the new component's TComponent
  // constructor: only its TComponent part exists yet.
  virtual void Notification(TComponent* component, TOperation operation);
  // Called once the stored properties have all been set.
  virtual void Loaded() {}
  // Called once, by Free, right before the destructors run: the last moment
  // at which every part of the object, its derived classes' members
  // included, is alive (a destructor sees only its own class and the ones
  // below). Overrides call the inherited version; nothing may escape.
  virtual void BeforeDestruction() noexcept {}

private:
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  void DestroyComponents();
  void AnnounceDestruction() noexcept;

  std::string name_;
  TComponent* owner_ = nullptr;                // not owned
  std::vector<TComponent*> components_;        // owned
  std::vector<TComponent*> free_notifies_;     // not owned: mutual links
  std::uint32_t state_ = 0;
  int tag_ = 0;
  bool destruction_announced_ = false;
};

}  // namespace framework
