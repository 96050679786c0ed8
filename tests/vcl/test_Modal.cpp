// Modal forms: the nested loop and its result, closing refused, the run without a display,
// a form placed in another form's panel, and errors through the message-box path.
#include <cstdlib>

#include <QTimer>

#include "main/formMain.h"
#include "tests/vcl/FormDriver.h"
#include "tests/vcl/SampleDialog.h"
#include "tests/vcl/VclTestSupport.h"
#include "vcl/Controls.h"
#include "vcl/StdCtrls.h"

using namespace qnl;
using namespace qnl::test;

namespace {

class Modal : public VclTest {
protected:
  void SetUp() override {
    VclTest::SetUp();
    RegisterControlsClasses();
    unsetenv("QUENLOFT_UNATTENDED");
    LoadTextForm(&FForm, kSampleDialog);
  }
  void TearDown() override {
    unsetenv("QUENLOFT_UNATTENDED");
    VclTest::TearDown();
  }
  // Runs Action once the modal loop has started.
  static void Later(std::function<void()> Action) { QTimer::singleShot(0, std::move(Action)); }
  TTestApplication& FApp = TestApp(); // before the form
  TformMain FForm{nullptr};
  TFormDriver FDriver{FForm};
};

} // namespace

TEST_F(Modal, ShowModalRunsUntilAButtonGivesItsResult) {
  TestApp().PretendDisplay = true;
  int shows = 0;
  FForm.OnShow = [&](TObject*) { ++shows; };
  Later([this] {
    EXPECT_TRUE(FForm.Modal());
    FDriver.Type("edtName", "x");
    FDriver.PressEnter();
  });
  EXPECT_EQ(FForm.ShowModal(), mrOk);
  EXPECT_EQ(shows, 1);
  EXPECT_FALSE(FForm.Visible());
  EXPECT_FALSE(FForm.Modal());
  EXPECT_EQ(dynamic_cast<TEdit&>(FDriver.Find("edtName")).Text(), "Jane Doex");

  Later([this] { FDriver.Click("btnCancel"); });
  EXPECT_EQ(FForm.ShowModal(), mrCancel);
}

TEST_F(Modal, TheWindowManagersCloseIsRefusedWhenTheFormSaysSo) {
  TestApp().PretendDisplay = true;
  bool allow = false;
  int asked = 0;
  FForm.OnCloseQuery = [&](TObject*, bool& CanClose) {
    ++asked;
    CanClose = allow;
  };
  Later([&] {
    FForm.Widget()->close(); // Alt+F4 or the title bar's button
    EXPECT_TRUE(FForm.Widget()->isVisible());
    EXPECT_EQ(FForm.ModalResult(), mrNone);
    allow = true;
    FForm.Widget()->close();
  });
  EXPECT_EQ(FForm.ShowModal(), mrCancel);
  EXPECT_EQ(asked, 2);
}

TEST_F(Modal, WithoutADisplayTheUnattendedRunTakesTheDefaultAndPrintsTheForm) {
  ASSERT_FALSE(TestApp().HasDisplay());
  setenv("QUENLOFT_UNATTENDED", "1", 1);
  dynamic_cast<TLabel&>(FDriver.Find("lblSub")).SetCaption("Your name,\r\nthe kind of installation and the parts.");
  testing::internal::CaptureStderr();
  EXPECT_EQ(FForm.ShowModal(), mrOk);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err.find("Installation options | Choose how to install Sample Application | Your name, the kind"), 0u)
      << err;
  EXPECT_NE(err.find("| User name: | Jane Doe | Kind of installation: Typical | Parts | [x] Help files"),
            std::string::npos)
      << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
}

TEST_F(Modal, WithoutADisplayNorTheVariableTheFormFailsNamingBoth) {
  int clicks = 0;
  dynamic_cast<TButton&>(FDriver.Find("btnOK")).OnClick = [&](TObject*) { ++clicks; };
  try {
    FForm.ShowModal();
    ADD_FAILURE() << "no error";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "The dialog \"Installation options\" cannot be shown without a display; set "
                           "QUENLOFT_UNATTENDED=1 to answer it with its default action");
  }
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(FForm.Visible());
}

TEST_F(Modal, AFormPlacedInAPanelIsAFramelessPage) {
  FForm.Show();
  TformMain page(nullptr);
  page.SetBorderStyle(bsSizeable);
  page.SetClientWidth(100);
  page.SetClientHeight(50);
  auto* panel = &dynamic_cast<TPanel&>(FDriver.Find("pnlTop"));
  page.SetParent(panel);
  page.SetAlign(alClient);
  page.Show();
  EXPECT_EQ(page.Widget()->parentWidget(), WidgetOf(panel));
  EXPECT_FALSE(page.Widget()->isWindow());
  EXPECT_TRUE(page.Widget()->isVisible());
  EXPECT_EQ(page.Widget()->geometry(), QRect(0, 0, 440, 41)); // no frame: the whole panel
  EXPECT_EQ(page.ClientWidth(), page.Width());
  page.SetParent(nullptr);
  EXPECT_TRUE(page.Widget()->isWindow());
}

TEST_F(Modal, ShowExceptionGoesThroughTheMessageBoxPath) {
  std::string seen;
  TestApp().MessageBoxHook = [&](const std::string& Text, const std::string& Caption, int Flags) {
    seen = Caption + ": " + Text + (Flags & MB_ICONSTOP ? " (stop)" : "");
    return IDOK;
  };
  TestApp().ShowException(Exception("Disk full"));
  EXPECT_EQ(seen, "Error: Disk full (stop)");
}
