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
    AddLines(*t.LanguageByIdent(qlEnglish),
             {"1;Setup", "2;Welcome", "3;Next >", "4;Click Next", "5;Full", "6;Compact", "7;Name", "8;Size",
              "9;Form hint", "#300", "Read me", "carefully", "#"});
    AddLines(*t.LanguageByIdent(qlGerman),
             {"1;Installation", "2;Willkommen", "3;Weiter >", "4;Klicken Sie auf Weiter", "5;Vollst\xE4ndig",
              "6;Minimal", "7;Name (de)", "8;Gr\xF6\xDF" "e", "10;Zehn", "#300", "Bitte lesen", "#"});
    t.SetTranslateIntoLanguage(qlGerman);
    form.SetName("Form1");
    form.SetCaption("Setup");
    form.SetHint("Form hint");
  }
  void TearDown() override { SetControlTreeHooks({}); }

  TTranslator t{nullptr};
  TCustomForm form{nullptr};
};

TEST_F(TranslateTree, StringPropertiesButNameAreTranslatedByText) {
  auto* label = new fake::TCustomLabel(&form);
  label->SetName("Welcome");
  label->SetCaption("welcome");
  label->FHint = "Click Next";
  auto* blank = new fake::TControl(&form);
  blank->FCaption = "   ";
  EXPECT_EQ(t.TranslateComponent(qlEnglish, &form), qlGerman);
  EXPECT_EQ(form.Caption(), "Installation");
  EXPECT_EQ(form.Hint(), "Form hint"); // German lacks 9
  EXPECT_EQ(label->Caption(), "Willkommen");
  EXPECT_EQ(label->FHint, "Klicken Sie auf Weiter");
  EXPECT_EQ(label->Name(), "Welcome");
  EXPECT_EQ(blank->FCaption, "   ");
  EXPECT_TRUE(blank->VisibleWhenCaptionSet.empty()); // blank values are not even written
}

TEST_F(TranslateTree, ControlsAreHiddenWhileTranslatedAndRestoredAfterwards) {
  auto* label = new fake::TCustomLabel(&form);
  label->FCaption = "Welcome";
  auto* hidden = new fake::TControl(&form);
  hidden->FCaption = "Setup";
  hidden->FVisible = false;
  auto* image = new fake::TImage(&form);
  image->FCaption = "Setup";
  t.TranslateComponent(qlEnglish, &form);
  EXPECT_EQ(label->VisibleWhenCaptionSet, std::vector<bool>{false});
  EXPECT_EQ(label->AutoSizeWhenCaptionSet, std::vector<bool>{false});
  EXPECT_TRUE(label->FVisible);
  EXPECT_TRUE(label->FAutoSize);
  EXPECT_FALSE(hidden->FVisible);
  EXPECT_EQ(image->VisibleWhenCaptionSet, std::vector<bool>{true}); // images stay shown
}

TEST_F(TranslateTree, LabelsAndButtonsWithGLID) {
  auto* ten = new fake::TTranslateLabel(&form);
  ten->FGLID = 10;
  ten->FCaption = "Ten";
  auto* missing = new fake::TTranslateLabel(&form);
  missing->FGLID = 11;
  missing->FCaption = "Setup";
  auto* never = new fake::TTranslateLabel(&form);
  never->FGLID = -1;
  never->FCaption = "Setup";
  never->FHint = "Click Next";
  auto* byText = new fake::TTranslateLabel(&form);
  byText->FCaption = "Setup";
  auto* button = new fake::TTranslateBitBtn(&form);
  button->FGLID = 3;
  button->FCaption = "&Next";
  t.TranslateComponent(qlEnglish, &form);
  EXPECT_EQ(ten->Caption(), "Zehn");
  EXPECT_EQ(missing->Caption(), "Setup"); // no line 11: the caption stays, and no text look-up
  EXPECT_EQ(never->Caption(), "Setup");
  EXPECT_EQ(never->FHint, "Click Next");
  EXPECT_EQ(byText->Caption(), "Installation");
  EXPECT_EQ(button->Caption(), "Weiter >");
}

TEST_F(TranslateTree, MemoListsAndColumns) {
  auto* memo = new fake::TCustomMemo(&form);
  memo->FLines.Add("Read me");
  memo->FLines.Add("carefully");
  auto* list = new fake::TCustomListBox(&form);
  list->FItems.Add("Full");
  list->FItems.Add("Other");
  list->FItems.Add("compact");
  auto* radio = new fake::TCustomRadioGroup(&form);
  radio->FItems.Add("Compact");
  auto* view = new fake::TCustomListView(&form);
  view->FColumns.Add()->FCaption = "Name";
  view->FColumns.Add()->FCaption = "Size";
  t.TranslateComponent(qlEnglish, &form);
  EXPECT_EQ(memo->FLines.Text(), "Bitte lesen\r\n");
  EXPECT_EQ(list->FItems.Text(), "Vollst\xE4ndig\r\nOther\r\nMinimal\r\n");
  EXPECT_EQ(radio->FItems.Text(), "Minimal\r\n");
  EXPECT_EQ(view->FColumns.Items(0)->FCaption, "Name (de)");
  EXPECT_EQ(view->FColumns.Items(1)->FCaption, "Gr\xF6\xDF" "e");
}

