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
