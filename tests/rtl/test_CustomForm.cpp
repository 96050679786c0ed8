// The window-independent form and application object.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "rtl/Forms.h"

using namespace qnl;

namespace {

// A form whose view records what it was asked to mirror on its window.
class TRecordingForm : public TCustomForm {
  class TRecordingView : public TControlView {
  public:
    explicit TRecordingView(std::vector<TControlAspect>& Updates) : FUpdates(Updates) {}
    void Changed(TControlAspect Aspect) override { FUpdates.push_back(Aspect); }

  private:
    std::vector<TControlAspect>& FUpdates;
  };

public:
  explicit TRecordingForm(TComponent* AOwner) : TCustomForm(AOwner) {
    SetView(std::make_unique<TRecordingView>(Updates));
    Updates.clear();
  }
  std::vector<TControlAspect> Updates;
};

} // namespace

TEST(CustomForm, ClientSizeIsTheOuterSizeLessTheFrame) {
  TRecordingForm form(nullptr);
  form.SetClientWidth(400);
  form.SetClientHeight(300);
  EXPECT_EQ(form.Width(), 408);
  EXPECT_EQ(form.Height(), 327);
  form.SetBorderStyle(bsDialog); // the client area keeps its size
  EXPECT_EQ(form.ClientWidth(), 400);
  EXPECT_EQ(form.ClientHeight(), 300);
  EXPECT_EQ(form.Width(), 406);
  form.SetBorderStyle(bsNone);
  EXPECT_EQ(form.Width(), 400);
  EXPECT_EQ(form.Height(), 300);
}

TEST(CustomForm, PublishesTheStoredFormProperties) {
  const TClassInfo& ci = TCustomForm::StaticClassInfo();
  for (const char* name :
       {"Left",        "Top",           "Width",      "Height",         "ClientWidth", "ClientHeight", "Caption",
        "Color",       "Font",          "FormStyle",  "Position",       "WindowState", "Visible",      "BorderStyle",
        "BorderIcons", "PixelsPerInch", "TextHeight", "OldCreateOrder", "Scaled",      "KeyPreview",   "Icon",
        "OnActivate",  "OnCreate",      "OnDestroy",  "OnShow",         "OnClose"})
    EXPECT_NE(ci.FindProp(name), nullptr) << name;
  EXPECT_EQ(ci.FindProp("Font")->Kind, TTypeKind::tkClass);
  EXPECT_EQ(ci.FindProp("Color")->Idents, &ColorIdents());
  EXPECT_EQ(ci.FindProp("OnActivate")->EventType, typeid(TNotifyEvent));
}

TEST(CustomForm, WindowIsUpdatedOnlyAfterLoading) {
  TRecordingForm form(nullptr);
  form.SetComponentStateFlag(csLoading, true);
  form.SetCaption("Loading");
  form.SetLeft(10);
  form.Font()->SetName("Arial");
  form.SetVisible(true);
  EXPECT_TRUE(form.Updates.empty());
  int shows = 0;
  form.OnShow = [&](TObject*) { ++shows; };
  form.Loaded();
  EXPECT_FALSE(form.IsLoading());
  auto has = [&](TControlAspect A) { return std::count(form.Updates.begin(), form.Updates.end(), A) == 1; };
  for (TControlAspect a : {TControlAspect::acBounds, TControlAspect::acCaption, TControlAspect::acColor,
                           TControlAspect::acFont, TControlAspect::acVisible})
    EXPECT_TRUE(has(a));
  EXPECT_EQ(shows, 1);
  form.Updates.clear();
  form.SetCaption("Loaded");
  ASSERT_EQ(form.Updates.size(), 1u);
  EXPECT_EQ(form.Updates[0], TControlAspect::acCaption);
}

TEST(CustomForm, ActivateFiresOncePerActivation) {
  TRecordingForm form(nullptr);
  int activations = 0;
  form.OnActivate = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &form);
    ++activations;
  };
  form.Activate();
  form.Activate();
  EXPECT_EQ(activations, 1);
  EXPECT_TRUE(form.Active());
  form.Deactivate();
  form.Activate();
  EXPECT_EQ(activations, 2);
}

