// The installation container: helper list, references, install types and Process.
#include "engine/TInstallContainer.h"

#include <algorithm>
#include <map>
#include <unordered_set>

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

namespace {
// The live containers by creation serial, and those among them a destruction must tell
// whatever their relation (or not asked yet): files and file containers, thousands in a form,
// leave the second map at the first destruction that asks them.
struct TContainerRegistry {
  uint64_t LastSerial = 0;
  std::unordered_set<uint64_t> Live;
  std::map<uint64_t, TInstallContainer*> Hearers;
};

TContainerRegistry& Registry() {
  static TContainerRegistry registry;
  return registry;
}
} // namespace

TInstallContainer::TInstallContainer(TComponent* AOwner) : TComponent(WithStandardSpecifiers(AOwner)) {
  InstallSession().Containers.Add(this);
  TContainerRegistry& registry = Registry();
  FSerial = ++registry.LastSerial;
  registry.Live.insert(FSerial);
  registry.Hearers.emplace(FSerial, this);
}

TInstallContainer::~TInstallContainer() {
  TellContainersOfDestruction();
  for (TInstallContainer* helper : FHelpers) {
    auto& of = helper->FHelperOf;
    of.erase(std::remove(of.begin(), of.end(), this), of.end());
  }
  FHelpers.clear();
  FHelperSet.clear();
  ++FHelpersVersion;
  TContainerRegistry& registry = Registry();
  registry.Live.erase(FSerial);
  registry.Hearers.erase(FSerial);
  InstallSession().Containers.RemoveLast(this); // a form frees its containers last first
}

void TInstallContainer::TellContainersOfDestruction() {
  // Every other container forgets this one, newest first: those that must hear of every
  // destruction, and those related to this one (its helpers, whose container it may be, and
  // the containers it is a helper of). A container may free itself or others when told, so
  // each step looks the next one up again, below the last one told.
  TContainerRegistry& registry = Registry();
  std::map<uint64_t, TInstallContainer*> related;
  for (TInstallContainer* helper : FHelpers) related.emplace(helper->FSerial, helper);
  for (TInstallContainer* holder : FHelperOf) related.emplace(holder->FSerial, holder);
  auto below = [](std::map<uint64_t, TInstallContainer*>& Map, uint64_t Cursor) {
    auto it = Map.lower_bound(Cursor);
    return it == Map.begin() ? Map.end() : std::prev(it);
  };
  for (uint64_t cursor = UINT64_MAX;;) {
    auto hearer = below(registry.Hearers, cursor);
    auto near = below(related, cursor);
    uint64_t h = hearer == registry.Hearers.end() ? 0 : hearer->first;
    uint64_t r = near == related.end() ? 0 : near->first;
    cursor = std::max(h, r);
    if (cursor == 0) break;
    if (cursor == FSerial) continue;
    if (r != cursor) {
      // Unrelated: told only when its class may do more than forget related containers.
      if (hearer->second->ForgetsOnlyRelatedContainers()) {
        registry.Hearers.erase(hearer);
        continue;
      }
      hearer->second->ContainerDestroyed(this);
    } else if (registry.Live.count(cursor)) {
      near->second->ContainerDestroyed(this);
    }
  }
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
  if (FHelperSet.count(Helper)) return;
  auto pos = FHelpers.begin();
  bool bde = SameText(Helper->ClassName(), "TINSTALLBDE");
  if (!bde && !FHelpers.empty()) {
    // Before the first helper whose type is not lower. While the list is in ascending order
    // (no TINSTALLBDE has led it since it was last empty) that place is found by halving, so
    // that adding thousands of files of one type stays cheap.
    int32_t type = Helper->RegisteredType();
    auto lower = [type](TInstallContainer* Entry) { return Entry->RegisteredType() < type; };
    pos = FHelpersSorted ? std::partition_point(FHelpers.begin(), FHelpers.end(), lower)
                         : std::find_if_not(FHelpers.begin(), FHelpers.end(), lower);
  }
  if (bde) FHelpersSorted = false;
  FHelpers.insert(pos, Helper);
  FHelperSet.insert(Helper);
  Helper->FHelperOf.push_back(this);
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
  // Every destroyed container is removed from each container it was related to.
  if (!Helper || FHelpers.empty() || FHelperSet.erase(Helper) == 0) return;
  // From the end: a form frees its files last first.
  FHelpers.erase(std::find(FHelpers.rbegin(), FHelpers.rend(), Helper).base() - 1);
  auto& of = Helper->FHelperOf;
  of.erase(std::remove(of.begin(), of.end(), this), of.end());
  if (FHelpers.empty()) FHelpersSorted = true;
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
  if (FReceiversVersion != FHelpersVersion) {
    FReceivers.clear();
    for (TInstallContainer* helper : FHelpers)
      if (helper->RegisteredType() >= 2000 && helper->HearsNotify()) FReceivers.push_back(helper);
    FReceiversVersion = FHelpersVersion;
  }
  // A receiver may change the list (a dialog frees itself): walk a copy, skip the departed.
  std::vector<TInstallContainer*> receivers = FReceivers;
  uint64_t version = FHelpersVersion;
  for (TInstallContainer* helper : receivers)
    if (StillHelper(helper, version)) helper->InformationEvent(this, Code, PO);
}

bool TInstallContainer::StillHelper(TInstallContainer* Helper, uint64_t Version) const {
  // Searching is needed only once the list changed since the walk began: a container with
  // thousands of files broadcasts at every progress point.
  return FHelpersVersion == Version || FHelperSet.count(Helper) != 0;
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
