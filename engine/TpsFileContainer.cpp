// The file container's path specifier: naming, clash renaming and the loaded rule.
#include "engine/TpsFileContainer.h"

#include "engine/InstallSession.h"
#include "engine/TCustomInstallFile.h"
#include "engine/TFileContainer.h"
#include "engine/TInstallGroup.h"
#include "rtl/ScopeGuard.h"

namespace qnl {

namespace {

// The first of Base, Base + "1", Base + "2", ... that Owner does not hold (Base itself
// only when TryBase).
std::string FirstFreeName(const TComponent* Owner, const std::string& Base, bool TryBase) {
  if (!Owner) return TryBase ? Base : Base + "1";
  if (TryBase && !Owner->FindComponent(Base)) return Base;
  for (int n = 1;; ++n) {
    std::string name = Base + std::to_string(n);
    if (!Owner->FindComponent(name)) return name;
  }
}

} // namespace

QNL_BEGIN_CLASS(TpsFileContainer).Ref<TFileContainer>("FileContainer", &C::FileContainer, &C::SetFileContainer);
QNL_END_CLASS

TpsFileContainer::TpsFileContainer(TComponent* AOwner) : TCustomPathSpecifier(AOwner) {}

void TpsFileContainer::SetFileContainer(TFileContainer* Value) {
  if (Value == FFileContainer) return;
  FFileContainer = Value;
  if (Value) Value->FreeNotification(this);
}

void TpsFileContainer::Validate(TComponent* Component) const {
  if (dynamic_cast<TFileContainer*>(Component) || dynamic_cast<TCustomInstallGroup*>(Component) ||
      dynamic_cast<TCustomInstallFile*>(Component))
    throw IEPathSpecifier("A file container cannot reference another file container or group");
}

std::string TpsFileContainer::GetPath(TComponent* Component) const {
  Validate(Component);
  return FFileContainer ? FFileContainer->GetDestDir() : std::string();
}

std::string TpsFileContainer::GetDescription() const {
  if (!FFileContainer) return "Path specifier for unknown file container";
  return "Path into which " + FFileContainer->Description() + " will be installed";
}

std::string TpsFileContainer::GetShortName() const {
  if (!FFileContainer) return "Path specifier for unknown file container";
  return "<" + FFileContainer->Description() + ">";
}

void TpsFileContainer::NameAutomatically() {
  TFlagGuard naming(FNamingByContainer);
  SetName(FirstFreeName(Owner(), "psFileContainer", true));
}

void TpsFileContainer::SetName(const std::string& NewName) {
  if (!FNamingByContainer && Owner() && !NewName.empty()) {
    // A stored name wins over an automatically made one: the holder moves aside.
    TComponent* other = Owner()->FindComponent(NewName);
    if (other && other != this) {
      std::string base = "nameClash" + std::to_string(++InstallSession().NameClashCounter);
      other->SetName(FirstFreeName(Owner(), base, true));
    }
  }
  inherited::SetName(NewName);
}

void TpsFileContainer::Loaded() {
  inherited::Loaded();
  if (!FFileContainer) return;
  TCustomPathSpecifier* previous = FFileContainer->OwnSpecifier();
  if (previous && previous != this) {
    FFileContainer->SetOwnSpecifier(this);
    delete previous;
  }
}

void TpsFileContainer::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFileContainer) FFileContainer = nullptr;
}

} // namespace qnl
