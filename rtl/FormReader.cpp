// Reading binary form resources: properties through the class's setters, references
// after the whole stream, loaded notifications in stream order.
#include "rtl/FormReader.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "rtl/AnsiCodePage.h"
#include "rtl/Collection.h"
#include "rtl/FormValues.h"
#include "rtl/Strings.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

// Tells the reader when a component it read is destroyed before the read ends, so that it
// never touches a freed component (a Loaded handler may free another component).
class TLoadWatch : public TComponent {
public:
  TLoadWatch() : TComponent(nullptr) {}
  ~TLoadWatch() override {
    // Unwatch quietly: the components need not hear of the watch going away.
    for (TComponent* c : FAlive) RemoveFreeNotification(c);
  }
  void Watch(TComponent* c) {
    FAlive.insert(c);
    c->FreeNotification(this);
  }
  bool IsAlive(TComponent* c) const { return FAlive.count(c) != 0; }
  void Notification(TComponent* AComponent, TOperation Operation) override {
    if (Operation == opRemove) FAlive.erase(AComponent);
    TComponent::Notification(AComponent, Operation);
  }

private:
  std::unordered_set<TComponent*> FAlive;
};

// A component reference waiting for the end of the stream.
struct TFixup {
  TComponent* Component; // whose record held it
  TObject* Instance;     // the component itself, a nested object or a collection item
  const TPropInfo* Prop;
  std::string Name;
  std::string Where;                   // "Install1.Container", for messages
  std::vector<TCollectionItem*> Items; // collection items enclosing Instance
};

enum TFilerFlag : uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

class TReader {
public:
  TReader(std::string_view data, TComponent* root, const TAnsiCodePage& codePage)
      : FIn(data), FRoot(root), FCodePage(codePage) {}
  void ReadRoot();
  size_t Position() const { return FIn.Position(); }

private:
  void ReadPrefix(uint8_t& flags);
  void ReadChildren(TComponent* parent, int depth);
  void ReadChild(TComponent* parent, int depth);
  void ReadProperties(TObject* instance, TComponent* component, const std::string& prefix, int depth);
  void ReadProperty(TObject* instance, TComponent* component, const std::string& prefix, int depth);
  void AssignValue(TObject* obj, const TPropInfo& prop, TComponent* component, const std::string& path, int depth);
  void ReadStrings(TStrings* strings);
  void ReadCollection(TCollection* coll, TComponent* component, const std::string& path, int depth);
  void BindEvent(TObject* obj, const TPropInfo& prop, const std::string& methodName);
  void ResolveFixups();
  TComponent* FindReferenced(const std::string& name) const;
  void DropFixupsOf(const TCollection* coll);
  void NameComponent(TComponent* c, const std::string& name);
  void Loaded();
  void Cleanup();

  std::optional<std::string> ReadIdentText(TValueType code);
  std::optional<std::string> ReadStringText(TValueType code, TUnmappable unmappable = TUnmappable::Raise);
  [[noreturn]] void InvalidValue(TValueType code);
  [[noreturn]] static void InvalidValue(const std::string& value) {
    throw EPropertyError("Invalid property value '" + value + "'");
  }
  void AddContext(Exception& e, const std::string& where);
  std::string ComponentName(const TComponent* c) const { return c->Name().empty() ? c->ClassName() : c->Name(); }

  TFormBytes FIn;
  TComponent* FRoot;
  const TAnsiCodePage& FCodePage; // what wide strings become
  TLoadWatch FWatch;
  std::vector<TComponent*> FLoaded;  // root first, then stream order
  std::vector<TComponent*> FCreated; // what this read created, to free on failure
  std::vector<TFixup> FFixups;
  std::vector<TCollectionItem*> FItemStack;
  bool FContextAdded = false;
  mutable std::unordered_map<std::string, TComponent*> FNameIndex; // upper-case name -> component
  mutable int FIndexedCount = -1;
};

