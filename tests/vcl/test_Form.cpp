// Forms on Qt windows: stored properties reach the window, activation, the message loop
// and exceptions raised by event handlers.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "main/formMain.h"
#include "tests/vcl/VclTestSupport.h"
#include "vcl/AnsiText.h"

using namespace qnl;
using namespace qnl::test;

namespace {

const char* const kStoredForm = R"(object formMain: TformMain
  Left = 192
  Top = 107
  BorderStyle = bsSingle
  Caption = 'Sample setup'
  ClientHeight = 348
  ClientWidth = 536
  Color = clWindow
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -16
  Font.Name = 'Arial'
  Font.Style = [fsBold]
  FormStyle = fsNormal
  OldCreateOrder = False
  Position = poDesigned
  Scaled = False
  Visible = False
  WindowState = wsNormal
  PixelsPerInch = 96
  TextHeight = 13
end
)";

// A project's own main form, with one published handler.
class TProjectForm : public TForm {
  QNL_CLASS(TProjectForm, TForm)
public:
  using TForm::TForm;
  int Activations = 0;
  void FormMainActivate(TObject* Sender) { ++Activations; }
};

} // namespace

QNL_BEGIN_CLASS(TProjectForm).Method("formMainActivate", &C::FormMainActivate);
QNL_END_CLASS

namespace {

// Ends the loop after a while whatever happens, so that a failing test cannot hang.
void Watchdog(int Ms = 5000) {
  QTimer::singleShot(Ms, [] {
    ADD_FAILURE() << "the message loop did not end by itself";
    TestApp().Terminate();
  });
}

} // namespace

class Form : public VclTest {};

TEST_F(Form, StoredPropertiesReachTheFormAndItsWindow) {
  TformMain form(nullptr);
  LoadTextForm(&form, kStoredForm);
  EXPECT_EQ(form.Name(), "formMain");
  EXPECT_EQ(form.Left(), 192);
  EXPECT_EQ(form.Top(), 107);
  EXPECT_EQ(form.ClientWidth(), 536);
  EXPECT_EQ(form.ClientHeight(), 348);
  EXPECT_EQ(form.Width(), 536 + 6);
  EXPECT_EQ(form.Caption(), "Sample setup");
  EXPECT_EQ(form.Color(), clWindow);
  EXPECT_EQ(form.Font()->Name(), "Arial");
  EXPECT_EQ(form.Font()->Height(), -16);
  EXPECT_EQ(form.Font()->Size(), 12);
  EXPECT_TRUE(form.Font()->Style().Contains(fsBold));
  EXPECT_EQ(form.BorderStyle(), bsSingle);
  EXPECT_EQ(form.PixelsPerInch(), 96);
  EXPECT_EQ(form.TextHeight(), 13);
  EXPECT_FALSE(form.Scaled());
  EXPECT_FALSE(form.IsLoading());

  QWidget* w = form.Widget();
  EXPECT_EQ(w->windowTitle(), QString("Sample setup"));
  EXPECT_EQ(w->pos(), QPoint(192, 107));
  EXPECT_EQ(w->size(), QSize(536, 348));
  EXPECT_EQ(w->palette().color(QPalette::Window), QColor(255, 255, 255));
  EXPECT_EQ(w->font().family(), QString("Arial"));
  EXPECT_EQ(w->font().pixelSize(), 16);
  EXPECT_TRUE(w->font().bold());
  EXPECT_FALSE(w->isVisible());
}

TEST_F(Form, CaptionBytesAreDecodedInTheFontsCodePage) {
  TformMain form(nullptr);
  form.SetCaption("Caf\xE9");
  EXPECT_EQ(form.Widget()->windowTitle(), QString::fromUtf8("Caf\xC3\xA9"));
  form.Font()->SetCharset(RUSSIAN_CHARSET);
  EXPECT_EQ(form.Widget()->windowTitle(), QString::fromUtf8("Caf\xD0\xB9")); // 0xE9 is "й" in 1251
  EXPECT_EQ(QStringToAnsi(QString::fromUtf8("\xE2\x82\xAC"), 1252), "\x80");
}

TEST_F(Form, RunShowsTheMainFormAndOnActivateFiresOnce) {
  TformMain form(nullptr);
  LoadTextForm(&form, kStoredForm);
  int activations = 0;
  form.OnActivate = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &form);
    ++activations;
    // Let more events arrive before the loop ends.
    QTimer::singleShot(50, [] { TestApp().Terminate(); });
  };
  TestApp().SetMainForm(&form);
  Watchdog();
  TestApp().Run();
  TestApp().ProcessMessages();
  EXPECT_EQ(activations, 1);
  EXPECT_TRUE(form.Visible());
  EXPECT_TRUE(form.Widget()->isVisible());
}

