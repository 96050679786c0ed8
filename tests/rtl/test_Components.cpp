// Owners, names and the removal notification.
#include <gtest/gtest.h>

#include <vector>

#include "rtl/Classes.h"

using namespace qnl;

namespace {
class TWatcher : public TComponent {
public:
  using TComponent::TComponent;
  std::vector<TComponent*> Removed;
  void Notification(TComponent* C, TOperation Op) override {
    TComponent::Notification(C, Op);
    if (Op == opRemove) Removed.push_back(C);
  }
};

// A watcher that hears only what it linked by FreeNotification (as a form's files do).
class TDeafWatcher : public TWatcher {
public:
  using TWatcher::TWatcher;
  bool HearsOwnerNews() const override { return false; }
};
} // namespace

TEST(Component, OwnerKeepsCreationOrderAndFreesItsComponents) {
  auto* owner = new TComponent(nullptr);
  auto* a = new TWatcher(owner);
  auto* b = new TWatcher(owner);
  EXPECT_EQ(owner->Components(0), a);
  EXPECT_EQ(owner->Components(1), b);
  delete owner; // frees a and b; ASan reports a leak otherwise
}

TEST(Component, NamesAreUniqueAmongOneOwnersComponents) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Install1");
  EXPECT_THROW(b->SetName("INSTALL1"), EComponentError);
  EXPECT_THROW(b->SetName("1bad"), EComponentError);
  b->SetName("Install2");
  EXPECT_EQ(owner.FindComponent("install2"), b);
  EXPECT_EQ(owner.FindComponent("none"), nullptr);
}

TEST(Component, ANameFreedByARenameAMoveOrAFreeCanBeTakenAndNoOtherCan) {
  TComponent owner(nullptr);
  TComponent other(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Alpha");
  b->SetName("Beta");
  a->SetName("ALPHA"); // its own name in another case
  b->SetName("Gamma");
  EXPECT_EQ(owner.FindComponent("beta"), nullptr);
  EXPECT_EQ(owner.FindComponent("GAMMA"), b);
  a->SetName("Beta");
  try {
    b->SetName("bEtA");
    FAIL() << "a duplicate in another case was taken";
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "A component named bEtA already exists");
  }
  auto* c = new TComponent(nullptr);
  c->SetName("gamma");
  EXPECT_THROW(owner.InsertComponent(c), EComponentError);
  other.InsertComponent(c);
  other.RemoveComponent(c);
  delete c;
  other.InsertComponent(b); // moved: its name leaves the first owner with it
  EXPECT_EQ(owner.FindComponent("Gamma"), nullptr);
  EXPECT_EQ(other.FindComponent("Gamma"), b);
  delete a;
  auto* d = new TComponent(&owner);
  d->SetName("beta");
  EXPECT_EQ(owner.FindComponent("BETA"), d);
}

TEST(Component, RemovalReachesSiblingsAndThoseWhoAsked) {
  TComponent owner(nullptr);
  TComponent elsewhere(nullptr);
  auto* sibling = new TWatcher(&owner);
  auto* asker = new TWatcher(&elsewhere);
  auto* doomed = new TComponent(&owner);
  doomed->FreeNotification(asker);
  delete doomed;
  ASSERT_EQ(sibling->Removed.size(), 1u);
  EXPECT_EQ(sibling->Removed[0], doomed);
  ASSERT_EQ(asker->Removed.size(), 1u);
  EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST(Component, OwnersNewsSkipsTheDeafButNeverWhatTheyLinkedOrOwn) {
  TComponent owner(nullptr);
  auto* first = new TWatcher(&owner);
  auto* deaf = new TDeafWatcher(&owner);
  auto* target = new TComponent(&owner);
  deaf->FreeNotification(target);
  auto* last = new TWatcher(&owner);
  auto* passer = new TDeafWatcher(&owner); // deaf, until it owns a component
  delete new TComponent(&owner);           // sorts passer deaf
  auto* child = new TWatcher(passer);
  first->Removed.clear();
  last->Removed.clear();
  child->Removed.clear();

  delete target;
  EXPECT_EQ(deaf->Removed, std::vector<TComponent*>{target}); // by its link, once
  EXPECT_EQ(first->Removed, std::vector<TComponent*>{target});
  EXPECT_EQ(last->Removed, std::vector<TComponent*>{target});
  EXPECT_EQ(child->Removed, std::vector<TComponent*>{target}); // passed on by its owner

  // A hearer removed from the middle leaves the others' order and news intact.
  delete first;
  auto* late = new TComponent(&owner);
  delete late;
  EXPECT_EQ(last->Removed.back(), late);
  EXPECT_EQ(child->Removed.back(), late);
  EXPECT_EQ(deaf->Removed.size(), 1u);
}
