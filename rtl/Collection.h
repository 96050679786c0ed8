// Collections: owned, ordered lists of persistent items created by the collection.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "rtl/Classes.h"

namespace qnl {

class TCollection;

// One item of a collection; it knows its collection and its index there.
class TCollectionItem : public TPersistent {
  QNL_CLASS(TCollectionItem, TPersistent)
public:
  explicit TCollectionItem(TCollection* Collection) : FCollection(Collection) {}
  TCollection* Collection() const { return FCollection; }
  int Index() const;
  int ID() const { return FID; }

private:
  friend class TCollection;
  TCollection* FCollection;
  int FID = 0;
};

// Owns its items; the item class is fixed when the collection is made.
class TCollection : public TPersistent {
  QNL_CLASS(TCollection, TPersistent)
public:
  using TItemFactory = std::function<TCollectionItem*(TCollection*)>;
  TCollection(const TClassInfo& ItemClass, TItemFactory Factory);
  ~TCollection() override;

  const TClassInfo& ItemClass() const { return *FItemClass; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TCollectionItem* Items(int Index) const;
  TCollectionItem* Add();
  void Delete(int Index);
  void Clear();
  int IndexOf(const TCollectionItem* Item) const;
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  void Assign(const TPersistent* Source) override;

  std::function<void(TCollection*)> OnUpdate;

private:
  const TClassInfo* FItemClass;
  TItemFactory FFactory;
  std::vector<std::unique_ptr<TCollectionItem>> FItems;
  int FNextID = 0;
  int FUpdateCount = 0;
};

// A collection of items of class T (constructible from TCollection*).
template <class T>
class TOwnedCollection : public TCollection {
public:
  TOwnedCollection() : TCollection(T::StaticClassInfo(), [](TCollection* C) { return new T(C); }) {}
  T* Items(int Index) const { return static_cast<T*>(TCollection::Items(Index)); }
  T* Add() { return static_cast<T*>(TCollection::Add()); }
};

} // namespace qnl
