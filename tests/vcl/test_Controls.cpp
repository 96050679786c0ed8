// Controls on forms: nesting read from a stored form, fonts handed down, alignment, the
// widgets' texts and the button's click.
#include <QLabel>
#include <QPushButton>

#include <cstdlib>

#include <QFontInfo>
#include <QTabBar>

#include "main/formMain.h"
#include "tests/vcl/FormDriver.h"
#include "tests/vcl/SampleDialog.h"
#include "tests/vcl/VclTestSupport.h"
#include "vcl/Controls.h"
#include "vcl/QtGraphics.h"
#include "vcl/StdCtrls.h"

using namespace qnl;
using namespace qnl::test;

namespace {

const char* const kControlsForm = R"(object formMain: TformMain
  Left = 10
  Top = 10
  ClientHeight = 300
  ClientWidth = 400
  Font.Charset = DEFAULT_CHARSET
  Font.Height = -11
  Font.Name = 'Arial'
  object lblTitle: TLabel
    Left = 8
    Top = 8
    Width = 200
    Height = 13
    AutoSize = False
    Caption = '&Next && more'
    Hint = 'Title'
  end
  object pnlBottom: TPanel
    Left = 0
    Top = 0
    Width = 50
    Height = 50
    Align = alBottom
    Caption = 'Bottom'
    object lblOwnFont: TLabel
      Left = 4
      Top = 4
      Caption = 'Own font'
      Font.Charset = RUSSIAN_CHARSET
      Font.Height = -16
      Font.Name = 'Courier New'
      ParentFont = False
    end
    object btnCancel: TBitBtn
      Left = 300
      Top = 10
      Kind = bkCancel
      Enabled = False
    end
  end
end
)";

class Controls : public VclTest {
protected:
  void SetUp() override {
    VclTest::SetUp();
    RegisterFormsClasses();
    RegisterControlsClasses();
  }
};

template <class T>
T* Find(TComponent& Form, const char* Name) {
  auto* c = dynamic_cast<T*>(Form.FindComponent(Name));
  EXPECT_NE(c, nullptr) << Name;
  return c;
}

} // namespace

TEST_F(Controls, StreamedChildrenNestInTheirParentsWidgets) {
  TformMain form(nullptr);
  LoadTextForm(&form, kControlsForm);
  auto* title = Find<TLabel>(form, "lblTitle");
  auto* panel = Find<TPanel>(form, "pnlBottom");
  auto* own = Find<TLabel>(form, "lblOwnFont");
  auto* cancel = Find<TBitBtn>(form, "btnCancel");
  EXPECT_EQ(title->Parent(), &form);
  EXPECT_EQ(own->Parent(), panel);
  EXPECT_EQ(cancel->Parent(), panel);
  ASSERT_EQ(form.Controls().size(), 2u);
  EXPECT_EQ(panel->Controls(), (std::vector<TControl*>{own, cancel}));
  EXPECT_EQ(WidgetOf(title)->parentWidget(), form.Widget());
  EXPECT_EQ(WidgetOf(own)->parentWidget(), WidgetOf(panel));

  // Accelerator marks are not drawn on a label; a button keeps them for Qt.
  EXPECT_EQ(title->LabelWidget()->text(), QString("Next & more"));
  EXPECT_EQ(WidgetOf(title)->toolTip(), QString("Title"));
  EXPECT_EQ(WidgetOf(title)->geometry(), QRect(8, 8, 200, 13));
  EXPECT_FALSE(WidgetOf(title)->isHidden());
  // The kind gives a button without a stored caption its caption and result.
  EXPECT_EQ(cancel->Caption(), "Cancel");
  EXPECT_EQ(cancel->ButtonWidget()->text(), QString("Cancel"));
  EXPECT_EQ(cancel->ModalResult(), mrCancel);
  EXPECT_TRUE(cancel->Cancel());
  EXPECT_FALSE(cancel->ButtonWidget()->isEnabled());
  // An auto-sized label takes the size of its text once loaded.
  EXPECT_GT(own->Width(), 0);
  EXPECT_EQ(WidgetOf(own)->size(), QSize(own->Width(), own->Height()));
}

TEST_F(Controls, AlignedPanelFollowsTheFormsClientArea) {
  TformMain form(nullptr);
  LoadTextForm(&form, kControlsForm);
  auto* panel = Find<TPanel>(form, "pnlBottom");
  EXPECT_EQ(WidgetOf(panel)->geometry(), QRect(0, 250, 400, 50));
  form.SetClientWidth(500);
  form.SetClientHeight(200);
  EXPECT_EQ(WidgetOf(panel)->geometry(), QRect(0, 150, 500, 50));
  panel->SetAlign(alClient);
  EXPECT_EQ(QRect(panel->Left(), panel->Top(), panel->Width(), panel->Height()), QRect(0, 0, 500, 200));
}

