// Collections.
#include "rtl/Collection.h"

#include "rtl/SysUtils.h"

namespace qnl {

QNL_BEGIN_CLASS(TCollectionItem);
QNL_END_CLASS

int TCollectionItem::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

QNL_BEGIN_CLASS(TCollection);
QNL_END_CLASS

TCollection::TCollection(const TClassInfo& ItemClass, TItemFactory Factory)
    : FItemClass(&ItemClass), FFactory(std::move(Factory)) {}

TCollection::~TCollection() = default;

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return FItems[Index].get();
}

TCollectionItem* TCollection::Add() {
  TCollectionItem* item = FFactory(this);
  item->FID = FNextID++;
  FItems.emplace_back(item);
  if (FUpdateCount == 0 && OnUpdate) OnUpdate(this);
  return item;
}

void TCollection::Delete(int Index) {
  Items(Index);
  FItems.erase(FItems.begin() + Index);
  if (FUpdateCount == 0 && OnUpdate) OnUpdate(this);
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  if (FUpdateCount == 0 && OnUpdate) OnUpdate(this);
}

int TCollection::IndexOf(const TCollectionItem* Item) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == Item) return static_cast<int>(i);
  return -1;
}

void TCollection::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0 && OnUpdate) OnUpdate(this);
}

void TCollection::Assign(const TPersistent* Source) {
  auto src = dynamic_cast<const TCollection*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  Clear();
  for (int i = 0; i < src->Count(); ++i) Add()->Assign(src->Items(i));
  EndUpdate();
}

} // namespace qnl
