// Shortcuts: published properties, the rules of their setters, and their lifetime.
#include "links/TCustomInstallShellLink.h"

#include "common/routines_Strings.h"
#include "engine/ContainerPathSpecifiers.h"
#include "engine/TCustomInstallFile.h"
#include "engine/TInstallDirectory.h"
#include "links/ShellLinkRegistries.h"
#include "links/TCustomShellLinkGroup.h"
#include "links/TpsObjectLink.h"
#include "paths/StandardPathSpecifiers.h"
#include "paths/TPathSpecifierList.h"

namespace qnl {

namespace {

constexpr int32_t icProcessShellLink = -970;
const char* const kUrlPrefixes[] = {"HTTP://", "HTTPS://", "FTP://"};

bool IsObjectLinkSpecifier(const TCustomPathSpecifier* Specifier) {
  return Specifier && Specifier->InheritsFrom(TpsObjectLink::StaticClassInfo());
}

// A URL's address as a file name: the characters a file name cannot hold become "_", so that
// "www.example.com/manual" names one file in the folder rather than a path below it.
std::string AddressAsFileName(std::string Address) {
  for (char& c : Address)
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) c = '_';
  return Address;
}

} // namespace

QNL_BEGIN_CLASS(TCustomInstallShellLink)
    .Prop("DestDir", &C::DestDir, &C::SetDestDir)
    .Prop("HotKey", &C::HotKey, &C::SetHotKey)
    .Prop("Include", &C::Include, &C::SetInclude)
    .Prop("LinkName", &C::LinkName, &C::SetLinkName)
    .Prop("Method", &C::Method, &C::SetMethod)
    .Ref<TInstallContainer>("ObjectLink", &C::ObjectLink, &C::SetObjectLink)
    .Prop("ObjectLocation", &C::ObjectLocation, &C::SetObjectLocation)
    .Ref<TCustomPathSpecifier>("ObjectLocationType", &C::ObjectLocationType, &C::SetObjectLocationType)
    .Prop("Parameters", &C::Parameters, &C::SetParameters)
    .Prop("Uninstall", &C::Uninstall, &C::SetUninstall)
    .Prop("OnAfterProcess", &C::OnAfterProcess, &C::SetOnAfterProcess)
    .Prop("OnBeforeProcess", &C::OnBeforeProcess, &C::SetOnBeforeProcess);
QNL_END_CLASS

TCustomInstallShellLink::TCustomInstallShellLink(TComponent* AOwner) : TInstallObject(WithObjectLinkSpecifier(AOwner)) {
  SetInclude(true);
  FMethod = mtAutoDetect;
  AllShellLinks().Add(this);
}

TCustomInstallShellLink::~TCustomInstallShellLink() { AllShellLinks().Remove(this); }

void TCustomInstallShellLink::SetDestDirType(TCustomPathSpecifier*) {
  inherited::SetDestDirType(StandardPathSpecifiers().FindInstance(TpsContainerDestDir::StaticClassInfo()));
}

void TCustomInstallShellLink::ContainerDestroyed(TInstallContainer* Container) {
  if (Container && Container == FObjectLink) {
    SetObjectLink(nullptr);
    delete this;
    return;
  }
  if (Container && Container == this->Container()) {
    delete this;
    return;
  }
  // The list only: the container reference is this shortcut's for its whole life.
  TInstallContainer::ContainerDestroyed(Container);
}

void TCustomInstallShellLink::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FObjectLocationType) FObjectLocationType = nullptr;
}

void TCustomInstallShellLink::InformationEvent(TObject*, int32_t Code, TObject*) {
  if (Code == icProcessShellLink) Process();
}

void TCustomInstallShellLink::SetLinkName(const std::string& Value) {
  std::string oldExtension = UpperCase(ExtractFileExt(FLinkName));
  FLinkName = Value;
  if (IsLoading() || Trim(Value).empty()) return;
  std::string extension = UpperCase(ExtractFileExt(Value));
  if (extension == ".URL") {
    FObjectLink = nullptr;
  } else if (extension != ".LNK") {
    FLinkName = ChangeFileExt(Value, oldExtension.empty() ? std::string(".LNK") : oldExtension);
  }
}

