// The process-wide lists of path specifiers and the list type of the built-in classes.
#pragma once

#include <vector>

#include "paths/cmp_TPathSpecifier.h"

namespace qnl {

// Specifier instances, not owned, in the order they were added.
class TPathSpecifierList {
public:
  virtual ~TPathSpecifierList() = default;
  // A nil specifier fails with IEPathSpecifierList.
  void Add(TCustomPathSpecifier* Specifier);
  void Remove(TCustomPathSpecifier* Specifier);
  TCustomPathSpecifier* Items(int Index) const; // EListError outside 0..Count-1
  int Count() const { return static_cast<int>(FItems.size()); }
  // The first instance of that class or of a descendant, or nullptr.
  TCustomPathSpecifier* FindInstance(const TClassInfo& Class) const;

protected:
  [[noreturn]] virtual void NilError() const;

private:
  std::vector<TCustomPathSpecifier*> FItems;
};

// The standard specifier instances.
class TStandardPathSpecList : public TPathSpecifierList {
public:
  // The first instance of that class or a descendant; none fails with IEPathSpecifier.
  TCustomPathSpecifier* Find(const TClassInfo& Class) const;
  template <class T>
  T* Find() const {
    return static_cast<T*>(Find(T::StaticClassInfo()));
  }
};

// The built-in specifier classes, in registration order; each can create an instance.
class TPathSpecifierClassList {
public:
  // A nil class fails with IEPathSpecifierClassList.
  void Add(const TClassInfo* Class);
  const TClassInfo* Items(int Index) const; // EListError outside 0..Count-1
  int Count() const { return static_cast<int>(FItems.size()); }

private:
  std::vector<const TClassInfo*> FItems;
};

// The lists exist for the whole life of the process.
TPathSpecifierList& PathSpecifiers();
TStandardPathSpecList& StandardPathSpecifiers();

} // namespace qnl
