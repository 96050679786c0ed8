// The wizard of a dialog manager driven on the offscreen platform: page order, skipping,
// Back and Next, the close refusal, Cancel through the install component, the run without a
// display, stand-alone dialogs and the disk prompt's parameter checks.
#include <cstdlib>

#include <QTimer>

#include "common/exceptions_Quenloft.h"
#include "dialogs/TBaseDuringCopyForm.h"
#include "dialogs/TDialogManager.h"
#include "dialogs/dlgcmp_TBaseContainer.h"
#include "engine/InstallParameters.h"
#include "engine/TInstallFile.h"
#include "tests/dialogs/TestPages.h"
#include "tests/engine/InstallTestSupport.h"
#include "tests/support/MessageOf.h"
#include "tests/vcl/FormDriver.h"
#include "tests/vcl/VclTestSupport.h"
#include "vcl/Controls.h"
#include "vcl/QtGraphics.h"

using namespace qnl;
using namespace qnl::test;

namespace {

class Wizard : public VclTest {
protected:
  void SetUp() override {
    VclTest::SetUp();
    RegisterControlsClasses();
    unsetenv("QUENLOFT_UNATTENDED");
    TTestPage::Orders().clear();
    TTestPage::Skipped().clear();
    FInstall = new TRecordlessInstall(&FProject);
    FManager = NewManager(dmBeforeInstall);
    RegisterTestPages();
  }
  void TearDown() override {
    UnregisterTestPages();
    unsetenv("QUENLOFT_UNATTENDED");
    VclTest::TearDown();
  }
  TDialogManager* NewManager(TManagerType Kind) {
    auto* manager = new TDialogManager(&FProject);
    manager->SetManagerType(Kind);
    manager->SetContainer(FInstall);
    return manager;
  }
  // The wizard window while RunWizard shows it.
  static TBaseFormContainer* RunningWizard() {
    for (int i = 0; i < Application().ComponentCount(); ++i)
      if (auto* wizard = dynamic_cast<TBaseFormContainer*>(Application().Components(i))) return wizard;
    return nullptr;
  }
  // Runs Action once the wizard shows modally (building its pages lets events through).
  static void Later(std::function<void(TBaseFormContainer&)> Action) {
    QTimer::singleShot(0, [Action] {
      TBaseFormContainer* wizard = RunningWizard();
      if (!wizard || !wizard->Modal() || !wizard->Widget()->isVisible()) return Later(Action);
      Action(*wizard);
    });
  }
  // A driver of the page in front.
  static TFormDriver Page(TBaseFormContainer& Wizard) { return TFormDriver(*Wizard.CurrentPage()); }
  static std::string Shown(TBaseFormContainer& Wizard) { return Wizard.Caption(); }

  TTestApplication& FApp = TestApp(); // before the forms
  TForm FProject{nullptr};
  TRecordlessInstall* FInstall = nullptr;
  TDialogManager* FManager = nullptr;
};

} // namespace

TEST_F(Wizard, NextAndBackPassOverASkippedPageAndNextOnTheLastFinishes) {
  TTestPage::Skipped()["B"] = true;
  FApp.PretendDisplay = true;
  std::vector<std::string> seen;
  Later([&](TBaseFormContainer& W) {
    seen.push_back(Shown(W));
    EXPECT_FALSE(Page(W).IsShowing("btnBack")); // the first page
    Page(W).Click("btnNext");
    seen.push_back(Shown(W));
    EXPECT_TRUE(Page(W).IsShowing("btnBack"));
    Page(W).Click("btnBack");
    seen.push_back(Shown(W));
    W.Widget()->close(); // Alt+F4 or the title bar's button: refused
    EXPECT_TRUE(W.Widget()->isVisible());
    Page(W).PressEnter(); // Next, the page's Default button
    seen.push_back(Shown(W));
    const char* dir = std::getenv("QNL_GRAB_DIR");
    QImage image = TFormDriver(W).Grab(dir ? std::string(dir) + "/wizard.png" : "");
    EXPECT_EQ(image.size(), QSize(472, 370) * image.devicePixelRatio()); // 478 x 395 with its frame
    // A page without a theme picture of its own shows the install component's.
    EXPECT_NE(image.pixelColor(60, 150), QtColor(clBtnFace));
    Page(W).Click("btnNext");
  });
  FManager->RunWizard();
  EXPECT_EQ(seen, (std::vector<std::string>{"Page A", "Page C", "Page A", "Page C"}));
  EXPECT_EQ(RunningWizard(), nullptr);
  EXPECT_EQ(CurrentDialogManager(), nullptr);
}

TEST_F(Wizard, PagesAreOrderedByTheExchangeSort) {
  struct TRow {
    int A, B, C;
    std::vector<std::string> Expected;
  };
  const TRow rows[] = {
      {10, 10, 5, {"PageC", "PageB", "PageA"}}, // equal Orders come out reversed
      {0, 0, 0, {"PageA", "PageB", "PageC"}},
      {3, 1, 2, {"PageB", "PageC", "PageA"}},
  };
  for (const TRow& row : rows) {
    TTestPage::Orders() = {{"A", row.A}, {"B", row.B}, {"C", row.C}};
    TBaseFormContainer wizard(nullptr);
    SetCurrentDialogManager(FManager);
    ASSERT_EQ(wizard.BuildPages(), 3);
    SetCurrentDialogManager(nullptr);
    std::vector<std::string> names;
    for (int i = 0; i < wizard.PageCount(); ++i) names.push_back(wizard.Pages(i)->Name());
    EXPECT_EQ(names, row.Expected) << row.A << " " << row.B << " " << row.C;
  }
}