void TReader::ReadRoot() {
  if (FIn.Remaining() < 4 || FIn.ReadBytes(4) != kFormSignature) throw EReadError("Invalid stream format");
  FRoot->SetComponentStateFlag(csLoading, true);
  FRoot->SetComponentStateFlag(csReading, true);
  try {
    uint8_t flags;
    ReadPrefix(flags);
    FIn.ReadShortString(); // the class name: the root exists already
    std::string name = FIn.ReadShortString();
    NameComponent(FRoot, name);
    FLoaded.push_back(FRoot);
    FWatch.Watch(FRoot);
    ReadProperties(FRoot, FRoot, "", 1);
    ReadChildren(FRoot, 1);
    ResolveFixups();
    Loaded();
  } catch (...) {
    Cleanup();
    throw;
  }
}

void TReader::ReadPrefix(uint8_t& flags) {
  flags = 0;
  if ((FIn.PeekByte() & 0xF0) != 0xF0) return;
  flags = FIn.ReadByte() & 0x0F;
  if (flags & ffChildPos) {
    TValueType code = FIn.ReadValueType();
    if (!IsIntegerCode(code)) throw EReadError("Invalid stream format: the child position is not an integer");
    FIn.ReadIntegerOf(code); // the position among the parent's children is not kept
  }
}

void TReader::NameComponent(TComponent* c, const std::string& name) {
  try {
    c->SetName(name);
  } catch (const EComponentError& e) {
    throw EReadError(e.Message());
  }
}

void TReader::ReadChildren(TComponent* parent, int depth) {
  while (FIn.PeekByte() != 0) ReadChild(parent, depth);
  FIn.ReadByte();
}

void TReader::ReadChild(TComponent* parent, int depth) {
  if (depth >= kMaxFormNesting) throw EReadError("Invalid stream format: objects nest too deeply");
  uint8_t flags;
  ReadPrefix(flags);
  std::string className = FIn.ReadShortString();
  std::string name = FIn.ReadShortString();
  TComponent* c = nullptr;
  // An inherited record describes a component the root's class made itself.
  if (flags & ffInherited) c = FRoot->FindComponent(name);
  if (!c) {
    const TClassInfo& info = GetClass(className); // EClassNotFound "Class %s not found"
    if (!info.CreateComponent) throw EReadError("Class " + className + " cannot be created by name");
    c = info.CreateComponent(FRoot);
    FCreated.push_back(c);
    FWatch.Watch(c);
    c->SetComponentStateFlag(csLoading, true);
    c->SetComponentStateFlag(csReading, true);
    NameComponent(c, name);
  } else {
    FWatch.Watch(c);
    c->SetComponentStateFlag(csLoading, true);
    c->SetComponentStateFlag(csReading, true);
  }
  c->SetParentComponent(parent);
  FLoaded.push_back(c);
  ReadProperties(c, c, "", depth + 1);
  ReadChildren(c, depth + 1);
}

void TReader::ReadProperties(TObject* instance, TComponent* component, const std::string& prefix, int depth) {
  if (depth >= kMaxFormNesting) throw EReadError("Invalid stream format: objects nest too deeply");
  while (FIn.PeekByte() != 0) ReadProperty(instance, component, prefix, depth);
  FIn.ReadByte();
}

void TReader::AddContext(Exception& e, const std::string& where) {
  if (FContextAdded) return;
  FContextAdded = true;
  e.SetMessage("Error reading " + where + ": " + e.Message());
}

