// The process-wide specifier lists and the current install component.
#include "paths/TPathSpecifierList.h"

#include <algorithm>

#include "rtl/SysUtils.h"

namespace qnl {

namespace {
constexpr const char* NilObjectMessage = "Tried to add a nil object to the path specifier list";

[[noreturn]] void IndexError(int Index) { throw EListError("List index out of bounds (" + IntToStr(Index) + ")"); }
} // namespace

void TPathSpecifierList::Add(TCustomPathSpecifier* Specifier) {
  if (!Specifier) NilError();
  FItems.push_back(Specifier);
}

void TPathSpecifierList::NilError() const { throw IEPathSpecifierList(NilObjectMessage); }

void TPathSpecifierList::Remove(TCustomPathSpecifier* Specifier) {
  auto it = std::find(FItems.begin(), FItems.end(), Specifier);
  if (it != FItems.end()) FItems.erase(it);
}

TCustomPathSpecifier* TPathSpecifierList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return FItems[Index];
}

TCustomPathSpecifier* TPathSpecifierList::FindInstance(const TClassInfo& Class) const {
  for (TCustomPathSpecifier* s : FItems)
    if (s->InheritsFrom(Class)) return s;
  return nullptr;
}

TCustomPathSpecifier* TStandardPathSpecList::Find(const TClassInfo& Class) const {
  if (TCustomPathSpecifier* s = FindInstance(Class)) return s;
  throw IEPathSpecifier("Could not find the path specifier");
}

void TPathSpecifierClassList::Add(const TClassInfo* Class) {
  if (!Class) throw IEPathSpecifierClassList(NilObjectMessage);
  FItems.push_back(Class);
}

const TClassInfo* TPathSpecifierClassList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return FItems[Index];
}

// The lists are never freed: components that outlive static destruction (a form held
// by the program entry) still remove themselves from them safely.
TPathSpecifierList& PathSpecifiers() {
  static auto* list = new TPathSpecifierList;
  return *list;
}

TStandardPathSpecList& StandardPathSpecifiers() {
  static auto* list = new TStandardPathSpecList;
  return *list;
}

namespace {
IInstallComponent* GCurrentInstall = nullptr;
}

IInstallComponent* CurrentInstallComponent() { return GCurrentInstall; }
void SetCurrentInstallComponent(IInstallComponent* Install) { GCurrentInstall = Install; }

} // namespace qnl
