// A file container's own path specifier: naming, clash renaming, the loaded rule, its texts;
// groups and their dialog options.
#include <gtest/gtest.h>

#include "FilesTestSupport.h"
#include "engine/TInstallDirectory.h"
#include "engine/TInstallFile.h"
#include "engine/TInstallGroup.h"
#include "engine/TpsFileContainer.h"

using namespace qnl;
using namespace qnl::test;

namespace {

using Specifier = FilesTest;

TEST_F(Specifier, TwoDirectoriesMadeInCodeNameTheirSpecifiersInTurn) {
  auto* first = new TInstallDirectory(FModule);
  auto* second = new TInstallDirectory(FModule);
  ASSERT_NE(first->OwnSpecifier(), nullptr);
  EXPECT_EQ(first->OwnSpecifier()->Name(), "psFileContainer");
  EXPECT_EQ(second->OwnSpecifier()->Name(), "psFileContainer1");
  EXPECT_EQ(static_cast<TpsFileContainer*>(second->OwnSpecifier())->FileContainer(), second);
  delete first;
  EXPECT_EQ(FModule->FindComponent("psFileContainer"), nullptr); // dies with its container
  EXPECT_TRUE(second->ProcessWithContainer());
  EXPECT_TRUE(second->Include());
}

TEST_F(Specifier, AStoredSpecifierWinsItsNameAndBecomesTheContainersOwn) {
  LoadProject("object Module: TDataModule\n"
              "  object Dir: TInstallDirectory\n"
              "    Description = 'Demos'\n"
              "  end\n"
              "  object psFileContainer: TpsFileContainer\n"
              "    FileContainer = Dir\n"
              "  end\n"
              "end\n");
  auto* dir = static_cast<TInstallDirectory*>(FModule->FindComponent("Dir"));
  auto* stored = static_cast<TpsFileContainer*>(FModule->FindComponent("psFileContainer"));
  ASSERT_NE(dir, nullptr);
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(dir->OwnSpecifier(), stored);
  // The automatically made one was moved aside as nameClashN and then freed.
  for (int i = 0; i < FModule->ComponentCount(); ++i)
    EXPECT_EQ(FModule->Components(i)->Name().rfind("nameClash", 0), std::string::npos)
        << FModule->Components(i)->Name();
  EXPECT_EQ(stored->GetShortName(), "<Demos>");
}

TEST_F(Specifier, RenamingOntoATakenNameMovesTheHolderAside) {
  auto* dir = new TInstallDirectory(FModule);
  auto* other = new TComponent(FModule);
  other->SetName("Wanted");
  dir->OwnSpecifier()->SetName("Wanted");
  EXPECT_EQ(dir->OwnSpecifier()->Name(), "Wanted");
  EXPECT_EQ(other->Name().rfind("nameClash", 0), 0u) << other->Name();
}

TEST_F(Specifier, TextsPathAndUsersFollowTheContainer) {
  auto* dir = new TInstallDirectory(FModule);
  dir->SetDescription("Help files");
  dir->SetDestDir("C:\\Apps\\Tool");
  auto* specifier = static_cast<TpsFileContainer*>(dir->OwnSpecifier());
  EXPECT_EQ(specifier->GetDescription(), "Path into which Help files will be installed");
  EXPECT_EQ(specifier->GetShortName(), "<Help files>");
  TComponent shortcut(nullptr);
  EXPECT_EQ(specifier->GetPath(&shortcut), "C:\\Apps\\Tool");
  EXPECT_THROW(specifier->GetPath(dir), IEPathSpecifier);
  TInstallFile file(nullptr);
  try {
    specifier->Validate(&file);
    FAIL();
  } catch (const IEPathSpecifier& e) {
    EXPECT_STREQ(e.what(), "A file container cannot reference another file container or group");
  }
  TpsFileContainer lone(nullptr);
  EXPECT_EQ(lone.GetDescription(), "Path specifier for unknown file container");
  EXPECT_EQ(lone.GetShortName(), "Path specifier for unknown file container");
  EXPECT_EQ(lone.GetPath(&shortcut), "");
}

TEST_F(Specifier, AGroupSitsOnlyInTheInstallComponentOrAnotherGroup) {
  auto* outer = new TInstallGroup(FModule);
  auto* inner = new TInstallGroup(FModule);
  auto* dir = new TInstallDirectory(FModule);
  inner->SetContainer(outer);
  EXPECT_EQ(inner->Container(), outer);
  try {
    outer->SetContainer(dir);
    FAIL();
  } catch (const IEInstallGroup& e) {
    EXPECT_STREQ(e.what(),
                 "A TInstallGroup component can only be contained by a TInstall, or another TInstallGroup component");
  }
  EXPECT_EQ(outer->RegisteredType(), 500);
  // Without an install component, none stays none.
  inner->SetContainer(nullptr);
  EXPECT_EQ(inner->Container(), nullptr);
}

TEST_F(Specifier, DialogOptionsLoadAndAssignCopies) {
  LoadProject("object Module: TDataModule\n"
              "  object Group: TInstallGroup\n"
              "    DialogOptions.AllowExcludeInclude = False\n"
              "    DialogOptions.Description.Strings = (\n"
              "      'First line'\n"
              "      'Second line')\n"
              "    InstallTypes = [itFull]\n"
              "  end\n"
              "end\n");
  auto* group = static_cast<TInstallGroup*>(FModule->FindComponent("Group"));
  ASSERT_NE(group, nullptr);
  TInstallGroupDialogOptions* options = group->DialogOptions();
  EXPECT_FALSE(options->AllowExcludeInclude());
  EXPECT_TRUE(options->AllowChangeDir());
  EXPECT_TRUE(options->DisplayDirectory());
  EXPECT_TRUE(options->ShowRegardlessOfInclude());
  EXPECT_EQ(options->Description()->Count(), 2);
  TInstallGroup copy(nullptr);
  copy.SetDialogOptions(options);
  EXPECT_FALSE(copy.DialogOptions()->AllowExcludeInclude());
  EXPECT_NE(copy.DialogOptions(), options);
  EXPECT_EQ(copy.DialogOptions()->Description()->Strings(1), "Second line");
}

} // namespace