TEST_F(TranslateTree, OwnedTreeIsWalkedButNotOtherForms) {
  auto* panel = new fake::TControl(&form);
  auto* inner = new fake::TControl(panel);
  inner->FCaption = "Next >";
  auto* otherForm = new TCustomForm(&form);
  otherForm->SetCaption("Setup");
  t.TranslateComponent(qlEnglish, &form);
  EXPECT_EQ(inner->Caption(), "Weiter >");
  EXPECT_EQ(otherForm->Caption(), "Setup");
}

TEST_F(TranslateTree, ResultIsSourceWhenTargetHasNoLines) {
  EXPECT_EQ(t.TranslateComponent(qlEnglish, nullptr), qlEnglish);
  t.SetTranslateIntoLanguage(qlFrench);
  EXPECT_EQ(t.TranslateComponent(qlEnglish, &form), qlEnglish);
  EXPECT_EQ(form.Caption(), "Setup");
  // Translating back from German into English and then into the user's language.
  EXPECT_EQ(t.TranslateComponentInto(qlEnglish, qlGerman, &form), qlGerman);
  EXPECT_EQ(t.TranslateIntoLanguage(), qlFrench);
  EXPECT_EQ(t.TranslateComponentInto(qlGerman, qlEnglish, &form), qlEnglish);
  EXPECT_EQ(form.Caption(), "Setup");
}

TEST_F(TranslateTree, TargetIsRestoredAndControlsShownWhenTranslationFails) {
  auto* label = new fake::TCustomLabel(&form);
  label->FCaption = "Welcome";
  label->ThrowOnCaption = true;
  t.SetTranslateIntoLanguage(qlFrench);
  EXPECT_THROW(t.TranslateComponentInto(qlEnglish, qlGerman, &form), Exception);
  EXPECT_EQ(t.TranslateIntoLanguage(), qlFrench);
  EXPECT_TRUE(label->FVisible);
  EXPECT_TRUE(label->FAutoSize);
}

TEST_F(TranslateTree, ProcessWideServicesGoThroughTheActiveTranslator) {
  ASSERT_EQ(ActiveTranslator(), &t);
  EXPECT_EQ(TranslateComponent(qlEnglish, &form), qlGerman);
  EXPECT_EQ(form.Caption(), "Installation");
  EXPECT_EQ(TranslateComponentInto(qlGerman, qlEnglish, &form), qlEnglish);
  EXPECT_EQ(form.Caption(), "Setup");
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
    panel = new fake::TControl(&form);
    label = new fake::TCustomLabel(panel);
    panel->Children = {label};
    label->FFont.SetSize(6);
    panel->FFont.SetSize(12);
    // The framework says which components hold child controls.
    SetControlTreeHooks({nullptr,
                         [](TComponent* c) { return dynamic_cast<fake::TControl*>(c) != nullptr; },
                         [](TComponent* c) {
                           auto* control = dynamic_cast<fake::TControl*>(c);
                           return control ? control->Children : std::vector<TComponent*>{};
                         },
                         [](TComponent* c) { ++static_cast<fake::TControl*>(c)->Realigned; }});
  }
  fake::TControl* panel = nullptr;
  fake::TCustomLabel* label = nullptr;
};

TEST_F(ControlFonts, TableGivesCharsetFaceAndMinimumSize) {
  t.SetTranslateIntoLanguage(qlRussian);
  AddLines(*t.LanguageByIdent(qlRussian), {"1;x"});
  t.SetControlFonts(panel, false);
  EXPECT_EQ(panel->FFont.Charset(), 204);
  EXPECT_EQ(panel->FFont.Name(), "Arial");
  EXPECT_EQ(panel->FFont.Size(), 12);
  EXPECT_EQ(label->FFont.Charset(), 204);
  EXPECT_EQ(label->FFont.Size(), 8);
  t.SetControlFontsInto(qlJapanese, panel, true);
  EXPECT_EQ(t.TranslateIntoLanguage(), qlRussian);
  EXPECT_EQ(label->FFont.Charset(), 128);
  EXPECT_EQ(label->FFont.Name(), "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E");
  EXPECT_EQ(label->FFont.Size(), 9);
}

TEST_F(ControlFonts, TargetWithoutLinesUsesEnglishUnlessForced) {
  t.SetTranslateIntoLanguage(qlPolish);
  t.SetControlFonts(&form, false);
  EXPECT_EQ(form.Font()->Charset(), 0);
  EXPECT_EQ(form.Font()->Name(), "Arial");
  EXPECT_EQ(form.Font()->Size(), 8);
  t.SetControlFonts(&form, true);
  EXPECT_EQ(form.Font()->Charset(), 238);
}

TEST_F(ControlFonts, FontOverrideCopiesTheLanguagesFont) {
  TLanguage* german = t.LanguageByIdent(qlGerman);
  german->SetFontOverride(true);
  german->Font()->SetName("Tahoma");
  german->Font()->SetSize(11);
  german->Font()->SetCharset(0);
  t.SetControlFonts(panel, false);
  EXPECT_EQ(panel->FFont.Name(), "Tahoma");
  EXPECT_EQ(label->FFont.Name(), "Tahoma");
  EXPECT_EQ(label->FFont.Size(), 11);
  EXPECT_EQ(label->FFont.Charset(), 0);
}

TEST_F(ControlFonts, GermanFaceAndHooksRealignAfterTranslation) {
  t.SetControlFonts(panel, false);
  EXPECT_EQ(label->FFont.Name(), "MS Sans Serif");
  label->FCaption = "Welcome";
  t.TranslateComponent(qlEnglish, panel);
  EXPECT_EQ(panel->Realigned, 1);
  EXPECT_EQ(label->Caption(), "Willkommen");
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