TEST_F(Wizard, CancelAsksTheInstallComponentAndARefusalKeepsThePage) {
  FApp.PretendDisplay = true;
  bool quit = false;
  int asked = 0;
  FInstall->OnUserAbort = [&](TObject*, bool& QuitOut) {
    ++asked;
    QuitOut = quit;
  };
  Later([&](TBaseFormContainer& W) {
    Page(W).Click("btnNext");
    Page(W).PressEscape(); // Cancel, refused
    EXPECT_TRUE(W.Widget()->isVisible());
    EXPECT_EQ(Shown(W), "Page B");
    quit = true;
    Page(W).Click("btnCancel");
  });
  EXPECT_THROW(FManager->RunWizard(), EQXUserAbort);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(RunningWizard(), nullptr);
}

TEST_F(Wizard, APhaseWithoutPagesShowsNothing) {
  UnregisterTestPages();
  FManager->RunWizard(); // without a display and unattended: showing anything would raise
  TDialogManager* other = NewManager(dmAfterGoodInstall);
  RegisterTestPages();
  other->RunWizard(); // the bare pages belong to the manager before installation
  EXPECT_EQ(RunningWizard(), nullptr);
}

TEST_F(Wizard, WithoutADisplayTheUnattendedWizardGoesNextToItsEndAndPrintsEachPage) {
  TTestPage::Skipped()["B"] = true;
  ::testing::internal::CaptureStderr();
  EXPECT_THROW(
      try { FManager->RunWizard(); } catch (const EInvalidOperation& E) {
        EXPECT_NE(std::string(E.what()).find("\"Page A\""), std::string::npos) << E.what();
        EXPECT_NE(std::string(E.what()).find("QUENLOFT_UNATTENDED=1"), std::string::npos) << E.what();
        throw;
      },
      EInvalidOperation);
  setenv("QUENLOFT_UNATTENDED", "1", 1);
  FManager->RunWizard();
  std::string printed = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(printed, "Page A | This is page A.\nPage C | This is page C.\n") << printed;
}

TEST_F(Wizard, ADialogComponentShowsOnlyInItsManagersWizardOrByItselfWithoutOne) {
  UnregisterTestPages();
  auto* dialog = new TPageADlg(&FProject);
  dialog->SetContainer(FInstall);
  TDialogManager* other = NewManager(dmBeforeInstall);
  dialog->SetDialogManager(other);
  {
    TBaseFormContainer wizard(nullptr);
    SetCurrentDialogManager(FManager);
    EXPECT_EQ(wizard.BuildPages(), 0);
    SetCurrentDialogManager(other);
    ASSERT_EQ(wizard.BuildPages(), 1);
    SetCurrentDialogManager(nullptr);
    EXPECT_EQ(wizard.Pages(0)->DC(), dialog);
  }
  EXPECT_EQ(other->Dialogs(), std::vector<TCustomBaseInstallDlg*>{dialog});

  // Without a manager it runs by itself on its own notification, and OK ends it.
  dialog->SetDialogManager(nullptr);
  EXPECT_TRUE(other->Dialogs().empty());
  FApp.PretendDisplay = true;
  int shown = 0;
  std::function<void()> click = [&] {
    auto* form = dynamic_cast<TForm*>(dialog->CurrentForm());
    if (!form || !form->Modal()) return QTimer::singleShot(0, click);
    ++shown;
    TFormDriver(*form).Click("btnNext");
  };
  QTimer::singleShot(0, click);
  FInstall->Notify(icGoodInstall);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(dialog->CurrentForm(), nullptr);
  FInstall->Notify(icInstallStart); // not its code
  EXPECT_EQ(shown, 1);
}

TEST_F(Wizard, TheDiskPromptChecksItsParametersBeforeShowingAnything) {
  TDialogManager* disks = NewManager(dmChangeDisk);
  ChangeDiskRegistry().Add(TBaseChangeDiskForm::StaticClassInfo(), nullptr);
  TInstallFile file(&FProject);
  TDiskParameter disk;
  TMessageParameter notADisk;
  struct TRow {
    std::vector<TObject*> Items;
    std::string Message;
  };
  const TRow rows[] = {
      {{&file}, "TChangeDiskDlg--Not engouh parameters for status event"},
      {{&notADisk, &disk}, "TChangeDiskDlg says bad first parameter"},
      {{&file, &notADisk}, "TChangeDiskDlg says bad second parameter"},
  };
  for (const TRow& row : rows) {
    TList list;
    for (TObject* item : row.Items) list.Add(item);
    EXPECT_EQ(MessageOf([&] { disks->InformationEvent(FInstall, icNewDiskNeeded, &list); }), row.Message);
    EXPECT_EQ(file.Tag(), 0);
    EXPECT_EQ(CurrentDialogManager(), nullptr);
  }
  EXPECT_EQ(MessageOf([&] { disks->InformationEvent(FInstall, icNewDiskNeeded, nullptr); }),
            "The ParameterObject is Nil in the TDialogManager. Cannot show the change disk form");
  ChangeDiskRegistry().RemoveBare(TBaseChangeDiskForm::StaticClassInfo());
}
