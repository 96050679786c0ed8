// Run-time type information: classes created by name and published properties found by
// name with their kind, read and written through the class's own getters and setters.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "rtl/TSet.h"

namespace qnl {

class TObject;
class TPersistent;
class TComponent;
class TStrings;
class TCollection;
struct TClassInfo;

enum class TTypeKind {
  tkInteger,     // any integer type
  tkBoolean,     // False / True
  tkEnumeration, // identifier of an enumeration
  tkSet,         // set of an enumeration
  tkString,      // byte string
  tkStrings,     // owned string list (TStrings), assigned by copy
  tkFloat,       // double
  tkBinary,      // bytes (a picture's Data)
  tkComponent,   // reference to another component, resolved after loading
  tkMethod,      // event bound to a published method of the root form
  tkClass,       // owned nested persistent object reached by a dotted path
  tkCollection,  // owned collection of items
};

// The names of an enumeration's members, in ordinal order.
struct TEnumInfo {
  std::string Name;
  std::vector<std::string> Names;
  // Ordinal of a member name (case-insensitive), or -1.
  int IndexOf(std::string_view Name) const;
  std::string NameOf(int Ordinal) const; // empty when out of range
};

// Parses "a, b, c" as written in a QNL_ENUM declaration.
TEnumInfo MakeEnumInfo(const char* TypeName, const char* MemberList);

// Declares a plain enumeration whose member names are known at run time.
#define QNL_ENUM(Type, ...)                                                        \
  enum Type : int { __VA_ARGS__ };                                                 \
  inline const ::qnl::TEnumInfo& EnumInfoOf(Type*) {                               \
    static const ::qnl::TEnumInfo info = ::qnl::MakeEnumInfo(#Type, #__VA_ARGS__); \
    return info;                                                                   \
  }

template <typename E>
const TEnumInfo& EnumInfo() {
  return EnumInfoOf(static_cast<E*>(nullptr));
}

template <typename E, typename = void>
struct TIsQnlEnum : std::false_type {};
template <typename E>
struct TIsQnlEnum<E, std::void_t<decltype(EnumInfoOf(static_cast<E*>(nullptr)))>> : std::true_type {};

template <typename T>
struct TIsTSet : std::false_type {};
template <typename E>
struct TIsTSet<TSet<E>> : std::true_type {
  using Element = E;
};

// Identifiers that an integer property accepts in place of a number (clBtnFace, ...).
struct TIdentMap {
  std::vector<std::pair<std::string, int64_t>> Entries;
  bool IdentToInt(std::string_view Ident, int64_t& Value) const; // case-insensitive
  bool IntToIdent(int64_t Value, std::string& Ident) const;
};

// One published property. Which accessors are set depends on Kind.
struct TPropInfo {
  std::string Name;
  TTypeKind Kind = TTypeKind::tkInteger;
  const TEnumInfo* Enum = nullptr;              // tkEnumeration, tkSet (the element type)
  std::function<const TClassInfo&()> PropClass; // tkComponent, tkClass, tkCollection
  std::type_index EventType = typeid(void);     // tkMethod: typeid of the std::function
  std::string EventTypeName;                    // tkMethod: its registered event type, when named

  std::function<int64_t(const TObject*)> GetOrd; // integer, boolean, enumeration, set mask
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<std::string(const TObject*)> GetStr; // string, binary
  std::function<void(TObject*, const std::string&)> SetStr;
  std::function<double(const TObject*)> GetFloat;
  std::function<void(TObject*, double)> SetFloat;
  std::function<TObject*(const TObject*)> GetObj;           // reference, nested object, strings, collection
  std::function<void(TObject*, TObject*)> SetObj;           // reference
  std::function<void(TObject*, const std::any&)> SetMethod; // event: a std::function of EventType
  std::function<bool(const TObject*)> IsMethodAssigned;
  const TIdentMap* Idents = nullptr;              // tkInteger: identifiers accepted for values
  std::function<bool(const TObject*)> StoredWhen; // the stored predicate; none: always
  bool IsWritable() const;
};

// Whether a form written from Instance carries Prop: never a read-only property (no reader
// could take it back), and never one whose stored predicate says no for Instance (the
// component's name, which the object line carries). Instance may be null when none is at
// hand.
bool IsStoredProp(const TPropInfo& Prop, const TObject* Instance);

// A published method: an event of a matching type can be bound to it by name.
struct TMethodInfo {
  std::string Name;
  std::type_index Signature = typeid(void);    // typeid of std::function<void(Args...)>
  std::function<std::any(TObject* Self)> Bind; // returns that std::function
};

// What the system knows of one class.
struct TClassInfo {
  std::string Name;
  const TClassInfo* Parent = nullptr;
  std::function<TComponent*(TComponent* Owner)> CreateComponent; // null: not creatable by name
  std::vector<TPropInfo> Props;                                  // this class's own published properties
  std::vector<TMethodInfo> Methods;                              // this class's own published methods

  // Property by name, case-insensitive, the nearest class first; nullptr when none.
  const TPropInfo* FindProp(std::string_view Name) const;
  const TMethodInfo* FindMethod(std::string_view Name) const;
  bool InheritsFrom(const TClassInfo& Other) const;
  // Every published property, the base class's first, overridden names once.
  std::vector<const TPropInfo*> AllProps() const;

private:
  friend class TClassInfoIndex;
  mutable std::map<std::string, const TPropInfo*> FPropIndex; // upper-case name -> nearest
  mutable bool FIndexed = false;
  void BuildIndex() const;
};

// The class registry: classes that streaming can create by name.
void RegisterClass(const TClassInfo& Info);
const TClassInfo* FindClass(std::string_view Name); // case-insensitive; nullptr when unknown
const TClassInfo& GetClass(std::string_view Name);  // EClassNotFound "Class %s not found"

namespace detail {
template <class C, class G>
auto Getter(G Get) {
  return [Get](const TObject* Instance) -> decltype(auto) { return std::invoke(Get, static_cast<const C*>(Instance)); };
}
template <class C, class V, class S>
std::function<void(TObject*, V)> Setter(S Set) {
  if constexpr (std::is_member_object_pointer_v<S>)
    return [Set](TObject* Instance, V Value) { static_cast<C*>(Instance)->*Set = std::move(Value); };
  else
    return [Set](TObject* Instance, V Value) { std::invoke(Set, static_cast<C*>(Instance), std::move(Value)); };
}
template <class T>
struct TMethodTraits;
template <class C, class... Args>
struct TMethodTraits<void (C::*)(Args...)> {
  using Owner = C;
  using Function = std::function<void(Args...)>;
};
template <typename F>
struct TIsStdFunction : std::false_type {};
template <typename... A>
struct TIsStdFunction<std::function<void(A...)>> : std::true_type {};
} // namespace detail

// Builds the TClassInfo of class C. Getters and setters may be member functions or data
// members; the property's kind follows from its value type.
template <class C>
class TClassBuilder {
public:
  TClassBuilder(std::string Name, const TClassInfo* Parent) {
    FInfo.Name = std::move(Name);
    FInfo.Parent = Parent;
    if constexpr (std::is_base_of_v<TComponent, C> && !std::is_abstract_v<C> && std::is_constructible_v<C, TComponent*>)
      FInfo.CreateComponent = [](TComponent* Owner) -> TComponent* { return new C(Owner); };
  }

  // A value property (integer, boolean, enumeration, set, string, float, event).
  template <class G, class S>
  TClassBuilder& Prop(std::string Name, G Get, S Set) {
    using V = std::remove_cvref_t<std::invoke_result_t<G, const C*>>;
    TPropInfo p;
    p.Name = std::move(Name);
    auto g = detail::Getter<C>(Get);
    if constexpr (std::is_same_v<V, bool>) {
      p.Kind = TTypeKind::tkBoolean;
      p.GetOrd = [g](const TObject* Instance) -> int64_t { return g(Instance) ? 1 : 0; };
      auto s = detail::Setter<C, bool>(Set);
      p.SetOrd = [s](TObject* Instance, int64_t Value) { s(Instance, Value != 0); };
    } else if constexpr (std::is_enum_v<V>) {
      p.Kind = TTypeKind::tkEnumeration;
      p.Enum = &EnumInfo<V>();
      p.GetOrd = [g](const TObject* Instance) -> int64_t { return static_cast<int64_t>(g(Instance)); };
      auto s = detail::Setter<C, V>(Set);
      p.SetOrd = [s](TObject* Instance, int64_t Value) { s(Instance, static_cast<V>(Value)); };
    } else if constexpr (std::is_integral_v<V>) {
      p.Kind = TTypeKind::tkInteger;
      p.GetOrd = [g](const TObject* Instance) -> int64_t { return static_cast<int64_t>(g(Instance)); };
      auto s = detail::Setter<C, V>(Set);
      p.SetOrd = [s](TObject* Instance, int64_t Value) { s(Instance, static_cast<V>(Value)); };
    } else if constexpr (TIsTSet<V>::value) {
      p.Kind = TTypeKind::tkSet;
      p.Enum = &EnumInfo<typename TIsTSet<V>::Element>();
      p.GetOrd = [g](const TObject* Instance) -> int64_t { return g(Instance).Mask(); };
      auto s = detail::Setter<C, V>(Set);
      p.SetOrd = [s](TObject* Instance, int64_t Value) { s(Instance, V::FromMask(static_cast<uint32_t>(Value))); };
    } else if constexpr (std::is_same_v<V, std::string>) {
      p.Kind = TTypeKind::tkString;
      p.GetStr = [g](const TObject* Instance) -> std::string { return g(Instance); };
      auto s = detail::Setter<C, std::string>(Set);
      p.SetStr = [s](TObject* Instance, const std::string& Value) { s(Instance, Value); };
    } else if constexpr (std::is_floating_point_v<V>) {
      p.Kind = TTypeKind::tkFloat;
      p.GetFloat = [g](const TObject* Instance) -> double { return static_cast<double>(g(Instance)); };
      auto s = detail::Setter<C, V>(Set);
      p.SetFloat = [s](TObject* Instance, double Value) { s(Instance, static_cast<V>(Value)); };
    } else if constexpr (detail::TIsStdFunction<V>::value) {
      p.Kind = TTypeKind::tkMethod;
      p.EventType = typeid(V);
      p.IsMethodAssigned = [g](const TObject* Instance) { return static_cast<bool>(g(Instance)); };
      auto s = detail::Setter<C, V>(Set);
      p.SetMethod = [s](TObject* Instance, const std::any& Method) { s(Instance, std::any_cast<V>(Method)); };
    } else {
      static_assert(sizeof(V) == 0, "unsupported published property type");
    }
    FInfo.Props.push_back(std::move(p));
    return *this;
  }

  // A property read and written through the same data member.
  template <class F>
  TClassBuilder& Prop(std::string Name, F Field) {
    return Prop(std::move(Name), Field, Field);
  }

  // A reference to another component (kind tkComponent); T is the class it must be.
  template <class T, class G, class S>
  TClassBuilder& Ref(std::string Name, G Get, S Set) {
    TPropInfo p;
    p.Name = std::move(Name);
    p.Kind = TTypeKind::tkComponent;
    p.PropClass = []() -> const TClassInfo& { return T::StaticClassInfo(); };
    auto g = detail::Getter<C>(Get);
    p.GetObj = [g](const TObject* Instance) -> TObject* { return const_cast<std::remove_const_t<T>*>(g(Instance)); };
    auto s = detail::Setter<C, T*>(Set);
    p.SetObj = [s](TObject* Instance, TObject* Value) { s(Instance, dynamic_cast<T*>(Value)); };
    FInfo.Props.push_back(std::move(p));
    return *this;
  }
  template <class T, class F>
  TClassBuilder& Ref(std::string Name, F Field) {
    return Ref<T>(std::move(Name), Field, Field);
  }

  // An owned object (string list, collection or nested persistent) reached by its getter;
  // streaming writes into it, never replaces it.
  template <class G>
  TClassBuilder& Sub(std::string Name, G Get) {
    using P = std::remove_cv_t<std::remove_pointer_t<std::remove_cvref_t<std::invoke_result_t<G, const C*>>>>;
    TPropInfo p;
    p.Name = std::move(Name);
    if constexpr (std::is_base_of_v<TStrings, P>)
      p.Kind = TTypeKind::tkStrings;
    else if constexpr (std::is_base_of_v<TCollection, P>)
      p.Kind = TTypeKind::tkCollection;
    else
      p.Kind = TTypeKind::tkClass;
    p.PropClass = []() -> const TClassInfo& { return P::StaticClassInfo(); };
    auto g = detail::Getter<C>(Get);
    p.GetObj = [g](const TObject* Instance) -> TObject* {
      if constexpr (std::is_pointer_v<std::remove_cvref_t<decltype(g(Instance))>>)
        return const_cast<P*>(g(Instance));
      else
        return const_cast<P*>(&g(Instance));
    };
    FInfo.Props.push_back(std::move(p));
    return *this;
  }

  // Bytes (kind tkBinary), such as a picture's Data.
  template <class G, class S>
  TClassBuilder& Binary(std::string Name, G Get, S Set) {
    TPropInfo p;
    p.Name = std::move(Name);
    p.Kind = TTypeKind::tkBinary;
    auto g = detail::Getter<C>(Get);
    p.GetStr = [g](const TObject* Instance) -> std::string { return g(Instance); };
    auto s = detail::Setter<C, std::string>(Set);
    p.SetStr = [s](TObject* Instance, const std::string& Value) { s(Instance, Value); };
    FInfo.Props.push_back(std::move(p));
    return *this;
  }

  // A published method that event properties can be bound to by name.
  template <class M>
  TClassBuilder& Method(std::string Name, M Handler) {
    using F = typename detail::TMethodTraits<M>::Function;
    TMethodInfo m;
    m.Name = std::move(Name);
    m.Signature = typeid(F);
    m.Bind = [Handler](TObject* Self) -> std::any {
      C* obj = static_cast<C*>(Self);
      return F([obj, Handler](auto&&... Args) { (obj->*Handler)(std::forward<decltype(Args)>(Args)...); });
    };
    FInfo.Methods.push_back(std::move(m));
    return *this;
  }

  // The last property added is never written to a form.
  TClassBuilder& NotStored() {
    FInfo.Props.back().StoredWhen = [](const TObject*) { return false; };
    return *this;
  }
  // The last property added, an event, is of the registered event type Name (needed only
  // where several event types share one handler signature).
  TClassBuilder& OfEventType(std::string Name) {
    FInfo.Props.back().EventTypeName = std::move(Name);
    return *this;
  }

  // The last property added accepts the identifiers of map (an integer property).
  TClassBuilder& WithIdents(const TIdentMap& Map) {
    FInfo.Props.back().Idents = &Map;
    return *this;
  }

  TClassInfo Build() { return std::move(FInfo); }
  // The finished table, where the chain of builder calls initializes it.
  operator TClassInfo() { return Build(); }

private:
  TClassInfo FInfo;
};

} // namespace qnl

// Put first in the body of every class that has run-time type information.
#define QNL_CLASS(Cls, Parent)                                                      \
public:                                                                             \
  using inherited = Parent;                                                         \
  static const ::qnl::TClassInfo& StaticClassInfo();                                \
  const ::qnl::TClassInfo& ClassInfo() const override { return StaticClassInfo(); } \
                                                                                    \
private:

// Defines Cls::StaticClassInfo(); follow with builder calls (.Prop(...)) ended by a semicolon,
// then QNL_END_CLASS on a line of its own. Inside, C names the class, so that &C::FField
// reaches its private members.
#define QNL_BEGIN_CLASS(Cls)                        \
  const ::qnl::TClassInfo& Cls::StaticClassInfo() { \
    using C [[maybe_unused]] = Cls;                 \
    static const ::qnl::TClassInfo info = ::qnl::TClassBuilder<Cls>(#Cls, &inherited::StaticClassInfo())

#define QNL_END_CLASS \
  return info;        \
  }
