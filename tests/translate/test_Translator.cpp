// The translator component: its languages, look-ups, target language and messages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "LanguageTestHelpers.h"
#include "common/exceptions_Quenloft.h"

using namespace qnl;
using namespace qnl::test;

namespace {

// Sets LC_ALL for one test and puts the old value back.
class TLocaleScope {
public:
  explicit TLocaleScope(const char* Locale) {
    if (const char* old = std::getenv("LC_ALL")) FOld = old;
    setenv("LC_ALL", Locale, 1);
  }
  ~TLocaleScope() {
    if (FOld)
      setenv("LC_ALL", FOld->c_str(), 1);
    else
      unsetenv("LC_ALL");
  }

private:
  std::optional<std::string> FOld;
};

TEST(Translator, HasTwentyLanguagesInTableOrder) {
  TTranslator t(nullptr);
  ASSERT_EQ(t.LanguageCount(), 20);
  const TQnlfLanguage expected[] = {qlChineseSimplified,
                                    qlChineseTraditional,
                                    qlCzech,
                                    qlDanish,
                                    qlDutch,
                                    qlEnglish,
                                    qlFrench,
                                    qlGerman,
                                    qlGreek,
                                    qlHebrew,
                                    qlItalian,
                                    qlJapanese,
                                    qlKorean,
                                    qlNorwegianBokmal,
                                    qlNorwegianNynorsk,
                                    qlPolish,
                                    qlPortugese,
                                    qlRussian,
                                    qlSpanish,
                                    qlVietnamese};
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(t.Languages(i)->LanguageIdent(), expected[i]) << i;
    EXPECT_EQ(t.Languages(i)->Translator(), &t);
    EXPECT_EQ(t.LanguageByIdent(expected[i]), t.Languages(i));
  }
  EXPECT_EQ(t.LanguageByIdent(qlUser), nullptr);
  EXPECT_EQ(t.LanguageByIdent(21), nullptr);
  EXPECT_EQ(t.TranslateIntoLanguage(), qlUser);
  EXPECT_EQ(t.LanguageByIdent(qlGerman)->TextFileName(), "qnliGerman.txt");
  EXPECT_EQ(t.LanguageByIdent(qlChineseSimplified)->PictureName(), "BM_LANG_SIMPCHINESE");
  EXPECT_EQ(t.LanguageByIdent(qlVietnamese)->PictureName(), "BM_LANG_VIETNAMESE");
  EXPECT_FALSE(t.LanguageByIdent(qlEnglish)->FontOverride());
  EXPECT_EQ(t.LanguageByIdent(qlEnglish)->Strings()->Count(), 0);
}

TEST(Translator, PublishesLanguagesAsSubPropertiesAndTheTarget) {
  TTranslator t(nullptr);
  const TClassInfo& info = t.ClassInfo();
  const TPropInfo* german = info.FindProp("lgGerman");
  ASSERT_NE(german, nullptr);
  EXPECT_EQ(german->Kind, TTypeKind::tkClass);
  EXPECT_EQ(german->GetObj(&t), t.LanguageByIdent(qlGerman));
  const TPropInfo* strings = german->PropClass().FindProp("Strings");
  ASSERT_NE(strings, nullptr);
  EXPECT_EQ(strings->Kind, TTypeKind::tkStrings);
  EXPECT_EQ(german->PropClass().FindProp("FontOverride")->Kind, TTypeKind::tkBoolean);
  EXPECT_EQ(german->PropClass().FindProp("Font")->Kind, TTypeKind::tkClass);
  const TPropInfo* target = info.FindProp("TranslateIntoLanguage");
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(target->Enum->NameOf(target->GetOrd(&t)), "qlUser");
  EXPECT_EQ(info.FindProp("lgUser"), nullptr);
  int languages = 0;
  for (const TPropInfo* p : info.AllProps()) languages += p->Name.rfind("lg", 0) == 0;
  EXPECT_EQ(languages, 20);
}

TEST(Translator, FirstTranslatorIsActiveUntilItIsDestroyed) {
  ASSERT_EQ(ActiveTranslator(), nullptr);
  auto* first = new TTranslator(nullptr);
  {
    TTranslator second(nullptr);
    EXPECT_EQ(ActiveTranslator(), first);
  }
  EXPECT_EQ(ActiveTranslator(), first);
  delete first;
  EXPECT_EQ(ActiveTranslator(), nullptr);
}

