// A translator read from a project's form resource, language by language.
#include <gtest/gtest.h>

#include "LanguageTestHelpers.h"
#include "common/exceptions_Quenloft.h"
#include "rtl/FormReader.h"
#include "rtl/FormText.h"
#include "rtl/Forms.h"

using namespace qnl;
using namespace qnl::test;

namespace {

void ReadProject(const std::string& Text, TComponent* Root) {
  RegisterFormsClasses();
  RegisterTranslateClasses();
  TMemoryStream stream(ObjectTextToBinary(Text));
  ReadRootComponent(stream, Root);
}

const char* const kProject = R"(object FormMain: TCustomForm
  Caption = 'Setup'
  object MainTranslator: TTranslator
    lgEnglish.Font.Name = 'Tahoma'
    lgEnglish.Font.Charset = DEFAULT_CHARSET
    lgEnglish.FontOverride = True
    lgEnglish.Strings = (
      '* English texts'
      '1;Setup'
      '2;Could not open %s (error %d)'
      '#300;'
      'First line'
      '#')
    lgGerman.Strings = (
      '1;Installation'
      '2;%s konnte nicht ge'#246'ffnet werden (Fehler %d)'
      '#300'
      'Erste Zeile'
      '#')
    TranslateIntoLanguage = qlGerman
  end
end
)";

TEST(StreamedTranslator, LanguagesArriveAsSubProperties) {
  TCustomForm form(nullptr);
  ReadProject(kProject, &form);
  auto* translator = dynamic_cast<TTranslator*>(form.FindComponent("MainTranslator"));
  ASSERT_NE(translator, nullptr);
  EXPECT_EQ(translator->TranslateIntoLanguage(), qlGerman);
  TLanguage* english = translator->LanguageByIdent(qlEnglish);
  EXPECT_TRUE(english->FontOverride());
  EXPECT_EQ(english->Font()->Name(), "Tahoma");
  EXPECT_EQ(english->Strings()->Count(), 6);
  EXPECT_EQ(StringEntries(*english), "1@1:Setup|2@2:Could not open %s (error %d)");
  EXPECT_EQ(MemoEntries(*translator->LanguageByIdent(qlGerman)), "300@2:[Erste Zeile]");
  EXPECT_EQ(ActiveTranslator(), translator);
  EXPECT_EQ(IException("Could not open %s (error %d)", {"setup.1", 5}).Message(), "setup.1 konnte nicht ge\xF6"
                                                                                  "ffnet werden (Fehler 5)");
  EXPECT_EQ(translator->TranslateComponent(qlEnglish, &form), qlGerman);
  EXPECT_EQ(form.Caption(), "Installation");
}

TEST(StreamedTranslator, FaultyLineEndsLoadingWithItsMessage) {
  std::string text = kProject;
  text.replace(text.find("'1;Installation'"), 16, "'Installation'");
  TCustomForm form(nullptr);
  try {
    ReadProject(text, &form);
    FAIL() << "loading went through";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "The 0'th string (Installation) does not have the proper format of GLID;Text");
  }
  EXPECT_EQ(ActiveTranslator(), nullptr); // the translator read so far was freed
}

} // namespace
