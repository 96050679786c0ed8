// A project whose German language translates engine messages: the engine's errors arrive in
// German, formatted with their values.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "paths/StandardPathSpecifiers.h"
#include "rtl/FormReader.h"
#include "rtl/FormText.h"
#include "rtl/Forms.h"
#include "translate/cmp_TTranslator.h"

using namespace qnl;

namespace {

const char* const kProject = R"(object FormMain: TCustomForm
  object MainTranslator: TTranslator
    lgEnglish.Strings = (
      '900;There is no TInstall component so the path specifier could not be expanded for %s'
      '901;Cannot use the ddMainInstallDir path specifier for a TInstall component')
    lgGerman.Strings = (
      '900;Ohne TInstall-Komponente kann der Pfad f'#252'r %s nicht bestimmt werden')
    TranslateIntoLanguage = qlUser
  end
end
)";

class EngineMessages : public ::testing::Test {
protected:
  void SetUp() override {
    if (const char* old = std::getenv("LC_ALL")) FOldLocale = old;
    RegisterFormsClasses();
    RegisterTranslateClasses();
    TMemoryStream stream(ObjectTextToBinary(kProject));
    ReadRootComponent(stream, &FForm);
    FTranslator = dynamic_cast<TTranslator*>(FForm.FindComponent("MainTranslator"));
  }
  void TearDown() override {
    if (FOldLocale)
      setenv("LC_ALL", FOldLocale->c_str(), 1);
    else
      unsetenv("LC_ALL");
  }
  // The message of the engine's error for a main-directory look-up without an install component.
  std::string MainInstallError() {
    TpsMainInstall specifier(nullptr);
    try {
      specifier.GetPath(&FForm);
    } catch (const IException& e) {
      return e.Message();
    }
    return "(no error)";
  }

  std::optional<std::string> FOldLocale;
  TCustomForm FForm{nullptr};
  TTranslator* FTranslator = nullptr;
};

TEST_F(EngineMessages, GermanTargetTranslatesAndFormats) {
  ASSERT_NE(FTranslator, nullptr);
  FTranslator->SetTranslateIntoLanguage(qlGerman);
  EXPECT_EQ(MainInstallError(), "Ohne TInstall-Komponente kann der Pfad f\xFCr FormMain nicht bestimmt werden");
}

TEST_F(EngineMessages, UserLanguageFollowsTheLocale) {
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  EXPECT_EQ(MainInstallError(), "Ohne TInstall-Komponente kann der Pfad f\xFCr FormMain nicht bestimmt werden");
  setenv("LC_ALL", "sv_SE.UTF-8", 1);
  EXPECT_EQ(MainInstallError(),
            "There is no TInstall component so the path specifier could not be expanded for FormMain");
}

TEST_F(EngineMessages, MessageWithoutGermanLineStaysEnglish) {
  FTranslator->SetTranslateIntoLanguage(qlGerman);
  EXPECT_EQ(TranslateMessage("Cannot use the ddMainInstallDir path specifier for a TInstall component"),
            "Cannot use the ddMainInstallDir path specifier for a TInstall component");
}

} // namespace
