// A stored form's labels and buttons translated by the translator in the same form.
#include <memory>

#include <QLabel>
#include <QPushButton>

#include "main/formMain.h"
#include "tests/vcl/VclTestSupport.h"
#include "translate/TTranslator.h"
#include "vcl/Controls.h"
#include "vcl/cmp_TTranslateControls.h"

using namespace qnl;
using namespace qnl::test;

namespace {

const char* const kTranslatedForm = R"(object formMain: TformMain
  ClientHeight = 300
  ClientWidth = 400
  Caption = 'Setup'
  Font.Charset = DEFAULT_CHARSET
  Font.Height = -11
  Font.Name = 'Arial'
  object lblWelcome: TTranslateLabel
    Left = 8
    Top = 8
    Caption = 'Hello there'
    GLID = 10
  end
  object lblProduct: TTranslateLabel
    Left = 8
    Top = 30
    Caption = 'Setup'
    GLID = -1
  end
  object pnlButtons: TPanel
    Align = alBottom
    object lblByText: TTranslateLabel
      Caption = 'Setup'
      Font.Charset = DEFAULT_CHARSET
      Font.Height = -8
      Font.Name = 'Courier New'
      ParentFont = False
    end
    object btnNext: TTranslateBitBtn
      Caption = '&Next'
      GLID = 11
      Default = True
    end
  end
  object MainTranslator: TTranslator
    lgEnglish.Strings = (
      '1;Setup'
      '10;Welcome'
      '11;&Next')
    lgGerman.Strings = (
      '1;Installation'
      '10;Willkommen f'#252'r die Installation'
      '11;&Weiter')
    TranslateIntoLanguage = qlGerman
  end
end
)";

class TranslateControls : public VclTest {
protected:
  void SetUp() override {
    VclTest::SetUp();
    RegisterFormsClasses();
    RegisterTranslateClasses();
    RegisterControlsClasses();
    // The form needs the application, which the base set-up makes.
    FForm = std::make_unique<TformMain>(nullptr);
    LoadTextForm(&Form(), kTranslatedForm);
    FTranslator = dynamic_cast<TTranslator*>(Form().FindComponent("MainTranslator"));
    ASSERT_NE(FTranslator, nullptr);
  }
  void TearDown() override {
    FForm.reset();
    VclTest::TearDown();
  }
  TformMain& Form() { return *FForm; }
  TLabel* Label(const char* Name) { return dynamic_cast<TLabel*>(Form().FindComponent(Name)); }

  std::unique_ptr<TformMain> FForm;
  TTranslator* FTranslator = nullptr;
};

} // namespace

TEST_F(TranslateControls, GlidChoosesHowACaptionIsTranslated) {
  auto* welcome = dynamic_cast<TTranslateLabel*>(Label("lblWelcome"));
  ASSERT_NE(welcome, nullptr);
  EXPECT_EQ(welcome->GLID(), 10);
  auto* next = dynamic_cast<TTranslateBitBtn*>(Form().FindComponent("btnNext"));
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->Parent(), Form().FindComponent("pnlButtons"));
  int widthBefore = welcome->Width();

  EXPECT_EQ(FTranslator->TranslateComponent(qlEnglish, &Form()), qlGerman);
  EXPECT_EQ(Form().Caption(), "Installation");
  EXPECT_EQ(welcome->Caption(), "Willkommen f\xFCr die Installation"); // line 10, whatever it said
  EXPECT_EQ(Label("lblProduct")->Caption(), "Setup");                  // -1: never translated
  EXPECT_EQ(Label("lblByText")->Caption(), "Installation");            // 0: by its text
  EXPECT_EQ(next->Caption(), "&Weiter");

  // The widgets show the translation, and the controls are visible again afterwards.
  EXPECT_EQ(welcome->LabelWidget()->text(), QString::fromUtf8("Willkommen f\xC3\xBCr die Installation"));
  EXPECT_EQ(next->ButtonWidget()->text(), QString("&Weiter"));
  EXPECT_TRUE(welcome->Visible());
  EXPECT_FALSE(WidgetOf(welcome)->isHidden());
  EXPECT_TRUE(welcome->AutoSize());
  EXPECT_GT(welcome->Width(), widthBefore); // resized to the longer text
}

TEST_F(TranslateControls, ControlFontsReachNestedControls) {
  TLabel* byText = Label("lblByText");
  FTranslator->SetControlFonts(&Form(), false);
  for (TFont* font : {Form().Font(), Label("lblWelcome")->Font(), byText->Font()}) {
    EXPECT_EQ(font->Charset(), ANSI_CHARSET);
    EXPECT_EQ(font->Name(), "MS Sans Serif");
    EXPECT_GE(font->Size(), 8);
  }
  EXPECT_EQ(byText->Font()->Size(), 8); // raised to the language's minimum
  EXPECT_EQ(WidgetOf(byText)->font().family(), QString("MS Sans Serif"));

  // A Russian font shows the same bytes as Cyrillic.
  byText->SetCaption("\xCF\xF0\xE8");
  FTranslator->SetControlFontsInto(qlRussian, &Form(), true);
  EXPECT_EQ(byText->Font()->Charset(), RUSSIAN_CHARSET);
  EXPECT_EQ(byText->Font()->Name(), "Arial");
  EXPECT_EQ(byText->LabelWidget()->text(), QString::fromUtf8("\xD0\x9F\xD1\x80\xD0\xB8"));
}