void TReader::ReadProperty(TObject* instance, TComponent* component, const std::string& prefix, int depth) {
  std::string path = FIn.ReadShortString();
  std::string where = ComponentName(component) + "." + prefix + path;
  try {
    try {
      // Walk the dotted path through nested persistent objects.
      TObject* obj = instance;
      size_t start = 0;
      for (;;) {
        size_t dot = path.find('.', start);
        std::string part = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        bool last = dot == std::string::npos;
        std::string walked = path.substr(0, last ? path.size() : dot);
        // A string list's lines are its "Strings" (Lines.Strings = (...)).
        if (auto strings = dynamic_cast<TStrings*>(obj); strings && last && SameText(part, "Strings")) {
          if (FIn.ReadValueType() != TValueType::vaList) throw EPropertyError("Invalid property value");
          ReadStrings(strings);
          return;
        }
        const TPropInfo* prop = obj->ClassInfo().FindProp(part);
        if (!prop) throw EPropertyError("Property " + walked + " does not exist");
        if (last) {
          if (!prop->IsWritable()) throw EPropertyError("Property " + walked + " is read-only");
          AssignValue(obj, *prop, component, prefix + path, depth);
          return;
        }
        if (prop->Kind != TTypeKind::tkClass && prop->Kind != TTypeKind::tkStrings &&
            prop->Kind != TTypeKind::tkCollection)
          throw EPropertyError("Property " + walked + " has no properties of its own");
        obj = prop->GetObj ? prop->GetObj(obj) : nullptr;
        if (!obj) throw EPropertyError("Property " + walked + " is not assigned");
        start = dot + 1;
      }
    } catch (const EComponentError& e) {
      throw EPropertyError(e.Message());
    } catch (const EConvertError& e) {
      throw EPropertyError(e.Message());
    } catch (const EListError& e) {
      throw EPropertyError(e.Message());
    }
  } catch (EStreamError& e) {
    AddContext(e, where);
    throw;
  } catch (EPropertyError& e) {
    AddContext(e, where);
    throw;
  }
}

std::optional<std::string> TReader::ReadIdentText(TValueType code) {
  switch (code) {
  case TValueType::vaIdent: return FIn.ReadShortString();
  case TValueType::vaNull: return "Null";
  case TValueType::vaFalse: return "False";
  case TValueType::vaTrue: return "True";
  case TValueType::vaNil: return "nil";
  default: return std::nullopt;
  }
}

std::optional<std::string> TReader::ReadStringText(TValueType code, TUnmappable unmappable) {
  switch (code) {
  case TValueType::vaString: return FIn.ReadShortString();
  case TValueType::vaLString: return FIn.ReadLongString();
  case TValueType::vaWString: return FCodePage.FromWide(FIn.ReadWideString(), unmappable);
  default: return std::nullopt;
  }
}

void TReader::InvalidValue(TValueType code) {
  // Name the value when it has a short text form; the load stops here either way.
  if (IsIntegerCode(code)) InvalidValue(IntToStr(FIn.ReadIntegerOf(code)));
  if (auto s = ReadIdentText(code)) InvalidValue(*s);
  if (auto s = ReadStringText(code, TUnmappable::DefaultChar)) InvalidValue(s->size() > 64 ? s->substr(0, 64) + "..." : *s);
  throw EPropertyError("Invalid property value");
}

