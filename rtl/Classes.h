// The object model's roots: TObject, TPersistent and the component with its owner,
// name, state and notifications.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "rtl/Exceptions.h"
#include "rtl/TSet.h"
#include "rtl/TypInfo.h"

namespace qnl {

class TObject;
// The framework's plain event: who sent it.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Root of every class with run-time type information. Objects with identity are not copied.
class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
  const std::string& ClassName() const { return ClassInfo().Name; }
  bool InheritsFrom(const TClassInfo& Cls) const { return ClassInfo().InheritsFrom(Cls); }
};

// An object whose value can be copied into another (Assign) and streamed.
class TPersistent : public TObject {
  QNL_CLASS(TPersistent, TObject)
public:
  // Copies Source's value; a class that cannot take it raises EConvertError.
  virtual void Assign(const TPersistent* Source);

protected:
  virtual void AssignTo(TPersistent* Dest) const;
};

QNL_ENUM(TComponentStateFlag, csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating,
         csFixups, csFreeNotification, csInline, csDesignInstance)
using TComponentState = TSet<TComponentStateFlag>;

QNL_ENUM(TOperation, opInsert, opRemove)

class TComponent;

// The components one asked to be told about, in the order asked, with a membership test
// that does not walk the list: a shared specifier is asked by every file of a form.
class TFreeNotifyList {
public:
  bool Empty() const { return FItems.empty(); }
  bool Contains(const TComponent* Item) const { return FMembers.count(Item) != 0; }
  void Add(TComponent* Item);
  void Remove(const TComponent* Item);
  TComponent* PopBack();

private:
  std::vector<TComponent*> FItems;
  std::unordered_set<const TComponent*> FMembers;
};

// A component has a name unique among its owner's components and is owned by its
// owner, which keeps its components in creation order and frees them when freed.
class TComponent : public TPersistent {
  QNL_CLASS(TComponent, TPersistent)
public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  const std::string& Name() const { return FName; }
  virtual void SetName(const std::string& NewName);
  int32_t Tag() const { return FTag; }
  void SetTag(int32_t Value) { FTag = Value; }
  TComponent* Owner() const { return FOwner; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const;
  // The owned component of that name (case-insensitive), or nullptr.
  TComponent* FindComponent(std::string_view AName) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();

  TComponentState ComponentState() const { return FComponentState; }
  bool IsLoading() const { return FComponentState.Contains(csLoading); }
  bool IsDesigning() const { return FComponentState.Contains(csDesigning); }
  bool IsDestroying() const { return FComponentState.Contains(csDestroying); }
  void SetComponentStateFlag(TComponentStateFlag Flag, bool On);
  void SetDesigning(bool On); // this component and every component it owns

  // Marks the component (and what it owns) as being destroyed; destructors of derived
  // classes call it first when their clean-up depends on the flag.
  void Destroying();

  // The loaded notification, once after streaming; the base clears the loading flag.
  virtual void Loaded();
  // The removal notification: AComponent is being destroyed (opRemove) or was inserted.
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  // Streaming tells a component read inside another component's record which one that
  // is (for controls, their parent); components that do not nest ignore it.
  virtual void SetParentComponent(TComponent* Value) {}
  // Whether the owner's news of every other component it inserts or removes must reach this
  // one. A class answers false only when every component it refers to is linked by
  // FreeNotification (so a destruction reaches it directly) and its Notification does nothing
  // else; one that owns components hears anyway, to pass the news on. Without it, a form of
  // many thousand files would pass each file's removal to every other file.
  virtual bool HearsOwnerNews() const { return true; }
  // Asks to be told (Notification opRemove) when AComponent is destroyed, and vice versa.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Design position of a non-visual component (the streamed Left and Top).
  int32_t DesignLeft() const { return FDesignLeft; }
  int32_t DesignTop() const { return FDesignTop; }

private:
  void ValidateRename(TComponent* AComponent, const std::string& CurName, const std::string& NewName);
  void IndexName(TComponent* AComponent);
  void UnindexName(TComponent* AComponent);
  void SortHearers(const TComponent* Inserted);
  void ForgetHearer(TComponent* AComponent, size_t Index);

  // Whether the component's owner has sorted it into its hearers or not.
  enum class THearing : uint8_t { hrUnsorted, hrHears, hrDeaf };

  std::string FName;
  int32_t FTag = 0;
  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  // Those of FComponents that hear this owner's news, in their order; FComponents before
  // FSortedCount are sorted. Sorted lazily, once constructed: a component is inserted from
  // its base constructor, before its class can answer HearsOwnerNews.
  std::vector<TComponent*> FHearers;
  size_t FSortedCount = 0;
  THearing FHearing = THearing::hrUnsorted;
  // The named ones among FComponents by upper-cased name, so that the unique-name check and
  // FindComponent do not walk every sibling.
  std::unordered_map<std::string, TComponent*> FNameIndex;
  TFreeNotifyList FFreeNotifies;
  TComponentState FComponentState;
  int32_t FDesignLeft = 0;
  int32_t FDesignTop = 0;
};

// A plain list of object references, not owned (the framework's TList).
class TList : public TObject {
  QNL_CLASS(TList, TObject)
public:
  TList() = default;
  int Count() const { return static_cast<int>(FItems.size()); }
  TObject* Items(int Index) const; // EListError "List index out of bounds (%d)"
  TObject* operator[](int Index) const { return Items(Index); }
  int Add(TObject* Item);
  void Insert(int Index, TObject* Item);
  void Delete(int Index);
  int IndexOf(const TObject* Item) const;
  int Remove(const TObject* Item); // index it had, or -1
  void Clear() { FItems.clear(); }
  const std::vector<TObject*>& Data() const { return FItems; }

private:
  std::vector<TObject*> FItems;
};

} // namespace qnl