TEST_F(Controls, FontsAreHandedDownUntilAControlHasItsOwn) {
  TformMain form(nullptr);
  LoadTextForm(&form, kControlsForm);
  auto* title = Find<TLabel>(form, "lblTitle");
  auto* own = Find<TLabel>(form, "lblOwnFont");
  auto* cancel = Find<TBitBtn>(form, "btnCancel");
  EXPECT_TRUE(title->ParentFont());
  EXPECT_EQ(title->Font()->Name(), "Arial");
  EXPECT_FALSE(own->ParentFont());
  EXPECT_EQ(own->Font()->Name(), "Courier New");
  EXPECT_EQ(WidgetOf(own)->font().pixelSize(), 16);

  form.Font()->SetName("Tahoma");
  EXPECT_EQ(title->Font()->Name(), "Tahoma");
  EXPECT_EQ(cancel->Font()->Name(), "Tahoma"); // through the panel
  EXPECT_EQ(WidgetOf(cancel)->font().family(), QString("Tahoma"));
  EXPECT_EQ(own->Font()->Name(), "Courier New");
  EXPECT_TRUE(title->ParentFont());

  // The caption's bytes are read in the code page of the font's character set.
  own->SetCaption("\xCF\xF0\xE8");
  EXPECT_EQ(own->LabelWidget()->text(), QString::fromUtf8("\xD0\x9F\xD1\x80\xD0\xB8"));
  own->SetParentFont(true);
  EXPECT_EQ(own->Font()->Name(), "Tahoma");
  EXPECT_EQ(own->LabelWidget()->text(), QString::fromUtf8("\xC3\x8F\xC3\xB0\xC3\xA8"));
}

TEST_F(Controls, ClickRunsOnClickAndErrorsReachTheApplication) {
  TformMain form(nullptr);
  TBitBtn button(nullptr);
  button.SetParent(&form);
  int clicks = 0;
  button.OnClick = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &button);
    if (++clicks == 2) throw Exception("click failed");
  };
  std::string shown;
  TestApp().OnException = [&](TObject*, const std::exception& E) { shown = E.what(); };
  button.ButtonWidget()->click();
  EXPECT_EQ(clicks, 1);
  button.ButtonWidget()->click();
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(shown, "click failed");

  button.SetKind(bkClose);
  EXPECT_EQ(button.Caption(), "&Close");
  form.Show();
  button.ButtonWidget()->click();
  EXPECT_FALSE(form.Visible());
}

TEST_F(Controls, ParentsAndChildrenMayGoInEitherOrder) {
  auto* form = new TformMain(nullptr);
  auto* panel = new TPanel(form);
  auto* inner = new TLabel(nullptr);
  auto* label = new TLabel(form);
  panel->SetParent(form);
  inner->SetParent(panel);
  label->SetParent(panel);
  EXPECT_THROW(panel->SetParent(panel), EInvalidOperation);
  EXPECT_THROW(inner->SetParentComponent(label), EInvalidOperation);
  delete label;
  EXPECT_EQ(panel->Controls(), (std::vector<TControl*>{inner}));
  delete form; // frees the panel, which lets go of the label it does not own
  EXPECT_EQ(inner->Parent(), nullptr);
  EXPECT_TRUE(WidgetOf(inner)->isHidden());
  delete inner;
}

namespace {

// The sample dialog loaded into a fresh form.
class Dialog : public Controls {
protected:
  void SetUp() override {
    Controls::SetUp();
    LoadTextForm(&FForm, kSampleDialog);
  }
  TTestApplication& FApp = TestApp(); // before the form
  TformMain FForm{nullptr};
  TFormDriver FDriver{FForm};
};

std::string Replace(std::string Text, const std::string& From, const std::string& To) {
  return Text.replace(Text.find(From), From.size(), To);
}

} // namespace

TEST_F(Dialog, AStoredPropertyTheFrameworkDoesNotKnowFailsTheLoad) {
  TformMain other(nullptr);
  std::string text = Replace(kSampleDialog, "    ItemHeight = 13\n", "    ItemHeight = 13\n    Columns = 2\n");
  try {
    LoadTextForm(&other, text);
    ADD_FAILURE() << "loaded";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Error reading lbFolders.Columns: Property Columns does not exist");
  }
}

