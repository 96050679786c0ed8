// Run-time type information and the class registry.
#include "rtl/TypInfo.h"

#include <mutex>

#include "rtl/ClassRegistry.h"
#include "rtl/Exceptions.h"
#include "rtl/SysUtils.h"

namespace qnl {

int TEnumInfo::IndexOf(std::string_view Name) const {
  for (size_t i = 0; i < Names.size(); ++i)
    if (SameText(Names[i], Name)) return static_cast<int>(i);
  return -1;
}

std::string TEnumInfo::NameOf(int Ordinal) const {
  if (Ordinal < 0 || static_cast<size_t>(Ordinal) >= Names.size()) return {};
  return Names[Ordinal];
}

TEnumInfo MakeEnumInfo(const char* TypeName, const char* MemberList) {
  TEnumInfo info;
  info.Name = TypeName;
  std::string_view list(MemberList);
  size_t pos = 0;
  while (pos <= list.size()) {
    size_t comma = list.find(',', pos);
    if (comma == std::string_view::npos) comma = list.size();
    std::string member = Trim(list.substr(pos, comma - pos));
    size_t eq = member.find('=');
    if (eq != std::string::npos) member = Trim(member.substr(0, eq));
    if (!member.empty()) info.Names.push_back(member);
    pos = comma + 1;
  }
  return info;
}

bool TIdentMap::IdentToInt(std::string_view Ident, int64_t& Value) const {
  for (const auto& e : Entries)
    if (SameText(e.first, Ident)) {
      Value = e.second;
      return true;
    }
  return false;
}

bool TIdentMap::IntToIdent(int64_t Value, std::string& Ident) const {
  for (const auto& e : Entries)
    if (e.second == Value) {
      Ident = e.first;
      return true;
    }
  return false;
}

bool TPropInfo::IsWritable() const {
  switch (Kind) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkBoolean:
    case TTypeKind::tkEnumeration:
    case TTypeKind::tkSet: return static_cast<bool>(SetOrd);
    case TTypeKind::tkString:
    case TTypeKind::tkBinary: return static_cast<bool>(SetStr);
    case TTypeKind::tkFloat: return static_cast<bool>(SetFloat);
    case TTypeKind::tkComponent: return static_cast<bool>(SetObj);
    case TTypeKind::tkMethod: return static_cast<bool>(SetMethod);
    default: return static_cast<bool>(GetObj);
  }
}

bool IsStoredProp(const TPropInfo& Prop, const TObject* Instance) {
  if (!Prop.IsWritable()) return false;
  return !Prop.StoredWhen || Prop.StoredWhen(Instance);
}

void TClassInfo::BuildIndex() const {
  // Parents first, so that a class's own property with the same name wins.
  if (Parent) {
    Parent->BuildIndex();
    FPropIndex = Parent->FPropIndex;
  }
  for (const TPropInfo& p : Props) FPropIndex[UpperCase(p.Name)] = &p;
  FIndexed = true;
}

const TPropInfo* TClassInfo::FindProp(std::string_view Name) const {
  static std::mutex guard;
  if (!FIndexed) {
    std::lock_guard lock(guard);
    if (!FIndexed) BuildIndex();
  }
  auto it = FPropIndex.find(UpperCase(Name));
  return it == FPropIndex.end() ? nullptr : it->second;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view Name) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    for (const TMethodInfo& m : c->Methods)
      if (SameText(m.Name, Name)) return &m;
  return nullptr;
}

bool TClassInfo::InheritsFrom(const TClassInfo& Other) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    if (c == &Other) return true;
  return false;
}

std::vector<const TPropInfo*> TClassInfo::AllProps() const {
  std::vector<const TPropInfo*> result;
  if (Parent) result = Parent->AllProps();
  for (const TPropInfo& p : Props) {
    bool replaced = false;
    for (auto& q : result)
      if (SameText(q->Name, p.Name)) {
        q = &p;
        replaced = true;
      }
    if (!replaced) result.push_back(&p);
  }
  return result;
}

namespace {
std::map<std::string, const TClassInfo*>& Registry() {
  static std::map<std::string, const TClassInfo*> classes;
  return classes;
}
} // namespace

void RegisterClass(const TClassInfo& Info) { Registry()[UpperCase(Info.Name)] = &Info; }

const TClassInfo* FindClass(std::string_view Name) {
  auto it = Registry().find(UpperCase(Name));
  return it == Registry().end() ? nullptr : it->second;
}

std::vector<const TClassInfo*> RegisteredClasses() {
  std::vector<const TClassInfo*> result;
  for (const auto& entry : Registry()) result.push_back(entry.second);
  return result;
}

const TClassInfo& GetClass(std::string_view Name) {
  const TClassInfo* c = FindClass(Name);
  if (!c) throw EClassNotFound("Class " + std::string(Name) + " not found");
  return *c;
}

} // namespace qnl
