// Reads the class registry into the entries the reference prints.
#include "tools/classes/ClassReference.h"

#include <memory>

#include "platform/system/TypeName.h"
#include "rtl/Classes.h"
#include "rtl/EventTypes.h"
#include "rtl/Strings.h"
#include "rtl/SysUtils.h"
#include "rtl/TypInfo.h"

namespace qnl::tool {

namespace {

// Nested objects hold nested objects (a label's style its font); a cycle ends here.
constexpr int kMaxNesting = 4;

std::string Replaced(std::string Text, const std::string& From, const std::string& To) {
  for (size_t pos = Text.find(From); pos != std::string::npos; pos = Text.find(From, pos + To.size()))
    Text.replace(pos, From.size(), To);
  return Text;
}

std::string Quoted(const std::string& Text) { return "'" + Replaced(Text, "'", "''") + "'"; }

// The handler's parameter types as the compiler names them, "TObject*", "bool&".
std::vector<std::string> HandlerParameterTypes(const std::type_index& Type) {
  std::string text = ReadableTypeName(Type.name());
  text =
      Replaced(text, "std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> >", "std::string");
  text = Replaced(text, "qnl::", "");
  size_t open = text.find('(');
  size_t close = text.rfind(')');
  std::vector<std::string> types;
  if (open == std::string::npos || close == std::string::npos || close <= open + 1) return types;
  int depth = 0;
  std::string current;
  for (char c : text.substr(open + 1, close - open - 1)) {
    depth += c == '<' ? 1 : c == '>' ? -1 : 0;
    if (c == ',' && depth == 0) {
      types.push_back(Trim(current));
      current.clear();
    } else {
      current += c;
    }
  }
  types.push_back(Trim(current));
  return types;
}

// A C++ parameter type in the words of the reference: "bool&" is var Boolean.
TEventParameter AuthorParameter(std::string Type) {
  TEventParameter parameter;
  if (Type.ends_with("&")) {
    Type.pop_back();
    bool constant = Type.ends_with(" const") || Type.starts_with("const ");
    Type = Replaced(Replaced(Type, " const", ""), "const ", "");
    parameter.Mode = constant ? "const" : "var";
  }
  static const std::pair<const char*, const char*> kWords[] = {
      {"bool", "Boolean"},        {"int", "Integer"},        {"unsigned short", "Word"},
      {"void const*", "Pointer"}, {"std::string", "String"}, {"std::exception", "Exception"}};
  for (const auto& [cpp, word] : kWords)
    if (Type == cpp) Type = word;
  if (Type.starts_with("TSet<") && Type.ends_with(">")) Type = "set of " + Type.substr(5, Type.size() - 6);
  if (Type.ends_with("*")) Type.pop_back();
  parameter.Type = Type;
  return parameter;
}

TEventEntry EventEntry(const std::string& Name, const TPropInfo& Prop) {
  TEventEntry entry{Name, "", {}};
  for (const std::string& type : HandlerParameterTypes(Prop.EventType))
    entry.Parameters.push_back(AuthorParameter(type));
  const TEventTypeInfo* type = EventTypeOf(Prop);
  if (type && type->ParameterNames.size() == entry.Parameters.size()) {
    entry.Type = type->Name;
    for (size_t i = 0; i < entry.Parameters.size(); ++i) entry.Parameters[i].Name = type->ParameterNames[i];
  }
  return entry;
}

std::string TypeName(const TPropInfo& Prop) {
  switch (Prop.Kind) {
    case TTypeKind::tkInteger: return "Integer";
    case TTypeKind::tkBoolean: return "Boolean";
    case TTypeKind::tkEnumeration: return Prop.Enum->Name;
    case TTypeKind::tkSet: return "set of " + Prop.Enum->Name;
    case TTypeKind::tkString: return "String";
    case TTypeKind::tkFloat: return "Double";
    case TTypeKind::tkBinary: return "Binary";
    case TTypeKind::tkMethod: return "Event";
    default: return Prop.PropClass().Name;
  }
}

std::vector<std::string> ValueNames(const TPropInfo& Prop) {
  if (Prop.Enum) return Prop.Enum->Names;
  std::vector<std::string> names;
  if (Prop.Idents)
    for (const auto& entry : Prop.Idents->Entries) names.push_back(entry.first);
  return names;
}

// The value as a text form writes it.
std::string FormValue(const TPropInfo& Prop, const TObject& Instance) {
  switch (Prop.Kind) {
    case TTypeKind::tkInteger: {
      int64_t value = Prop.GetOrd(&Instance);
      std::string ident;
      if (Prop.Idents && Prop.Idents->IntToIdent(value, ident)) return ident;
      return std::to_string(value);
    }
    case TTypeKind::tkBoolean: return Prop.GetOrd(&Instance) ? "True" : "False";
    case TTypeKind::tkEnumeration: return Prop.Enum->NameOf(static_cast<int>(Prop.GetOrd(&Instance)));
    case TTypeKind::tkSet: {
      int64_t mask = Prop.GetOrd(&Instance);
      std::string members;
      for (size_t i = 0; i < Prop.Enum->Names.size() && i < 32; ++i)
        if (mask & (int64_t{1} << i)) members += (members.empty() ? "" : ", ") + Prop.Enum->Names[i];
      return "[" + members + "]";
    }
    case TTypeKind::tkString: return Quoted(Prop.GetStr(&Instance));
    case TTypeKind::tkFloat: return FloatToStr(Prop.GetFloat(&Instance));
    case TTypeKind::tkComponent: {
      const TObject* target = Prop.GetObj(&Instance);
      const auto* component = dynamic_cast<const TComponent*>(target);
      return component ? component->Name() : "(none)";
    }
    case TTypeKind::tkStrings: {
      const auto* strings = dynamic_cast<const TStrings*>(Prop.GetObj(&Instance));
      return strings && strings->Count() > 0 ? "(" + std::to_string(strings->Count()) + " lines)" : "()";
    }
    case TTypeKind::tkCollection: return "<>";
    default: return Prop.GetStr ? (Prop.GetStr(&Instance).empty() ? "{}" : "{...}") : "";
  }
}

void AddProperties(const TClassInfo& Class, const TObject* Instance, const std::string& Prefix, int Depth,
                   TClassEntry& Entry) {
  for (const TPropInfo* prop : Class.AllProps()) {
    std::string name = Prefix + prop->Name;
    if (prop->Kind == TTypeKind::tkMethod) {
      Entry.Events.push_back(EventEntry(name, *prop));
      continue;
    }
    if (prop->Kind == TTypeKind::tkClass && Depth < kMaxNesting) {
      const TObject* nested = Instance ? prop->GetObj(Instance) : nullptr;
      AddProperties(prop->PropClass(), nested, name + ".", Depth + 1, Entry);
      continue;
    }
    TPropertyEntry p;
    p.Name = name;
    p.Type = TypeName(*prop);
    p.Values = ValueNames(*prop);
    p.ValuesAreIdentifiers = prop->Idents != nullptr;
    p.Stored = IsStoredProp(*prop, Instance);
    if (Instance) p.Default = FormValue(*prop, *Instance);
    Entry.Properties.push_back(std::move(p));
  }
}

} // namespace

std::string ParameterList(const TEventEntry& Event) {
  std::string text;
  for (const TEventParameter& p : Event.Parameters) {
    if (!text.empty()) text += "; ";
    if (!p.Mode.empty()) text += p.Mode + " ";
    text += p.Name.empty() ? p.Type : p.Name + ": " + p.Type;
  }
  return text;
}

std::vector<TClassEntry> DescribeClasses(const std::vector<const TClassInfo*>& Classes,
                                         const TInstanceFactory& CreateInstance) {
  std::vector<TClassEntry> result;
  for (const TClassInfo* info : Classes) {
    TClassEntry entry;
    entry.Name = info->Name;
    entry.Ancestor = info->Parent ? info->Parent->Name : "";
    entry.Creatable = static_cast<bool>(info->CreateComponent);
    std::unique_ptr<TComponent> instance(entry.Creatable ? CreateInstance(*info) : nullptr);
    AddProperties(*info, instance.get(), "", 0, entry);
    result.push_back(std::move(entry));
  }
  return result;
}

} // namespace qnl::tool
