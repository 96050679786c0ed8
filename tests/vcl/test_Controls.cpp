// Controls on forms: nesting read from a stored form, fonts handed down, alignment, the
// widgets' texts and the button's click.
#include <QLabel>
#include <QPushButton>

#include "main/formMain.h"
#include "tests/vcl/VclTestSupport.h"
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
  EXPECT_EQ(title->Widget()->parentWidget(), form.Widget());
  EXPECT_EQ(own->Widget()->parentWidget(), panel->Widget());

  // Accelerator marks are not drawn on a label; a button keeps them for Qt.
  EXPECT_EQ(title->LabelWidget()->text(), QString("Next & more"));
  EXPECT_EQ(title->Widget()->toolTip(), QString("Title"));
  EXPECT_EQ(title->Widget()->geometry(), QRect(8, 8, 200, 13));
  EXPECT_FALSE(title->Widget()->isHidden());
  // The kind gives a button without a stored caption its caption and result.
  EXPECT_EQ(cancel->Caption(), "Cancel");
  EXPECT_EQ(cancel->ButtonWidget()->text(), QString("Cancel"));
  EXPECT_EQ(cancel->ModalResult(), mrCancel);
  EXPECT_TRUE(cancel->Cancel());
  EXPECT_FALSE(cancel->ButtonWidget()->isEnabled());
  // An auto-sized label takes the size of its text once loaded.
  EXPECT_GT(own->Width(), 0);
  EXPECT_EQ(own->Widget()->size(), QSize(own->Width(), own->Height()));
}

TEST_F(Controls, AlignedPanelFollowsTheFormsClientArea) {
  TformMain form(nullptr);
  LoadTextForm(&form, kControlsForm);
  auto* panel = Find<TPanel>(form, "pnlBottom");
  EXPECT_EQ(panel->Widget()->geometry(), QRect(0, 250, 400, 50));
  form.SetClientWidth(500);
  form.SetClientHeight(200);
  EXPECT_EQ(panel->Widget()->geometry(), QRect(0, 150, 500, 50));
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
  EXPECT_EQ(own->Widget()->font().pixelSize(), 16);

  form.Font()->SetName("Tahoma");
  EXPECT_EQ(title->Font()->Name(), "Tahoma");
  EXPECT_EQ(cancel->Font()->Name(), "Tahoma"); // through the panel
  EXPECT_EQ(cancel->Widget()->font().family(), QString("Tahoma"));
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
  EXPECT_THROW(inner->SetParent(label), EInvalidOperation);
  delete label;
  EXPECT_EQ(panel->Controls(), (std::vector<TControl*>{inner}));
  delete form; // frees the panel, which lets go of the label it does not own
  EXPECT_EQ(inner->Parent(), nullptr);
  EXPECT_TRUE(inner->Widget()->isHidden());
  delete inner;
}