TEST_F(Dialog, BevelsAndBordersKeepAlignedChildrenInside) {
  auto& buttons = dynamic_cast<TPanel&>(FDriver.Find("pnlButtons"));
  TPanel inner(nullptr);
  inner.SetParent(&buttons);
  inner.SetAlign(alClient);
  // Outer bevel 1, border 2, inner bevel 1 on each side.
  EXPECT_EQ(QRect(inner.Left(), inner.Top(), inner.Width(), inner.Height()), QRect(4, 4, 440 - 8, 46 - 8));
}

TEST_F(Dialog, AnchoredButtonsFollowTheFormsResize) {
  auto& ok = FDriver.Find("btnOK");
  FForm.SetClientWidth(540);
  FForm.SetClientHeight(360);
  EXPECT_EQ(ok.Left(), 362);
  EXPECT_EQ(ok.Top(), 10); // the panel is aligned to the bottom and keeps its height
  EXPECT_EQ(WidgetOf(&ok)->geometry(), QRect(362, 10, 75, 25));
}

TEST_F(Dialog, AFormDesignedAtAnotherDensityIsScaledWhole) {
  TformMain big(nullptr);
  LoadTextForm(&big, Replace(kSampleDialog, "PixelsPerInch = 96", "PixelsPerInch = 120"));
  EXPECT_EQ(big.ClientWidth(), 352); // 440 * 96 / 120
  EXPECT_EQ(big.ClientHeight(), 264);
  auto* edit = dynamic_cast<TEdit*>(big.FindComponent("edtName"));
  EXPECT_EQ(QRect(edit->Left(), edit->Top(), edit->Width(), edit->Height()),
            QRect(80, 42, 160, 16)); // the bottom edge scales, not the height
  EXPECT_EQ(big.Font()->Height(), -9);
  EXPECT_EQ(edit->Font()->Height(), -9); // through ParentFont
  EXPECT_EQ(dynamic_cast<TLabel*>(big.FindComponent("lblTitle"))->Font()->Height(), -9);
}

TEST_F(Dialog, ItemsChosenByClicksReachTheModel) {
  FForm.Show();
  auto& kind = dynamic_cast<TRadioGroup&>(FDriver.Find("rgKind"));
  auto& folders = dynamic_cast<TListBox&>(FDriver.Find("lbFolders"));
  auto& tabs = dynamic_cast<TTabControl&>(FDriver.Find("tcView"));
  std::string events;
  kind.OnClick = [&](TObject*) { events += "kind "; };
  folders.OnClick = [&](TObject*) { events += "folders "; };
  tabs.OnChanging = [&](TObject*, bool& Allow) { Allow = tabs.TabIndex() == 0; };
  tabs.OnChange = [&](TObject*) { events += "tabs "; };
  FDriver.ClickItem("rgKind", 2);
  EXPECT_EQ(kind.ItemIndex(), 2);
  EXPECT_EQ(folders.Items()->Get(0), "Accessories"); // sorted
  FDriver.ClickItem("lbFolders", 1);
  EXPECT_EQ(folders.ItemIndex(), 1);
  FDriver.ClickItem("tcView", 1);
  FDriver.ClickItem("tcView", 0); // refused by OnChanging
  EXPECT_EQ(tabs.TabIndex(), 1);
  EXPECT_EQ(tabs.TabBar()->currentIndex(), 1);
  EXPECT_EQ(events, "kind folders tabs ");
}

TEST_F(Dialog, TheDrawnDialogShowsItsControls) {
  FForm.Show();
  const char* dir = std::getenv("QNL_GRAB_DIR");
  QImage image = FDriver.Grab(dir ? std::string(dir) + "/options-dialog.png" : "");
  ASSERT_EQ(image.size(), QSize(440, 330) * image.devicePixelRatio());
  // The white title panel above the button face colour of the form.
  EXPECT_EQ(image.pixelColor(430, 20), QColor(255, 255, 255));
  EXPECT_EQ(image.pixelColor(430, 60), QtColor(clBtnFace));
  // Text is drawn in the Liberation face that stands for MS Sans Serif.
  EXPECT_EQ(QFontInfo(WidgetOf(&FDriver.Find("lblName"))->font()).family(), QString("Liberation Sans"));
  EXPECT_EQ(QFontInfo(WidgetOf(&FDriver.Find("lblName"))->font()).pixelSize(), 11);
}
