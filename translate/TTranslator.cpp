// The translator component and the process's active translator.
#include "translate/TTranslator.h"

#include "common/exceptions_Quenloft.h"
#include "platform/system/SystemInfo.h"
#include "rtl/ScopeGuard.h"

namespace qnl {

namespace {

TTranslator* gActive = nullptr;
TTranslator* gDesignTime = nullptr;

template <TQnlfLanguage L>
TLanguage* LanguageProperty(const TTranslator* T) {
  return T->LanguageByIdent(L);
}

// Runs Work with the translator's target switched to Target, restoring it in every case.
template <class F>
auto WithTarget(TTranslator& T, TQnlfLanguage Target, F&& Work) {
  const TQnlfLanguage saved = T.TranslateIntoLanguage();
  T.SetTranslateIntoLanguage(Target);
  TScopeExit restore([&] { T.SetTranslateIntoLanguage(saved); });
  return Work();
}

} // namespace

QNL_BEGIN_CLASS(TTranslator)
    .Sub("lgChineseSimplified", &LanguageProperty<qlChineseSimplified>)
    .Sub("lgChineseTraditional", &LanguageProperty<qlChineseTraditional>)
    .Sub("lgCzech", &LanguageProperty<qlCzech>)
    .Sub("lgDanish", &LanguageProperty<qlDanish>)
    .Sub("lgDutch", &LanguageProperty<qlDutch>)
    .Sub("lgEnglish", &LanguageProperty<qlEnglish>)
    .Sub("lgFrench", &LanguageProperty<qlFrench>)
    .Sub("lgGerman", &LanguageProperty<qlGerman>)
    .Sub("lgGreek", &LanguageProperty<qlGreek>)
    .Sub("lgHebrew", &LanguageProperty<qlHebrew>)
    .Sub("lgItalian", &LanguageProperty<qlItalian>)
    .Sub("lgJapanese", &LanguageProperty<qlJapanese>)
    .Sub("lgKorean", &LanguageProperty<qlKorean>)
    .Sub("lgNorwegianBokmal", &LanguageProperty<qlNorwegianBokmal>)
    .Sub("lgNorwegianNynorsk", &LanguageProperty<qlNorwegianNynorsk>)
    .Sub("lgPolish", &LanguageProperty<qlPolish>)
    .Sub("lgPortugese", &LanguageProperty<qlPortugese>)
    .Sub("lgRussian", &LanguageProperty<qlRussian>)
    .Sub("lgSpanish", &LanguageProperty<qlSpanish>)
    .Sub("lgVietnamese", &LanguageProperty<qlVietnamese>)
    .Prop("TranslateIntoLanguage", &C::TranslateIntoLanguage, &C::SetTranslateIntoLanguage);
QNL_END_CLASS

TTranslator::TTranslator(TComponent* AOwner) : TComponent(AOwner) {
  FLanguages.reserve(qnl::LanguageCount);
  for (int i = 0; i < qnl::LanguageCount; ++i)
    FLanguages.push_back(std::make_unique<TLanguage>(this, LanguageInfoAt(i).Ident));
  // The project brings its own translator: the stand-in made at design time goes first.
  // No designer runs in this system, so there is no form designer to tell of the change.
  if (gDesignTime) delete gDesignTime;
  if (!gActive) {
    gActive = this;
    SetMessageTranslator(
        [](const std::string& English) { return gActive ? gActive->TranslateText(qlEnglish, English) : English; });
  }
}

TTranslator::~TTranslator() {
  if (gDesignTime == this) gDesignTime = nullptr;
  if (gActive == this) {
    gActive = nullptr;
    SetMessageTranslator(nullptr);
  }
}

TLanguage* TTranslator::LanguageByIdent(int Ident) const {
  for (const auto& language : FLanguages)
    if (language->LanguageIdent() == Ident) return language.get();
  return nullptr;
}

TLanguage* TTranslator::UserDefaultLanguage() const {
  try {
    return LanguageByIdent(LanguageOfLangID(UserDefaultLangID()));
  } catch (const std::exception&) {
    return nullptr;
  }
}

TLanguage* TTranslator::TargetLanguage() const {
  return FTranslateIntoLanguage == qlUser ? UserDefaultLanguage() : LanguageByIdent(FTranslateIntoLanguage);
}

TLanguage* TTranslator::SourceLanguage(TQnlfLanguage Source) const {
  return Source == qlUser ? UserDefaultLanguage() : LanguageByIdent(Source);
}

std::string TTranslator::TranslateText(TQnlfLanguage Source, const std::string& Text) const {
  const TLanguage* source = SourceLanguage(Source);
  if (!source) return Text;
  const TLanguageString* entry = source->FindStringByText(Text);
  if (!entry) return Text;
  const TLanguage* target = TargetLanguage();
  if (!target) return Text;
  const TLanguageString* replacement = target->FindStringByGLID(entry->GLID());
  return replacement ? replacement->Text() : Text;
}

std::string TTranslator::TranslateByGLID(int32_t GLID, const std::string& Text) const {
  const TLanguage* target = TargetLanguage();
  if (!target) return Text;
  const TLanguageString* entry = target->FindStringByGLID(GLID);
  return entry ? entry->Text() : Text;
}

std::unique_ptr<TStringList> TTranslator::TranslateMemo(TQnlfLanguage Source, const TStrings& Lines) const {
  auto result = std::make_unique<TStringList>();
  result->Assign(&Lines);
  const TLanguage* source = SourceLanguage(Source);
  if (!source) return result;
  const TLanguageMemo* memo = source->FindMemoByText(Lines);
  if (!memo) return result;
  const TLanguage* target = TargetLanguage();
  if (!target) return result;
  if (const TLanguageMemo* replacement = target->FindMemoByGLID(memo->GLID())) result->Assign(&replacement->Lines());
  return result;
}

TQnlfLanguage TTranslator::TranslateComponentInto(TQnlfLanguage Source, TQnlfLanguage Target, TComponent* Component) {
  return WithTarget(*this, Target, [&] { return TranslateComponent(Source, Component); });
}

void TTranslator::SetControlFontsInto(TQnlfLanguage Target, TComponent* Control, bool Force) {
  WithTarget(*this, Target, [&] { SetControlFonts(Control, Force); });
}

TTranslator* ActiveTranslator() { return gActive; }
TTranslator* DesignTimeTranslator() { return gDesignTime; }

TTranslator* CreateDesignTimeTranslator(TComponent* Owner) {
  if (gDesignTime) return gDesignTime;
  auto* translator = new TTranslator(Owner);
  try {
    std::string name = "MainTranslator";
    for (int suffix = 1;; ++suffix) {
      try {
        translator->SetName(name);
        break;
      } catch (const EComponentError&) {
        name = "MainTranslator" + std::to_string(suffix);
      }
    }
  } catch (...) {
    delete translator;
    throw;
  }
  gDesignTime = translator;
  return translator;
}

void FreeDesignTimeTranslator() { delete gDesignTime; }

TQnlfLanguage TranslateComponent(TQnlfLanguage Source, TComponent* Component) {
  return gActive ? gActive->TranslateComponent(Source, Component) : Source;
}

TQnlfLanguage TranslateComponentInto(TQnlfLanguage Source, TQnlfLanguage Target, TComponent* Component) {
  return gActive ? gActive->TranslateComponentInto(Source, Target, Component) : Source;
}

void SetControlFonts(TComponent* Control, bool Force) {
  if (gActive) gActive->SetControlFonts(Control, Force);
}

void SetControlFontsInto(TQnlfLanguage Target, TComponent* Control, bool Force) {
  if (gActive) gActive->SetControlFontsInto(Target, Control, Force);
}

void RegisterTranslateClasses() { RegisterClass(TTranslator::StaticClassInfo()); }

} // namespace qnl
