// A list of object references of one type that refuses null entries.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "rtl/Exceptions.h"
#include "rtl/SysUtils.h"

namespace qnl {

// Entries are not owned. Adding or inserting null raises EBlank with the list's message.
template <class T, class EBlank>
class TTypedList {
public:
  explicit TTypedList(std::string BlankMessage) : FBlankMessage(std::move(BlankMessage)) {}
  TTypedList(const TTypedList&) = delete;
  TTypedList& operator=(const TTypedList&) = delete;

  int Count() const { return static_cast<int>(FItems.size()); }
  T* Items(int Index) const {
    CheckIndex(Index, Count());
    return FItems[Index];
  }
  T* operator[](int Index) const { return Items(Index); }
  int Add(T* Item) {
    CheckItem(Item);
    FItems.push_back(Item);
    ++FCounts[Item];
    return Count() - 1;
  }
  void Insert(int Index, T* Item) {
    CheckItem(Item);
    CheckIndex(Index, Count() + 1);
    FItems.insert(FItems.begin() + Index, Item);
    ++FCounts[Item];
  }
  void Delete(int Index) {
    CheckIndex(Index, Count());
    Forget(FItems[Index]);
    FItems.erase(FItems.begin() + Index);
  }
  // Whether Item is in the list, without a walk: the session's lists hold thousands of files,
  // and a pass asks about each of them.
  bool Contains(const T* Item) const { return FCounts.contains(Item); }
  int IndexOf(const T* Item) const {
    if (!Contains(Item)) return -1;
    for (size_t i = 0; i < FItems.size(); ++i)
      if (FItems[i] == Item) return static_cast<int>(i);
    return -1;
  }
  // The index the entry had, or -1 when it was not there.
  int Remove(const T* Item) {
    int i = IndexOf(Item);
    if (i >= 0) Delete(i);
    return i;
  }
  // Remove for registries whose entries leave mostly in the reverse order of joining: the
  // last entry equal to Item goes, found from the end.
  int RemoveLast(const T* Item) {
    for (size_t i = FItems.size(); i-- > 0;)
      if (FItems[i] == Item) {
        Forget(Item);
        FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(i));
        return static_cast<int>(i);
      }
    return -1;
  }
  void Clear() {
    FItems.clear();
    FCounts.clear();
  }
  const std::vector<T*>& Data() const { return FItems; }

private:
  void CheckItem(const T* Item) const {
    if (!Item) throw EBlank(FBlankMessage);
  }
  void Forget(const T* Item) {
    auto it = FCounts.find(Item);
    if (--it->second == 0) FCounts.erase(it);
  }
  static void CheckIndex(int Index, int Limit) {
    if (Index < 0 || Index >= Limit) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  }

  std::string FBlankMessage;
  std::vector<T*> FItems;
  std::unordered_map<const T*, int> FCounts; // how often each entry is in FItems
};

} // namespace qnl
