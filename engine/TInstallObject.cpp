// The install object: its Container reference and the run-time defaults that follow it.
#include "engine/TInstallObject.h"

#include "engine/ContainerPathSpecifiers.h"
#include "engine/InstallSession.h"
#include "paths/TPathSpecifierList.h"

namespace qnl {

QNL_BEGIN_CLASS(TInstallObject);
QNL_END_CLASS

TInstallObject::TInstallObject(TComponent* AOwner) : TInstallContainer(AOwner) {}

void TInstallObject::SetContainer(TInstallContainer* Value) {
  if (Value == FContainer) return;
  // The new container may refuse (circular reference); then nothing has changed.
  if (Value) Value->AddHelper(this);
  if (FContainer) FContainer->RemoveHelper(this);
  FContainer = Value;
  if (IsLoading()) return;
  if (Value) {
    // A project without the standard instance (no form owner) gets no specifier rather
    // than a half-done assignment.
    SetDestDirType(StandardPathSpecifiers().FindInstance(TpsContainerDestDir::StaticClassInfo()));
    SetDestDir("");
  } else if (DestDirType() && DestDirType()->InheritsFrom(TpsContainerDestDir::StaticClassInfo())) {
    SetDestDirType(nullptr);
  }
}

void TInstallObject::ContainerDestroyed(TInstallContainer* Container) {
  inherited::ContainerDestroyed(Container);
  if (Container && Container == FContainer) SetContainer(nullptr);
}

void TInstallObject::Process() {
  if (CurrentInstallComponent() && InstallSession().RunState.RunActive && FContainer && !FContainer->Processed())
    return;
  inherited::Process();
}

} // namespace qnl
