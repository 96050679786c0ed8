// The bases of the progress windows shown while files are copied, and of the disk prompt.
#pragma once

#include "dialogs/TManagedForm.h"

namespace qnl {

class TDiskParameter;
class TDownloadStatusParameter;
class TFileStatusParameter;

// A non-modal window kept up to date with the progress of the copy (and of downloads).
class TBaseDuringCopyForm : public TManagedForm {
  QNL_CLASS(TBaseDuringCopyForm, TManagedForm)
public:
  explicit TBaseDuringCopyForm(TComponent* AOwner) : TManagedForm(AOwner, dmDuringCopyFiles) {}

  // One of the two is given, the other is none.
  virtual void UpdateStatus(TFileStatusParameter* FileStatus, TDownloadStatusParameter* DownloadStatus) {}
  // Stops the extraction and the download at their next check, when the install component
  // lets the user abort.
  virtual void ConfirmCancel();
};

// The modal prompt for the next disk.
class TBaseChangeDiskForm : public TManagedForm {
  QNL_CLASS(TBaseChangeDiskForm, TManagedForm)
public:
  explicit TBaseChangeDiskForm(TComponent* AOwner) : TManagedForm(AOwner, dmChangeDisk) {}

  // The disk asked for; lives while the prompt is shown.
  TDiskParameter* DiskParameter() const { return FDiskParameter; }
  void SetDiskParameter(TDiskParameter* Value) { FDiskParameter = Value; }

  // Ends the prompt with Cancel when the install component lets the user abort.
  virtual void ConfirmCancel();

private:
  TDiskParameter* FDiskParameter = nullptr;
};

} // namespace qnl
