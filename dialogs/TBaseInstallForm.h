// The base of the wizard pages.
#pragma once

#include "dialogs/AnswerFile.h"
#include "dialogs/TManagedForm.h"

namespace qnl {

class TCustomBaseInstallDlg;
class TBaseFormContainer;
class TImage;

// A page of a wizard window (its owner), or a dialog shown by itself. Its DM starts as the
// manager of its phase (Kind) that the install component has.
class TBaseInstallForm : public TManagedForm {
  QNL_CLASS(TBaseInstallForm, TManagedForm)
public:
  explicit TBaseInstallForm(TComponent* AOwner, TManagerType Kind = dmBeforeInstall);
  ~TBaseInstallForm() override;

  // The dialog component that owns this form, or none.
  TCustomBaseInstallDlg* DC() const { return FDC; }
  void SetDC(TCustomBaseInstallDlg* Value);
  int32_t Order() const { return FOrder; }
  void SetOrder(int32_t Value) { FOrder = Value; }

  // Virtual operations, in this order.
  // In a wizard: every page before the current one is skipped.
  virtual bool IsFirstPage();
  // In a wizard: the current page is the last one.
  virtual bool IsLastPage();
  virtual void PageLeaving() {}
  // Ends the wizard (or this form) with Cancel, asking nobody.
  virtual void CancelWizard();
  virtual void NextPage();
  virtual void PreviousPage();
  // PreparePage, then to the front (when the owner is a form).
  virtual void ActivatePage();
  // True for a page the wizard passes over.
  virtual bool SkipPage() { return false; }
  // CancelWizard, when the install component lets the user abort.
  virtual void ConfirmCancel();
  // Unattended, before the page is answered: its values from the answer file, if any.
  virtual void TakeAnswers(const TAnswerFile& /*Answers*/) {}
  // The page's values as an answer file holds them, each handed to Sink.
  virtual void ReportAnswers(const TAnswerSink& /*Sink*/) {}

  // The page's theme picture (the image named ThemeBitmap), or none.
  TImage* ThemeImage() const;
  void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
  // A theme image without a picture shows the install component's DialogThemeBitmap.
  void LayoutLoaded() override;

private:
  TBaseFormContainer* Wizard() const;
  TCustomBaseInstallDlg* FDC = nullptr;
  int32_t FOrder = 0;
};

// Whether the install component lets the user abort (true without one).
bool UserMayAbort();
// The install component's DialogThemeBitmap shown by Image; nothing without one.
void ShowDefaultTheme(TImage* Image);

} // namespace qnl
