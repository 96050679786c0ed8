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
  int IndexOf(std::string_view name) const;
  std::string NameOf(int ordinal) const; // empty when out of range
};

// Parses "a, b, c" as written in a QNL_ENUM declaration.
TEnumInfo MakeEnumInfo(const char* typeName, const char* memberList);

// Declares a plain enumeration whose member names are known at run time.
#define QNL_ENUM(Type, ...)                                                              \
  enum Type : int { __VA_ARGS__ };                                                      \
  inline const ::qnl::TEnumInfo& EnumInfoOf(Type*) {                                    \
    static const ::qnl::TEnumInfo info = ::qnl::MakeEnumInfo(#Type, #__VA_ARGS__);      \
    return info;                                                                        \
  }

template <typename E>
const TEnumInfo& EnumInfo() {
  return EnumInfoOf(static_cast<E*>(nullptr));
}

template <typename E, typename = void>
struct IsQnlEnum : std::false_type {};
template <typename E>
struct IsQnlEnum<E, std::void_t<decltype(EnumInfoOf(static_cast<E*>(nullptr)))>> : std::true_type {};

template <typename T>
struct IsTSet : std::false_type {};
template <typename E>
struct IsTSet<TSet<E>> : std::true_type {
  using Element = E;
};

// Identifiers that an integer property accepts in place of a number (clBtnFace, ...).
struct TIdentMap {
  std::vector<std::pair<std::string, int64_t>> Entries;
  bool IdentToInt(std::string_view ident, int64_t& value) const; // case-insensitive
  bool IntToIdent(int64_t value, std::string& ident) const;
};

// One published property. Which accessors are set depends on Kind.
struct TPropInfo {
  std::string Name;
  TTypeKind Kind = TTypeKind::tkInteger;
  const TEnumInfo* Enum = nullptr;             // tkEnumeration, tkSet (the element type)
  std::function<const TClassInfo&()> PropClass; // tkComponent, tkClass, tkCollection
  std::type_index EventType = typeid(void);    // tkMethod: typeid of the std::function

  std::function<int64_t(const TObject*)> GetOrd; // integer, boolean, enumeration, set mask
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<std::string(const TObject*)> GetStr; // string, binary
  std::function<void(TObject*, const std::string&)> SetStr;
  std::function<double(const TObject*)> GetFloat;
  std::function<void(TObject*, double)> SetFloat;
  std::function<TObject*(const TObject*)> GetObj;   // reference, nested object, strings, collection
  std::function<void(TObject*, TObject*)> SetObj;   // reference
  std::function<void(TObject*, const std::any&)> SetMethod; // event: a std::function of EventType
  std::function<bool(const TObject*)> IsMethodAssigned;
  const TIdentMap* Idents = nullptr; // tkInteger: identifiers accepted for values
  bool IsWritable() const;
};

// A published method: an event of a matching type can be bound to it by name.
struct TMethodInfo {
  std::string Name;
  std::type_index Signature = typeid(void);              // typeid of std::function<void(Args...)>
  std::function<std::any(TObject* self)> Bind;           // returns that std::function
};

// What the system knows of one class.
struct TClassInfo {
  std::string Name;
  const TClassInfo* Parent = nullptr;
  std::function<TComponent*(TComponent* owner)> CreateComponent; // null: not creatable by name
  std::vector<TPropInfo> Props;     // this class's own published properties
  std::vector<TMethodInfo> Methods; // this class's own published methods

  // Property by name, case-insensitive, the nearest class first; nullptr when none.
  const TPropInfo* FindProp(std::string_view name) const;
  const TMethodInfo* FindMethod(std::string_view name) const;
  bool InheritsFrom(const TClassInfo& other) const;
  // Every published property, the base class's first, overridden names once.
  std::vector<const TPropInfo*> AllProps() const;

private:
  friend class TClassInfoIndex;
  mutable std::map<std::string, const TPropInfo*> FPropIndex; // upper-case name -> nearest
  mutable bool FIndexed = false;
  void BuildIndex() const;
};

// The class registry: classes that streaming can create by name.
void RegisterClass(const TClassInfo& info);
const TClassInfo* FindClass(std::string_view name); // case-insensitive; nullptr when unknown
const TClassInfo& GetClass(std::string_view name);  // EClassNotFound "Class %s not found"

namespace detail {
template <class C, class G>
auto Getter(G g) {
  return [g](const TObject* o) -> decltype(auto) { return std::invoke(g, static_cast<const C*>(o)); };
}
template <class C, class V, class S>
std::function<void(TObject*, V)> Setter(S s) {
  if constexpr (std::is_member_object_pointer_v<S>)
    return [s](TObject* o, V v) { static_cast<C*>(o)->*s = std::move(v); };
  else
    return [s](TObject* o, V v) { std::invoke(s, static_cast<C*>(o), std::move(v)); };
}
template <class T>
struct MethodTraits;
template <class C, class... Args>
struct MethodTraits<void (C::*)(Args...)> {
  using Owner = C;
  using Function = std::function<void(Args...)>;
};
template <typename F>
struct IsStdFunction : std::false_type {};
template <typename... A>
struct IsStdFunction<std::function<void(A...)>> : std::true_type {};
} // namespace detail

// Builds the TClassInfo of class C. Getters and setters may be member functions or data
// members; the property's kind follows from its value type.
template <class C>
class TClassBuilder {
public:
  TClassBuilder(std::string name, const TClassInfo* parent) {
    FInfo.Name = std::move(name);
    FInfo.Parent = parent;
    if constexpr (std::is_base_of_v<TComponent, C> && !std::is_abstract_v<C> &&
                  std::is_constructible_v<C, TComponent*>)
      FInfo.CreateComponent = [](TComponent* owner) -> TComponent* { return new C(owner); };
  }

  // A value property (integer, boolean, enumeration, set, string, float, event).
  template <class G, class S>
  TClassBuilder& Prop(std::string name, G get, S set) {
    using V = std::remove_cvref_t<std::invoke_result_t<G, const C*>>;
    TPropInfo p;
    p.Name = std::move(name);
    auto g = detail::Getter<C>(get);
    if constexpr (std::is_same_v<V, bool>) {
      p.Kind = TTypeKind::tkBoolean;
      p.GetOrd = [g](const TObject* o) -> int64_t { return g(o) ? 1 : 0; };
      auto s = detail::Setter<C, bool>(set);
      p.SetOrd = [s](TObject* o, int64_t v) { s(o, v != 0); };
    } else if constexpr (std::is_enum_v<V>) {
      p.Kind = TTypeKind::tkEnumeration;
      p.Enum = &EnumInfo<V>();
      p.GetOrd = [g](const TObject* o) -> int64_t { return static_cast<int64_t>(g(o)); };
      auto s = detail::Setter<C, V>(set);
      p.SetOrd = [s](TObject* o, int64_t v) { s(o, static_cast<V>(v)); };
    } else if constexpr (std::is_integral_v<V>) {
      p.Kind = TTypeKind::tkInteger;
      p.GetOrd = [g](const TObject* o) -> int64_t { return static_cast<int64_t>(g(o)); };
      auto s = detail::Setter<C, V>(set);
      p.SetOrd = [s](TObject* o, int64_t v) { s(o, static_cast<V>(v)); };
    } else if constexpr (IsTSet<V>::value) {
      p.Kind = TTypeKind::tkSet;
      p.Enum = &EnumInfo<typename IsTSet<V>::Element>();
      p.GetOrd = [g](const TObject* o) -> int64_t { return g(o).Mask(); };
      auto s = detail::Setter<C, V>(set);
      p.SetOrd = [s](TObject* o, int64_t v) { s(o, V::FromMask(static_cast<uint32_t>(v))); };
    } else if constexpr (std::is_same_v<V, std::string>) {
      p.Kind = TTypeKind::tkString;
      p.GetStr = [g](const TObject* o) -> std::string { return g(o); };
      auto s = detail::Setter<C, std::string>(set);
      p.SetStr = [s](TObject* o, const std::string& v) { s(o, v); };
    } else if constexpr (std::is_floating_point_v<V>) {
      p.Kind = TTypeKind::tkFloat;
      p.GetFloat = [g](const TObject* o) -> double { return static_cast<double>(g(o)); };
      auto s = detail::Setter<C, V>(set);
      p.SetFloat = [s](TObject* o, double v) { s(o, static_cast<V>(v)); };
    } else if constexpr (detail::IsStdFunction<V>::value) {
      p.Kind = TTypeKind::tkMethod;
      p.EventType = typeid(V);
      p.IsMethodAssigned = [g](const TObject* o) { return static_cast<bool>(g(o)); };
      auto s = detail::Setter<C, V>(set);
      p.SetMethod = [s](TObject* o, const std::any& f) { s(o, std::any_cast<V>(f)); };
    } else {
      static_assert(sizeof(V) == 0, "unsupported published property type");
    }
    FInfo.Props.push_back(std::move(p));
    return *this;
  }

  // A property read and written through the same data member.
  template <class F>
  TClassBuilder& Prop(std::string name, F field) {
    return Prop(std::move(name), field, field);
  }

  // A reference to another component (kind tkComponent); T is the class it must be.
  template <class T, class G, class S>
  TClassBuilder& Ref(std::string name, G get, S set) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TTypeKind::tkComponent;
    p.PropClass = [] () -> const TClassInfo& { return T::StaticClassInfo(); };
    auto g = detail::Getter<C>(get);
    p.GetObj = [g](const TObject* o) -> TObject* { return const_cast<std::remove_const_t<T>*>(g(o)); };
    auto s = detail::Setter<C, T*>(set);
    p.SetObj = [s](TObject* o, TObject* v) { s(o, dynamic_cast<T*>(v)); };
    FInfo.Props.push_back(std::move(p));
    return *this;
  }
  template <class T, class F>
  TClassBuilder& Ref(std::string name, F field) {
    return Ref<T>(std::move(name), field, field);
  }

  // An owned object (string list, collection or nested persistent) reached by its getter;
  // streaming writes into it, never replaces it.
  template <class G>
  TClassBuilder& Sub(std::string name, G get) {
    using P = std::remove_cv_t<std::remove_pointer_t<std::remove_cvref_t<std::invoke_result_t<G, const C*>>>>;
    TPropInfo p;
    p.Name = std::move(name);
    if constexpr (std::is_base_of_v<TStrings, P>) p.Kind = TTypeKind::tkStrings;
    else if constexpr (std::is_base_of_v<TCollection, P>) p.Kind = TTypeKind::tkCollection;
    else p.Kind = TTypeKind::tkClass;
    p.PropClass = []() -> const TClassInfo& { return P::StaticClassInfo(); };
    auto g = detail::Getter<C>(get);
    p.GetObj = [g](const TObject* o) -> TObject* {
      if constexpr (std::is_pointer_v<std::remove_cvref_t<decltype(g(o))>>)
        return const_cast<P*>(g(o));
      else
        return const_cast<P*>(&g(o));
    };
    FInfo.Props.push_back(std::move(p));
    return *this;
  }

  // Bytes (kind tkBinary), such as a picture's Data.
  template <class G, class S>
  TClassBuilder& Binary(std::string name, G get, S set) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TTypeKind::tkBinary;
    auto g = detail::Getter<C>(get);
    p.GetStr = [g](const TObject* o) -> std::string { return g(o); };
    auto s = detail::Setter<C, std::string>(set);
    p.SetStr = [s](TObject* o, const std::string& v) { s(o, v); };
    FInfo.Props.push_back(std::move(p));
    return *this;
  }

  // A published method that event properties can be bound to by name.
  template <class M>
  TClassBuilder& Method(std::string name, M method) {
    using F = typename detail::MethodTraits<M>::Function;
    TMethodInfo m;
    m.Name = std::move(name);
    m.Signature = typeid(F);
    m.Bind = [method](TObject* self) -> std::any {
      C* obj = static_cast<C*>(self);
      return F([obj, method](auto&&... args) { (obj->*method)(std::forward<decltype(args)>(args)...); });
    };
    FInfo.Methods.push_back(std::move(m));
    return *this;
  }

  // The last property added accepts the identifiers of map (an integer property).
  TClassBuilder& WithIdents(const TIdentMap& map) {
    FInfo.Props.back().Idents = &map;
    return *this;
  }

  TClassInfo Build() { return std::move(FInfo); }

private:
  TClassInfo FInfo;
};

} // namespace qnl

// Put first in the body of every class that has run-time type information.
#define QNL_CLASS(Cls, Parent)                                                           \
public:                                                                                   \
  using inherited = Parent;                                                               \
  static const ::qnl::TClassInfo& StaticClassInfo();                                      \
  const ::qnl::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }       \
                                                                                          \
private:

// Defines Cls::StaticClassInfo(); follow with builder calls (.Prop(...)) and QNL_END_CLASS.
// Inside, C names the class, so that &C::FField reaches its private members.
#define QNL_BEGIN_CLASS(Cls)                                                             \
  const ::qnl::TClassInfo& Cls::StaticClassInfo() {                                      \
    using C [[maybe_unused]] = Cls;                                                                        \
    static const ::qnl::TClassInfo info = ::qnl::TClassBuilder<Cls>(#Cls, &inherited::StaticClassInfo())

#define QNL_END_CLASS                                                                    \
  .Build();                                                                               \
  return info;                                                                            \
  }
