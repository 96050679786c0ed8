// Processing a component and the downward broadcast to its helpers.
#include <gtest/gtest.h>

#include "EngineTestClasses.h"
#include "engine/InstallSession.h"

using namespace qnl;
using namespace qnl::test;

namespace {

struct Processing : ::testing::Test {
  TComponent owner{nullptr};
  TTestObject* comp = new TTestObject(&owner, "Comp", 1000);
  TTestObject* listener = new TTestObject(&owner, "Listener", 2000);
  void SetUp() override {
    Journal().clear();
    listener->SetContainer(comp);
    comp->SetOnBeforeProcess([](TInstallContainer* c) { Journal().push_back(c->Name() + ":Before"); });
    comp->SetOnAfterProcess([](TInstallContainer* c) { Journal().push_back(c->Name() + ":After"); });
  }
  using Lines = std::vector<std::string>;
};

TEST_F(Processing, AnIncludedComponentRunsEveryStepInOrder) {
  comp->Process();
  EXPECT_EQ(Journal(), (Lines{"Comp:Before", "Listener:-990", "Listener:-999", "Comp:InstallObjects",
                              "Comp:After", "Listener:-989"}));
  EXPECT_TRUE(comp->Processed());
}

TEST_F(Processing, AnExcludedComponentStopsAfterTheStartBroadcast) {
  comp->SetInclude(false);
  comp->Process();
  EXPECT_EQ(Journal(), (Lines{"Comp:Before", "Listener:-990"}));
  EXPECT_FALSE(comp->Processed());
}

TEST_F(Processing, AComponentOutsideTheInstallTypeGetsBeforeButNotAfter) {
  comp->SetInstallTypes({itFull});
  comp->SetCurrentInstallType(itCompact);
  comp->Process();
  EXPECT_EQ(Journal(), (Lines{"Comp:Before", "Listener:-990", "Listener:-999"}));
  EXPECT_FALSE(comp->Processed());
}

TEST_F(Processing, HelpersAreProcessedInListOrderWhenTheyGoWithTheirContainer) {
  auto* group = new TTestObject(&owner, "Group", 500, true);
  auto* dir = new TTestObject(&owner, "Dir", 1000, true);
  auto* dialog = new TTestObject(&owner, "Dialog", 9000, false);
  dir->SetContainer(comp);
  dialog->SetContainer(comp);
  group->SetContainer(comp);
  comp->SetOnBeforeProcess(nullptr);
  comp->SetOnAfterProcess(nullptr);
  comp->InstallObjects();
  EXPECT_EQ(Journal(), (Lines{"Comp:InstallObjects", "Group:InstallObjects", "Dir:InstallObjects"}));
  EXPECT_TRUE(group->Processed() && dir->Processed() && comp->Processed());
  EXPECT_FALSE(dialog->Processed());
}

TEST_F(Processing, TheSilentAbortEndsProcessQuietly) {
  comp->SetOnBeforeProcess([](TInstallContainer*) { Abort(); });
  EXPECT_NO_THROW(comp->Process());
  EXPECT_TRUE(Journal().empty());
  comp->SetOnBeforeProcess(nullptr);
  comp->SetOnAfterProcess([](TInstallContainer*) { Abort(); });
  EXPECT_NO_THROW(comp->Process());
  EXPECT_TRUE(comp->Processed());
  EXPECT_EQ(Journal().back(), "Comp:InstallObjects");
}

TEST_F(Processing, OtherErrorsLeaveProcess) {
  comp->SetOnBeforeProcess([](TInstallContainer*) { throw IEInstallContainer("boom"); });
  EXPECT_THROW(comp->Process(), IEInstallContainer);
  comp->SetOnBeforeProcess([](TInstallContainer*) { throw EQXUserAbort(); });
  EXPECT_THROW(comp->Process(), EQXUserAbort);
}

TEST_F(Processing, WithAnInstallComponentTheUninstallEntryIsWritten) {
  comp->Process();
  EXPECT_EQ(comp->UninstallKey, ""); // no install component: nothing written
  TTestInstall install(comp, "Widget Pro");
  comp->Process();
  EXPECT_EQ(comp->UninstallKey, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Widget Pro");
  comp->UninstallKey.clear();
  comp->SetUninstall(false);
  comp->Process();
  EXPECT_EQ(comp->UninstallKey, "");
}

TEST_F(Processing, DuringARunAnObjectWaitsForItsContainerToBeProcessed) {
  TTestInstall install(comp, "P");
  auto* child = new TTestObject(&owner, "Child", 1000, true);
  child->SetContainer(comp);
  InstallSession().RunState.RunActive = true;
  child->Process();
  EXPECT_FALSE(child->Processed());
  comp->SetProcessed(true);
  child->Process();
  EXPECT_TRUE(child->Processed());
  // Outside a run the container's state does not matter.
  InstallSession().RunState.RunActive = false;
  auto* other = new TTestObject(&owner, "Other", 1000, true);
  other->SetContainer(listener);
  other->Process();
  EXPECT_TRUE(other->Processed());
}

TEST_F(Processing, NotifyReachesDirectHelpersOfType2000AndAboveOnly) {
  auto* low = new TTestObject(&owner, "Low", 1999);
  auto* grandchild = new TTestObject(&owner, "Grandchild", 9000);
  low->SetContainer(comp);
  grandchild->SetContainer(listener);
  TMessageParameter po;
  comp->Notify(-995, &po);
  EXPECT_EQ(Journal(), (Lines{"Listener:-995"}));
  EXPECT_EQ(listener->Parameters.back(), &po);
}

TEST_F(Processing, StatusMessagesArePushedWithTheirTextAndPopped) {
  std::string seen;
  struct TCapture : TTestObject {
    using TTestObject::TTestObject;
    std::string* Seen = nullptr;
    void InformationEvent(TObject* Sender, int32_t Code, TObject* PO) override {
      TTestObject::InformationEvent(Sender, Code, PO);
      if (auto* m = dynamic_cast<TMessageParameter*>(PO)) *Seen = m->Text;
    }
  };
  auto* capture = new TCapture(&owner, "Capture", 9000);
  capture->Seen = &seen;
  capture->SetContainer(comp);
  comp->PushStatusMessage("Copying files");
  comp->PopStatusMessage();
  EXPECT_EQ(seen, "Copying files");
  EXPECT_EQ(capture->Codes, (std::vector<int32_t>{-974, -973}));
  EXPECT_EQ(capture->Parameters.back(), nullptr);
}

TEST_F(Processing, AReceiverThatFreesItselfDoesNotDisturbTheBroadcast) {
  struct TLeaving : TTestObject {
    using TTestObject::TTestObject;
    void InformationEvent(TObject*, int32_t, TObject*) override { delete this; }
  };
  (new TLeaving(&owner, "Leaving", 9000))->SetContainer(comp);
  comp->Notify(-996);
  EXPECT_EQ(HelperNames(*comp), "Listener");
  EXPECT_EQ(listener->Codes, (std::vector<int32_t>{-996}));
}

} // namespace
