// The page on which the user names the program folder, driven on the offscreen platform on a
// machine with existing program folders: when it shows at all, and what it writes into the
// shortcut folder while the user picks or types.
#include <algorithm>

#include "common/exceptions_Quenloft.h"
#include "dialogs/RegisterDialogClasses.h"
#include "dialogs/TDialogManager.h"
#include "dialogs/dlgcmp_TSelectFolder.h"
#include "dialogs/dlgcmp_TWelcomeDlg.h"
#include "engine/RegisterEngineClasses.h"
#include "links/ProgramFolders.h"
#include "links/RegisterLinksClasses.h"
#include "links/ShellLinkRegistries.h"
#include "links/TCustomShellLinkGroup.h"
#include "links/cmp_TProgramManager.h"
#include "paths/StandardPathSpecifiers.h"
#include "paths/routines_ExpandPaths.h"
#include "platform/files/Files.h"
#include "platform/system/SystemInfo.h"
#include "tests/dialogs/WizardDriver.h"
#include "tests/engine/InstallTestSupport.h"
#include "tests/support/MachineTest.h"
#include "tests/support/MessageOf.h"
#include "tests/vcl/VclTestSupport.h"
#include "vcl/Controls.h"

using namespace qnl;
using namespace qnl::test;

namespace {

class SelectFolder : public TMachineTest {
protected:
  void SetUp() override {
    TMachineTest::SetUp();
    CopyTemplateMachine();
    ResetTestApp();
    RegisterControlsClasses();
    RegisterEngineClasses();
    RegisterLinksClasses();
    RegisterDialogClasses();
    unsetenv("QUENLOFT_UNATTENDED");
    FApp.PretendDisplay = true;
    FProject = new TForm(nullptr);
    FInstall = new TRecordlessInstall(FProject);
    // Made out of order: the page lists them sorted. The machine has StartUp already.
    for (const char* folder : {"Games", "Accessories"}) ForceDirectories(GetProgramsDir() + "\\" + folder);
  }
  void TearDown() override {
    FApp.PretendDisplay = false;
    delete FProject;
    SettleTestApp();
    TMachineTest::TearDown();
  }
  TDialogManager* NewManager() {
    auto* manager = new TDialogManager(FProject);
    manager->SetManagerType(dmBeforeInstall);
    manager->SetContainer(FInstall);
    return manager;
  }
  template <class TDialog>
  TDialog* NewDialog(TDialogManager* Manager) {
    auto* dialog = new TDialog(FProject);
    dialog->SetDialogManager(Manager);
    return dialog;
  }

  TTestApplication& FApp = TestApp(); // before the forms
  TForm* FProject = nullptr;
  TRecordlessInstall* FInstall = nullptr;
};

TEST_F(SelectFolder, WithoutAMainFolderThePageNeverAppearsAndByItselfIsRefused) {
  TDialogManager* manager = NewManager();
  auto* folder = NewDialog<TSelectFolderDlg>(manager);
  NewDialog<TWelcomeDlg>(manager);
  EXPECT_EQ(folder->Container(), nullptr);
  std::vector<std::string> seen;
  WhenWizardShows([&](TBaseFormContainer& W) {
    seen.push_back(W.Caption());
    FrontPage(W).Click("ProceedBtn"); // Welcome is the last page shown: the wizard ends
  });
  manager->RunWizard();
  EXPECT_EQ(seen, std::vector<std::string>{"Welcome"});

  folder->SetName("Folder");
  folder->SetDialogManager(nullptr);
  EXPECT_EQ(MessageOf([&] { folder->Execute(); }), "Cannot run this dialog Folder with a blank Container property");
  // A project that names a container of another kind loads; the dialog then refuses by name.
  TForm project(nullptr);
  LoadTextForm(&project, "object Project: TForm\n"
                         "  object Docs: TInstallDirectory\n  end\n"
                         "  object Folder: TSelectFolderDlg\n    Container = Docs\n  end\nend\n");
  auto* loaded = dynamic_cast<TSelectFolderDlg*>(project.FindComponent("Folder"));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(MessageOf([&] { loaded->Execute(); }), "The container for Folder must be a TCustomShellLinkGroup");
  EXPECT_EQ(MessageOf([&] { loaded->Container(); }), "The container for Folder must be a TCustomShellLinkGroup");
}

TEST_F(SelectFolder, TheFirstFolderIsTakenWhenTheGroupHasNoneAndEveryPickOrKeyMovesTheGroupAtOnce) {
  auto* group = new TMainLinkGroup(FProject);
  group->SetDestDir("");
  TDialogManager* manager = NewManager();
  auto* dialog = NewDialog<TSelectFolderDlg>(manager);
  EXPECT_EQ(dialog->Container(), group);
  const std::string programs = GetProgramsDir();
  std::vector<std::string> destinations;
  WhenWizardShows([&](TBaseFormContainer& W) {
    EXPECT_EQ(W.Caption(), "Select folder in start menu");
    EXPECT_FALSE(FrontPage(W).IsShowing("BackBtn"));
    EXPECT_EQ(FrontPage(W).ShownText("FolderEdit"), "Accessories");
    destinations.push_back(group->GetDestDir());
    GrabFor(W, "page-select-folder");
    FrontPage(W).ClickItem("FolderListBox", 1);
    destinations.push_back(group->GetDestDir());
    FrontPage(W).Type("FolderEdit", " Two");
    destinations.push_back(group->GetDestDir());
    FrontPage(W).PressEnter(); // Next is the page's default button
  });
  manager->RunWizard();
  EXPECT_EQ(destinations,
            (std::vector<std::string>{programs + "\\Accessories", programs + "\\Games", programs + "\\Games Two"}));
  EXPECT_TRUE(dynamic_cast<TpsProgramMenu*>(group->DestDirType()));

  // A group that has a folder keeps it.
  group->SetDestDir("\\Tool\\");
  std::string shown;
  WhenWizardShows([&](TBaseFormContainer& W) {
    shown = FrontPage(W).ShownText("FolderEdit");
    FrontPage(W).Click("ProceedBtn");
  });
  manager->RunWizard();
  EXPECT_EQ(shown, "Tool");
  EXPECT_EQ(group->GetDestDir(), programs + "\\Tool");
}

TEST_F(SelectFolder, WithoutAManagerThePageShowsByItselfJustBeforeTheShortcutsAreMade) {
  auto* group = new TMainLinkGroup(FProject);
  group->SetDestDir("\\Tool");
  auto* dialog = NewDialog<TSelectFolderDlg>(nullptr);
  int shown = 0;
  WhenDialogShows(*dialog, [&](TForm& Form) {
    ++shown;
    TFormDriver page(Form);
    EXPECT_FALSE(page.IsShowing("BackBtn"));
    EXPECT_EQ(page.ShownText("FolderEdit"), "Tool"); // the group's own folder
    page.ClickItem("FolderListBox", 0);
    page.Click("ProceedBtn"); // OK
  });
  group->Notify(icBeforeCreateShortcuts);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(group->GetDestDir(), GetProgramsDir() + "\\Accessories");
}

TEST_F(SelectFolder, OnWindowsNT351TheFoldersAreProgramManagersGroups) {
  SetWindowsVersionName("nt351");
  TStringList folders;
  GetExistingProgramFolders(folders);
  EXPECT_TRUE(ProgramManager().Connected());
  std::vector<std::string> names;
  for (int i = 0; i < folders.Count(); ++i) names.push_back(folders[i]);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Accessories", "Games", "StartUp"}));
}

} // namespace
