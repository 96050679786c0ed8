// The translator component: twenty languages and the services that translate into one.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "rtl/Classes.h"
#include "rtl/Strings.h"
#include "translate/TLanguage.h"
#include "translate/TQnlfLanguage.h"

namespace qnl {

// Owns one TLanguage per row of the language table, in table order, for its whole life.
// TranslateIntoLanguage names the language texts are translated into; qlUser means the
// language of the current user's settings.
class TTranslator : public TComponent {
  QNL_CLASS(TTranslator, TComponent)
public:
  explicit TTranslator(TComponent* AOwner);
  ~TTranslator() override;

  TQnlfLanguage TranslateIntoLanguage() const { return FTranslateIntoLanguage; }
  void SetTranslateIntoLanguage(TQnlfLanguage Value) { FTranslateIntoLanguage = Value; }

  // The language objects in table order.
  int LanguageCount() const { return static_cast<int>(FLanguages.size()); }
  TLanguage* Languages(int Index) const { return FLanguages.at(Index).get(); }

  // The language of that identifier; nullptr for qlUser.
  TLanguage* LanguageByIdent(int Ident) const;
  // The language of the user's settings (English for one the table lacks); nullptr when
  // the platform cannot tell.
  TLanguage* UserDefaultLanguage() const;
  // The language texts are translated into, or nullptr.
  TLanguage* TargetLanguage() const;

  // Text looked up in Source; when found, the target's text of the same identifier.
  std::string TranslateText(TQnlfLanguage Source, const std::string& Text) const;
  // The target's text of that identifier, else Text.
  std::string TranslateByGLID(int32_t GLID, const std::string& Text) const;
  // The target's memo of the identifier of Lines' memo in Source, else a copy of Lines.
  std::unique_ptr<TStringList> TranslateMemo(TQnlfLanguage Source, const TStrings& Lines) const;

  // Translates Component and everything it owns from the language Source; returns the
  // language the texts are in afterwards.
  TQnlfLanguage TranslateComponent(TQnlfLanguage Source, TComponent* Component);
  // The same with the target switched to Target for the call (restored also on failure).
  TQnlfLanguage TranslateComponentInto(TQnlfLanguage Source, TQnlfLanguage Target, TComponent* Component);
  // Gives Control and its child controls the target language's font (English's when the
  // target has no lines, unless Force). EConvertError... "Unrecognized language" for a
  // language outside the table.
  void SetControlFonts(TComponent* Control, bool Force);
  void SetControlFontsInto(TQnlfLanguage Target, TComponent* Control, bool Force);

private:
  TLanguage* SourceLanguage(TQnlfLanguage Source) const;
  void ApplyFont(const TLanguage& Language, TComponent* Control) const;

  std::vector<std::unique_ptr<TLanguage>> FLanguages;
  TQnlfLanguage FTranslateIntoLanguage = qlUser;
};

// The first translator created in the process; nullptr when there is none (or it is gone).
TTranslator* ActiveTranslator();

// The translator the install component creates at design time when the project has
// none, named "MainTranslator" (or with the first free number after it). Any other
// translator created later frees it first. Returns the existing one when there is one.
TTranslator* CreateDesignTimeTranslator(TComponent* Owner);
TTranslator* DesignTimeTranslator();
// Frees the design-time translator when it still exists.
void FreeDesignTimeTranslator();

// The services of the active translator; without one they change nothing.
TQnlfLanguage TranslateComponent(TQnlfLanguage Source, TComponent* Component);
TQnlfLanguage TranslateComponentInto(TQnlfLanguage Source, TQnlfLanguage Target, TComponent* Component);
void SetControlFonts(TComponent* Control, bool Force);
void SetControlFontsInto(TQnlfLanguage Target, TComponent* Control, bool Force);

// Registers TTranslator and TLanguage for streaming.
void RegisterTranslateClasses();

} // namespace qnl
