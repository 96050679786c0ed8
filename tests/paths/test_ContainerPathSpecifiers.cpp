// The specifiers relative to a component's container: destination directory and archive.
#include "engine/ContainerPathSpecifiers.h"
#include "engine/TFileContainer.h"
#include "paths/routines_ExpandPaths.h"
#include "tests/paths/PathsTestSupport.h"

using namespace qnl;

namespace {
// A group: a file container of registered type 500.
class TTestGroup : public TFileContainer {
public:
  using TFileContainer::TFileContainer;
  int32_t RegisteredType() const override { return 500; }
};

// A container that holds no files, like a shortcut folder.
class TTestFolder : public TInstallObject {
public:
  using TInstallObject::TInstallObject;
  int32_t RegisteredType() const override { return 7000; }
};

// An object that sits in a container, like a shortcut.
class TTestObject : public TInstallObject {
public:
  using TInstallObject::TInstallObject;
  int32_t RegisteredType() const override { return 8000; }
};

// A specifier with a fixed path.
TCustomPathSpecifier* FixedSpecifier(TComponent* Owner, const std::string& Path) {
  auto* s = new TCustomPathSpecifier(Owner);
  s->SetOnGetPath([Path](TComponent*, std::string& Result) { Result = Path; });
  return s;
}

template <class T>
T* Named(T* Component, const std::string& Name) {
  Component->SetName(Name);
  return Component;
}

class ContainerPathSpecifiers : public ::testing::Test {
protected:
  TComponent FOwner{nullptr};
  TpsContainerDestDir* FDestDir = new TpsContainerDestDir(&FOwner);
  TpsContainerArchiveFile* FArchive = new TpsContainerArchiveFile(&FOwner);
};
} // namespace

TEST_F(ContainerPathSpecifiers, OnlyInstallationObjectsMayUseThem) {
  auto* plain = Named(new TComponent(&FOwner), "Plain1");
  QNL_EXPECT_THROW_MESSAGE(FDestDir->Validate(plain), IEPathSpecifier,
                           "Plain1 must be a TInstallObject to use the psContainerDestDir path specifier");
  QNL_EXPECT_THROW_MESSAGE(FArchive->GetPath(plain), IEPathSpecifier,
                           "Plain1 must be a TInstallObject to use the psContainerArchiveFile path specifier");
}

TEST_F(ContainerPathSpecifiers, AnObjectWithoutAContainerIsRefused) {
  auto* link = Named(new TTestObject(&FOwner), "Link1");
  QNL_EXPECT_THROW_MESSAGE(FDestDir->GetPath(link), IEPathSpecifier,
                           "Cannot use ddContainerDestDir for Link1 unless you assign a Container");
  QNL_EXPECT_THROW_MESSAGE(FArchive->Validate(link), IEPathSpecifier,
                           "Cannot use ddContainerArchiveFile for Link1 unless you assign a Container");
}

TEST_F(ContainerPathSpecifiers, TheArchiveNeedsAFileRelatedContainer) {
  auto* folder = Named(new TTestFolder(&FOwner), "Folder1");
  auto* link = Named(new TTestObject(&FOwner), "Link1");
  link->SetContainer(folder);
  QNL_EXPECT_THROW_MESSAGE(FArchive->GetPath(link), IEPathSpecifier,
                           "Cannot use the ddContainerArchiveFile path specifier for Link1 because the Container is "
                           "not a TFileRelated descendant");
  EXPECT_NO_THROW(FDestDir->Validate(link));
}

TEST_F(ContainerPathSpecifiers, PathsAreTheContainersExpandedOnes) {
  auto* group = Named(new TTestGroup(&FOwner), "Group1");
  group->SetDestDirType(FixedSpecifier(&FOwner, "C:\\Program Files"));
  group->SetDestDir("\\Tools\\");
  group->SetArchiveFileType(FixedSpecifier(&FOwner, "D:\\Dist"));
  group->SetArchiveFile("\\group1.1");
  auto* child = Named(new TTestGroup(&FOwner), "Group2");
  child->SetContainer(group);
  EXPECT_EQ(FDestDir->GetPath(child), "C:\\Program Files\\Tools");
  EXPECT_EQ(FArchive->GetPath(child), "D:\\Dist\\group1.1");
}

TEST_F(ContainerPathSpecifiers, DescriptionsNameTheContainer) {
  auto* group = Named(new TTestGroup(&FOwner), "Group1");
  group->SetDescription("Program files");
  auto* directory = Named(new TFileContainer(&FOwner), "Dir1");
  directory->SetDescription("Help");
  auto* folder = Named(new TTestFolder(&FOwner), "Folder1");
  struct Row {
    TInstallContainer* Container;
    const char* Description;
    const char* ShortName;
  };
  for (Row row : {Row{group, "Path of the <Program files> group", "<Program files>"},
                  Row{directory, "Path of the <Help> directory", "<Help>"},
                  Row{folder, "Path of the <Folder1> group", "<Folder1>"}}) {
    auto* object = new TTestObject(&FOwner);
    object->SetContainer(row.Container);
    EXPECT_EQ(FDestDir->GetDescriptionFor(object), row.Description);
    EXPECT_EQ(FDestDir->GetShortNameFor(object), row.ShortName);
  }
}

TEST_F(ContainerPathSpecifiers, TheInstallComponentAsContainerIsTheMainDirectory) {
  struct TTestInstall : TFileContainer, IInstallComponent {
    using TFileContainer::TFileContainer;
    TComponent* InstallComponent() override { return this; }
    std::string InstallSource() const override { return "C:\\Dist"; }
    std::string MainInstallDir() override { return GetDestDir(); }
    std::optional<std::string> SelfExtractorArgument() const override { return std::nullopt; }
  };
  auto* install = new TTestInstall(&FOwner);
  SetCurrentInstallComponent(install);
  auto* object = new TTestObject(&FOwner);
  object->SetContainer(install);
  EXPECT_EQ(FDestDir->GetDescriptionFor(object), "Main installation directory");
  EXPECT_EQ(FDestDir->GetShortNameFor(object), "Main installation directory");
  SetCurrentInstallComponent(nullptr);
}

TEST_F(ContainerPathSpecifiers, AnInvalidUserGetsTheGeneralDescription) {
  auto* link = new TTestObject(&FOwner);
  EXPECT_EQ(FDestDir->GetDescriptionFor(link), "Path of the group (container)");
  EXPECT_EQ(FDestDir->GetShortNameFor(&FOwner), "Path of the group (container)");
}

TEST_F(ContainerPathSpecifiers, ContainerVariablesExpandToTheDestinations) {
  auto* group = Named(new TTestGroup(&FOwner), "Group1");
  group->SetDestDirType(FixedSpecifier(&FOwner, "C:\\App"));
  auto* link = Named(new TTestObject(&FOwner), "Link1");
  link->SetContainer(group);
  link->SetDestDirType(FixedSpecifier(&FOwner, "C:\\Links\\"));
  EXPECT_EQ(ExpandMetaVariables("%a|%c\\x.exe", link), "C:\\Links|C:\\App\\x.exe");
  QNL_EXPECT_THROW_MESSAGE(ExpandMetaVariables("%c", group), EQXCannotExpandContainerDirMV,
                           "Cannot expand the %c meta variable because the Container property is Nil");
}
