// An installation container that itself sits in a container.
#pragma once

#include "engine/TInstallContainer.h"

namespace qnl {

// Its Container, when set, holds it in its helper list.
class TInstallObject : public TInstallContainer {
  QNL_CLASS(TInstallObject, TInstallContainer)
public:
  explicit TInstallObject(TComponent* AOwner);

  TInstallContainer* Container() const { return FContainer; }
  IInstallContainer* GetContainer() const override { return FContainer; }
  // Joins Value's helper list (which may refuse) and leaves the old one. Outside loading,
  // DestDirType follows: the standard container-directory specifier for a container,
  // none when the container is removed.
  virtual void SetContainer(TInstallContainer* Value);

  // Also forgets Container when it was this object's own.
  void ContainerDestroyed(TInstallContainer* Container) override;
  // During an active installation run, an object whose container was not processed is skipped.
  void Process() override;

private:
  TInstallContainer* FContainer = nullptr;
};

} // namespace qnl