TEST(Translator, DesignTimeTranslatorIsNamedAndFreedByTheProjectsOwn) {
  TComponent form(nullptr);
  TComponent taken(&form);
  taken.SetName("MainTranslator");
  TTranslator* made = CreateDesignTimeTranslator(&form);
  EXPECT_EQ(made->Name(), "MainTranslator1");
  EXPECT_EQ(DesignTimeTranslator(), made);
  EXPECT_EQ(CreateDesignTimeTranslator(&form), made);
  EXPECT_EQ(ActiveTranslator(), made);
  auto* own = new TTranslator(&form);
  EXPECT_EQ(DesignTimeTranslator(), nullptr);
  EXPECT_EQ(form.FindComponent("MainTranslator1"), nullptr);
  EXPECT_EQ(ActiveTranslator(), own);
  FreeDesignTimeTranslator(); // nothing left to free
  delete own;
}

class Lookups : public ::testing::Test {
protected:
  void SetUp() override {
    AddLines(*FEnglish, {"5;Next >", "6;Cancel", "7;Welcome to %s",
                         "8;Gr\xFC\xDF"
                         "e \xC4pfel",
                         "#300", "Line one", "Line two", "#"});
    AddLines(*FGerman, {"5;Weiter >", "6;Abbrechen",
                        "8;Gr\xFC\xDF"
                        "e",
                        "#300", "Zeile eins", "#"});
    FT.SetTranslateIntoLanguage(qlGerman);
  }
  TTranslator FT{nullptr};
  TLanguage* FEnglish = FT.LanguageByIdent(qlEnglish);
  TLanguage* FGerman = FT.LanguageByIdent(qlGerman);
};

TEST_F(Lookups, SourceTextIsFoundIgnoringCaseButNotBlanks) {
  EXPECT_EQ(FT.TranslateText(qlEnglish, "next >"), "Weiter >");
  EXPECT_EQ(FT.TranslateText(qlEnglish, "NEXT >"), "Weiter >");
  EXPECT_EQ(FT.TranslateText(qlEnglish, "next >  "), "next >  ");
  EXPECT_EQ(FT.TranslateText(qlEnglish, " Next >"), " Next >");
  EXPECT_EQ(FT.TranslateText(qlEnglish, "Unknown"), "Unknown");
  EXPECT_EQ(FT.TranslateText(qlEnglish, "Welcome to %s"), "Welcome to %s"); // German lacks 7
}

TEST_F(Lookups, CaseOfLettersBeyondAsciiIsIgnoredByTheLocale) {
  EXPECT_EQ(FEnglish
                ->FindStringByText("GR\xDC\xDF"
                                   "E \xE4PFEL")
                ->GLID(),
            8);
  EXPECT_EQ(FT.TranslateText(qlEnglish, "gr\xFC\xDF"
                                        "e \xE4pfel"),
            "Gr\xFC\xDF"
            "e");
  EXPECT_EQ(FEnglish->FindStringByText("Grusse Apfel"), nullptr);
}

TEST_F(Lookups, TranslateByGLIDAndMemo) {
  EXPECT_EQ(FT.TranslateByGLID(6, "Cancel"), "Abbrechen");
  EXPECT_EQ(FT.TranslateByGLID(10, "Keep"), "Keep");
  TStringList lines;
  lines.Add("Line one");
  lines.Add("Line two");
  EXPECT_EQ(FT.TranslateMemo(qlEnglish, lines)->Text(), "Zeile eins\r\n");
  lines.Put(1, "line two"); // memos compare exactly
  EXPECT_EQ(FT.TranslateMemo(qlEnglish, lines)->Text(), "Line one\r\nline two\r\n");
  EXPECT_EQ(FEnglish->FindMemoByGLID(300)->LineIndex(), 4);
}

TEST_F(Lookups, SourceMayBeAnyLanguage) {
  FT.SetTranslateIntoLanguage(qlEnglish);
  EXPECT_EQ(FT.TranslateText(qlGerman, "abbrechen"), "Cancel");
  EXPECT_EQ(FT.TranslateText(qlFrench, "Abbrechen"), "Abbrechen");
}

TEST_F(Lookups, TargetWithoutLinesLeavesTextsAsTheyAre) {
  FT.SetTranslateIntoLanguage(qlFrench);
  EXPECT_EQ(FT.TargetLanguage(), FT.LanguageByIdent(qlFrench));
  EXPECT_EQ(FT.TranslateText(qlEnglish, "Next >"), "Next >");
  EXPECT_EQ(FT.TranslateByGLID(5, "Next >"), "Next >");
}

