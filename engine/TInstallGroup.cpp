// Install groups and their dialog options.
#include "engine/TInstallGroup.h"

#include "engine/FileContainerProperties.h"
#include "engine/TCustomInstall.h"

namespace qnl {

QNL_BEGIN_CLASS(TInstallGroupDialogOptions)
    .Prop("AllowChangeDir", &C::AllowChangeDir, &C::SetAllowChangeDir)
    .Prop("AllowExcludeInclude", &C::AllowExcludeInclude, &C::SetAllowExcludeInclude)
    .Sub("Description", &C::Description)
    .Prop("DisplayDirectory", &C::DisplayDirectory, &C::SetDisplayDirectory)
    .Sub("SmallIcon", &C::SmallIcon)
    .Prop("ShowRegardlessOfInclude", &C::ShowRegardlessOfInclude, &C::SetShowRegardlessOfInclude);
QNL_END_CLASS

TInstallGroupDialogOptions::TInstallGroupDialogOptions()
    : FDescription(std::make_unique<TStringList>()), FSmallIcon(std::make_unique<TPicture>()) {}

TInstallGroupDialogOptions::~TInstallGroupDialogOptions() = default;

void TInstallGroupDialogOptions::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TInstallGroupDialogOptions*>(Source);
  if (!source) {
    inherited::Assign(Source);
    return;
  }
  FAllowChangeDir = source->FAllowChangeDir;
  FAllowExcludeInclude = source->FAllowExcludeInclude;
  FDescription->Assign(source->FDescription.get());
  FDisplayDirectory = source->FDisplayDirectory;
  FSmallIcon->Assign(source->FSmallIcon.get());
  FShowRegardlessOfInclude = source->FShowRegardlessOfInclude;
}

QNL_BEGIN_CLASS(TCustomInstallGroup);
QNL_END_CLASS

TCustomInstallGroup::TCustomInstallGroup(TComponent* AOwner)
    : TFileContainer(AOwner), FDialogOptions(std::make_unique<TInstallGroupDialogOptions>()) {
  MakeOwnSpecifier();
}

void TCustomInstallGroup::SetContainer(TInstallContainer* Value) {
  TCustomInstall* install = TCustomInstall::Current();
  if (!Value) Value = install;
  if (Value && Value != install && !dynamic_cast<TCustomInstall*>(Value) && !dynamic_cast<TCustomInstallGroup*>(Value))
    throw IEInstallGroup(
        "A TInstallGroup component can only be contained by a TInstall, or another TInstallGroup component");
  inherited::SetContainer(Value);
}

QNL_BEGIN_CLASS(TInstallGroup)
QNL_FILE_CONTAINER_PROPERTIES.Sub("DialogOptions", &C::DialogOptions);
QNL_END_CLASS

} // namespace qnl
