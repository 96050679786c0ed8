// The helper list: its order, its references and the checks that keep it a tree.
#include <gtest/gtest.h>

#include "EngineTestClasses.h"
#include "engine/TFileContainer.h"

using namespace qnl;
using namespace qnl::test;

namespace {

struct Tree : ::testing::Test {
  TComponent Owner{nullptr};
  TTestObject* Root = new TTestObject(&Owner, "Root", 1000);
};

TEST_F(Tree, HelpersStandInAscendingRegisteredTypeWhateverTheOrderOfAdding) {
  const int orders[][3] = {{0, 1, 2}, {2, 1, 0}, {1, 2, 0}};
  for (auto& order : orders) {
    TTestObject* made[3] = {nullptr, nullptr, nullptr};
    const char* names[] = {"Group", "Directory", "File"};
    const int32_t types[] = {500, 1000, 2000};
    for (int i : order) {
      made[i] = new TTestObject(&Owner, names[i], types[i]);
      made[i]->SetContainer(Root);
    }
    EXPECT_EQ(HelperNames(*Root), "Group,Directory,File") << order[0] << order[1] << order[2];
    for (TTestObject* m : made) delete m;
    EXPECT_EQ(Root->HelperCount(), 0);
  }
}

TEST_F(Tree, AmongEqualTypesTheHelperAddedLastStandsFirst) {
  (new TTestObject(&Owner, "A", 2000))->SetContainer(Root);
  (new TTestObject(&Owner, "B", 2000))->SetContainer(Root);
  EXPECT_EQ(HelperNames(*Root), "B,A");
}

TEST_F(Tree, AComponentNamedTInstallBdeInAnyCaseGoesFirst) {
  (new TTestObject(&Owner, "Group", 500))->SetContainer(Root);
  (new TTestObject(&Owner, "File", 2000))->SetContainer(Root);
  auto* bde = new TInstallBde(&Owner); // class name TInstallBde, registered type 3000
  bde->SetName("Bde");
  bde->SetContainer(Root);
  EXPECT_EQ(HelperNames(*Root), "Bde,Group,File");
  // Later helpers are placed by the ordinary rule, which compares with its type too.
  (new TTestObject(&Owner, "Dialog", 9000))->SetContainer(Root);
  EXPECT_EQ(HelperNames(*Root), "Bde,Group,File,Dialog");
}

TEST_F(Tree, TheInstallFilesFollowTheHelperListThroughAddsFreesAndMoves) {
  auto* dir = new TFileContainer(&Owner);
  auto add = [&](const char* Name) {
    auto* file = new TTestFile(&Owner, Name, 1);
    file->SetContainer(dir);
    return file;
  };
  auto names = [&] {
    std::string joined;
    for (int i = 0; i < dir->InstallFileCount(); ++i) joined += dir->InstallFiles(i)->Name() + ",";
    return joined;
  };
  TTestFile* a = add("A");
  TTestFile* b = add("B");
  add("C");
  (new TTestObject(&Owner, "Dialog", 9000))->SetContainer(dir);
  EXPECT_EQ(names(), "C,B,A,");
  delete b;
  EXPECT_EQ(names(), "C,A,");
  add("D");
  a->SetContainer(new TFileContainer(&Owner));
  EXPECT_EQ(names(), "D,C,");
  EXPECT_THROW(dir->InstallFiles(2), IEInstallContainer);
  EXPECT_THROW(dir->InstallFiles(-1), IEInstallContainer);
}

TEST_F(Tree, AContainerCannotContainItselfItsHelperOrItsHelpersHelper) {
  auto* dir = new TTestObject(&Owner, "Dir", 1000);
  dir->SetContainer(Root);
  auto* helper = new TTestObject(&Owner, "Helper", 1000);
  helper->SetContainer(dir);
  auto* deeper = new TTestObject(&Owner, "Deeper", 2000);
  deeper->SetContainer(helper);

  for (TInstallContainer* target : {static_cast<TInstallContainer*>(dir), static_cast<TInstallContainer*>(helper),
                                    static_cast<TInstallContainer*>(deeper)}) {
    try {
      dir->SetContainer(target);
      ADD_FAILURE() << "accepted " << target->Name();
    } catch (const IEInstallContainer& e) {
      EXPECT_STREQ(e.what(), "Circular reference");
    }
    EXPECT_EQ(dir->Container(), Root);
    EXPECT_EQ(HelperNames(*Root), "Dir");
    EXPECT_EQ(HelperNames(*dir), "Helper");
    EXPECT_EQ(HelperNames(*helper), "Deeper");
    EXPECT_EQ(deeper->HelperCount(), 0);
  }
}

TEST_F(Tree, MovingAHelperLeavesTheOldContainer) {
  auto* other = new TTestObject(&Owner, "Other", 1000);
  auto* file = new TTestObject(&Owner, "File", 2000);
  file->SetContainer(Root);
  file->SetContainer(other);
  EXPECT_EQ(Root->HelperCount(), 0);
  EXPECT_EQ(HelperNames(*other), "File");
  file->SetContainer(nullptr);
  EXPECT_EQ(other->HelperCount(), 0);
  EXPECT_EQ(file->Container(), nullptr);
}

TEST_F(Tree, ABlankHelperIsRefusedWithTheContainersName) {
  try {
    Root->AddHelper(nullptr);
    FAIL();
  } catch (const IEInstallContainer& e) {
    EXPECT_STREQ(e.what(), "Cannot add a blank base helper component to Root");
  }
  Root->RemoveHelper(nullptr); // ignored
}

TEST_F(Tree, AddingTheSameHelperTwiceKeepsOneEntry) {
  auto* file = new TTestObject(&Owner, "File", 2000);
  Root->AddHelper(file);
  Root->AddHelper(file);
  EXPECT_EQ(HelperNames(*Root), "File");
  delete file; // no entry may outlive it
  EXPECT_EQ(Root->HelperCount(), 0);
}

TEST_F(Tree, HelpersOutsideTheListNameTheContainerAndTheIndex) {
  (new TTestObject(&Owner, "File", 2000))->SetContainer(Root);
  EXPECT_EQ(Root->Helpers(0)->Name(), "File");
  for (int index : {-1, 1}) {
    try {
      Root->Helpers(index);
      FAIL();
    } catch (const IEInstallContainer& e) {
      EXPECT_EQ(
          std::string(e.what()),
          "Tried to reference a helper component in the following component: Root. The following index was used: " +
              std::to_string(index));
    }
  }
}

TEST_F(Tree, CompCountsAndFindsHelpersOfAClassInListOrder) {
  auto* files = new TFileContainer(&Owner);
  (new TTestObject(&Owner, "Obj", 1000))->SetContainer(files);
  (new TTestFile(&Owner, "F1", 1))->SetContainer(files);
  (new TTestFile(&Owner, "F2", 1))->SetContainer(files);
  EXPECT_EQ(files->CompCount<TCustomInstallFile>(), 2);
  EXPECT_EQ(files->CompCount<TInstallObject>(), 3);
  EXPECT_EQ(files->Comp<TCustomInstallFile>(0)->Name(), "F2");
  EXPECT_EQ(files->Comp<TCustomInstallFile>(1)->Name(), "F1");
  EXPECT_EQ(files->FileContainerCount(), 0);
}

TEST_F(Tree, CompWithoutSuchAHelperSaysTheParametersAreProbablyReversed) {
  auto* files = new TFileContainer(&Owner);
  (new TTestFile(&Owner, "F1", 1))->SetContainer(files);
  try {
    files->Comp(1, TCustomInstallFile::StaticClassInfo());
    FAIL();
  } catch (const IEInstallContainer& e) {
    EXPECT_STREQ(e.what(),
                 "Bad call to the Comp procedure which returns a TInstallObject for a TInstallContainer component. "
                 "The parameters are probably reversed. Index: 1, ComponentType: 1");
  }
  EXPECT_THROW(files->Comp(0, TFileContainer::StaticClassInfo()), IEInstallContainer);
}

TEST_F(Tree, FreeCompsFreesOnlyHelpersOfThatClass) {
  auto* files = new TFileContainer(&Owner);
  (new TTestObject(&Owner, "Obj", 1000))->SetContainer(files);
  (new TTestFile(&Owner, "F1", 1))->SetContainer(files);
  (new TTestFile(&Owner, "F2", 1))->SetContainer(files);
  files->FreeComps(TCustomInstallFile::StaticClassInfo());
  EXPECT_EQ(HelperNames(*files), "Obj");
  EXPECT_EQ(Owner.FindComponent("F1"), nullptr);
  EXPECT_EQ(Owner.FindComponent("F2"), nullptr);
}

TEST_F(Tree, AClassWithoutARegisteredTypeSaysSo) {
  TInstallContainer plain(nullptr);
  TInstallObject object(nullptr);
  for (TInstallContainer* c : {&plain, static_cast<TInstallContainer*>(&object)}) {
    try {
      c->RegisteredType();
      FAIL();
    } catch (const IEInstallContainer& e) {
      EXPECT_STREQ(e.what(), "Class must declare a registered type");
    }
  }
  EXPECT_EQ(TFileContainer(nullptr).RegisteredType(), 1000);
  EXPECT_EQ(TTestFile(nullptr, "F", 0).RegisteredType(), 2000);
}

TEST_F(Tree, AHelperWithoutARegisteredTypeJoinsAnEmptyListOnly) {
  TInstallObject untyped(nullptr);
  untyped.SetContainer(Root);
  EXPECT_EQ(Root->HelperCount(), 1);
  auto* file = new TTestObject(&Owner, "File", 2000);
  EXPECT_THROW(file->SetContainer(Root), IEInstallContainer);
  EXPECT_EQ(file->Container(), nullptr);
  EXPECT_EQ(Root->HelperCount(), 1);
}

} // namespace
