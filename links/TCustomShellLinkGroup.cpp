// Shortcut folders.
#include "links/TCustomShellLinkGroup.h"

#include "engine/ContainerPathSpecifiers.h"
#include "engine/TCustomInstall.h"
#include "links/ShellLinkRegistries.h"
#include "paths/StandardPathSpecifiers.h"
#include "paths/TPathSpecifierList.h"
#include "platform/files/Files.h"

namespace qnl {

namespace {
constexpr int32_t icProcessShellLinkGroup = -969;
} // namespace

QNL_BEGIN_CLASS(TCustomShellLinkGroup)
    .Ref<TInstallContainer>("Container", &C::Container, &C::SetContainer)
    .Prop("DestDir", &C::DestDir, &C::SetDestDir)
    .Prop("Include", &C::Include, &C::SetInclude)
    .Prop("OnAfterProcess", &C::OnAfterProcess, &C::SetOnAfterProcess)
    .Prop("OnBeforeProcess", &C::OnBeforeProcess, &C::SetOnBeforeProcess);
QNL_END_CLASS

TCustomShellLinkGroup::TCustomShellLinkGroup(TComponent* AOwner) : TInstallObject(AOwner) { SetInclude(true); }

void TCustomShellLinkGroup::SetDestDirType(TCustomPathSpecifier*) {
  inherited::SetDestDirType(StandardPathSpecifiers().FindInstance(FolderSpecifierClass()));
}

void TCustomShellLinkGroup::ContainerDestroyed(TInstallContainer* Container) {
  if (Container && Container == this->Container()) {
    delete this;
    return;
  }
  // The list only: the container reference is this folder's for its whole life.
  TInstallContainer::ContainerDestroyed(Container);
}

void TCustomShellLinkGroup::InformationEvent(TObject*, int32_t Code, TObject*) {
  if (Code == icProcessShellLinkGroup) Process();
}

void TCustomShellLinkGroup::InstallObjects() {
  Notify(icBeforeCreateShortcuts);
  ForceDirectories(GetDestDir());
  inherited::InstallObjects();
}

QNL_BEGIN_CLASS(TMainLinkGroup);
QNL_END_CLASS

TMainLinkGroup::TMainLinkGroup(TComponent* AOwner) : TCustomShellLinkGroup(AOwner) {
  if (MainLinkGroup()) throw IEShellLinkGroup("You can only have one TMainLinkGroup component in your project");
  SetDestDirType(nullptr);
  TCustomInstall* install = TCustomInstall::Current();
  SetDestDir(install ? "\\" + install->Information()->FProductName : std::string("\\MainFolderName"));
  MainLinkGroup() = this;
}

TMainLinkGroup::~TMainLinkGroup() {
  if (MainLinkGroup() == this) MainLinkGroup() = nullptr;
}

const TClassInfo& TMainLinkGroup::FolderSpecifierClass() const { return TpsProgramMenu::StaticClassInfo(); }

QNL_BEGIN_CLASS(TSubLinkGroup);
QNL_END_CLASS

TSubLinkGroup::TSubLinkGroup(TComponent* AOwner) : TCustomShellLinkGroup(AOwner) {
  if (!MainLinkGroup())
    throw IEShellLinkGroup(
        "To create a TInstallMainLink you must first have a TMainLinkGroup component in your project");
  SetContainer(MainLinkGroup());
  SetDestDirType(nullptr);
  SetDestDir("\\ASubGroup");
  SubLinkGroups().Add(this);
}

TSubLinkGroup::~TSubLinkGroup() { SubLinkGroups().Remove(this); }

void TSubLinkGroup::SetContainer(TInstallContainer* Value) {
  RequireMainFolder(Value);
  inherited::SetContainer(Value);
}

const TClassInfo& TSubLinkGroup::FolderSpecifierClass() const { return TpsContainerDestDir::StaticClassInfo(); }

void RequireMainFolder(TInstallContainer* Value) {
  if (!Value || Value != MainLinkGroup())
    throw IEInstallShellLink(
        "The TMainLinkGroup component must be the Container for TInstallMainLink and TSubLinkGroup components");
}

} // namespace qnl
