// The installation's wizard pages driven on the offscreen platform: which buttons show, what
// each page writes into the install objects while the user edits or clicks, and a page shown
// by itself on its notification.
#include <QTimer>

#include "common/exceptions_Quenloft.h"
#include "dialogs/RegisterDialogClasses.h"
#include "dialogs/TDialogManager.h"
#include "dialogs/dlgcmp_TBadInstallationDlg.h"
#include "dialogs/dlgcmp_TGoodInstallationDlg.h"
#include "dialogs/dlgcmp_TLicenseDlg.h"
#include "dialogs/dlgcmp_TReadmeDlg.h"
#include "dialogs/dlgcmp_TReboot.h"
#include "dialogs/dlgcmp_TSelectDestination.h"
#include "dialogs/dlgcmp_TWelcomeDlg.h"
#include "paths/cmp_TPathSpecifier.h"
#include "tests/dialogs/WizardDriver.h"
#include "tests/engine/InstallTestSupport.h"
#include "tests/support/MessageOf.h"
#include "tests/vcl/VclTestSupport.h"
#include "vcl/Controls.h"
#include "vcl/GroupBox.h"
#include "vcl/RichEdit.h"

using namespace qnl;
using namespace qnl::test;

namespace {

const char* const kDestination = "C:\\Program Files\\Sample";

class Pages : public VclTest {
protected:
  void SetUp() override {
    VclTest::SetUp();
    RegisterControlsClasses();
    RegisterDialogClasses();
    unsetenv("QUENLOFT_UNATTENDED");
    FApp.PretendDisplay = true;
    FInstall = new TRecordlessInstall(&FProject);
    // The program files folder of a machine, as a specifier names it.
    auto* programFiles = new TCustomPathSpecifier(&FProject);
    programFiles->SetOnGetPath([](TComponent*, std::string& Path) { Path = "C:\\Program Files"; });
    FInstall->SetDestDirType(programFiles);
    FInstall->SetDestDir("\\Sample");
  }
  void TearDown() override {
    FApp.PretendDisplay = false;
    VclTest::TearDown();
  }
  TDialogManager* NewManager(TManagerType Kind) {
    auto* manager = new TDialogManager(&FProject);
    manager->SetManagerType(Kind);
    manager->SetContainer(FInstall);
    return manager;
  }
  // A dialog of the project in Manager's wizard (none: shown by itself).
  template <class TDialog>
  TDialog* NewDialog(TDialogManager* Manager) {
    auto* dialog = new TDialog(&FProject);
    dialog->SetContainer(FInstall);
    dialog->SetDialogManager(Manager);
    return dialog;
  }

  TTestApplication& FApp = TestApp(); // before the forms
  TForm FProject{nullptr};
  TRecordlessInstall* FInstall = nullptr;
};

} // namespace

TEST_F(Pages, WelcomeThenDestinationWhereTypingMakesALiteralDestinationAtOnce) {
  TDialogManager* manager = NewManager(dmBeforeInstall);
  NewDialog<TSelectDestinationDlg>(manager);
  NewDialog<TWelcomeDlg>(manager);
  std::vector<std::string> seen;
  WhenWizardShows([&](TBaseFormContainer& W) {
    seen.push_back(W.Caption());
    EXPECT_FALSE(FrontPage(W).IsShowing("BackBtn"));
    GrabFor(W, "page-welcome");
    FrontPage(W).PressEnter(); // Next is Welcome's default button
    seen.push_back(W.Caption());
    EXPECT_TRUE(FrontPage(W).IsShowing("BackBtn"));
    EXPECT_TRUE(FrontPage(W).IsShowing("gbDirectory"));
    EXPECT_EQ(FrontPage(W).ShownText("edDestDir"), kDestination);
    EXPECT_NE(FInstall->DestDirType(), nullptr); // showing the page changes nothing
    FrontPage(W).Type("edDestDir", "\\Two");
    EXPECT_EQ(FInstall->DestDirType(), nullptr);
    EXPECT_EQ(FInstall->DestDir(), std::string(kDestination) + "\\Two");
    GrabFor(W, "page-select-destination");
    FrontPage(W).Click("BackBtn");
    seen.push_back(W.Caption());
    FrontPage(W).Click("ProceedBtn");
    EXPECT_EQ(FrontPage(W).ShownText("edDestDir"), std::string(kDestination) + "\\Two");
    FrontPage(W).Click("ProceedBtn"); // the last page: the wizard ends with OK
  });
  manager->RunWizard();
  EXPECT_EQ(seen, (std::vector<std::string>{"Welcome", "Choose Destination Location", "Welcome"}));
  EXPECT_EQ(FInstall->GetDestDir(), std::string(kDestination) + "\\Two");
  EXPECT_EQ(RunningWizard(), nullptr);
}

