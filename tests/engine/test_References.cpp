// References between components: install types, destination and archive paths, and what
// happens when a referenced component goes away.
#include <gtest/gtest.h>

#include "EngineTestClasses.h"
#include "engine/ContainerPathSpecifiers.h"
#include "engine/InstallSession.h"

using namespace qnl;
using namespace qnl::test;

namespace {

// A specifier that gives a fixed directory.
TCustomPathSpecifier* FixedSpecifier(TComponent* Owner, const std::string& Path) {
  auto* specifier = new TCustomPathSpecifier(Owner);
  specifier->SetOnGetPath([Path](TComponent*, std::string& P) { P = Path; });
  return specifier;
}

TEST(InstallTypes, AnEmptySetReadsBackAsFull) {
  TTestObject obj(nullptr, "Obj", 1000);
  EXPECT_EQ(obj.InstallTypes(), (TInstallTypeSet{itFull, itDefault, itCompact}));
  obj.SetInstallTypes({});
  EXPECT_EQ(obj.InstallTypes(), TInstallTypeSet{itFull});
}

TEST(InstallTypes, CustomIncludesWhatIsIncludedAndOtherTypesNeedMembership) {
  TTestObject obj(nullptr, "Obj", 1000);
  obj.SetInstallTypes({itFull});
  obj.SetCurrentInstallType(itCustom);
  EXPECT_TRUE(obj.IsIncluded());
  obj.SetInclude(false);
  EXPECT_FALSE(obj.IsIncluded());
  obj.SetInclude(true);
  obj.SetCurrentInstallType(itCompact);
  EXPECT_FALSE(obj.IsIncluded());
  obj.SetCurrentInstallType(itFull);
  EXPECT_TRUE(obj.IsIncluded());
}

TEST(InstallTypes, TheCurrentTypeReachesTheWholeTree) {
  TComponent owner(nullptr);
  auto* root = new TTestObject(&owner, "Root", 1000);
  auto* mid = new TTestObject(&owner, "Mid", 1000);
  auto* leaf = new TTestObject(&owner, "Leaf", 2000);
  mid->SetContainer(root);
  leaf->SetContainer(mid);
  root->SetCurrentInstallType(itCompact);
  for (TInstallContainer* c : {static_cast<TInstallContainer*>(root), static_cast<TInstallContainer*>(mid),
                               static_cast<TInstallContainer*>(leaf)})
    EXPECT_EQ(c->CurrentInstallType(), itCompact) << c->Name();
}

TEST(Paths, DestinationIsTheSpecifiersPathFollowedByDestDirWithoutTrailingBackslash) {
  TComponent owner(nullptr);
  auto* obj = new TTestObject(&owner, "Obj", 1000);
  obj->SetDestDir("\\Tools\\");
  EXPECT_EQ(obj->GetDestDir(), "\\Tools");
  obj->SetDestDirType(FixedSpecifier(&owner, "C:\\Program Files"));
  EXPECT_EQ(obj->GetDestDir(), "C:\\Program Files\\Tools");
}

TEST(Paths, ArchiveIsTheSpecifiersPathFollowedByArchiveFile) {
  TComponent owner(nullptr);
  auto* file = new TTestFile(&owner, "File", 1);
  file->SetArchiveFile("\\files.1");
  EXPECT_EQ(file->GetArchivePath(), "\\files.1");
  file->SetArchiveFileType(FixedSpecifier(&owner, "D:\\dist"));
  EXPECT_EQ(file->GetArchivePath(), "D:\\dist\\files.1");
}

// A specifier that refuses every user.
class TRefusingSpecifier : public TCustomPathSpecifier {
public:
  using TCustomPathSpecifier::TCustomPathSpecifier;
  void Validate(TComponent*) const override { throw IEPathSpecifier("refused"); }
};

TEST(Paths, SpecifiersValidateTheirUsersOutsideLoadingOnly) {
  TComponent owner(nullptr);
  auto* file = new TTestFile(&owner, "File", 1);
  auto* refusing = new TRefusingSpecifier(&owner);
  EXPECT_THROW(file->SetDestDirType(refusing), IEPathSpecifier);
  EXPECT_THROW(file->SetArchiveFileType(refusing), IEPathSpecifier);
  EXPECT_EQ(file->DestDirType(), nullptr);
  EXPECT_EQ(file->ArchiveFileType(), nullptr);
  file->SetComponentStateFlag(csLoading, true);
  file->SetDestDirType(refusing);
  file->SetArchiveFileType(refusing);
  EXPECT_EQ(file->DestDirType(), refusing);
  EXPECT_EQ(file->ArchiveFileType(), refusing);
}

TEST(References, RemovedSpecifiersAndNetLocationsAreForgotten) {
  TComponent owner(nullptr);
  TComponent elsewhere(nullptr); // not a sibling: only the free notification tells
  auto* file = new TTestFile(&owner, "File", 1);
  auto* specifier = FixedSpecifier(&elsewhere, "C:\\x");
  auto* location = new TComponent(&elsewhere);
  file->SetDestDirType(specifier);
  file->SetArchiveFileType(specifier);
  file->SetNetLocation(location);
  delete specifier;
  delete location;
  EXPECT_EQ(file->DestDirType(), nullptr);
  EXPECT_EQ(file->ArchiveFileType(), nullptr);
  EXPECT_EQ(file->NetLocation(), nullptr);
}

TEST(References, ADestroyedContainerIsForgottenByItsHelpersAndItsContainer) {
  TComponent owner(nullptr);
  auto* root = new TTestObject(&owner, "Root", 1000);
  auto* dir = new TTestObject(&owner, "Dir", 1000);
  auto* a = new TTestObject(&owner, "A", 2000);
  auto* b = new TTestObject(&owner, "B", 2000);
  dir->SetContainer(root);
  a->SetContainer(dir);
  b->SetContainer(dir);
  delete dir;
  EXPECT_EQ(root->HelperCount(), 0);
  EXPECT_EQ(a->Container(), nullptr);
  EXPECT_EQ(b->Container(), nullptr);
  delete a;
  EXPECT_EQ(b->Container(), nullptr);
}

TEST(References, EveryContainerIsRegisteredWhileItLives) {
  int before = InstallSession().Containers.Count();
  int filesBefore = InstallSession().InstallFiles.Count();
  {
    TComponent owner(nullptr);
    auto* obj = new TTestObject(&owner, "Obj", 1000);
    auto* file = new TTestFile(&owner, "File", 1);
    EXPECT_EQ(InstallSession().Containers.Count(), before + 2);
    EXPECT_EQ(InstallSession().Containers.Items(before), obj);
    EXPECT_EQ(InstallSession().InstallFiles.Count(), filesBefore + 1);
    EXPECT_EQ(InstallSession().InstallFiles.Items(filesBefore), file);
  }
  EXPECT_EQ(InstallSession().Containers.Count(), before);
  EXPECT_EQ(InstallSession().InstallFiles.Count(), filesBefore);
}

TEST(References, FreeingTheOwnerFreesATreeInAnyOrder) {
  for (bool containersFirst : {true, false}) {
    auto* owner = new TComponent(nullptr);
    auto makeContainers = [&] {
      auto* root = new TFileContainer(owner);
      root->SetName("Root");
      auto* dir = new TFileContainer(owner);
      dir->SetName("Dir");
      dir->SetContainer(root);
      return dir;
    };
    TFileContainer* dir = containersFirst ? makeContainers() : nullptr;
    auto* specifier = FixedSpecifier(owner, "C:\\x");
    std::vector<TTestFile*> files;
    for (int i = 0; i < 5; ++i) files.push_back(new TTestFile(owner, "F" + std::to_string(i), i));
    if (!dir) dir = makeContainers();
    for (TTestFile* f : files) {
      f->SetContainer(dir);
      f->SetDestDirType(specifier);
    }
    auto* receiver = new TTestObject(owner, "Receiver", 9000);
    receiver->SetContainer(dir);
    delete owner; // the sanitizer build checks that nothing is touched after it is freed
  }
  SUCCEED();
}

TEST(References, AFileContainerFreesItsInstallFiles) {
  TComponent owner(nullptr);
  auto* dir = new TFileContainer(&owner);
  auto* file = new TTestFile(&owner, "File", 1);
  auto* other = new TTestObject(&owner, "Other", 9000);
  file->SetContainer(dir);
  other->SetContainer(dir);
  delete dir;
  EXPECT_EQ(owner.FindComponent("File"), nullptr);
  EXPECT_EQ(owner.FindComponent("Other"), other);
  EXPECT_EQ(other->Container(), nullptr);
}

TEST(RunTimeDefaults, AContainerAssignedInCodeBringsTheContainerSpecifiers) {
  TComponent owner(nullptr);
  auto* destType = new TpsContainerDestDir(&owner);
  auto* archiveType = new TpsContainerArchiveFile(&owner);
  auto* dir = new TFileContainer(&owner);
  dir->SetName("Dir");
  auto* file = new TTestFile(&owner, "File", 1);
  file->SetDestDir("\\Sub");
  file->SetArchiveFile("x.1");
  file->SetContainer(dir);
  EXPECT_EQ(file->DestDirType(), destType);
  EXPECT_EQ(file->DestDir(), "");
  EXPECT_EQ(file->ArchiveFileType(), archiveType);
  EXPECT_EQ(file->ArchiveFile(), "");
  file->SetContainer(nullptr);
  EXPECT_EQ(file->DestDirType(), nullptr);
  EXPECT_EQ(file->ArchiveFileType(), nullptr);
}

TEST(RunTimeDefaults, AnInstallFileRefusesAContainerOfAnotherKind) {
  TComponent owner(nullptr);
  auto* specifier = FixedSpecifier(&owner, "C:\\x");
  auto* plain = new TTestObject(&owner, "Plain", 1000);
  auto* file = new TTestFile(&owner, "File", 1);
  file->SetArchiveFileType(specifier);
  // An install file refuses it outright and keeps what it had.
  EXPECT_THROW(file->SetContainer(plain), IECustomInstallFile);
  EXPECT_EQ(file->ArchiveFileType(), specifier);
}

TEST(RunTimeDefaults, WhileLoadingTheContainerSetterOnlyLinks) {
  TComponent owner(nullptr);
  auto* specifier = FixedSpecifier(&owner, "C:\\x");
  auto* dir = new TFileContainer(&owner);
  auto* file = new TTestFile(&owner, "File", 1);
  file->SetDestDirType(specifier);
  file->SetDestDir("\\Sub");
  file->SetComponentStateFlag(csLoading, true);
  file->SetContainer(dir);
  EXPECT_EQ(dir->HelperCount(), 1);
  EXPECT_EQ(file->DestDirType(), specifier);
  EXPECT_EQ(file->DestDir(), "\\Sub");
}

} // namespace