TEST(CustomForm, CloseAsksFirstAndClosingTheMainFormTerminates) {
  TCustomApplication& app = Application();
  TRecordingForm form(nullptr);
  app.SetMainForm(&form);
  bool allow = false;
  form.OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = allow; };
  form.Close();
  EXPECT_FALSE(app.Terminated());
  allow = true;
  form.OnClose = [](TObject*, TCloseAction& Action) { Action = caNone; };
  form.Close();
  EXPECT_FALSE(app.Terminated());
  form.OnClose = nullptr;
  form.Show();
  TRecordingForm other(nullptr);
  other.Show();
  other.Close(); // not the main form: hidden
  EXPECT_FALSE(other.Visible());
  EXPECT_FALSE(app.Terminated());
  form.Close();
  EXPECT_TRUE(app.Terminated());
  app.SetMainForm(nullptr);
}

TEST(CustomForm, TheApplicationForgetsAFreedMainForm) {
  TCustomApplication app;
  auto* form = new TRecordingForm(nullptr);
  app.SetMainForm(form);
  EXPECT_EQ(app.MainForm(), form);
  delete form;
  EXPECT_EQ(app.MainForm(), nullptr);
}

TEST(CustomApplication, HandleExceptionPassesTheErrorToOnException) {
  TCustomApplication app;
  std::string seen;
  TObject* seenSender = nullptr;
  app.OnException = [&](TObject* Sender, const std::exception& E) {
    seen = E.what();
    seenSender = Sender;
  };
  TRecordingForm form(nullptr);
  try {
    throw EConvertError("bad value");
  } catch (...) {
    app.HandleException(&form);
  }
  EXPECT_EQ(seen, "bad value");
  EXPECT_EQ(seenSender, &form);
  seen.clear();
  try {
    Abort();
  } catch (...) {
    app.HandleException(nullptr);
  }
  EXPECT_EQ(seen, ""); // the silent abort is not an error
  EXPECT_EQ(app.ExitCode(), 0);
}

TEST(CustomApplication, WithoutAHandlerTheErrorGoesToStderr) {
  TCustomApplication app;
  testing::internal::CaptureStderr();
  try {
    throw Exception("disk is full");
  } catch (...) {
    app.HandleException(nullptr);
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: disk is full\n");
  EXPECT_EQ(app.ExitCode(), 1);
}

TEST(CustomApplication, AnErrorInTheHandlerIsShownNotPropagated) {
  TCustomApplication app;
  app.OnException = [](TObject*, const std::exception&) { throw Exception("handler failed"); };
  testing::internal::CaptureStderr();
  EXPECT_NO_THROW({
    try {
      throw Exception("first");
    } catch (...) {
      app.HandleException(nullptr);
    }
  });
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: handler failed\n");
}

TEST(CustomApplication, MessageBoxesAnswerTheirDefaultButtonUnattended) {
  struct Case {
    int Flags;
    int Result;
  } cases[] = {{MB_OK, IDOK},
               {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
               {MB_YESNO | MB_ICONQUESTION, IDYES},
               {MB_YESNO | MB_DEFBUTTON2, IDNO},
               {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
               {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
               {MB_RETRYCANCEL, IDRETRY}};
  for (const auto& c : cases) EXPECT_EQ(MessageBoxDefaultResult(c.Flags), c.Result) << c.Flags;
  TCustomApplication app;
  testing::internal::CaptureStderr();
  EXPECT_EQ(app.MessageBox("Continue?", "Setup", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Setup: Continue?\n");
  app.MessageBoxHook = [](const std::string& Text, const std::string&, int) { return Text == "Abort?" ? IDYES : IDNO; };
  EXPECT_EQ(app.MessageBox("Abort?", "Setup", MB_YESNO | MB_DEFBUTTON2), IDYES);
}

TEST(CustomApplication, RunWithoutWindowsActivatesTheMainFormOnce) {
  TCustomApplication app;
  TRecordingForm form(nullptr);
  int activations = 0;
  form.OnActivate = [&](TObject*) { ++activations; };
  app.SetMainForm(&form);
  app.Run();
  EXPECT_EQ(activations, 1);
  EXPECT_TRUE(form.Visible());
}
