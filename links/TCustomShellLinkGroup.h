// Shortcut folders: the product's folder in the Programs menu and the folders inside it.
#pragma once

#include "engine/TInstallObject.h"

namespace qnl {

// A folder of shortcuts (registered type 7000). Its destination is always relative to its
// class's own specifier; the installation creates it, with its parents, after the file pass.
// It frees itself when its Container is destroyed.
class TCustomShellLinkGroup : public TInstallObject {
  QNL_CLASS(TCustomShellLinkGroup, TInstallObject)
public:
  explicit TCustomShellLinkGroup(TComponent* AOwner);

  int32_t RegisteredType() const override { return 7000; }
  // Not a project's choice: any value installs the class's own specifier.
  void SetDestDirType(TCustomPathSpecifier* Value) override;
  void ContainerDestroyed(TInstallContainer* Container) override;
  // Code -969 runs Process.
  void InformationEvent(TObject* Sender, int32_t Code, TObject* PO) override;
  // Tells the helpers the shortcuts come (-991), then creates the folder.
  void InstallObjects() override;

protected:
  // The specifier class every folder of this kind lies in.
  virtual const TClassInfo& FolderSpecifierClass() const = 0;
};

// The product's folder in the Programs menu; a project has at most one, and it must come before
// every other shortcut component. Named after the product unless the project names it.
class TMainLinkGroup : public TCustomShellLinkGroup {
  QNL_CLASS(TMainLinkGroup, TCustomShellLinkGroup)
public:
  // IEShellLinkGroup when a main folder exists already.
  explicit TMainLinkGroup(TComponent* AOwner);
  ~TMainLinkGroup() override;

protected:
  const TClassInfo& FolderSpecifierClass() const override;
};

// A folder inside the main folder; while it exists it is in SubLinkGroups().
class TSubLinkGroup : public TCustomShellLinkGroup {
  QNL_CLASS(TSubLinkGroup, TCustomShellLinkGroup)
public:
  // IEShellLinkGroup without a main folder.
  explicit TSubLinkGroup(TComponent* AOwner);
  ~TSubLinkGroup() override;

  // Only the main folder (IEInstallShellLink otherwise).
  void SetContainer(TInstallContainer* Value) override;

protected:
  const TClassInfo& FolderSpecifierClass() const override;
};

// IEInstallShellLink unless Value is the main folder: the container a sub-folder and a main
// shortcut must have.
void RequireMainFolder(TInstallContainer* Value);

} // namespace qnl
