// The installation container: helper list, references, install types and Process.
#include "engine/TInstallContainer.h"

#include <algorithm>

#include "common/routines_Strings.h"
#include "engine/BuiltInPathSpecifiers.h"
#include "engine/InstallParameters.h"
#include "engine/InstallSession.h"
#include "engine/SystemRegistryKeys.h"
#include "engine/TFileContainer.h"
#include "engine/TInstallObject.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {
// The owner, once the standard path specifiers it needs exist on it, so that they precede
// the container among the owner's components.
TComponent* WithStandardSpecifiers(TComponent* AOwner) {
  EnsureStandardPathSpecifiers(AOwner);
  return AOwner;
}
} // namespace

QNL_BEGIN_CLASS(TInstallContainer);
QNL_END_CLASS

TInstallContainer::TInstallContainer(TComponent* AOwner) : TComponent(WithStandardSpecifiers(AOwner)) {
  InstallSession().Containers.Add(this);
}

TInstallContainer::~TInstallContainer() {
  // Every other container forgets this one, newest first. A container may free itself (or
  // others) when told, so the walk re-checks the list's length at every step.
  TInstallContainerList& all = InstallSession().Containers;
  for (int i = all.Count() - 1; i >= 0; --i) {
    if (i >= all.Count()) {
      i = all.Count();
      continue;
    }
    TInstallContainer* other = all.Items(i);
    if (other != this) other->ContainerDestroyed(this);
  }
  FHelpers.clear();
  ++FHelpersVersion;
  all.Remove(this);
}

void TInstallContainer::SetInstallTypes(TInstallTypeSet Value) {
  FInstallTypes = Value.Empty() ? TInstallTypeSet{itFull} : Value;
}

int TInstallContainer::FileContainerCount() const { return CompCount(TFileContainer::StaticClassInfo()); }

TFileContainer* TInstallContainer::FileContainers(int Index) const {
  return static_cast<TFileContainer*>(Comp(Index, TFileContainer::StaticClassInfo()));
}

void TInstallContainer::SetDestDir(const std::string& Value) { FDestDir = Value; }

void TInstallContainer::SetDestDirType(TCustomPathSpecifier* Value) {
  if (!IsLoading() && Value) Value->Validate(this);
  FDestDirType = Value;
  if (Value) FreeNotification(Value);
}

void TInstallContainer::ContainerDestroyed(TInstallContainer* Container) {
  // By identity, whatever its class: a destroyed helper must never stay in the list (and a
  // container under destruction no longer answers class questions truthfully).
  RemoveHelper(Container);
}

void TInstallContainer::PushStatusMessage(const std::string& Text) {
  TMessageParameter message;
  message.Text = Text;
  Notify(icPushStatusMessage, &message);
}

void TInstallContainer::DoInformationEventControl(TObject*, int32_t, TObject*) {}

void TInstallContainer::InformationEvent(TObject*, int32_t, TObject*) {}

std::string TInstallContainer::GetDestDir() {
  std::string path = FDestDirType ? FDestDirType->GetPath(this) + FDestDir : FDestDir;
  return RemoveBackSlash(path);
}

int32_t TInstallContainer::RegisteredType() const { throw IEInstallContainer("Class must declare a registered type"); }

void TInstallContainer::AddHelper(TInstallContainer* Helper) {
  if (!Helper) throw IEInstallContainer("Cannot add a blank base helper component to %s", {Name()});
  if (Helper == this) throw IEInstallContainer("Circular reference");
  // Helper must not be this container's container, nor any container further up. The walk
  // is bounded by the number of containers, so even a damaged chain ends.
  const TInstallObject* step = dynamic_cast<const TInstallObject*>(this);
  for (int guard = InstallSession().Containers.Count(); step && guard >= 0; --guard) {
    TInstallContainer* up = step->Container();
    if (!up) break;
    if (up == Helper) throw IEInstallContainer("Circular reference");
    step = dynamic_cast<const TInstallObject*>(up);
  }
  // A helper is in the list at most once: a second entry would outlive the helper.
  if (std::find(FHelpers.begin(), FHelpers.end(), Helper) != FHelpers.end()) return;
  if (SameText(Helper->ClassName(), "TINSTALLBDE")) {
    FHelpers.insert(FHelpers.begin(), Helper);
    ++FHelpersVersion;
    return;
  }
  auto pos = FHelpers.end();
  if (!FHelpers.empty()) {
    int32_t type = Helper->RegisteredType();
    pos = std::find_if(FHelpers.begin(), FHelpers.end(),
                       [type](TInstallContainer* Entry) { return Entry->RegisteredType() >= type; });
  }
  FHelpers.insert(pos, Helper);
  ++FHelpersVersion;
}