void TReader::AssignValue(TObject* obj, const TPropInfo& prop, TComponent* component, const std::string& path, int depth) {
  TValueType code = FIn.ReadValueType();
  switch (prop.Kind) {
  case TTypeKind::tkInteger:
    if (IsIntegerCode(code)) {
      prop.SetOrd(obj, FIn.ReadIntegerOf(code));
      return;
    }
    if (code == TValueType::vaIdent && prop.Idents) {
      std::string ident = FIn.ReadShortString();
      int64_t value;
      if (!prop.Idents->IdentToInt(ident, value)) InvalidValue(ident);
      prop.SetOrd(obj, value);
      return;
    }
    InvalidValue(code);
  case TTypeKind::tkBoolean:
  case TTypeKind::tkEnumeration: {
    if (code == TValueType::vaNull || code == TValueType::vaNil) InvalidValue(code);
    std::optional<std::string> ident = ReadIdentText(code);
    if (!ident) InvalidValue(code);
    int ordinal = -1;
    if (prop.Kind == TTypeKind::tkBoolean)
      ordinal = SameText(*ident, "False") ? 0 : SameText(*ident, "True") ? 1 : -1;
    else
      ordinal = prop.Enum->IndexOf(*ident);
    if (ordinal < 0) InvalidValue(*ident);
    prop.SetOrd(obj, ordinal);
    return;
  }
  case TTypeKind::tkSet: {
    if (code != TValueType::vaSet) InvalidValue(code);
    uint32_t mask = 0;
    for (;;) {
      std::string member = FIn.ReadShortString();
      if (member.empty()) break;
      int ordinal = prop.Enum->IndexOf(member);
      if (ordinal < 0) InvalidValue(member);
      if (ordinal <= 31) mask |= 1u << ordinal; // members above 31 cannot be stored
    }
    prop.SetOrd(obj, mask);
    return;
  }
  case TTypeKind::tkString: {
    std::optional<std::string> s = ReadStringText(code);
    if (!s) InvalidValue(code);
    prop.SetStr(obj, *s);
    return;
  }
  case TTypeKind::tkFloat: {
    double v;
    switch (code) {
    case TValueType::vaExtended: v = ExtendedToDouble(FIn.ReadExtendedBytes()); break;
    case TValueType::vaSingle: v = FIn.ReadSingle(); break;
    case TValueType::vaCurrency: v = static_cast<double>(static_cast<int64_t>(FIn.ReadUInt64())) / 10000.0; break;
    case TValueType::vaDate: v = FIn.ReadDouble(); break;
    default:
      if (!IsIntegerCode(code)) InvalidValue(code);
      v = static_cast<double>(FIn.ReadIntegerOf(code));
    }
    prop.SetFloat(obj, v);
    return;
  }
  case TTypeKind::tkBinary:
    if (code != TValueType::vaBinary) InvalidValue(code);
    prop.SetStr(obj, FIn.ReadLongString());
    return;
  case TTypeKind::tkStrings: {
    if (code != TValueType::vaList) InvalidValue(code);
    auto strings = dynamic_cast<TStrings*>(prop.GetObj(obj));
    if (!strings) throw EPropertyError("Property " + prop.Name + " is not assigned");
    ReadStrings(strings);
    return;
  }
  case TTypeKind::tkCollection: {
    if (code != TValueType::vaCollection) InvalidValue(code);
    auto coll = dynamic_cast<TCollection*>(prop.GetObj(obj));
    if (!coll) throw EPropertyError("Property " + prop.Name + " is not assigned");
    ReadCollection(coll, component, path, depth);
    return;
  }
  case TTypeKind::tkComponent: {
    if (code == TValueType::vaNil) {
      prop.SetObj(obj, nullptr);
      return;
    }
    std::optional<std::string> name = ReadIdentText(code);
    if (!name) InvalidValue(code);
    FFixups.push_back({component, obj, &prop, *name, ComponentName(component) + "." + path, FItemStack});
    return;
  }
  case TTypeKind::tkMethod: {
    if (code == TValueType::vaNil) return; // no handler
    std::optional<std::string> name = ReadIdentText(code);
    if (!name) InvalidValue(code);
    BindEvent(obj, prop, *name);
    return;
  }
  case TTypeKind::tkClass: InvalidValue(code);
  }
  InvalidValue(code);
}

void TReader::BindEvent(TObject* obj, const TPropInfo& prop, const std::string& methodName) {
  const TMethodInfo* method = FRoot->ClassInfo().FindMethod(methodName);
  if (!method)
    throw EPropertyError("Method " + methodName + " is not a published method of " + FRoot->ClassName());
  if (method->Signature != prop.EventType)
    throw EPropertyError("Method " + methodName + " of " + FRoot->ClassName() +
                         " does not match the type of event " + prop.Name);
  prop.SetMethod(obj, method->Bind(FRoot));
}

void TReader::ReadStrings(TStrings* strings) {
  strings->BeginUpdate();
  strings->Clear();
  try {
    while (FIn.PeekByte() != 0) {
      TValueType code = FIn.ReadValueType();
      std::optional<std::string> s = ReadStringText(code);
      if (!s) InvalidValue(code);
      strings->Add(*s);
    }
    FIn.ReadByte();
  } catch (...) {
    strings->EndUpdate();
    throw;
  }
  strings->EndUpdate();
}

void TReader::DropFixupsOf(const TCollection* coll) {
  // Items about to be freed must not stay behind in pending references.
  std::erase_if(FFixups, [coll](const TFixup& f) {
    return std::any_of(f.Items.begin(), f.Items.end(),
                       [coll](const TCollectionItem* item) { return item->Collection() == coll; });
  });
}

