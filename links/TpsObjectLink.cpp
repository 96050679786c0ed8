// The path specifier of a shortcut's linked component.
#include "links/TpsObjectLink.h"

#include "common/routines_Strings.h"
#include "engine/TCustomInstallFile.h"
#include "links/TCustomInstallShellLink.h"
#include "paths/TPathSpecifierList.h"
#include "rtl/Forms.h"

namespace qnl {

QNL_BEGIN_CLASS(TpsObjectLink);
QNL_END_CLASS

TpsObjectLink::TpsObjectLink(TComponent* AOwner) : TStandardPathSpecifier(AOwner) { FDefaultName = "psObjectLink"; }

void TpsObjectLink::Validate(TComponent* Component) const {
  auto* link = dynamic_cast<TCustomInstallShellLink*>(Component);
  if (!link)
    throw IEPathSpecifier(
        "%s must be a %s to use the %s path specifier",
        {Component ? Component->Name() : std::string("nil"), "TCustomInstallShellLink", DefaultName()});
  if (!link->ObjectLink())
    throw IEPathSpecifier("Cannot use ddObjectLink for %s unless you assign a value to ObjectLink",
                          {Component->Name()});
}

std::string TpsObjectLink::GetDescription() const {
  return "Path of the file or file group in the ObjectLink property";
}

std::string TpsObjectLink::GetShortName() const { return GetDescription(); }

std::string TpsObjectLink::GetPath(TComponent* Component) const {
  Validate(Component);
  TInstallContainer* linked = static_cast<TCustomInstallShellLink*>(Component)->ObjectLink();
  if (auto* file = dynamic_cast<TCustomInstallFile*>(linked)) return RemoveBackSlash(file->GetDestPath());
  return RemoveBackSlash(linked->GetDestDir());
}

TComponent* WithObjectLinkSpecifier(TComponent* Owner) {
  bool projectOwner = dynamic_cast<TCustomForm*>(Owner) || dynamic_cast<TDataModule*>(Owner);
  if (!projectOwner || PathSpecifiers().FindInstance(TpsObjectLink::StaticClassInfo())) return Owner;
  auto* specifier = new TpsObjectLink(Owner);
  try {
    specifier->SetName(specifier->DefaultName());
  } catch (...) {
    delete specifier; // a clashing name leaves no nameless instance behind
    throw;
  }
  return Owner;
}

} // namespace qnl
