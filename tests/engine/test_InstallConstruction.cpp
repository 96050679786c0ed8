// The install component's defaults, construction rules, setters and destructor duties.
#include "engine/InstallSession.h"
#include "paths/StandardPathSpecifiers.h"
#include "paths/TPathSpecifierList.h"
#include "tests/engine/InstallTestSupport.h"
#include "tests/support/MessageOf.h"

using namespace qnl;
using qnl::test::InstallTest;
using qnl::test::MessageOf;
using qnl::test::TRecordlessInstall;

class InstallConstruction : public InstallTest {};

TEST_F(InstallConstruction, EveryPropertyHasItsDefault) {
  TRecordlessInstall* install = NewInstall();
  EXPECT_TRUE(install->AutoMaximizeWindow());
  EXPECT_EQ(install->DestDir(), "\\MyApplication");
  EXPECT_EQ(install->DestDirType(), FForm->FindComponent("psProgramFiles"));
  EXPECT_EQ(install->ArchiveFileType(), FForm->FindComponent("psMainArchiveFile"));
  EXPECT_EQ(install->ArchiveFile(), "");
  EXPECT_EQ(install->DialogThemeBitmap()->Width(), 117);
  EXPECT_EQ(install->DialogThemeBitmap()->Height(), 290);
  EXPECT_EQ(install->DistributeType(), dtTraditional);
  EXPECT_FALSE(install->HideMainForm());
  EXPECT_EQ(install->InstallTypes(), TInstallTypeSet{itFull});
  EXPECT_EQ(install->NetLocation(), nullptr);
  EXPECT_EQ(install->PresetupFiles()->Count(), 0);
  EXPECT_FALSE(install->Reboot());
  EXPECT_TRUE(install->RunAutomatic());
  EXPECT_TRUE(install->UseLoadingProgram());
  EXPECT_EQ(install->Description(), "TInstall component");
  EXPECT_FALSE(install->FireAfterInstallObjects());
  EXPECT_EQ(install->RegisteredType(), 1000);
  EXPECT_FALSE(install->CreatesOwnSpecifier());
  EXPECT_FALSE(install->Started() || install->Running() || install->Ended() || install->CleanupBatchWritten());
  EXPECT_EQ(TCustomInstall::Current(), install);
  EXPECT_EQ(CurrentInstallComponent(), install);
}

TEST_F(InstallConstruction, BuildInfoHasItsDefaultsAndIsCopiedOnAssignment) {
  TRecordlessInstall* install = NewInstall();
  TBuildInfo* info = install->BuildInfo();
  EXPECT_TRUE(info->AddUninstallOnCreate);
  EXPECT_EQ(info->BuildDirectory, "c:\\build");
  EXPECT_EQ(info->OCXName, "QuenloftWebInstall.ocx");
  EXPECT_FALSE(info->SignCode);
  TBuildInfo other;
  other.AppName = "App";
  other.SignCode = true;
  install->SetBuildInfo(&other);
  EXPECT_NE(install->BuildInfo(), &other);
  EXPECT_EQ(install->BuildInfo()->AppName, "App");
  EXPECT_TRUE(install->BuildInfo()->SignCode);
}

TEST_F(InstallConstruction, ASecondInstallComponentFails) {
  NewInstall();
  EXPECT_EQ(MessageOf([&] { new TInstall(FForm.get()); }),
            "The TInstall component does not currently support the use of 2 TInstall components in the same project");
  EXPECT_EQ(FForm->ComponentCount(), 15); // the fourteen specifiers and the first install component
}

TEST_F(InstallConstruction, TheOwnerMustBeAFormOrADataModule) {
  TComponent owner(nullptr);
  EXPECT_EQ(MessageOf([&] { new TInstall(&owner); }),
            "The owner of the TInstall component must be a form class (a TForm or TDataModule descendant)");
  EXPECT_EQ(TCustomInstall::Current(), nullptr);
  TDataModule module(nullptr);
  auto* install = new TInstall(&module);
  EXPECT_EQ(TCustomInstall::Current(), install);
}

TEST_F(InstallConstruction, DestructionClearsTheCurrentInstallAndItsHandler) {
  TRecordlessInstall* install = NewInstall();
  EXPECT_TRUE(static_cast<bool>(FApp->OnException));
  delete install;
  EXPECT_EQ(TCustomInstall::Current(), nullptr);
  EXPECT_EQ(CurrentInstallComponent(), nullptr);
  EXPECT_FALSE(static_cast<bool>(FApp->OnException));
  NewInstall(); // a new one may come now
}

TEST_F(InstallConstruction, MaximizingAndHidingExcludeEachOtherOutsideLoading) {
  TRecordlessInstall* install = NewInstall();
  install->SetHideMainForm(true);
  EXPECT_FALSE(install->AutoMaximizeWindow());
  install->SetAutoMaximizeWindow(true);
  EXPECT_FALSE(install->HideMainForm());
  install->SetComponentStateFlag(csLoading, true);
  install->SetHideMainForm(true);
  install->SetAutoMaximizeWindow(true);
  EXPECT_TRUE(install->HideMainForm() && install->AutoMaximizeWindow());
}

