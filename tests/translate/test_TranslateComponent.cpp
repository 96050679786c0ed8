// Translating component trees and setting their fonts through published properties.
#include <gtest/gtest.h>

#include "FakeControls.h"
#include "LanguageTestHelpers.h"
#include "rtl/Forms.h"
#include "translate/ControlTree.h"

using namespace qnl;
using namespace qnl::test;

namespace {

class TranslateTree : public ::testing::Test {
protected:
  void SetUp() override {
    AddLines(*FT.LanguageByIdent(qlEnglish), {"1;Setup", "2;Welcome", "3;Next >", "4;Click Next", "5;Full", "6;Compact",
                                              "7;Name", "8;Size", "9;Form hint", "#300", "Read me", "carefully", "#"});
    AddLines(*FT.LanguageByIdent(qlGerman), {"1;Installation", "2;Willkommen", "3;Weiter >", "4;Klicken Sie auf Weiter",
                                             "5;Vollst\xE4ndig", "6;Minimal", "7;Name (de)",
                                             "8;Gr\xF6\xDF"
                                             "e",
                                             "10;Zehn", "#300", "Bitte lesen", "#"});
    FT.SetTranslateIntoLanguage(qlGerman);
    FForm.SetName("Form1");
    FForm.SetCaption("Setup");
    FForm.SetHint("Form hint");
  }
  void TearDown() override { SetControlTreeHooks({}); }

