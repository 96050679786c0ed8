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
#include "rtl/Graphics.h"
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
  void Watch(TComponent* C) {
    FAlive.insert(C);
    C->FreeNotification(this);
  }
  bool IsAlive(TComponent* C) const { return FAlive.count(C) != 0; }
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
  std::string Path;                    // "Container", "Items[0].Link"
  std::string Where;                   // "Install1.Container", for messages
  std::vector<TCollectionItem*> Items; // collection items enclosing Instance
};

enum TFilerFlag : uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

class TReader {
public:
  TReader(std::string_view Data, TComponent* Root, const TAnsiCodePage& CodePage,
          std::vector<TFormProblem>* Problems = nullptr)
      : FData(Data), FIn(Data), FRoot(Root), FCodePage(CodePage), FProblems(Problems) {}
  void ReadRoot();
  size_t Position() const { return FIn.Position(); }

private:
  void ReadPrefix(uint8_t& Flags);
  void ReadChildren(TComponent* Parent, int Depth);
  void ReadChild(TComponent* Parent, int Depth);
  void ReadProperties(TObject* Instance, TComponent* Component, const std::string& Prefix, int Depth);
  void ReadProperty(TObject* Instance, TComponent* Component, const std::string& Prefix, int Depth);
  void AssignValue(TObject* Obj, const TPropInfo& Prop, TComponent* Component, const std::string& Path, int Depth);
  void ReadStrings(TStrings* Strings);
  void ReadCollection(TCollection* Coll, TComponent* Component, const std::string& Path, int Depth);
  void BindEvent(TObject* Obj, const TPropInfo& Prop, const std::string& MethodName);
  void ResolveFixups();
  TComponent* FindReferenced(const std::string& Name) const;
  void DropFixupsOf(const TCollection* Coll);
  void NameComponent(TComponent* C, const std::string& Name);
  std::string UniqueRootName(const std::string& Name) const;
  void Loaded();
  void Cleanup();
  // Going on past a problem, when the reader notes them.
  void Note(const std::string& Component, const std::string& Property, const std::string& Message) {
    FProblems->push_back({Component, Property, Message});
  }
  void SkipValue(TValueType Code, int Depth);
  void SkipProperties(int Depth);
  void SkipRecordRest(int Depth);

  std::optional<std::string> ReadIdentText(TValueType Code);
  std::optional<std::string> ReadStringText(TValueType Code, TUnmappable Unmappable = TUnmappable::umRaise);
  [[noreturn]] void InvalidValue(TValueType Code);
  [[noreturn]] static void InvalidValue(const std::string& Value) {
    throw EPropertyError("Invalid property value '" + Value + "'");
  }
  void AddContext(Exception& E, const std::string& Where);
  std::string ComponentName(const TComponent* C) const { return C->Name().empty() ? C->ClassName() : C->Name(); }

  std::string_view FData;
  TFormBytes FIn;
  TComponent* FRoot;
  std::string FRootName;          // as the stream names it
  const TAnsiCodePage& FCodePage; // what wide strings become
  TLoadWatch FWatch;
  std::vector<TComponent*> FLoaded;  // root first, then stream order
  std::vector<TComponent*> FCreated; // what this read created, to free on failure
  std::vector<TFixup> FFixups;
  std::vector<TCollectionItem*> FItemStack;
  bool FContextAdded = false;
  mutable std::unordered_map<std::string, TComponent*> FNameIndex; // upper-case name -> component
  mutable int FIndexedCount = -1;
  std::vector<TFormProblem>* FProblems; // null: the first problem ends the read
};