TEST_F(Pages, EndingPagesShowFinishInPlaceOfNextOnTheLastPage) {
  struct TRow {
    TManagerType Kind;
    std::function<void(TDialogManager*)> Place;
    const char* Caption;
    const char* Picture;
  };
  const TRow rows[] = {
      {dmAfterGoodInstall, [this](TDialogManager* M) { NewDialog<TGoodInstallationDlg>(M); }, "Setup complete",
       "page-good-installation"},
      {dmAfterBadInstall, [this](TDialogManager* M) { NewDialog<TBadInstallationDlg>(M); }, "Setup incomplete",
       "page-bad-installation"},
  };
  for (const TRow& row : rows) {
    TDialogManager* manager = NewManager(row.Kind);
    row.Place(manager);
    std::string shown;
    WhenWizardShows([&](TBaseFormContainer& W) {
      shown = W.Caption();
      EXPECT_FALSE(FrontPage(W).IsShowing("BackBtn"));
      EXPECT_FALSE(FrontPage(W).IsShowing("ProceedBtn"));
      EXPECT_TRUE(FrontPage(W).IsShowing("FinishBtn"));
      GrabFor(W, row.Picture);
      FrontPage(W).Click("FinishBtn");
    });
    manager->RunWizard();
    EXPECT_EQ(shown, row.Caption);
  }
}

TEST_F(Pages, RebootPreselectsTheInstallsChoiceAndAClickChangesItAtOnce) {
  TDialogManager* manager = NewManager(dmReboot);
  NewDialog<TRebootDlg>(manager);
  FInstall->SetReboot(true);
  bool afterNo = true;
  WhenWizardShows([&](TBaseFormContainer& W) {
    auto& choice = dynamic_cast<TRadioGroup&>(FrontPage(W).Find("RG"));
    EXPECT_EQ(choice.ItemIndex(), 0); // Yes
    EXPECT_TRUE(FInstall->Reboot());
    GrabFor(W, "page-reboot");
    FrontPage(W).ClickItem("RG", 1);
    afterNo = FInstall->Reboot();
    FrontPage(W).Click("FinishBtn");
  });
  manager->RunWizard();
  EXPECT_FALSE(afterNo);
  EXPECT_FALSE(FInstall->Reboot());
}

TEST_F(Pages, LicenseAndReadmeShowTheirTexts) {
  TDialogManager* manager = NewManager(dmBeforeInstall);
  auto* license = NewDialog<TLicenseDlg>(manager);
  auto* readme = NewDialog<TReadmeDlg>(manager);
  license->LicenseAgreement()->SetText("{\\rtf1 {\\b Sample licence.} You may use this software.}");
  readme->ReadmeText()->SetText("Read me first.\nThen install.");
  std::vector<std::string> texts;
  WhenWizardShows([&](TBaseFormContainer& W) {
    auto text = [&](const char* View) { return dynamic_cast<TRichEdit&>(FrontPage(W).Find(View)).Lines()->Text(); };
    texts.push_back(text("Agreement"));
    GrabFor(W, "page-license");
    FrontPage(W).Click("ProceedBtn");
    texts.push_back(text("Information"));
    GrabFor(W, "page-readme");
    FrontPage(W).Click("ProceedBtn");
  });
  manager->RunWizard();
  EXPECT_EQ(texts, (std::vector<std::string>{license->LicenseAgreement()->Text(), readme->ReadmeText()->Text()}));
}

TEST_F(Pages, ByItselfADestinationPageWithoutDestinationOnlyGoesOnAndWithoutContainerIsRefused) {
  auto* dialog = NewDialog<TSelectDestinationDlg>(nullptr);
  FInstall->SetDestDirType(nullptr);
  FInstall->SetDestDir("");
  int shown = 0;
  WhenDialogShows(*dialog, [&](TForm& Form) {
    ++shown;
    EXPECT_FALSE(TFormDriver(Form).IsShowing("BackBtn"));
    EXPECT_FALSE(TFormDriver(Form).IsShowing("gbDirectory"));
    TFormDriver(Form).Click("ProceedBtn"); // OK
  });
  FInstall->Notify(-966);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(dialog->CurrentForm(), nullptr);

  dialog->SetName("Destination");
  dialog->SetContainer(nullptr);
  EXPECT_EQ(MessageOf([&] { dialog->Execute(); }),
            "Cannot run this dialog Destination with a blank Container property");
  EXPECT_EQ(shown, 1);
}

TEST_F(Pages, UnattendedTheWizardGoesThroughEveryPageWithoutADefaultButtonToo) {
  TDialogManager* manager = NewManager(dmBeforeInstall);
  NewDialog<TSelectDestinationDlg>(manager);
  NewDialog<TLicenseDlg>(manager);
  NewDialog<TWelcomeDlg>(manager);
  FApp.PretendDisplay = false;
  setenv("QUENLOFT_UNATTENDED", "1", 1);
  ::testing::internal::CaptureStderr();
  manager->RunWizard();
  std::string printed = ::testing::internal::GetCapturedStderr();
  unsetenv("QUENLOFT_UNATTENDED");
  std::vector<std::string> captions;
  for (size_t start = 0; start < printed.size();) {
    size_t end = printed.find('\n', start);
    std::string line = printed.substr(start, end - start);
    captions.push_back(line.substr(0, line.find(" |")));
    start = end == std::string::npos ? printed.size() : end + 1;
  }
  EXPECT_EQ(captions,
            (std::vector<std::string>{"Welcome", "Software license agreement", "Choose Destination Location"}))
      << printed;
  EXPECT_EQ(FInstall->GetDestDir(), kDestination); // going on changes nothing
}
