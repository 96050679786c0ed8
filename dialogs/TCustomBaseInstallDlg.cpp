// The dialog component.
#include "dialogs/TCustomBaseInstallDlg.h"

#include "common/exceptions_Quenloft.h"
#include "dialogs/TBaseInstallForm.h"
#include "dialogs/TDialogManager.h"
#include "vcl/Image.h"

namespace qnl {

QNL_BEGIN_CLASS(TCustomBaseInstallDlg);
QNL_END_CLASS

QNL_BEGIN_CLASS(TBaseInstallDlg)
    .Prop("AutoSetFont", &C::AutoSetFont, &C::SetAutoSetFont)
    .Prop("AutoTranslate", &C::AutoTranslate, &C::SetAutoTranslate)
    .Ref<TInstallContainer>("Container", &C::Container, &C::SetContainer)
    .Ref<TDialogManager>("DialogManager", &C::DialogManager, &C::SetDialogManager)
    .Prop("Order", &C::Order, &C::SetOrder)
    .Prop("OverrideMainTranslator", &C::OverrideMainTranslator, &C::SetOverrideMainTranslator)
    .Sub("ThemeBitmap", &C::ThemeBitmap)
    .Prop("TranslateIntoLanguage", &C::TranslateIntoLanguage, &C::SetTranslateIntoLanguage)
    .Prop("OnAfterExecute", &C::OnAfterExecute)
    .Prop("OnBeforeExecute", &C::OnBeforeExecute);
QNL_END_CLASS

TCustomBaseInstallDlg::TCustomBaseInstallDlg(TComponent* AOwner, std::optional<TManagerType> Kind,
                                             TFormRegistry* Registry, const TClassInfo* FormClass)
    : TInstallObject(AOwner), FRegistry(Registry), FFormClass(FormClass), FThemeBitmap(std::make_unique<TPicture>()) {
  SetInstallTypes({itFull, itDefault, itCompact, itCustom});
  // The phase's manager without joining its list: a stored DialogManager replaces it.
  if (Kind) {
    FDialogManager = FindDialogManager(*Kind);
    if (FDialogManager) FDialogManager->FreeNotification(this);
  }
  if (FRegistry && FFormClass) FRegistry->Add(*FFormClass, this);
}

TCustomBaseInstallDlg::~TCustomBaseInstallDlg() {
  if (FRegistry) FRegistry->RemoveDialog(this);
  SetDialogManager(nullptr);
  SetCurrentForm(nullptr);
}

void TCustomBaseInstallDlg::SetDialogManager(TDialogManager* Value) {
  if (FDialogManager == Value) return;
  TDialogManager* previous = FDialogManager;
  FDialogManager = Value;
  if (previous) previous->RemoveDialog(this);
  if (Value) {
    Value->FreeNotification(this);
    Value->AddDialog(this);
  }
}

void TCustomBaseInstallDlg::SetThemeBitmap(const TPicture* Value) { FThemeBitmap->Assign(Value); }

void TCustomBaseInstallDlg::SetCurrentForm(TCustomForm* Value) {
  if (FCurrentForm == Value) return;
  FCurrentForm = Value;
  if (FCurrentForm) FCurrentForm->FreeNotification(this);
}

void TCustomBaseInstallDlg::Notification(TComponent* AComponent, TOperation Operation) {
  TInstallObject::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FCurrentForm) FCurrentForm = nullptr;
  if (AComponent == FDialogManager) FDialogManager = nullptr;
}

void TCustomBaseInstallDlg::ContainerDestroyed(TInstallContainer* Container) {
  if (Container && Container == FDialogManager) FDialogManager = nullptr;
  TInstallObject::ContainerDestroyed(Container);
}

void TCustomBaseInstallDlg::Translate() {
  if (!FCurrentForm) return;
  // A new form's texts are in the language it was made in, whatever this dialog translated
  // its last form into: translate from the form's own language.
  auto* form = dynamic_cast<TBaseQuenloftForm*>(FCurrentForm);
  TQnlfLanguage from = form ? form->TextLanguage() : FTextLanguage;
  FTextLanguage =
      LocalizeForm(FCurrentForm, from, FAutoSetFont, FAutoTranslate, FOverrideMainTranslator, FTranslateIntoLanguage);
  if (form) form->SetTextLanguage(FTextLanguage);
}

void TCustomBaseInstallDlg::AssignDialogProperties() {
  if (!FCurrentForm)
    throw Exception(
        Format(TranslateMessage("Cannot AssignDialogProperties for %s because the Dialog is Nil"), {Name()}));
  if (auto* form = dynamic_cast<TBaseQuenloftForm*>(FCurrentForm)) {
    form->SetAutoSetFont(FAutoSetFont);
    form->SetAutoTranslate(FAutoTranslate);
    form->SetContainer(Container());
    form->SetOverrideMainTranslator(FOverrideMainTranslator);
    form->SetTranslateIntoLanguage(FTranslateIntoLanguage);
  }
  if (auto* page = dynamic_cast<TBaseInstallForm*>(FCurrentForm)) {
    page->SetDC(this);
    if (TImage* image = page->ThemeImage()) {
      if (FThemeBitmap->Empty())
        ShowDefaultTheme(image);
      else
        image->Picture()->Assign(FThemeBitmap.get());
    }
  }
  Translate();
}

bool TCustomBaseInstallDlg::Execute() {
  try {
    if (OnBeforeExecute) OnBeforeExecute(this);
    bool result = ShowDialog();
    Application().ProcessMessages();
    if (OnAfterExecute) OnAfterExecute(this);
    return result;
  } catch (const EAbort&) {
    return false;
  }
}

std::unique_ptr<TCustomForm> TCustomBaseInstallDlg::CreateOwnForm() {
  std::unique_ptr<TComponent> created(GetFormClass().CreateComponent(&Application()));
  auto* form = dynamic_cast<TCustomForm*>(created.get());
  if (!form) throw Exception("The form class " + GetFormClass().Name + " of " + Name() + " is not a form");
  created.release();
  std::unique_ptr<TCustomForm> owned(form);
  SetCurrentForm(form);
  AssignDialogProperties();
  return owned;
}

bool TCustomBaseInstallDlg::ShowDialog() {
  if (!CanExecute()) return true;
  std::unique_ptr<TCustomForm> form = CreateOwnForm();
  if (form->ShowModal() != mrOk) throw EQXUserAbort();
  return true;
}

const TClassInfo& TCustomBaseInstallDlg::GetFormClass() const {
  if (!FFormClass) throw Exception(Name() + " names no form class");
  return *FFormClass;
}

void TCustomBaseInstallDlg::InformationEvent(TObject* Sender, int32_t Code, TObject* PO) {
  if (!FDialogManager && Code != 0 && Code == StandAloneCode()) Execute();
}

} // namespace qnl