  TTranslator FT{nullptr};
  TCustomForm FForm{nullptr};
};

TEST_F(TranslateTree, StringPropertiesButNameAreTranslatedByText) {
  auto* label = new fake::TCustomLabel(&FForm);
  label->SetName("Welcome");
  label->SetCaption("welcome");
  label->FHint = "Click Next";
  auto* blank = new fake::TControl(&FForm);
  blank->FCaption = "   ";
  EXPECT_EQ(FT.TranslateComponent(qlEnglish, &FForm), qlGerman);
  EXPECT_EQ(FForm.Caption(), "Installation");
  EXPECT_EQ(FForm.Hint(), "Form hint"); // German lacks 9
  EXPECT_EQ(label->Caption(), "Willkommen");
  EXPECT_EQ(label->FHint, "Klicken Sie auf Weiter");
  EXPECT_EQ(label->Name(), "Welcome");
  EXPECT_EQ(blank->FCaption, "   ");
  EXPECT_TRUE(blank->VisibleWhenCaptionSet.empty()); // blank values are not even written
}

TEST_F(TranslateTree, ControlsAreHiddenWhileTranslatedAndRestoredAfterwards) {
  auto* label = new fake::TCustomLabel(&FForm);
  label->FCaption = "Welcome";
  auto* hidden = new fake::TControl(&FForm);
  hidden->FCaption = "Setup";
  hidden->FVisible = false;
  auto* image = new fake::TImage(&FForm);
  image->FCaption = "Setup";
  FT.TranslateComponent(qlEnglish, &FForm);
  EXPECT_EQ(label->VisibleWhenCaptionSet, std::vector<bool>{false});
  EXPECT_EQ(label->AutoSizeWhenCaptionSet, std::vector<bool>{false});
  EXPECT_TRUE(label->FVisible);
  EXPECT_TRUE(label->FAutoSize);
  EXPECT_FALSE(hidden->FVisible);
  EXPECT_EQ(image->VisibleWhenCaptionSet, std::vector<bool>{true}); // images stay shown
}

TEST_F(TranslateTree, LabelsAndButtonsWithGLID) {
  auto* ten = new fake::TTranslateLabel(&FForm);
  ten->FGLID = 10;
  ten->FCaption = "Ten";
  auto* missing = new fake::TTranslateLabel(&FForm);
  missing->FGLID = 11;
  missing->FCaption = "Setup";
  auto* never = new fake::TTranslateLabel(&FForm);
  never->FGLID = -1;
  never->FCaption = "Setup";
  never->FHint = "Click Next";
  auto* byText = new fake::TTranslateLabel(&FForm);
  byText->FCaption = "Setup";
  auto* button = new fake::TTranslateBitBtn(&FForm);
  button->FGLID = 3;
  button->FCaption = "&Next";
  FT.TranslateComponent(qlEnglish, &FForm);
  EXPECT_EQ(ten->Caption(), "Zehn");
  EXPECT_EQ(missing->Caption(), "Setup"); // no line 11: the caption stays, and no text look-up
  EXPECT_EQ(never->Caption(), "Setup");
  EXPECT_EQ(never->FHint, "Click Next");
  EXPECT_EQ(byText->Caption(), "Installation");
  EXPECT_EQ(button->Caption(), "Weiter >");
}

TEST_F(TranslateTree, MemoListsAndColumns) {
  auto* memo = new fake::TCustomMemo(&FForm);
  memo->FLines.Add("Read me");
  memo->FLines.Add("carefully");
  auto* list = new fake::TCustomListBox(&FForm);
  list->FItems.Add("Full");
  list->FItems.Add("Other");
  list->FItems.Add("compact");
  auto* radio = new fake::TCustomRadioGroup(&FForm);
  radio->FItems.Add("Compact");
  auto* view = new fake::TCustomListView(&FForm);
  view->FColumns.Add()->FCaption = "Name";
  view->FColumns.Add()->FCaption = "Size";
  FT.TranslateComponent(qlEnglish, &FForm);
  EXPECT_EQ(memo->FLines.Text(), "Bitte lesen\r\n");
  EXPECT_EQ(list->FItems.Text(), "Vollst\xE4ndig\r\nOther\r\nMinimal\r\n");
  EXPECT_EQ(radio->FItems.Text(), "Minimal\r\n");
  EXPECT_EQ(view->FColumns.Items(0)->FCaption, "Name (de)");
  EXPECT_EQ(view->FColumns.Items(1)->FCaption, "Gr\xF6\xDF"
                                               "e");
}

TEST_F(TranslateTree, OwnedTreeIsWalkedButNotOtherForms) {
  auto* panel = new fake::TControl(&FForm);
  auto* inner = new fake::TControl(panel);
  inner->FCaption = "Next >";
  auto* otherForm = new TCustomForm(&FForm);
  otherForm->SetCaption("Setup");
  FT.TranslateComponent(qlEnglish, &FForm);
  EXPECT_EQ(inner->Caption(), "Weiter >");
  EXPECT_EQ(otherForm->Caption(), "Setup");
}

TEST_F(TranslateTree, ResultIsSourceWhenTargetHasNoLines) {
  EXPECT_EQ(FT.TranslateComponent(qlEnglish, nullptr), qlEnglish);
  FT.SetTranslateIntoLanguage(qlFrench);
  EXPECT_EQ(FT.TranslateComponent(qlEnglish, &FForm), qlEnglish);
  EXPECT_EQ(FForm.Caption(), "Setup");
  // Translating back from German into English and then into the user's language.
  EXPECT_EQ(FT.TranslateComponentInto(qlEnglish, qlGerman, &FForm), qlGerman);
  EXPECT_EQ(FT.TranslateIntoLanguage(), qlFrench);
  EXPECT_EQ(FT.TranslateComponentInto(qlGerman, qlEnglish, &FForm), qlEnglish);
  EXPECT_EQ(FForm.Caption(), "Setup");
}

TEST_F(TranslateTree, TargetIsRestoredAndControlsShownWhenTranslationFails) {
  auto* label = new fake::TCustomLabel(&FForm);
  label->FCaption = "Welcome";
  label->ThrowOnCaption = true;
  FT.SetTranslateIntoLanguage(qlFrench);
  EXPECT_THROW(FT.TranslateComponentInto(qlEnglish, qlGerman, &FForm), Exception);
  EXPECT_EQ(FT.TranslateIntoLanguage(), qlFrench);
  EXPECT_TRUE(label->FVisible);
  EXPECT_TRUE(label->FAutoSize);
}

TEST_F(TranslateTree, ProcessWideServicesGoThroughTheActiveTranslator) {
  ASSERT_EQ(ActiveTranslator(), &FT);
  EXPECT_EQ(TranslateComponent(qlEnglish, &FForm), qlGerman);
  EXPECT_EQ(FForm.Caption(), "Installation");
  EXPECT_EQ(TranslateComponentInto(qlGerman, qlEnglish, &FForm), qlEnglish);
  EXPECT_EQ(FForm.Caption(), "Setup");
}

TEST(TranslateWithoutTranslator, ServicesChangeNothing) {
  TCustomForm form(nullptr);
  form.SetCaption("Setup");
  EXPECT_EQ(TranslateComponent(qlEnglish, &form), qlEnglish);
  SetControlFonts(&form, true);
  EXPECT_EQ(form.Font()->Name(), "MS Sans Serif");
  EXPECT_EQ(form.Caption(), "Setup");
}

class ControlFonts : public TranslateTree {
protected:
  void SetUp() override {
    TranslateTree::SetUp();
    FPanel = new fake::TControl(&FForm);
    FLabel = new fake::TCustomLabel(FPanel);
    FPanel->Children = {FLabel};
    FLabel->FFont.SetSize(6);
    FPanel->FFont.SetSize(12);
    // The framework says which components hold child controls.
    SetControlTreeHooks({nullptr, [](TComponent* C) { return dynamic_cast<fake::TControl*>(C) != nullptr; },
                         [](TComponent* C) {
                           auto* control = dynamic_cast<fake::TControl*>(C);
                           return control ? control->Children : std::vector<TComponent*>{};
                         },
                         [](TComponent* C) { ++static_cast<fake::TControl*>(C)->Realigned; }});
  }
  fake::TControl* FPanel = nullptr;
  fake::TCustomLabel* FLabel = nullptr;
};

TEST_F(ControlFonts, TableGivesCharsetFaceAndMinimumSize) {
  FT.SetTranslateIntoLanguage(qlRussian);
  AddLines(*FT.LanguageByIdent(qlRussian), {"1;x"});
  FT.SetControlFonts(FPanel, false);
  EXPECT_EQ(FPanel->FFont.Charset(), 204);
  EXPECT_EQ(FPanel->FFont.Name(), "Arial");
  EXPECT_EQ(FPanel->FFont.Size(), 12);
  EXPECT_EQ(FLabel->FFont.Charset(), 204);
  EXPECT_EQ(FLabel->FFont.Size(), 8);
  FT.SetControlFontsInto(qlJapanese, FPanel, true);
  EXPECT_EQ(FT.TranslateIntoLanguage(), qlRussian);
  EXPECT_EQ(FLabel->FFont.Charset(), 128);
  EXPECT_EQ(FLabel->FFont.Name(), "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E");
  EXPECT_EQ(FLabel->FFont.Size(), 9);
}

TEST_F(ControlFonts, TargetWithoutLinesUsesEnglishUnlessForced) {
  FT.SetTranslateIntoLanguage(qlPolish);
  FT.SetControlFonts(&FForm, false);
  EXPECT_EQ(FForm.Font()->Charset(), 0);
  EXPECT_EQ(FForm.Font()->Name(), "Arial");
  EXPECT_EQ(FForm.Font()->Size(), 8);
  FT.SetControlFonts(&FForm, true);
  EXPECT_EQ(FForm.Font()->Charset(), 238);
}

TEST_F(ControlFonts, FontOverrideCopiesTheLanguagesFont) {
  TLanguage* german = FT.LanguageByIdent(qlGerman);
  german->SetFontOverride(true);
  german->Font()->SetName("Tahoma");
  german->Font()->SetSize(11);
  german->Font()->SetCharset(0);
  FT.SetControlFonts(FPanel, false);
  EXPECT_EQ(FPanel->FFont.Name(), "Tahoma");
  EXPECT_EQ(FLabel->FFont.Name(), "Tahoma");
  EXPECT_EQ(FLabel->FFont.Size(), 11);
  EXPECT_EQ(FLabel->FFont.Charset(), 0);
}

TEST_F(ControlFonts, GermanFaceAndHooksRealignAfterTranslation) {
  FT.SetControlFonts(FPanel, false);
  EXPECT_EQ(FLabel->FFont.Name(), "MS Sans Serif");
  FLabel->FCaption = "Welcome";
  FT.TranslateComponent(qlEnglish, FPanel);
  EXPECT_EQ(FPanel->Realigned, 1);
  EXPECT_EQ(FLabel->Caption(), "Willkommen");
}

TEST(LanguageTable, TwentyRowsWithTheirFontRules) {
  for (int i = 0; i < LanguageCount; ++i) {
    const TLanguageInfo& info = LanguageInfoAt(i);
    EXPECT_EQ(FindLanguageInfo(info.Ident), &info);
    EXPECT_FALSE(info.Face.empty()) << info.PropertyName;
  }
  EXPECT_EQ(FindLanguageInfo(qlUser), nullptr);
  EXPECT_EQ(FindLanguageInfo(21), nullptr);
  EXPECT_EQ(FindLanguageInfo(qlPortugese)->Charset, 238);
  EXPECT_EQ(FindLanguageInfo(qlVietnamese)->Charset, 163);
  EXPECT_EQ(FindLanguageInfo(qlHebrew)->Charset, 177);
  EXPECT_EQ(FindLanguageInfo(qlGreek)->Face, "SGreek");
  EXPECT_EQ(FindLanguageInfo(qlChineseTraditional)->Charset, 136);
  EXPECT_EQ(FindLanguageInfo(qlKorean)->Face, "\xB9\xD9\xC5\xC1");
}

} // namespace