void TReader::ReadCollection(TCollection* coll, TComponent* component, const std::string& path, int depth) {
  if (depth >= kMaxFormNesting) throw EReadError("Invalid stream format: objects nest too deeply");
  DropFixupsOf(coll);
  coll->BeginUpdate();
  coll->Clear();
  int index = 0;
  while (FIn.PeekByte() != 0) {
    TValueType code = FIn.ReadValueType();
    if (IsIntegerCode(code)) { // the item's order value, not kept
      FIn.ReadIntegerOf(code);
      code = FIn.ReadValueType();
    }
    if (code != TValueType::vaList) throw EReadError("Invalid stream format: a collection item must start with a list");
    TCollectionItem* item = coll->Add();
    FItemStack.push_back(item);
    ReadProperties(item, component, path + "[" + std::to_string(index++) + "].", depth + 1);
    FItemStack.pop_back();
  }
  FIn.ReadByte();
  coll->EndUpdate();
}

TComponent* TReader::FindReferenced(const std::string& name) const {
  if (name.empty()) return nullptr;
  if (SameText(name, FRoot->Name())) return FRoot;
  // Thousands of references are looked up by name: index the root's components, again
  // whenever their number changed (a setter may create or free components).
  if (FIndexedCount != FRoot->ComponentCount()) {
    FNameIndex.clear();
    FIndexedCount = FRoot->ComponentCount();
    for (int i = 0; i < FIndexedCount; ++i) FNameIndex.emplace(UpperCase(FRoot->Components(i)->Name()), FRoot->Components(i));
  }
  size_t dot = name.find('.');
  auto it = FNameIndex.find(UpperCase(std::string_view(name).substr(0, dot)));
  if (it == FNameIndex.end()) return nullptr;
  // "Panel1.Label1": a component owned by another of the root's components.
  TComponent* c = it->second;
  while (c && dot != std::string::npos) {
    size_t start = dot + 1;
    dot = name.find('.', start);
    c = c->FindComponent(std::string_view(name).substr(start, dot == std::string::npos ? std::string::npos : dot - start));
  }
  return c;
}

void TReader::ResolveFixups() {
  std::vector<TFixup> fixups = std::move(FFixups);
  FFixups.clear();
  for (const TFixup& f : fixups) {
    if (!FWatch.IsAlive(f.Component)) continue;
    TComponent* target = FindReferenced(f.Name);
    if (!target) continue; // unresolved: the property stays empty
    if (!target->InheritsFrom(f.Prop->PropClass())) {
      EPropertyError e("Invalid property value '" + f.Name + "'");
      AddContext(e, f.Where);
      throw e;
    }
    f.Prop->SetObj(f.Instance, target);
  }
}

void TReader::Loaded() {
  for (TComponent* c : FLoaded)
    if (FWatch.IsAlive(c)) c->SetComponentStateFlag(csReading, false);
  for (TComponent* c : FLoaded)
    if (FWatch.IsAlive(c)) c->Loaded();
  for (TComponent* c : FLoaded)
    if (FWatch.IsAlive(c)) c->SetComponentStateFlag(csLoading, false);
}

void TReader::Cleanup() {
  FFixups.clear();
  for (auto it = FCreated.rbegin(); it != FCreated.rend(); ++it)
    if (FWatch.IsAlive(*it)) delete *it;
  for (TComponent* c : FLoaded)
    if (FWatch.IsAlive(c)) {
      c->SetComponentStateFlag(csReading, false);
      c->SetComponentStateFlag(csLoading, false);
    }
  FRoot->SetComponentStateFlag(csReading, false);
  FRoot->SetComponentStateFlag(csLoading, false);
}

} // namespace

void ReadRootComponent(TStream& Stream, TComponent* Root, const TAnsiCodePage& CodePage) {
  int64_t start = Stream.Position();
  int64_t size = Stream.Size() - start;
  if (size < 0) size = 0;
  std::string data = Stream.ReadString(size);
  TReader reader(data, Root, CodePage);
  try {
    reader.ReadRoot();
  } catch (...) {
    Stream.SetPosition(start + static_cast<int64_t>(reader.Position()));
    throw;
  }
  Stream.SetPosition(start + static_cast<int64_t>(reader.Position()));
}

} // namespace qnl