void TInstallContainer::Process() {
  try {
    if (FOnBeforeProcess) FOnBeforeProcess(this);
    Notify(icProcessStart);
    if (!FInclude) return;
    Notify(icIncludedProcessBegins);
    if (FCurrentInstallType != itCustom && !FInstallTypes.Contains(FCurrentInstallType)) return;
    InstallObjects();
    FProcessed = true;
    if (CurrentInstallComponent() && FUninstall) {
      const TInstallRunState& run = InstallSession().RunState;
      WriteUninstallInfo(kUninstallKeyPrefix + (run.ProductName ? run.ProductName() : std::string()));
    }
    if (FOnAfterProcess) FOnAfterProcess(this);
    Notify(icProcessEnd);
  } catch (const EAbort&) {
    // The silent abort ends this component's step quietly.
  }
}

void TInstallContainer::InstallObjects() {
  FProcessed = true;
  // A helper's Process may change the list (a failing file frees itself, a shortcut leaves):
  // walk a copy and skip entries that have left meanwhile.
  std::vector<TInstallContainer*> helpers = FHelpers;
  uint64_t version = FHelpersVersion;
  for (TInstallContainer* helper : helpers) {
    if (!StillHelper(helper, version)) continue;
    if (helper->ProcessWithContainer()) helper->Process();
  }
}

bool TInstallContainer::IsIncluded() const {
  return FInclude && (FCurrentInstallType == itCustom || FInstallTypes.Contains(FCurrentInstallType));
}

void TInstallContainer::ContinueAfterReboot() {}

void TInstallContainer::RemoveHelper(TInstallContainer* Helper) {
  if (!Helper) return;
  FHelpers.erase(std::remove(FHelpers.begin(), FHelpers.end(), Helper), FHelpers.end());
  ++FHelpersVersion;
}

void TInstallContainer::WriteUninstallInfo(const std::string&) {}

TInstallContainer* TInstallContainer::Helpers(int Index) const {
  if (Index < 0 || Index >= HelperCount())
    throw IEInstallContainer(
        "Tried to reference a helper component in the following component: %s. The following index was used: %d",
        {Name(), Index});
  return FHelpers[Index];
}

int TInstallContainer::CompCount(const TClassInfo& ComponentClass) const {
  return static_cast<int>(std::count_if(FHelpers.begin(), FHelpers.end(), [&](TInstallContainer* Helper) {
    return Helper->InheritsFrom(ComponentClass);
  }));
}

TInstallContainer* TInstallContainer::Comp(int Index, const TClassInfo& ComponentClass) const {
  int seen = 0;
  for (TInstallContainer* helper : FHelpers)
    if (helper->InheritsFrom(ComponentClass) && seen++ == Index) return helper;
  // The class has no number of its own: the message gives how many helpers it has, which
  // is what the caller needs to see next to the index it asked for.
  throw IEInstallContainer("Bad call to the Comp procedure which returns a TInstallObject for a TInstallContainer "
                           "component. The parameters are probably reversed. Index: %d, ComponentType: %d",
                           {Index, seen});
}

void TInstallContainer::FreeComps(const TClassInfo& ComponentClass) {
  // Each freed helper leaves the list through ContainerDestroyed.
  for (int i = HelperCount() - 1; i >= 0; --i) {
    if (i >= HelperCount()) continue;
    TInstallContainer* helper = FHelpers[i];
    if (helper->InheritsFrom(ComponentClass)) delete helper;
  }
}

void TInstallContainer::Notify(int32_t Code, TObject* PO) {
  // A receiver may change the list (a dialog frees itself): walk a copy, skip the departed.
  std::vector<TInstallContainer*> helpers = FHelpers;
  uint64_t version = FHelpersVersion;
  for (TInstallContainer* helper : helpers) {
    if (!StillHelper(helper, version)) continue;
    if (helper->RegisteredType() >= 2000) helper->InformationEvent(this, Code, PO);
  }
}

bool TInstallContainer::StillHelper(TInstallContainer* Helper, uint64_t Version) const {
  // Searching is needed only once the list changed since the walk began: a container with
  // thousands of files broadcasts at every progress point.
  return FHelpersVersion == Version || std::find(FHelpers.begin(), FHelpers.end(), Helper) != FHelpers.end();
}

void TInstallContainer::PopStatusMessage() { Notify(icPopStatusMessage); }

void TInstallContainer::SetCurrentInstallType(TInstallType Type) {
  for (TInstallContainer* helper : FHelpers) helper->SetCurrentInstallType(Type);
  FCurrentInstallType = Type;
}

void TInstallContainer::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDestDirType) FDestDirType = nullptr;
}

} // namespace qnl
