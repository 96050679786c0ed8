// The base of every form the installation shows.
#include "dialogs/TBaseQuenloftForm.h"

#include "engine/InstallSession.h"
#include "engine/TInstallContainer.h"
#include "rtl/FormReader.h"
#include "rtl/Streams.h"
#include "translate/TTranslator.h"

namespace qnl {

QNL_BEGIN_CLASS(TBaseQuenloftForm);
QNL_END_CLASS

TBaseQuenloftForm::TBaseQuenloftForm(TComponent* AOwner) : TForm(AOwner) {
  Font()->SetCharset(ANSI_CHARSET);
  InstallSession().BaseDialogForms.Add(this);
}

TBaseQuenloftForm::~TBaseQuenloftForm() {
  InstallSession().BaseDialogForms.Remove(this);
  SetContainer(nullptr);
}

void TBaseQuenloftForm::SetContainer(TInstallContainer* Value) {
  if (FContainer == Value) return;
  FContainer = Value;
  if (FContainer) FContainer->FreeNotification(this);
}

void TBaseQuenloftForm::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FContainer) FContainer = nullptr;
}

void TBaseQuenloftForm::ApplyLanguage() {
  FTextLanguage =
      LocalizeForm(this, FTextLanguage, FAutoSetFont, FAutoTranslate, FOverrideMainTranslator, FTranslateIntoLanguage);
  Application().ProcessMessages();
}

void TBaseQuenloftForm::LoadLayout(std::string_view Resource) {
  TMemoryStream stream{std::string(Resource)};
  ReadRootComponent(stream, this);
  LayoutLoaded();
}

TQnlfLanguage LocalizeForm(TComponent* Form, TQnlfLanguage From, bool SetFont, bool Translate, bool Override,
                           TQnlfLanguage Into) {
  if (SetFont) {
    if (Override)
      SetControlFontsInto(Into, Form, false);
    else
      SetControlFonts(Form, false);
  }
  if (!Translate) return From;
  return Override ? TranslateComponentInto(From, Into, Form) : TranslateComponent(From, Form);
}

} // namespace qnl