void TCustomInstallShellLink::SetObjectLocation(const std::string& Value) {
  FObjectLocation = IsObjectLinkSpecifier(FObjectLocationType) ? std::string() : Value;
  if (IsLoading()) return;
  if (!Trim(FLinkName).empty() && UpperCase(Trim(FLinkName)) != ".LNK") return;
  std::string upper = UpperCase(Value);
  for (const char* prefix : kUrlPrefixes) {
    size_t at = upper.find(prefix);
    if (at != std::string::npos) {
      SetLinkName(AddressAsFileName(Value.substr(at + std::string_view(prefix).size())) + ".URL");
      return;
    }
  }
  SetLinkName(ChangeFileExt(ExtractFileName(Value), ""));
}

void TCustomInstallShellLink::SetObjectLocationType(TCustomPathSpecifier* Value) {
  if (!IsLoading() && Value) {
    Value->Validate(this);
    if (IsObjectLinkSpecifier(Value)) SetObjectLocation("");
  }
  FObjectLocationType = Value;
  if (Value) FreeNotification(Value);
}

void TCustomInstallShellLink::SetObjectLink(TInstallContainer* Value) {
  if (IsLoading() || !Value) {
    FObjectLink = Value;
    if (!IsLoading()) SetObjectLocationType(nullptr);
    return;
  }
  // Stored first: the psObjectLink specifier accepts only a shortcut that has its component.
  FObjectLink = Value;
  SetObjectLocationType(StandardPathSpecifiers().FindInstance(TpsObjectLink::StaticClassInfo()));
  SetObjectLocation("");
  if (auto* file = dynamic_cast<TCustomInstallFile*>(Value))
    SetLinkName(ChangeFileExt(file->DestName(), ".lnk"));
  else if (auto* directory = dynamic_cast<TInstallDirectory*>(Value))
    SetLinkName(directory->Description() + ".lnk");
  else
    SetLinkName(Value->Name() + ".lnk");
  if (!Container()) SetContainer(Value);
}

std::string TCustomInstallShellLink::GetTargetPath() {
  if (FObjectLocationType) return FObjectLocationType->GetPath(this) + FObjectLocation;
  return RemoveBackSlash(FObjectLocation);
}

std::string TCustomInstallShellLink::LinkPath() { return AddBackSlash(GetDestDir()) + FLinkName; }

QNL_BEGIN_CLASS(TInstallMainLink);
QNL_END_CLASS

TInstallMainLink::TInstallMainLink(TComponent* AOwner) : TCustomInstallShellLink(AOwner) {
  if (!MainLinkGroup())
    throw IEInstallShellLink(
        "To create a TInstallMainLink you must first have a TMainLinkGroup component in your project");
  SetContainer(MainLinkGroup());
  SetDestDirType(nullptr);
  MainShellLinks().Add(this);
}

TInstallMainLink::~TInstallMainLink() { MainShellLinks().Remove(this); }

void TInstallMainLink::SetContainer(TInstallContainer* Value) {
  RequireMainFolder(Value);
  inherited::SetContainer(Value);
}

QNL_BEGIN_CLASS(TInstallSubLink).Ref<TInstallContainer>("Container", &C::Container, &C::SetContainer);
QNL_END_CLASS

TInstallSubLink::TInstallSubLink(TComponent* AOwner) : TCustomInstallShellLink(AOwner) {
  if (SubLinkGroups().Count() == 0)
    throw IEInstallShellLink(
        "To create a TInstallSubLink you must first have at least one TSubLinkGroup component in your project");
  SetContainer(SubLinkGroups()[0]);
  SetDestDirType(nullptr);
}

void TInstallSubLink::SetContainer(TInstallContainer* Value) {
  if (!dynamic_cast<TSubLinkGroup*>(Value))
    throw IEInstallShellLink("A TSubLinkGroup component must be the Container for TInstallSubLink components");
  inherited::SetContainer(Value);
}

} // namespace qnl
