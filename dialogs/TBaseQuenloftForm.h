// The base of every form the installation shows: its language settings and its layout.
#pragma once

#include <string_view>

#include "translate/TQnlfLanguage.h"
#include "vcl/Form.h"

namespace qnl {

class TInstallContainer;

// A form that sets its fonts and translates its texts before it is shown. While it exists it
// is in InstallSession().BaseDialogForms.
class TBaseQuenloftForm : public TForm {
  QNL_CLASS(TBaseQuenloftForm, TForm)
public:
  explicit TBaseQuenloftForm(TComponent* AOwner);
  ~TBaseQuenloftForm() override;

  bool AutoSetFont() const { return FAutoSetFont; }
  void SetAutoSetFont(bool Value) { FAutoSetFont = Value; }
  bool AutoTranslate() const { return FAutoTranslate; }
  void SetAutoTranslate(bool Value) { FAutoTranslate = Value; }
  // The install object the form works on; cleared when it is destroyed.
  TInstallContainer* Container() const { return FContainer; }
  void SetContainer(TInstallContainer* Value);
  bool OverrideMainTranslator() const { return FOverrideMainTranslator; }
  void SetOverrideMainTranslator(bool Value) { FOverrideMainTranslator = Value; }
  TQnlfLanguage TranslateIntoLanguage() const { return FTranslateIntoLanguage; }
  void SetTranslateIntoLanguage(TQnlfLanguage Value) { FTranslateIntoLanguage = Value; }
  // The language the form's texts are in now.
  TQnlfLanguage TextLanguage() const { return FTextLanguage; }
  void SetTextLanguage(TQnlfLanguage Value) { FTextLanguage = Value; }

  // Virtual operations, in this order.
  virtual void Localize() { ApplyLanguage(); }
  // Refreshes the controls before the form is shown; each page form has its own.
  virtual void PreparePage() {}
  // The language's fonts (AutoSetFont), the translation (AutoTranslate), then pending events.
  virtual void ApplyLanguage();

  void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
  // Reads the form's layout (a compiled form resource) into the form, then LayoutLoaded.
  // The most derived class calls it from its constructor.
  void LoadLayout(std::string_view Resource);
  virtual void LayoutLoaded() {}

private:
  bool FAutoSetFont = true;
  bool FAutoTranslate = true;
  TInstallContainer* FContainer = nullptr;
  TQnlfLanguage FTextLanguage = qlEnglish;
  bool FOverrideMainTranslator = false;
  TQnlfLanguage FTranslateIntoLanguage = qlUser;
};

// Sets the fonts of Form and translates it as the settings say; returns the language its
// texts are in afterwards (From when nothing was translated).
TQnlfLanguage LocalizeForm(TComponent* Form, TQnlfLanguage From, bool SetFont, bool Translate, bool Override,
                           TQnlfLanguage Into);

} // namespace qnl
