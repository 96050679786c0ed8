// The object model's roots.
#include "rtl/Classes.h"

#include <algorithm>

#include "rtl/SysUtils.h"

namespace qnl {

const TClassInfo& TObject::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TObject>("TObject", nullptr).Build();
  return info;
}

QNL_BEGIN_CLASS(TPersistent);
QNL_END_CLASS

void TPersistent::Assign(const TPersistent* Source) {
  if (Source) {
    Source->AssignTo(this);
    return;
  }
  throw EConvertError("Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* Dest) const {
  std::string from = ClassName();
  std::string to = Dest ? Dest->ClassName() : std::string("nil");
  throw EConvertError("Cannot assign a " + from + " to a " + to);
}

QNL_BEGIN_CLASS(TComponent)
    .Prop("Name", &C::FName, &C::SetName)
    .NotStored() // the object line carries it
    .Prop("Tag", &C::FTag)
    .Prop("Left", &C::FDesignLeft)
    .Prop("Top", &C::FDesignTop);
QNL_END_CLASS

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Those who asked to be told, and whom we asked, forget each other.
  while (!FFreeNotifies.Empty()) {
    TComponent* other = FFreeNotifies.PopBack();
    other->FFreeNotifies.Remove(this);
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return FComponents[Index];
}

TComponent* TComponent::FindComponent(std::string_view AName) const {
  if (AName.empty()) return nullptr;
  auto it = FNameIndex.find(UpperCase(AName));
  return it == FNameIndex.end() ? nullptr : it->second;
}

void TComponent::IndexName(TComponent* AComponent) {
  if (!AComponent->FName.empty()) FNameIndex[UpperCase(AComponent->FName)] = AComponent;
}

void TComponent::UnindexName(TComponent* AComponent) {
  if (AComponent->FName.empty()) return;
  auto it = FNameIndex.find(UpperCase(AComponent->FName));
  if (it != FNameIndex.end() && it->second == AComponent) FNameIndex.erase(it);
}

void TComponent::ValidateRename(TComponent* AComponent, const std::string& CurName, const std::string& NewName) {
  if (AComponent && !SameText(CurName, NewName) && !NewName.empty()) {
    TComponent* found = FindComponent(NewName);
    if (found && found != AComponent) throw EComponentError("A component named " + NewName + " already exists");
  }
}

void TComponent::SetName(const std::string& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError("Component name \"" + NewName + "\" is not a valid identifier");
  if (FOwner) {
    FOwner->ValidateRename(this, FName, NewName);
    FOwner->UnindexName(this);
  }
  FName = NewName;
  if (FOwner) FOwner->IndexName(this);
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent->FName.empty()) ValidateRename(AComponent, "", AComponent->FName);
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  FComponents.push_back(AComponent);
  IndexName(AComponent);
  AComponent->FOwner = this;
  AComponent->FHearing = THearing::hrUnsorted;
  // Sorted deaf while it owned nothing, this one must now pass its owner's news on.
  if (FOwner && FHearing == THearing::hrDeaf) {
    FOwner->FHearers.clear();
    FOwner->FSortedCount = 0;
  }
  if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  // From the end: an owner frees its components last first.
  auto it = std::find(FComponents.rbegin(), FComponents.rend(), AComponent);
  if (it == FComponents.rend()) return;
  // Off the list first, then every component of this owner that hears news hears of it.
  auto at = it.base() - 1;
  ForgetHearer(AComponent, static_cast<size_t>(at - FComponents.begin()));
  FComponents.erase(at);
  UnindexName(AComponent);
  AComponent->FOwner = nullptr;
  Notification(AComponent, opRemove);
}

void TComponent::DestroyComponents() {
  // Last created first; each one leaves the list (and tells its siblings) as it goes.
  while (!FComponents.empty()) delete FComponents.back();
}

void TComponent::SetComponentStateFlag(TComponentStateFlag Flag, bool On) {
  if (On)
    FComponentState.Include(Flag);
  else
    FComponentState.Exclude(Flag);
}

void TComponent::SetDesigning(bool On) {
  SetComponentStateFlag(csDesigning, On);
  for (TComponent* c : FComponents) c->SetDesigning(On);
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) FFreeNotifies.Remove(AComponent);
  SortHearers(Operation == opInsert ? AComponent : nullptr);
  // An owner passes the news on to what it owns that hears it, last first. Handlers may free
  // components: walk the live list by index and never past its current end.
  for (size_t i = FHearers.size(); i-- > 0;) {
    if (i >= FHearers.size()) {
      if (FHearers.empty()) break;
      i = FHearers.size() - 1;
    }
    TComponent* c = FHearers[i];
    if (c != AComponent) c->Notification(AComponent, Operation);
  }
}

void TComponent::SortHearers(const TComponent* Inserted) {
  size_t end = FComponents.size();
  // The one being inserted may still be in its base constructor: it is sorted at the next news.
  if (Inserted && end > FSortedCount && FComponents[end - 1] == Inserted) --end;
  for (; FSortedCount < end; ++FSortedCount) {
    TComponent* c = FComponents[FSortedCount];
    bool hears = c->HearsOwnerNews() || !c->FComponents.empty();
    c->FHearing = hears ? THearing::hrHears : THearing::hrDeaf;
    if (hears) FHearers.push_back(c);
  }
}

void TComponent::ForgetHearer(TComponent* AComponent, size_t Index) {
  if (Index < FSortedCount) --FSortedCount;
  if (AComponent->FHearing == THearing::hrHears) {
    auto it = std::find(FHearers.rbegin(), FHearers.rend(), AComponent);
    if (it != FHearers.rend()) FHearers.erase(it.base() - 1);
  }
  AComponent->FHearing = THearing::hrUnsorted;
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  FFreeNotifies.Add(AComponent);
  AComponent->FFreeNotifies.Add(this);
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  FFreeNotifies.Remove(AComponent);
  AComponent->FFreeNotifies.Remove(this);
}

void TFreeNotifyList::Add(TComponent* Item) {
  if (FMembers.insert(Item).second) FItems.push_back(Item);
}

void TFreeNotifyList::Remove(const TComponent* Item) {
  // Most components asked about nothing: every sibling's removal reaches them.
  if (FItems.empty() || FMembers.erase(Item) == 0) return;
  // From the end: components are mostly freed in the reverse order of their creation.
  FItems.erase(std::find(FItems.rbegin(), FItems.rend(), Item).base() - 1);
}

TComponent* TFreeNotifyList::PopBack() {
  TComponent* item = FItems.back();
  FItems.pop_back();
  FMembers.erase(item);
  return item;
}

QNL_BEGIN_CLASS(TList);
QNL_END_CLASS

TObject* TList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return FItems[Index];
}

int TList::Add(TObject* Item) {
  FItems.push_back(Item);
  return Count() - 1;
}

void TList::Insert(int Index, TObject* Item) {
  if (Index < 0 || Index > Count()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  FItems.insert(FItems.begin() + Index, Item);
}

void TList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  FItems.erase(FItems.begin() + Index);
}

int TList::IndexOf(const TObject* Item) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i] == Item) return static_cast<int>(i);
  return -1;
}

int TList::Remove(const TObject* Item) {
  int i = IndexOf(Item);
  if (i >= 0) Delete(i);
  return i;
}

} // namespace qnl