TEST(UserLanguage, WindowsLanguageIdentifiersMapThroughTheTable) {
  struct Case {
    uint16_t LangID;
    TQnlfLanguage Expected;
  } cases[] = {
      {0x0804, qlChineseSimplified},
      {0x0404, qlChineseTraditional},
      {0x0C04, qlChineseSimplified},
      {0x0405, qlCzech},
      {0x0406, qlDanish},
      {0x0407, qlGerman},
      {0x0807, qlGerman},
      {0x0408, qlGreek},
      {0x040A, qlSpanish},
      {0x040C, qlFrench},
      {0x040D, qlHebrew},
      {0x0410, qlItalian},
      {0x0411, qlJapanese},
      {0x0412, qlKorean},
      {0x0413, qlDutch},
      {0x0414, qlNorwegianBokmal},
      {0x0814, qlNorwegianNynorsk},
      {0x0C14, qlNorwegianBokmal},
      {0x0415, qlPolish},
      {0x0416, qlPortugese},
      {0x0419, qlRussian},
      {0x042A, qlVietnamese},
      {0x041D, qlEnglish},
      {0x0409, qlEnglish},
      {0x0000, qlEnglish},
  };
  for (const Case& c : cases) EXPECT_EQ(LanguageOfLangID(c.LangID), c.Expected) << std::hex << c.LangID;
}

TEST(UserLanguage, SwedishUserGetsEnglish) {
  TLocaleScope locale("sv_SE.UTF-8");
  TTranslator t(nullptr);
  EXPECT_EQ(t.UserDefaultLanguage(), t.LanguageByIdent(qlEnglish));
  EXPECT_EQ(t.TargetLanguage(), t.LanguageByIdent(qlEnglish));
}

TEST(UserLanguage, GermanUserGetsGermanAndUserSourceFollowsIt) {
  TLocaleScope locale("de_DE.UTF-8");
  TTranslator t(nullptr);
  EXPECT_EQ(t.TargetLanguage(), t.LanguageByIdent(qlGerman));
  AddLines(*t.LanguageByIdent(qlGerman), {"5;Weiter >"});
  AddLines(*t.LanguageByIdent(qlEnglish), {"5;Next >"});
  t.SetTranslateIntoLanguage(qlEnglish);
  EXPECT_EQ(t.TranslateText(qlUser, "weiter >"), "Next >");
}

class Messages : public ::testing::Test {
protected:
  void SetUp() override {
    AddLines(*FT.LanguageByIdent(qlEnglish),
             {"100;Could not find the path specifier", "101;The file %s could not be copied to %s (%d)",
              "102;Installation aborted by the user", "103;Registry key %s is missing"});
    AddLines(*FT.LanguageByIdent(qlGerman),
             {"100;Der Pfadbezeichner wurde nicht gefunden",
              "101;Die Datei %s konnte nicht nach %s kopiert werden (%d)", "102;Installation vom Benutzer abgebrochen",
              "103;Registrierungsschl\xFCssel %s fehlt"});
    FT.SetTranslateIntoLanguage(qlGerman);
  }
  TTranslator FT{nullptr};
};

TEST_F(Messages, IExceptionCarriesTheTargetTextFormattedWithItsValues) {
  ASSERT_EQ(ActiveTranslator(), &FT);
  EXPECT_EQ(IException("Could not find the path specifier").Message(), "Der Pfadbezeichner wurde nicht gefunden");
  EXPECT_EQ(IException("The file %s could not be copied to %s (%d)", {"a.dll", "C:\\x", 5}).Message(),
            "Die Datei a.dll konnte nicht nach C:\\x kopiert werden (5)");
  EXPECT_EQ(EQXUserAbort().Message(), "Installation vom Benutzer abgebrochen");
  EXPECT_EQ(TranslateMessage("Not in any language"), "Not in any language");
}

TEST_F(Messages, ErrorsOutsideTheTranslatedFamilyStayEnglish) {
  EXPECT_EQ(EAPIRoutines("Registry key %s is missing").Message(), "Registry key %s is missing");
  EXPECT_EQ(Exception("Could not find the path specifier").Message(), "Could not find the path specifier");
}

TEST_F(Messages, UserLanguageTargetFollowsTheLocale) {
  FT.SetTranslateIntoLanguage(qlUser);
  {
    TLocaleScope locale("de_DE.UTF-8");
    EXPECT_EQ(IException("The file %s could not be copied to %s (%d)", {"b", "c", 2}).Message(),
              "Die Datei b konnte nicht nach c kopiert werden (2)");
  }
  TLocaleScope locale("sv_SE.UTF-8");
  EXPECT_EQ(IException("Could not find the path specifier").Message(), "Could not find the path specifier");
}

TEST(MessagesWithoutTranslator, StayEnglishOnceTheTranslatorIsGone) {
  {
    TTranslator t(nullptr);
    AddLines(*t.LanguageByIdent(qlEnglish), {"1;Hello"});
    AddLines(*t.LanguageByIdent(qlGerman), {"1;Hallo"});
    t.SetTranslateIntoLanguage(qlGerman);
    EXPECT_EQ(TranslateMessage("Hello"), "Hallo");
  }
  EXPECT_EQ(TranslateMessage("Hello"), "Hello");
  EXPECT_EQ(IException("Hello").Message(), "Hello");
}

} // namespace