TEST_F(Form, TerminateEndsTheLoop) {
  TformMain form(nullptr);
  form.OnActivate = [](TObject*) { Application().Terminate(); };
  TestApp().SetMainForm(&form);
  Watchdog();
  TestApp().Run();
  EXPECT_TRUE(TestApp().Terminated());
}

TEST_F(Form, TerminateBeforeRunSkipsTheLoop) {
  TformMain form(nullptr);
  int activations = 0;
  form.OnActivate = [&](TObject*) { ++activations; };
  TestApp().SetMainForm(&form);
  TestApp().Terminate();
  TestApp().Run();
  EXPECT_EQ(activations, 0);
}

TEST_F(Form, ClosingTheMainWindowEndsTheLoop) {
  TformMain form(nullptr);
  form.OnActivate = [&](TObject*) { QTimer::singleShot(0, [&] { form.Widget()->close(); }); };
  TestApp().SetMainForm(&form);
  Watchdog();
  TestApp().Run();
  EXPECT_TRUE(TestApp().Terminated());
}

TEST_F(Form, AnExceptionInAnEventHandlerReachesTheApplicationsHandler) {
  TformMain form(nullptr);
  form.OnActivate = [](TObject*) { throw EConvertError("'x' is not a valid integer value"); };
  std::string seen;
  TObject* sender = nullptr;
  TestApp().OnException = [&](TObject* S, const std::exception& E) {
    seen = E.what();
    sender = S;
    TestApp().Terminate();
  };
  TestApp().SetMainForm(&form);
  Watchdog();
  TestApp().Run();
  EXPECT_EQ(seen, "'x' is not a valid integer value");
  EXPECT_EQ(sender, &form);
}

TEST_F(Form, OffscreenTheDefaultHandlerWritesTheErrorToStderr) {
  ASSERT_FALSE(TestApp().HasDisplay());
  TformMain form(nullptr);
  form.OnActivate = [](TObject*) {
    Application().Terminate();
    throw Exception("Cannot open the archive");
  };
  TestApp().SetMainForm(&form);
  Watchdog();
  testing::internal::CaptureStderr();
  TestApp().Run();
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Error: Cannot open the archive\n"), std::string::npos) << err;
  EXPECT_EQ(TestApp().ExitCode(), 1);
}

TEST_F(Form, AnExceptionInAQtCallbackNeverCrossesTheLoop) {
  TformMain form(nullptr);
  std::string seen;
  TestApp().OnException = [&](TObject*, const std::exception& E) { seen = E.what(); };
  form.OnActivate = [](TObject*) {
    QTimer::singleShot(0, [] {
      TestApp().Terminate();
      throw Exception("from a timer");
    });
  };
  TestApp().SetMainForm(&form);
  Watchdog();
  EXPECT_NO_THROW(TestApp().Run());
  EXPECT_EQ(seen, "from a timer");
}

TEST_F(Form, StoredEventsBindToTheProjectFormsMethods) {
  TProjectForm form(nullptr);
  LoadTextForm(&form, std::string(R"(object formMain: TProjectForm
  Caption = 'With code'
  OnActivate = formMainActivate
end
)"));
  form.Activate();
  EXPECT_EQ(form.Activations, 1);
}

TEST_F(Form, TheGenericFormRejectsAStoredHandlerByName) {
  TformMain form(nullptr);
  try {
    LoadTextForm(&form, R"(object formMain: TformMain
  OnActivate = formMainActivate
end
)");
    FAIL() << "a handler the form does not have was accepted";
  } catch (const EPropertyError& e) {
    EXPECT_NE(std::string(e.what()).find("formMainActivate"), std::string::npos) << e.what();
  }
}

TEST_F(Form, HideMainFormMoveGoesOffTheScreen) {
  TformMain form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  form.SetBounds(-2 * form.Width(), -2 * form.Height(), form.Width(), form.Height());
  form.Show();
  TestApp().ProcessMessages();
  EXPECT_EQ(form.Widget()->pos(), QPoint(-800, -600));
  EXPECT_EQ(form.Left(), -800);
  form.SetWindowState(wsMaximized);
  EXPECT_TRUE(form.Widget()->windowState() & Qt::WindowMaximized);
}
