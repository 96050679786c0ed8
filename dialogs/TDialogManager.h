// The dialog manager: groups the dialogs of one phase of the installation and shows them,
// as a wizard, as progress windows or as the disk prompt.
#pragma once

#include <memory>
#include <vector>

#include "dialogs/DialogTypes.h"
#include "engine/TInstallObject.h"

namespace qnl {

class TBaseChangeDiskForm;
class TBaseDuringCopyForm;
class TBaseFormContainer;
class TCustomForm;
class TCustomBaseInstallDlg;
class TDownloadStatusParameter;
class TFileStatusParameter;

class TDialogManager : public TInstallObject {
  QNL_CLASS(TDialogManager, TInstallObject)
public:
  explicit TDialogManager(TComponent* AOwner);
  ~TDialogManager() override;

  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t Value) { FHeight = Value; }
  TManagerType ManagerType() const { return FManagerType; }
  void SetManagerType(TManagerType Value) { FManagerType = Value; }
  TQuenloftDialogPosition Position() const { return FPosition; }
  void SetPosition(TQuenloftDialogPosition Value) { FPosition = Value; }
  int32_t RelativeLeftOffset() const { return FRelativeLeftOffset; }
  void SetRelativeLeftOffset(int32_t Value) { FRelativeLeftOffset = Value; }
  int32_t RelativeTopOffset() const { return FRelativeTopOffset; }
  void SetRelativeTopOffset(int32_t Value) { FRelativeTopOffset = Value; }
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t Value) { FWidth = Value; }

  // The dialog components attached to this manager.
  const std::vector<TCustomBaseInstallDlg*>& Dialogs() const { return FDialogs; }
  // The progress windows open now.
  const std::vector<TBaseDuringCopyForm*>& CopyForms() const { return FCopyForms; }

  // Virtual operations, in this order.
  // Shows this phase's pages in one wizard window; EQXUserAbort when it is cancelled.
  virtual void RunWizard();
  // Shows the disk prompt for (install file, TDiskParameter) in ParameterList.
  virtual void RunChangeDisk(TObject* ParameterList);
  virtual void AddDialog(TCustomBaseInstallDlg* Dialog);
  virtual void RemoveDialog(TCustomBaseInstallDlg* Dialog);

  // The wizard window of this phase, placed and with its pages built, not shown yet; this
  // manager must be the current one while it exists.
  std::unique_ptr<TBaseFormContainer> CreateWizard();
  // This manager's disk prompt, not prepared nor shown; none when the registered prompt
  // belongs to another manager (or none is registered).
  std::unique_ptr<TBaseChangeDiskForm> CreateChangeDiskForm();

  // Opens the progress windows when none is open, then updates each.
  void UpdateCopyForms(TFileStatusParameter* FileStatus, TDownloadStatusParameter* DownloadStatus);
  void CreateCopyForms();
  // Hides the progress windows; the next progress opens a new set.
  void CloseCopyForms();

  int32_t RegisteredType() const override { return 9000; }
  void ContainerDestroyed(TInstallContainer* Container) override;
  void InformationEvent(TObject* Sender, int32_t Code, TObject* PO) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void ForgetCopyForm(TComponent* Form);
  int32_t FHeight = 395;
  TManagerType FManagerType = dmBeforeInstall;
  TQuenloftDialogPosition FPosition = qdpCenter;
  int32_t FRelativeLeftOffset = 0;
  int32_t FRelativeTopOffset = 0;
  int32_t FWidth = 478;
  std::vector<TCustomBaseInstallDlg*> FDialogs;
  std::vector<TBaseDuringCopyForm*> FCopyForms;
};

// The manager whose wizard or disk prompt is being built; none outside them.
TDialogManager* CurrentDialogManager();
void SetCurrentDialogManager(TDialogManager* Value);
// The first manager of Kind, in creation order, whose Container is the running install
// component; none when there is none.
TDialogManager* FindDialogManager(TManagerType Kind);

// Places a window of the size it has at Position on the screen.
void PlaceDialog(TCustomForm& Form, TQuenloftDialogPosition Position, int32_t LeftOffset, int32_t TopOffset,
                 TCentreRounding Rounding);

} // namespace qnl
