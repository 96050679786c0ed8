// Processing a component and the downward broadcast to its helpers.
#include <gtest/gtest.h>

#include "EngineTestClasses.h"
#include "engine/InstallSession.h"
#include "engine/TFileContainer.h"

using namespace qnl;
using namespace qnl::test;

namespace {

struct Processing : ::testing::Test {
  TComponent Owner{nullptr};
  TTestObject* Comp = new TTestObject(&Owner, "Comp", 1000);
  TTestObject* Listener = new TTestObject(&Owner, "Listener", 2000);
  void SetUp() override {
    Journal().clear();
    Listener->SetContainer(Comp);
    Comp->SetOnBeforeProcess([](TInstallContainer* C) { Journal().push_back(C->Name() + ":Before"); });
    Comp->SetOnAfterProcess([](TInstallContainer* C) { Journal().push_back(C->Name() + ":After"); });
  }
  using Lines = std::vector<std::string>;
};

TEST_F(Processing, AnIncludedComponentRunsEveryStepInOrder) {
  Comp->Process();
  EXPECT_EQ(Journal(), (Lines{"Comp:Before", "Listener:-990", "Listener:-999", "Comp:InstallObjects", "Comp:After",
                              "Listener:-989"}));
  EXPECT_TRUE(Comp->Processed());
}

TEST_F(Processing, AnExcludedComponentStopsAfterTheStartBroadcast) {
  Comp->SetInclude(false);
  Comp->Process();
  EXPECT_EQ(Journal(), (Lines{"Comp:Before", "Listener:-990"}));
  EXPECT_FALSE(Comp->Processed());
}

TEST_F(Processing, AComponentOutsideTheInstallTypeGetsBeforeButNotAfter) {
  Comp->SetInstallTypes({itFull});
  Comp->SetCurrentInstallType(itCompact);
  Comp->Process();
  EXPECT_EQ(Journal(), (Lines{"Comp:Before", "Listener:-990", "Listener:-999"}));
  EXPECT_FALSE(Comp->Processed());
}

TEST_F(Processing, HelpersAreProcessedInListOrderWhenTheyGoWithTheirContainer) {
  auto* group = new TTestObject(&Owner, "Group", 500, true);
  auto* dir = new TTestObject(&Owner, "Dir", 1000, true);
  auto* dialog = new TTestObject(&Owner, "Dialog", 9000, false);
  dir->SetContainer(Comp);
  dialog->SetContainer(Comp);
  group->SetContainer(Comp);
  Comp->SetOnBeforeProcess(nullptr);
  Comp->SetOnAfterProcess(nullptr);
  Comp->InstallObjects();
  EXPECT_EQ(Journal(), (Lines{"Comp:InstallObjects", "Group:InstallObjects", "Dir:InstallObjects"}));
  EXPECT_TRUE(group->Processed() && dir->Processed() && Comp->Processed());
  EXPECT_FALSE(dialog->Processed());
}

TEST_F(Processing, TheSilentAbortEndsProcessQuietly) {
  Comp->SetOnBeforeProcess([](TInstallContainer*) { Abort(); });
  EXPECT_NO_THROW(Comp->Process());
  EXPECT_TRUE(Journal().empty());
  Comp->SetOnBeforeProcess(nullptr);
  Comp->SetOnAfterProcess([](TInstallContainer*) { Abort(); });
  EXPECT_NO_THROW(Comp->Process());
  EXPECT_TRUE(Comp->Processed());
  EXPECT_EQ(Journal().back(), "Comp:InstallObjects");
}

TEST_F(Processing, OtherErrorsLeaveProcess) {
  Comp->SetOnBeforeProcess([](TInstallContainer*) { throw IEInstallContainer("boom"); });
  EXPECT_THROW(Comp->Process(), IEInstallContainer);
  Comp->SetOnBeforeProcess([](TInstallContainer*) { throw EQXUserAbort(); });
  EXPECT_THROW(Comp->Process(), EQXUserAbort);
}

TEST_F(Processing, WithAnInstallComponentTheUninstallEntryIsWritten) {
  Comp->Process();
  EXPECT_EQ(Comp->UninstallKey, ""); // no install component: nothing written
  TTestInstall install(Comp, "Widget Pro");
  Comp->Process();
  EXPECT_EQ(Comp->UninstallKey, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Widget Pro");
  Comp->UninstallKey.clear();
  Comp->SetUninstall(false);
  Comp->Process();
  EXPECT_EQ(Comp->UninstallKey, "");
}

TEST_F(Processing, DuringARunAnObjectWaitsForItsContainerToBeProcessed) {
  TTestInstall install(Comp, "P");
  auto* child = new TTestObject(&Owner, "Child", 1000, true);
  child->SetContainer(Comp);
  InstallSession().RunState.RunActive = true;
  child->Process();
  EXPECT_FALSE(child->Processed());
  Comp->SetProcessed(true);
  child->Process();
  EXPECT_TRUE(child->Processed());
  // Outside a run the container's state does not matter.
  InstallSession().RunState.RunActive = false;
  auto* other = new TTestObject(&Owner, "Other", 1000, true);
  other->SetContainer(Listener);
  other->Process();
  EXPECT_TRUE(other->Processed());
}

TEST_F(Processing, NotifyReachesDirectHelpersOfType2000AndAboveOnly) {
  auto* low = new TTestObject(&Owner, "Low", 1999);
  auto* grandchild = new TTestObject(&Owner, "Grandchild", 9000);
  low->SetContainer(Comp);
  grandchild->SetContainer(Listener);
  TMessageParameter po;
  Comp->Notify(-995, &po);
  EXPECT_EQ(Journal(), (Lines{"Listener:-995"}));
  EXPECT_EQ(Listener->Parameters.back(), &po);
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
  auto* capture = new TCapture(&Owner, "Capture", 9000);
  capture->Seen = &seen;
  capture->SetContainer(Comp);
  Comp->PushStatusMessage("Copying files");
  Comp->PopStatusMessage();
  EXPECT_EQ(seen, "Copying files");
  EXPECT_EQ(capture->Codes, (std::vector<int32_t>{-974, -973}));
  EXPECT_EQ(capture->Parameters.back(), nullptr);
}

TEST_F(Processing, AReceiverThatFreesItselfDoesNotDisturbTheBroadcast) {
  struct TLeaving : TTestObject {
    using TTestObject::TTestObject;
    void InformationEvent(TObject*, int32_t, TObject*) override { delete this; }
  };
  (new TLeaving(&Owner, "Leaving", 9000))->SetContainer(Comp);
  Comp->Notify(-996);
  EXPECT_EQ(HelperNames(*Comp), "Listener");
  EXPECT_EQ(Listener->Codes, (std::vector<int32_t>{-996}));
}

TEST_F(Processing, NotifySkipsFilesAndFollowsReceiversAddedAndFreedBetweenAndDuring) {
  auto* dir = new TFileContainer(&Owner);
  Listener->SetContainer(dir);
  for (int i = 0; i < 3; ++i) (new TTestFile(&Owner, "File" + std::to_string(i), 10))->SetContainer(dir);
  dir->Notify(-990);
  auto* victim = new TTestObject(&Owner, "Victim", 9000);
  victim->SetContainer(dir);
  struct TKiller : TTestObject {
    using TTestObject::TTestObject;
    TTestObject* Victim = nullptr;
    void InformationEvent(TObject* Sender, int32_t Code, TObject* PO) override {
      TTestObject::InformationEvent(Sender, Code, PO);
      delete Victim; // a receiver later in the list leaves during the broadcast
      Victim = nullptr;
    }
  };
  auto* killer = new TKiller(&Owner, "Killer", 5000);
  killer->Victim = victim;
  killer->SetContainer(dir);
  dir->Notify(-989);
  dir->Notify(-996);
  EXPECT_EQ(Journal(), (Lines{"Listener:-990", "Listener:-989", "Killer:-989", "Listener:-996", "Killer:-996"}));
}

} // namespace
