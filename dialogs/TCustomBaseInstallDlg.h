// The dialog component: the settings of one dialog that the project author places in the
// project, and the form it creates with them.
#pragma once

#include <memory>
#include <optional>

#include "dialogs/DialogRegistries.h"
#include "dialogs/DialogTypes.h"
#include "engine/TInstallObject.h"
#include "rtl/Graphics.h"
#include "translate/TQnlfLanguage.h"

namespace qnl {

class TCustomForm;
class TDialogManager;

// While it exists its form class is in Registry (when it has one) with itself. Its
// DialogManager starts as the install component's manager of Kind (none without a Kind).
class TCustomBaseInstallDlg : public TInstallObject {
  QNL_CLASS(TCustomBaseInstallDlg, TInstallObject)
public:
  TCustomBaseInstallDlg(TComponent* AOwner, std::optional<TManagerType> Kind, TFormRegistry* Registry,
                        const TClassInfo* FormClass);
  ~TCustomBaseInstallDlg() override;

  bool AutoSetFont() const { return FAutoSetFont; }
  void SetAutoSetFont(bool Value) { FAutoSetFont = Value; }
  bool AutoTranslate() const { return FAutoTranslate; }
  void SetAutoTranslate(bool Value) { FAutoTranslate = Value; }
  TDialogManager* DialogManager() const { return FDialogManager; }
  int32_t Order() const { return FOrder; }
  void SetOrder(int32_t Value) { FOrder = Value; }
  bool OverrideMainTranslator() const { return FOverrideMainTranslator; }
  void SetOverrideMainTranslator(bool Value) { FOverrideMainTranslator = Value; }
  TPicture* ThemeBitmap() const { return FThemeBitmap.get(); }
  TQnlfLanguage TranslateIntoLanguage() const { return FTranslateIntoLanguage; }
  void SetTranslateIntoLanguage(TQnlfLanguage Value) { FTranslateIntoLanguage = Value; }
  // The language the texts of this dialog's forms were last translated into.
  TQnlfLanguage TextLanguage() const { return FTextLanguage; }
  // Where a progress window of this dialog goes (published by the copy dialog only).
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t Value) { FHeight = Value; }
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t Value) { FWidth = Value; }
  int32_t RelativeLeftOffset() const { return FRelativeLeftOffset; }
  void SetRelativeLeftOffset(int32_t Value) { FRelativeLeftOffset = Value; }
  int32_t RelativeTopOffset() const { return FRelativeTopOffset; }
  void SetRelativeTopOffset(int32_t Value) { FRelativeTopOffset = Value; }
  TQuenloftDialogPosition Position() const { return FPosition; }
  void SetPosition(TQuenloftDialogPosition Value) { FPosition = Value; }
  // The form of this dialog while one exists.
  TCustomForm* CurrentForm() const { return FCurrentForm; }
  void SetCurrentForm(TCustomForm* Value);
  TNotifyEvent OnAfterExecute;
  TNotifyEvent OnBeforeExecute;

  // Virtual operations, in this order.
  // Leaves the previous manager's dialog list and joins the new one's.
  virtual void SetDialogManager(TDialogManager* Value);
  // Copies the picture.
  virtual void SetThemeBitmap(const TPicture* Value);
  // Sets the fonts of, and translates, the current form (nothing without one).
  virtual void Translate();
  // Hands the settings to the current form, then Translate.
  virtual void AssignDialogProperties();
  // Runs the dialog by itself, modally, between its events: false when a silent abort
  // (EAbort) was raised; EQXUserAbort when the user did not finish it with OK.
  virtual bool Execute();
  virtual bool ShowDialog();
  // The dialog's own form as ShowDialog shows it: made (owned by the caller), current, and
  // given the settings; not shown.
  std::unique_ptr<TCustomForm> CreateOwnForm();
  virtual const TClassInfo& GetFormClass() const;
  virtual bool CanExecute() { return true; }

  int32_t RegisteredType() const override { return 9000; }
  void ContainerDestroyed(TInstallContainer* Container) override;
  // Without a manager, the dialog's own notification runs it.
  void InformationEvent(TObject* Sender, int32_t Code, TObject* PO) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
  // The notification that runs a dialog without manager; 0 for none.
  virtual int32_t StandAloneCode() const { return 0; }

private:
  TFormRegistry* FRegistry;
  const TClassInfo* FFormClass;
  bool FAutoSetFont = true;
  bool FAutoTranslate = true;
  TDialogManager* FDialogManager = nullptr;
  int32_t FOrder = 0;
  bool FOverrideMainTranslator = false;
  std::unique_ptr<TPicture> FThemeBitmap;
  TQnlfLanguage FTranslateIntoLanguage = qlUser;
  TQnlfLanguage FTextLanguage = qlEnglish;
  TCustomForm* FCurrentForm = nullptr;
  int32_t FHeight = 0;
  int32_t FWidth = 0;
  int32_t FRelativeLeftOffset = 0;
  int32_t FRelativeTopOffset = 0;
  TQuenloftDialogPosition FPosition = qdpCenter;
};

// The published form of the dialog component: every setting above.
class TBaseInstallDlg : public TCustomBaseInstallDlg {
  QNL_CLASS(TBaseInstallDlg, TCustomBaseInstallDlg)
public:
  using TCustomBaseInstallDlg::TCustomBaseInstallDlg;
};

} // namespace qnl