void TReader::ReadRoot() {
  if (FIn.Remaining() < 4 || FIn.ReadBytes(4) != kFormSignature) throw EReadError("Invalid stream format");
  FRoot->SetComponentStateFlag(csLoading, true);
  FRoot->SetComponentStateFlag(csReading, true);
  try {
    uint8_t flags;
    ReadPrefix(flags);
    FIn.ReadShortString(); // the class name: the root exists already
    FRootName = FIn.ReadShortString();
    NameComponent(FRoot, UniqueRootName(FRootName));
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

void TReader::ReadPrefix(uint8_t& Flags) {
  Flags = 0;
  if ((FIn.PeekByte() & 0xF0) != 0xF0) return;
  Flags = FIn.ReadByte() & 0x0F;
  if (Flags & ffChildPos) {
    TValueType code = FIn.ReadValueType();
    if (!IsIntegerCode(code)) throw EReadError("Invalid stream format: the child position is not an integer");
    FIn.ReadIntegerOf(code); // the position among the parent's children is not kept
  }
}

// A second form of one layout with the same owner (a progress window opened again) is named
// Name_1, Name_2, ... as the framework does, rather than failing on the name.
std::string TReader::UniqueRootName(const std::string& Name) const {
  TComponent* owner = FRoot->Owner();
  auto taken = [&](const std::string& N) {
    TComponent* found = owner ? owner->FindComponent(N) : nullptr;
    return found && found != FRoot;
  };
  std::string unique = Name;
  for (int i = 1; !Name.empty() && taken(unique); ++i) unique = Name + "_" + std::to_string(i);
  return unique;
}

void TReader::NameComponent(TComponent* C, const std::string& Name) {
  try {
    C->SetName(Name);
  } catch (const EComponentError& e) {
    throw EReadError(e.Message());
  }
}

void TReader::ReadChildren(TComponent* Parent, int Depth) {
  while (FIn.PeekByte() != 0) ReadChild(Parent, Depth);
  FIn.ReadByte();
}

void TReader::ReadChild(TComponent* Parent, int Depth) {
  if (Depth >= kMaxFormNesting) throw EReadError("Invalid stream format: objects nest too deeply");
  uint8_t flags;
  ReadPrefix(flags);
  std::string className = FIn.ReadShortString();
  std::string name = FIn.ReadShortString();
  TComponent* c = nullptr;
  // An inherited record describes a component the root's class made itself.
  if (flags & ffInherited) c = FRoot->FindComponent(name);
  if (!c) {
    try {
      const TClassInfo& info = GetClass(className); // EClassNotFound "Class %s not found"
      if (!info.CreateComponent) throw EReadError("Class " + className + " cannot be created by name");
      c = info.CreateComponent(FRoot);
      FCreated.push_back(c);
      FWatch.Watch(c);
      c->SetComponentStateFlag(csLoading, true);
      c->SetComponentStateFlag(csReading, true);
      NameComponent(c, name);
    } catch (const std::exception& e) {
      if (!FProblems) throw;
      Note(name.empty() ? className : name, "", e.what());
      if (c && FWatch.IsAlive(c)) delete c;
      SkipRecordRest(Depth + 1);
      return;
    }
  } else {
    FWatch.Watch(c);
    c->SetComponentStateFlag(csLoading, true);
    c->SetComponentStateFlag(csReading, true);
  }
  c->SetParentComponent(Parent);
  FLoaded.push_back(c);
  ReadProperties(c, c, "", Depth + 1);
  ReadChildren(c, Depth + 1);
}

void TReader::ReadProperties(TObject* Instance, TComponent* Component, const std::string& Prefix, int Depth) {
  if (Depth >= kMaxFormNesting) throw EReadError("Invalid stream format: objects nest too deeply");
  while (FIn.PeekByte() != 0) ReadProperty(Instance, Component, Prefix, Depth);
  FIn.ReadByte();
}

void TReader::AddContext(Exception& E, const std::string& Where) {
  if (FContextAdded) return;
  FContextAdded = true;
  E.SetMessage("Error reading " + Where + ": " + E.Message());
}

void TReader::ReadProperty(TObject* Instance, TComponent* Component, const std::string& Prefix, int Depth) {
  std::string path = FIn.ReadShortString();
  std::string where = ComponentName(Component) + "." + Prefix + path;
  size_t valueStart = FIn.Position();
  // The value is passed over whole, however far reading it got.
  auto skipValue = [&](const std::string& Message) {
    Note(ComponentName(Component), Prefix + path, Message);
    FIn = TFormBytes(FData, valueStart);
    SkipValue(FIn.ReadValueType(), Depth + 1);
  };
  try {
    try {
      // Walk the dotted path through nested persistent objects.
      TObject* obj = Instance;
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
          AssignValue(obj, *prop, Component, Prefix + path, Depth);
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
    } catch (const EInvalidGraphic& e) { // a picture that does not decode
      throw EPropertyError(e.Message());
    }
  } catch (EStreamError& e) {
    AddContext(e, where);
    throw;
  } catch (EPropertyError& e) {
    if (FProblems) return skipValue(e.Message());
    AddContext(e, where);
    throw;
  } catch (const std::exception& e) { // the component's own setter refused the value
    if (!FProblems) throw;
    skipValue(e.what());
  }
}

std::optional<std::string> TReader::ReadIdentText(TValueType Code) {
  switch (Code) {
    case TValueType::vaIdent: return FIn.ReadShortString();
    case TValueType::vaNull: return "Null";
    case TValueType::vaFalse: return "False";
    case TValueType::vaTrue: return "True";
    case TValueType::vaNil: return "nil";
    default: return std::nullopt;
  }
}

std::optional<std::string> TReader::ReadStringText(TValueType Code, TUnmappable Unmappable) {
  switch (Code) {
    case TValueType::vaString: return FIn.ReadShortString();
    case TValueType::vaLString: return FIn.ReadLongString();
    case TValueType::vaWString: return FCodePage.FromWide(FIn.ReadWideString(), Unmappable);
    default: return std::nullopt;
  }
}

void TReader::InvalidValue(TValueType Code) {
  // Name the value when it has a short text form; the load stops here either way.
  if (IsIntegerCode(Code)) InvalidValue(IntToStr(FIn.ReadIntegerOf(Code)));
  if (auto s = ReadIdentText(Code)) InvalidValue(*s);
  if (auto s = ReadStringText(Code, TUnmappable::umDefaultChar))
    InvalidValue(s->size() > 64 ? s->substr(0, 64) + "..." : *s);
  throw EPropertyError("Invalid property value");
}

void TReader::AssignValue(TObject* Obj, const TPropInfo& Prop, TComponent* Component, const std::string& Path,
                          int Depth) {
  TValueType code = FIn.ReadValueType();
  switch (Prop.Kind) {
    case TTypeKind::tkInteger:
      if (IsIntegerCode(code)) {
        Prop.SetOrd(Obj, FIn.ReadIntegerOf(code));
        return;
      }
      if (code == TValueType::vaIdent && Prop.Idents) {
        std::string ident = FIn.ReadShortString();
        int64_t value;
        if (!Prop.Idents->IdentToInt(ident, value)) InvalidValue(ident);
        Prop.SetOrd(Obj, value);
        return;
      }
      InvalidValue(code);
    case TTypeKind::tkBoolean:
    case TTypeKind::tkEnumeration: {
      if (code == TValueType::vaNull || code == TValueType::vaNil) InvalidValue(code);
      std::optional<std::string> ident = ReadIdentText(code);
      if (!ident) InvalidValue(code);
      int ordinal = -1;
      if (Prop.Kind == TTypeKind::tkBoolean)
        ordinal = SameText(*ident, "False") ? 0 : SameText(*ident, "True") ? 1 : -1;
      else
        ordinal = Prop.Enum->IndexOf(*ident);
      if (ordinal < 0) InvalidValue(*ident);
      Prop.SetOrd(Obj, ordinal);
      return;
    }
    case TTypeKind::tkSet: {
      if (code != TValueType::vaSet) InvalidValue(code);
      uint32_t mask = 0;
      for (;;) {
        std::string member = FIn.ReadShortString();
        if (member.empty()) break;
        int ordinal = Prop.Enum->IndexOf(member);
        if (ordinal < 0) InvalidValue(member);
        if (ordinal <= 31) mask |= 1u << ordinal; // members above 31 cannot be stored
      }
      Prop.SetOrd(Obj, mask);
      return;
    }
    case TTypeKind::tkString: {
      std::optional<std::string> s = ReadStringText(code);
      if (!s) InvalidValue(code);
      Prop.SetStr(Obj, *s);
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
      Prop.SetFloat(Obj, v);
      return;
    }
    case TTypeKind::tkBinary:
      if (code != TValueType::vaBinary) InvalidValue(code);
      Prop.SetStr(Obj, FIn.ReadLongString());
      return;
    case TTypeKind::tkStrings: {
      if (code != TValueType::vaList) InvalidValue(code);
      auto strings = dynamic_cast<TStrings*>(Prop.GetObj(Obj));
      if (!strings) throw EPropertyError("Property " + Prop.Name + " is not assigned");
      ReadStrings(strings);
      return;
    }
    case TTypeKind::tkCollection: {
      if (code != TValueType::vaCollection) InvalidValue(code);
      auto coll = dynamic_cast<TCollection*>(Prop.GetObj(Obj));
      if (!coll) throw EPropertyError("Property " + Prop.Name + " is not assigned");
      ReadCollection(coll, Component, Path, Depth);
      return;
    }
    case TTypeKind::tkComponent: {
      if (code == TValueType::vaNil) {
        Prop.SetObj(Obj, nullptr);
        return;
      }
      std::optional<std::string> name = ReadIdentText(code);
      if (!name) InvalidValue(code);
      FFixups.push_back({Component, Obj, &Prop, *name, Path, ComponentName(Component) + "." + Path, FItemStack});
      return;
    }
    case TTypeKind::tkMethod: {
      if (code == TValueType::vaNil) return; // no handler
      std::optional<std::string> name = ReadIdentText(code);
      if (!name) InvalidValue(code);
      BindEvent(Obj, Prop, *name);
      return;
    }
    case TTypeKind::tkClass: InvalidValue(code);
  }
  InvalidValue(code);
}

void TReader::BindEvent(TObject* Obj, const TPropInfo& Prop, const std::string& MethodName) {
  const TMethodInfo* method = FRoot->ClassInfo().FindMethod(MethodName);
  if (!method) throw EPropertyError("Method " + MethodName + " is not a published method of " + FRoot->ClassName());
  if (method->Signature != Prop.EventType)
    throw EPropertyError("Method " + MethodName + " of " + FRoot->ClassName() + " does not match the type of event " +
                         Prop.Name);
  Prop.SetMethod(Obj, method->Bind(FRoot));
}

void TReader::ReadStrings(TStrings* Strings) {
  Strings->BeginUpdate();
  Strings->Clear();
  try {
    while (FIn.PeekByte() != 0) {
      TValueType code = FIn.ReadValueType();
      std::optional<std::string> s = ReadStringText(code);
      if (!s) InvalidValue(code);
      Strings->Add(*s);
    }
    FIn.ReadByte();
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TReader::DropFixupsOf(const TCollection* Coll) {
  // Items about to be freed must not stay behind in pending references.
  std::erase_if(FFixups, [Coll](const TFixup& F) {
    return std::any_of(F.Items.begin(), F.Items.end(),
                       [Coll](const TCollectionItem* Item) { return Item->Collection() == Coll; });
  });
}

void TReader::ReadCollection(TCollection* Coll, TComponent* Component, const std::string& Path, int Depth) {
  if (Depth >= kMaxFormNesting) throw EReadError("Invalid stream format: objects nest too deeply");
  DropFixupsOf(Coll);
  Coll->BeginUpdate();
  Coll->Clear();
  int index = 0;
  while (FIn.PeekByte() != 0) {
    TValueType code = FIn.ReadValueType();
    if (IsIntegerCode(code)) { // the item's order value, not kept
      FIn.ReadIntegerOf(code);
      code = FIn.ReadValueType();
    }
    if (code != TValueType::vaList) throw EReadError("Invalid stream format: a collection item must start with a list");
    TCollectionItem* item = Coll->Add();
    FItemStack.push_back(item);
    ReadProperties(item, Component, Path + "[" + std::to_string(index++) + "].", Depth + 1);
    FItemStack.pop_back();
  }
  FIn.ReadByte();
  Coll->EndUpdate();
}

TComponent* TReader::FindReferenced(const std::string& Name) const {
  if (Name.empty()) return nullptr;
  if (SameText(Name, FRoot->Name()) || SameText(Name, FRootName)) return FRoot;
  // Thousands of references are looked up by name: index the root's components, again
  // whenever their number changed (a setter may create or free components).
  if (FIndexedCount != FRoot->ComponentCount()) {
    FNameIndex.clear();
    FIndexedCount = FRoot->ComponentCount();
    for (int i = 0; i < FIndexedCount; ++i)
      FNameIndex.emplace(UpperCase(FRoot->Components(i)->Name()), FRoot->Components(i));
  }
  size_t dot = Name.find('.');
  auto it = FNameIndex.find(UpperCase(std::string_view(Name).substr(0, dot)));
  if (it == FNameIndex.end()) return nullptr;
  // "Panel1.Label1": a component owned by another of the root's components.
  TComponent* c = it->second;
  while (c && dot != std::string::npos) {
    size_t start = dot + 1;
    dot = Name.find('.', start);
    c = c->FindComponent(
        std::string_view(Name).substr(start, dot == std::string::npos ? std::string::npos : dot - start));
  }
  return c;
}

void TReader::ResolveFixups() {
  std::vector<TFixup> fixups = std::move(FFixups);
  FFixups.clear();
  for (const TFixup& f : fixups) {
    if (!FWatch.IsAlive(f.Component)) continue;
    TComponent* target = FindReferenced(f.Name);
    if (!target) { // unresolved: the property stays empty
      if (FProblems) Note(ComponentName(f.Component), f.Path, "There is no component " + f.Name + " in the project");
      continue;
    }
    if (!target->InheritsFrom(f.Prop->PropClass())) {
      EPropertyError e("Invalid property value '" + f.Name + "'");
      if (FProblems) {
        Note(ComponentName(f.Component), f.Path,
             e.Message() + ": " + f.Name + " is a " + target->ClassName() + ", not a " + f.Prop->PropClass().Name);
        continue;
      }
      AddContext(e, f.Where);
      throw e;
    }
    try {
      f.Prop->SetObj(f.Instance, target);
    } catch (const std::exception& e) {
      if (!FProblems) throw;
      Note(ComponentName(f.Component), f.Path, e.what());
    }
  }
}

void TReader::Loaded() {
  for (TComponent* c : FLoaded)
    if (FWatch.IsAlive(c)) c->SetComponentStateFlag(csReading, false);
  for (TComponent* c : FLoaded) {
    if (!FWatch.IsAlive(c)) continue;
    try {
      c->Loaded();
    } catch (const std::exception& e) {
      if (!FProblems) throw;
      Note(ComponentName(c), "", e.what());
    }
  }
  for (TComponent* c : FLoaded)
    if (FWatch.IsAlive(c)) c->SetComponentStateFlag(csLoading, false);
}

void TReader::SkipValue(TValueType Code, int Depth) {
  if (Depth >= kMaxFormNesting) throw EReadError("Invalid stream format: objects nest too deeply");
  if (IsIntegerCode(Code)) {
    FIn.ReadIntegerOf(Code);
    return;
  }
  switch (Code) {
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil: return;
    case TValueType::vaString:
    case TValueType::vaIdent: FIn.ReadShortString(); return;
    case TValueType::vaLString:
    case TValueType::vaBinary: FIn.ReadLongString(); return;
    case TValueType::vaWString: FIn.ReadWideString(); return;
    case TValueType::vaExtended: FIn.ReadExtendedBytes(); return;
    case TValueType::vaSingle: FIn.ReadSingle(); return;
    case TValueType::vaCurrency:
    case TValueType::vaDate: FIn.ReadUInt64(); return;
    case TValueType::vaSet:
      while (!FIn.ReadShortString().empty()) {}
      return;
    case TValueType::vaList:
      while (FIn.PeekByte() != 0) SkipValue(FIn.ReadValueType(), Depth + 1);
      FIn.ReadByte();
      return;
    case TValueType::vaCollection:
      while (FIn.PeekByte() != 0) {
        TValueType code = FIn.ReadValueType();
        if (IsIntegerCode(code)) {
          FIn.ReadIntegerOf(code);
          code = FIn.ReadValueType();
        }
        if (code != TValueType::vaList)
          throw EReadError("Invalid stream format: a collection item must start with a list");
        SkipProperties(Depth + 1);
      }
      FIn.ReadByte();
      return;
    default: throw EReadError("Invalid stream format: unknown value type");
  }
}

void TReader::SkipProperties(int Depth) {
  while (FIn.PeekByte() != 0) {
    FIn.ReadShortString();
    SkipValue(FIn.ReadValueType(), Depth + 1);
  }
  FIn.ReadByte();
}

// The properties and children of a record whose component was not made.
void TReader::SkipRecordRest(int Depth) {
  if (Depth >= kMaxFormNesting) throw EReadError("Invalid stream format: objects nest too deeply");
  SkipProperties(Depth);
  while (FIn.PeekByte() != 0) {
    uint8_t flags;
    ReadPrefix(flags);
    FIn.ReadShortString();
    FIn.ReadShortString();
    SkipRecordRest(Depth + 1);
  }
  FIn.ReadByte();
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

void ReadRootComponentNoting(TStream& Stream, TComponent* Root, const TAnsiCodePage& CodePage,
                             std::vector<TFormProblem>& Problems) {
  int64_t start = Stream.Position();
  std::string data = Stream.ReadString(std::max<int64_t>(Stream.Size() - start, 0));
  TReader reader(data, Root, CodePage, &Problems);
  reader.ReadRoot();
  Stream.SetPosition(start + static_cast<int64_t>(reader.Position()));
}

} // namespace qnl