TEST_F(InstallConstruction, DistributeTypeCanOnlyBeSetAtDesignTime) {
  TRecordlessInstall* install = NewInstall();
  EXPECT_EQ(MessageOf([&] { install->SetDistributeType(dtWeb); }), "DistributeType can only be set at design-time");
  install->SetComponentStateFlag(csDesigning, true);
  try {
    install->SetDistributeType(dtTraditionalNet);
    ADD_FAILURE();
  } catch (const IEInstallNetLocNil& e) {
    EXPECT_STREQ(e.what(),
                 "Must assign a net location via the NetLocation property before you can set the distribute type");
  }
  install->SetDistributeType(dtTraditional);
  TComponent location(nullptr);
  install->SetNetLocation(&location);
  install->SetDistributeType(dtWeb);
  EXPECT_EQ(install->DistributeType(), dtWeb);
  install->SetComponentStateFlag(csDesigning, false);
  install->SetComponentStateFlag(csLoading, true);
  install->SetDistributeType(dtTraditionalNet); // streaming only stores
  EXPECT_EQ(install->DistributeType(), dtTraditionalNet);
  install->SetComponentStateFlag(csLoading, false);
  install->SetNetLocation(nullptr);
}

TEST_F(InstallConstruction, ClearingOrLosingTheNetLocationMakesTheDistributionTraditional) {
  TRecordlessInstall* install = NewInstall();
  auto* location = new TComponent(FForm.get());
  install->SetComponentStateFlag(csLoading, true);
  install->SetDistributeType(dtWeb);
  install->SetNetLocation(location);
  install->SetComponentStateFlag(csLoading, false);
  EXPECT_EQ(InstallSession().CurrentNetLocation, location);
  delete location;
  EXPECT_EQ(install->NetLocation(), nullptr);
  EXPECT_EQ(InstallSession().CurrentNetLocation, nullptr);
  EXPECT_EQ(install->DistributeType(), dtTraditional);
}

TEST_F(InstallConstruction, PresetupFilesDropBlankLines) {
  TRecordlessInstall* install = NewInstall();
  TStringList lines;
  lines.SetText("a.dll\n   \n\nb.dll\n\t\n");
  install->SetPresetupFiles(&lines);
  ASSERT_EQ(install->PresetupFiles()->Count(), 2);
  EXPECT_EQ(install->PresetupFiles()->Get(1), "b.dll");
}

TEST_F(InstallConstruction, UsingTheLoadingProgramResetsTheArchive) {
  TRecordlessInstall* install = NewInstall();
  install->SetArchiveFileType(StandardPathSpecifiers().Find<TpsInstallSource>());
  install->SetArchiveFile("\\other.1");
  install->SetUseLoadingProgram(false);
  EXPECT_EQ(install->ArchiveFile(), "\\other.1");
  install->SetUseLoadingProgram(true);
  EXPECT_EQ(install->ArchiveFileType(), FForm->FindComponent("psMainArchiveFile"));
  EXPECT_EQ(install->ArchiveFile(), "");
}

TEST_F(InstallConstruction, TheMainInstallSpecifierCannotBeItsOwnDestination) {
  TRecordlessInstall* install = NewInstall();
  EXPECT_EQ(MessageOf([&] { install->SetDestDirType(StandardPathSpecifiers().Find<TpsMainInstall>()); }),
            "Cannot use the ddMainInstallDir path specifier for a TInstall component");
}

TEST_F(InstallConstruction, QueryUserAbortAsksTheHandler) {
  TRecordlessInstall* install = NewInstall();
  EXPECT_TRUE(install->QueryUserAbort());
  bool seen = false;
  install->OnUserAbort = [&](TCustomInstall* Sender, bool& QuitOut) {
    seen = QuitOut && Sender == install;
    QuitOut = false;
  };
  EXPECT_FALSE(install->QueryUserAbort());
  EXPECT_TRUE(seen);
}

TEST_F(InstallConstruction, TheNoticesFireTheirEventsAroundTheBroadcasts) {
  TRecordlessInstall* install = NewInstall();
  std::string order;
  install->OnBeforeNotifyGoodInstall = [&](TObject*) { order += "G<"; };
  install->OnAfterNotifyGoodInstall = [&](TObject*) { order += "G>"; };
  install->OnBeforeNotifyBadInstall = [&](TObject*) { order += "B<"; };
  install->OnAfterNotifyBadInstall = [&](TObject*) { order += "B>"; };
  install->NotifyGoodInstall();
  install->NotifyBadInstall();
  EXPECT_EQ(order, "G<G>B<B>");
}

TEST_F(InstallConstruction, EveryPropertyAndEventIsPublished) {
  const TClassInfo& info = TInstall::StaticClassInfo();
  for (const char* name : {"AutoMaximizeWindow",
                           "BuildInfo",
                           "DestDir",
                           "DestDirType",
                           "DialogThemeBitmap",
                           "DistributeType",
                           "HideMainForm",
                           "Information",
                           "InstallTypes",
                           "NetLocation",
                           "PresetupFiles",
                           "Reboot",
                           "RunAutomatic",
                           "UseLoadingProgram",
                           "OnAfterInitialized",
                           "OnAfterInstallObjects",
                           "OnAfterNotifyBadInstall",
                           "OnAfterNotifyGoodInstall",
                           "OnAfterReadArchiveInfo",
                           "OnBeforeInstallObjects",
                           "OnBeforeReadArchiveInfo",
                           "OnBeforeReboot",
                           "OnBeforeRunFile",
                           "OnBeforeShutdown",
                           "OnBeforeCleanup",
                           "OnBeforeNotifyBadInstall",
                           "OnBeforeNotifyGoodInstall",
                           "OnFailedReboot",
                           "OnNewDisk",
                           "OnReplacing",
                           "OnStatus",
                           "OnUserAbort"})
    EXPECT_NE(info.FindProp(name), nullptr) << name;
  EXPECT_EQ(info.FindProp("BuildInfo")->PropClass().FindProp("OCXName")->Kind, TTypeKind::tkString);
}
