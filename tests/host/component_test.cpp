// The component model: ownership and its destruction order, notifications
// in both directions, names, owner changes, and components freed directly.
// Run under ASan, any dangling pointer left behind shows up as a crash.
#include "framework/core/component.h"
#include "framework/core/component_ref.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/error.h"

namespace {

using framework::TComponent;
using framework::TOperation;

// Writes what happens to it into a shared log: "~a" when destroyed,
// "a:+b" / "a:-b" for Notification(b, Insert/Remove), "a:loaded".
class Probe : public TComponent {
public:
  Probe(TComponent* owner, std::string name, std::vector<std::string>* log)
      : TComponent(owner), log_(log) {
    SetName(std::move(name));
  }
  ~Probe() override { log_->push_back("~" + Name()); }

  // Refers to another component the way controls do (a file theme): asks
  // to be told when it goes, and forgets it then.
  void SetTarget(TComponent* target) { target_.Set(target); }
  TComponent* Target() const { return target_.get(); }
  int released = 0;
  bool saw_destroying_sender = false;

protected:
  void Notification(TComponent* component, TOperation operation) override {
    // Only the TComponent part of a new component exists yet; its name is
    // set after construction, so it is logged as "?" when empty.
    std::string name = component->Name().empty() ? "?" : component->Name();
    log_->push_back(Name() + (operation == TOperation::Insert ? ":+" : ":-") + name);
    if (operation == TOperation::Remove && component->IsDestroying()) saw_destroying_sender = true;
    if (target_.Released(component, operation)) ++released;
    TComponent::Notification(component, operation);
  }
  void Loaded() override { log_->push_back(Name() + ":loaded"); }

private:
  std::vector<std::string>* log_;
  framework::TComponentRef<TComponent> target_{*this};
};

std::vector<std::string> Only(const std::vector<std::string>& log, char kind) {
  std::vector<std::string> out;
  for (const auto& entry : log) {
    if (kind == '~' ? entry[0] == '~' : entry.find(kind) != std::string::npos) out.push_back(entry);
  }
  return out;
}

TEST(ComponentOwnershipTest, OwnerListsComponentsInCreationOrder) {
  std::vector<std::string> log;
  Probe owner(nullptr, "form", &log);
  auto* a = new Probe(&owner, "a", &log);
  auto* b = new Probe(&owner, "b", &log);
  ASSERT_EQ(owner.ComponentCount(), 2);
  EXPECT_EQ(owner.Components(0), a);
  EXPECT_EQ(owner.Components(1), b);
  EXPECT_EQ(a->Owner(), &owner);
  EXPECT_EQ(owner.Owner(), nullptr);
}

TEST(ComponentOwnershipTest, OwnerFreesWhatItOwnsLastCreatedFirst) {
  std::vector<std::string> log;
  auto form = std::make_unique<Probe>(nullptr, "form", &log);
  new Probe(form.get(), "a", &log);
  auto* b = new Probe(form.get(), "b", &log);
  new Probe(b, "b1", &log);  // owned by b: freed while b is
  new Probe(form.get(), "c", &log);
  log.clear();
  form.reset();
  EXPECT_EQ(Only(log, '~'), (std::vector<std::string>{"~form", "~c", "~b", "~b1", "~a"}));
}

TEST(ComponentOwnershipTest, ComponentDeletedDirectlyLeavesItsOwnersList) {
  std::vector<std::string> log;
  auto form = std::make_unique<Probe>(nullptr, "form", &log);
  auto* a = new Probe(form.get(), "a", &log);
  auto* b = new Probe(form.get(), "b", &log);
  auto* c = new Probe(form.get(), "c", &log);
  log.clear();
  delete b;
  ASSERT_EQ(form->ComponentCount(), 2);
  EXPECT_EQ(form->Components(0), a);
  EXPECT_EQ(form->Components(1), c);
  // The owner hears of it and passes it on to the other components it owns.
  EXPECT_EQ(Only(log, '-'), (std::vector<std::string>{"form:-b", "c:-b", "a:-b"}));
  log.clear();
  form.reset();  // must not free b again
  EXPECT_EQ(Only(log, '~'), (std::vector<std::string>{"~form", "~c", "~a"}));
}

TEST(ComponentNotificationTest, InsertReachesTheOwnerAndTheComponentsItOwns) {
  std::vector<std::string> log;
  Probe form(nullptr, "form", &log);
  auto* a = new Probe(&form, "a", &log);
  log.clear();
  new Probe(&form, "b", &log);
  EXPECT_EQ(log, (std::vector<std::string>{"form:+?", "a:+?"}));
  (void)a;
}

TEST(ComponentNotificationTest, FreeNotificationWorksBothWaysAndOnce) {
  std::vector<std::string> log;
  Probe form1(nullptr, "form1", &log);
  Probe form2(nullptr, "form2", &log);
  auto* label = new Probe(&form1, "label", &log);
  auto* edit = new Probe(&form2, "edit", &log);
  label->SetTarget(edit);
  log.clear();
  delete edit;
  EXPECT_EQ(label->Target(), nullptr);
  EXPECT_TRUE(label->saw_destroying_sender);
  EXPECT_EQ(Only(log, '-'), (std::vector<std::string>{"label:-edit", "form2:-edit"}));

  // The other direction: the one that asked goes first; the target is told
  // and must not keep a link to the freed component.
  auto* edit2 = new Probe(&form2, "edit2", &log);
  label->SetTarget(edit2);
  log.clear();
  delete label;
  EXPECT_EQ(Only(log, '-'), (std::vector<std::string>{"edit2:-label", "form1:-label"}));
  log.clear();
  delete edit2;  // ASan: no notification may reach the freed label
  EXPECT_EQ(Only(log, '-'), (std::vector<std::string>{"form2:-edit2"}));
}

TEST(ComponentNotificationTest, RemovedFreeNotificationIsNotCalled) {
  std::vector<std::string> log;
  auto* a = new Probe(nullptr, "a", &log);
  auto* b = new Probe(nullptr, "b", &log);
  a->FreeNotification(b);
  a->FreeNotification(b);  // asking twice links once
  a->RemoveFreeNotification(b);
  log.clear();
  delete b;
  EXPECT_TRUE(Only(log, '-').empty());
  delete a;
}

TEST(ComponentNotificationTest, SiblingReferencesSurviveTheOwnersDestruction) {
  // b refers to a and to c; the form frees c, then b, then a. Every
  // reference is cleared or gone before its target is freed.
  std::vector<std::string> log;
  auto form = std::make_unique<Probe>(nullptr, "form", &log);
  auto* a = new Probe(form.get(), "a", &log);
  auto* b = new Probe(form.get(), "b", &log);
  auto* c = new Probe(form.get(), "c", &log);
  b->SetTarget(c);
  a->SetTarget(b);
  log.clear();
  form.reset();
  EXPECT_EQ(Only(log, '~'), (std::vector<std::string>{"~form", "~c", "~b", "~a"}));
  EXPECT_EQ(Only(log, '-'), (std::vector<std::string>{"b:-c", "a:-b"}));
}

TEST(ComponentNotificationTest, ReferenceFollowsItsNewTargetAndForgetsTheOld) {
  std::vector<std::string> log;
  Probe holder(nullptr, "holder", &log);
  auto* first = new Probe(nullptr, "first", &log);
  auto* second = new Probe(&holder, "second", &log);  // owned: its Insert is no release
  holder.SetTarget(first);
  holder.SetTarget(second);
  delete first;  // no longer referred to: not heard
  EXPECT_EQ(holder.Target(), second);
  EXPECT_EQ(holder.released, 0);
  log.clear();
  delete second;
  // Owned and referred to, second is heard of twice (leaving the holder's
  // list, and going), but released once.
  EXPECT_EQ(Only(log, '-'), (std::vector<std::string>{"holder:-second", "holder:-second"}));
  EXPECT_EQ(holder.Target(), nullptr);
  EXPECT_EQ(holder.released, 1);
}

TEST(ComponentNameTest, FindComponentIgnoresAsciiCaseAndLooksOneLevelDown) {
  std::vector<std::string> log;
  Probe form(nullptr, "form", &log);
  auto* button = new Probe(&form, "OkButton", &log);
  auto* panel = new Probe(&form, "Panel1", &log);
  new Probe(panel, "Inner", &log);
  EXPECT_EQ(form.FindComponent("okbutton"), button);
  EXPECT_EQ(form.FindComponent("OKBUTTON"), button);
  EXPECT_EQ(form.FindComponent("Panel1"), panel);
  EXPECT_EQ(form.FindComponent("Inner"), nullptr);
  EXPECT_EQ(form.FindComponent("Ok"), nullptr);
  EXPECT_EQ(form.FindComponent(""), nullptr);
  // Only ASCII letters fold: GBK bytes that a Latin-1 locale would call
  // upper and lower case letters compare as they are.
  auto* gbk = new Probe(&form, "\xC1\xC1", &log);
  EXPECT_EQ(form.FindComponent("\xC1\xC1"), gbk);
  EXPECT_EQ(form.FindComponent("\xE1\xE1"), nullptr);
}

TEST(ComponentOwnerChangeTest, MovesBetweenListsWithNotifications) {
  std::vector<std::string> log;
  auto first = std::make_unique<Probe>(nullptr, "first", &log);
  auto second = std::make_unique<Probe>(nullptr, "second", &log);
  auto* a = new Probe(first.get(), "a", &log);
  log.clear();
  a->ChangeOwner(second.get());
  EXPECT_EQ(log, (std::vector<std::string>{"first:-a", "second:+a"}));
  EXPECT_EQ(first->ComponentCount(), 0);
  ASSERT_EQ(second->ComponentCount(), 1);
  EXPECT_EQ(a->Owner(), second.get());
  log.clear();
  first.reset();
  EXPECT_EQ(Only(log, '~'), (std::vector<std::string>{"~first"}));
  second.reset();
  EXPECT_EQ(Only(log, '~'), (std::vector<std::string>{"~first", "~second", "~a"}));
}

TEST(ComponentOwnerChangeTest, ToNoOwnerAndRefusingLoops) {
  std::vector<std::string> log;
  Probe form(nullptr, "form", &log);
  auto* panel = new Probe(&form, "panel", &log);
  auto* inner = new Probe(panel, "inner", &log);
  EXPECT_THROW(panel->ChangeOwner(inner), base::Error);
  EXPECT_THROW(panel->ChangeOwner(panel), base::Error);
  EXPECT_EQ(panel->Owner(), &form);
  std::unique_ptr<Probe> orphan(inner);
  inner->ChangeOwner(nullptr);
  EXPECT_EQ(inner->Owner(), nullptr);
  EXPECT_EQ(panel->ComponentCount(), 0);
}

TEST(ComponentStateTest, LoadingEndsWithLoadedOnlyWhenCompleted) {
  std::vector<std::string> log;
  Probe a(nullptr, "a", &log);
  a.BeginLoading();
  EXPECT_TRUE(a.IsLoading());
  a.CancelLoading();
  EXPECT_FALSE(a.IsLoading());
  EXPECT_TRUE(log.empty());
  a.BeginLoading();
  a.EndLoading();
  EXPECT_FALSE(a.IsLoading());
  EXPECT_EQ(log, (std::vector<std::string>{"a:loaded"}));
  EXPECT_FALSE(a.IsDesigning());
  EXPECT_FALSE(a.IsDestroying());
}

// Logs "name:before" from BeforeDestruction and "~name" from its destructor.
class Announced : public Probe {
public:
  using Probe::Probe;
  std::vector<std::string>* before_log = nullptr;

protected:
  void BeforeDestruction() noexcept override {
    if (before_log) before_log->push_back(Name() + ":before");
    Probe::BeforeDestruction();
  }
};

TEST(ComponentDestructionTest, FreeAndOwnersAnnounceEachComponentBeforeItsDestructorRuns) {
  std::vector<std::string> log;
  auto* form = new Announced(nullptr, "form", &log);
  auto* a = new Announced(form, "a", &log);
  auto* b = new Announced(form, "b", &log);
  for (Announced* c : {form, a, b}) c->before_log = &log;
  log.clear();
  TComponent::Free(form);
  std::vector<std::string> order;
  for (const auto& entry : log)
    if (entry[0] == '~' || entry.find(":before") != std::string::npos) order.push_back(entry);
  EXPECT_EQ(order, (std::vector<std::string>{"form:before", "~form", "b:before", "~b", "a:before",
                                             "~a"}));
}

}  // namespace
