// Dialog components: the language a dialog's forms are translated into, and the progress
// windows a manager opens, places, updates and closes.
#include <cstdlib>

#include <QTimer>

#include "common/exceptions_Quenloft.h"
#include "dialogs/TDialogManager.h"
#include "engine/InstallParameters.h"
#include "tests/dialogs/TestPages.h"
#include "tests/engine/InstallTestSupport.h"
#include "tests/support/MessageOf.h"
#include "tests/vcl/FormDriver.h"
#include "tests/vcl/VclTestSupport.h"
#include "translate/TTranslator.h"
#include "vcl/Controls.h"
#include "vcl/Label.h"

using namespace qnl;
using namespace qnl::test;

namespace {

const char* const kTranslator = R"(object Project: TForm
  object MainTranslator: TTranslator
    lgEnglish.Strings = (
      '1;Page A'
      '2;This is page A.')
    lgGerman.Strings = (
      '1;Seite A'
      '2;Das ist Seite A.')
    TranslateIntoLanguage = qlEnglish
  end
end
)";

class DialogComponents : public VclTest {
protected:
  void SetUp() override {
    VclTest::SetUp();
    RegisterControlsClasses();
    RegisterTranslateClasses();
    FInstall = new TRecordlessInstall(&FProject);
  }
  TDialogManager* NewManager(TManagerType Kind) {
    auto* manager = new TDialogManager(&FProject);
    manager->SetManagerType(Kind);
    manager->SetContainer(FInstall);
    return manager;
  }

  TTestApplication& FApp = TestApp(); // before the forms
  TForm FProject{nullptr};
  TRecordlessInstall* FInstall = nullptr;
};

} // namespace

TEST_F(DialogComponents, EveryRunOfADialogIsTranslatedIntoItsOwnLanguage) {
  LoadTextForm(&FProject, kTranslator);
  auto* dialog = new TPageADlg(&FProject);
  dialog->SetContainer(FInstall);
  dialog->SetOverrideMainTranslator(true);
  dialog->SetTranslateIntoLanguage(qlGerman);
  FApp.PretendDisplay = true;
  std::vector<std::string> shown;
  std::function<void()> answer = [&] {
    auto* form = dynamic_cast<TForm*>(dialog->CurrentForm());
    if (!form || !form->Modal()) return QTimer::singleShot(0, answer);
    TFormDriver driver(*form);
    shown.push_back(form->Caption() + " / " + driver.ShownText("lblText"));
    driver.Click("btnNext");
  };
  for (int run = 0; run < 2; ++run) {
    QTimer::singleShot(0, answer);
    EXPECT_TRUE(dialog->Execute());
  }
  // The second form is made in English again, and translated again.
  EXPECT_EQ(shown, (std::vector<std::string>{"Seite A / Das ist Seite A.", "Seite A / Das ist Seite A."}));
  EXPECT_EQ(dialog->TextLanguage(), qlGerman);
  auto* translator = dynamic_cast<TTranslator*>(FProject.FindComponent("MainTranslator"));
  EXPECT_EQ(translator->TranslateIntoLanguage(), qlEnglish); // switched for the call only

  // A silent abort in the run's events ends it with False.
  dialog->OnBeforeExecute = [](TObject*) { throw EAbort(""); };
  EXPECT_FALSE(dialog->Execute());
}

TEST_F(DialogComponents, ProgressOpensPlacedWindowsOnceAndTheEndOfCopyingClosesThem) {
  TDialogManager* manager = NewManager(dmDuringCopyFiles);
  auto* dialog = new TTestCopyDlg(&FProject);
  dialog->SetDialogManager(manager);
  dialog->SetWidth(474);
  dialog->SetHeight(146);
  dialog->SetPosition(qdpBottomCenter);
  dialog->SetRelativeTopOffset(30);
  TFileStatusParameter file;
  TDownloadStatusParameter download;
  FInstall->Notify(icProgress, &file);
  FInstall->Notify(icDownloadProgress, &download);
  FInstall->Notify(icProgress, &file);
  ASSERT_EQ(manager->CopyForms().size(), 1u);
  auto* form = dynamic_cast<TTestCopyForm*>(manager->CopyForms()[0]);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(dialog->CurrentForm(), form);
  EXPECT_EQ(form->FileUpdates, 2);
  EXPECT_EQ(form->DownloadUpdates, 1);
  EXPECT_TRUE(form->Visible());
  // Placed with the form's own size (306 x 121 with its frame), then given the dialog's.
  EXPECT_EQ(form->Left(), Application().ScreenWidth() / 2 - 153);
  EXPECT_EQ(form->Top(), Application().ScreenHeight() - Application().CaptionHeight() - 121 - 30);
  EXPECT_EQ(form->Width(), 474);
  EXPECT_EQ(form->Height(), 146);

  FInstall->Notify(icOperationEnded);
  EXPECT_TRUE(manager->CopyForms().empty());
  EXPECT_FALSE(form->Visible());
  FInstall->Notify(icProgress, &file); // a new set
  ASSERT_EQ(manager->CopyForms().size(), 1u);
  EXPECT_NE(manager->CopyForms()[0], form);

  TMessageParameter other;
  EXPECT_EQ(MessageOf([&] { manager->InformationEvent(FInstall, icProgress, nullptr); }),
            manager->Name() + " got a nil PO parameter");
  EXPECT_EQ(MessageOf([&] { manager->InformationEvent(FInstall, icDownloadProgress, &other); }),
            "The PO object passed to " + manager->Name() + " is not a TDownloadStatusParameter object");
  EXPECT_EQ(MessageOf([&] { manager->AddDialog(nullptr); }),
            "Cannot add a NIL Dialog to the Dialog Manager " + manager->Name());
}
