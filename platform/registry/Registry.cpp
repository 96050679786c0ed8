// The machine's registry keys and values.
#include "platform/registry/Registry.h"

#include "platform/Machine.h"
#include "platform/registry/AnsiText.h"
#include "platform/registry/Hive.h"
#include "rtl/ByteOrder.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

struct TRootName {
  TRootKey Root;
  const char* Long;
  const char* Short;
};

const TRootName kRootNames[] = {
    {TRootKey::rkClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {TRootKey::rkCurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
    {TRootKey::rkCurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {TRootKey::rkDynData, "HKEY_DYN_DATA", "HKDD"},
    {TRootKey::rkLocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {TRootKey::rkUsers, "HKEY_USERS", "HKU"},
};

std::vector<std::string> SplitKeyPath(std::string_view Path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= Path.size()) {
    size_t sep = Path.find('\\', start);
    if (sep == std::string_view::npos) sep = Path.size();
    if (sep > start) parts.emplace_back(Path.substr(start, sep - start));
    start = sep + 1;
  }
  return parts;
}

TRegPath ToRegPath(const std::vector<std::string>& Path) {
  TRegPath result;
  result.reserve(Path.size());
  for (const auto& part : Path) result.push_back(AnsiToWide(part));
  return result;
}

TRegValue ToRegValue(const TValueNode& Node) {
  TRegValue value;
  value.Name = WideToAnsi(Node.Name);
  value.Type = TRegType(Node.Type);
  value.Data = IsStringType(value.Type) ? RegTextToAnsi(Node.Data) : Node.Data;
  return value;
}

} // namespace

const char* RootKeyName(TRootKey Root) {
  for (const auto& r : kRootNames)
    if (r.Root == Root) return r.Long;
  return "HKEY_UNKNOWN";
}

std::optional<TRootKey> RootKeyFromName(std::string_view Name) {
  for (const auto& r : kRootNames)
    if (SameText(Name, r.Long) || SameText(Name, r.Short)) return r.Root;
  return std::nullopt;
}

bool IsStringType(TRegType Type) {
  return Type == TRegType::rtString || Type == TRegType::rtExpandString || Type == TRegType::rtMultiString;
}

std::optional<uint32_t> TRegValue::AsDWord() const {
  if ((Type != TRegType::rtDWord && Type != TRegType::rtBinary) || Data.size() != 4) return std::nullopt;
  return ReadLE32(Data, 0);
}

// ---- TRegKey ----

TRegKey::TRegKey(THive* Hive, TRootKey Root, std::vector<std::string> Path)
    : FHive(Hive), FRoot(Root), FPath(std::move(Path)), FViewDepth(0) {}

std::optional<TRegKey> TRegKey::Open(TRootKey Root, std::string_view Path) {
  return Open(TMachine::Current(), Root, Path);
}
TRegKey TRegKey::Create(TRootKey Root, std::string_view Path) { return Create(TMachine::Current(), Root, Path); }
bool TRegKey::Exists(TRootKey Root, std::string_view Path) { return Open(Root, Path).has_value(); }
bool TRegKey::Delete(TRootKey Root, std::string_view Path) { return Delete(TMachine::Current(), Root, Path); }

std::optional<std::string> TRegKey::ReadStringAt(TRootKey Root, std::string_view Path, std::string_view Name) {
  return ReadStringAt(TMachine::Current(), Root, Path, Name);
}

std::optional<std::string> TRegKey::ReadStringAt(TMachine& Machine, TRootKey Root, std::string_view Path,
                                                 std::string_view Name) {
  std::vector<std::string> prefix;
  THive* hive = Machine.Registry().HiveOf(Root, prefix);
  if (!hive) return std::nullopt;
  TRegKey top(hive, Root, prefix);
  top.FViewDepth = prefix.size();
  // A missing key reads as a missing value: no separate look for the key first.
  TRegKey key(hive, Root, top.Resolve(Path));
  key.FViewDepth = top.FViewDepth;
  return key.ReadString(Name);
}

std::optional<TRegKey> TRegKey::Open(TMachine& Machine, TRootKey Root, std::string_view Path) {
  std::vector<std::string> prefix;
  THive* hive = Machine.Registry().HiveOf(Root, prefix);
  if (!hive) return std::nullopt;
  TRegKey top(hive, Root, prefix);
  top.FViewDepth = prefix.size();
  return top.OpenSubKey(Path);
}

TRegKey TRegKey::Create(TMachine& Machine, TRootKey Root, std::string_view Path) {
  std::vector<std::string> prefix;
  THive* hive = Machine.Registry().HiveOf(Root, prefix);
  if (!hive) throw ERegistry(std::string("The root key ") + RootKeyName(Root) + " is not available on this machine");
  TRegKey top(hive, Root, prefix);
  top.FViewDepth = prefix.size();
  return top.CreateSubKey(Path);
}

bool TRegKey::Delete(TMachine& Machine, TRootKey Root, std::string_view Path) {
  auto top = Open(Machine, Root, "");
  return top && top->DeleteSubKey(Path);
}

std::vector<std::string> TRegKey::Resolve(std::string_view SubPath) const {
  std::vector<std::string> full = FPath;
  for (auto& part : SplitKeyPath(SubPath)) full.push_back(std::move(part));
  return full;
}

std::string TRegKey::Path() const {
  std::string path;
  for (size_t i = FViewDepth; i < FPath.size(); ++i) {
    if (!path.empty()) path += "\\";
    path += FPath[i];
  }
  return path;
}

std::string TRegKey::FullName() const {
  std::string path = Path();
  return std::string(RootKeyName(FRoot)) + (path.empty() ? "" : "\\" + path);
}

bool TRegKey::StillExists() const {
  bool exists = false;
  TRegPath path = ToRegPath(FPath);
  FHive->Read([&](const TKeyNode& Root) { exists = FindKey(Root, path) != nullptr; });
  return exists;
}

uint64_t TRegKey::HiveVersion() const {
  uint64_t version = 0;
  FHive->Read([&](const TKeyNode&) { version = FHive->Version(); });
  return version;
}

std::optional<TRegKey> TRegKey::OpenSubKey(std::string_view Path) const {
  TRegKey key(FHive, FRoot, Resolve(Path));
  key.FViewDepth = FViewDepth;
  if (!key.StillExists()) return std::nullopt;
  return key;
}

TRegKey TRegKey::CreateSubKey(std::string_view Path) const {
  TRegKey key(FHive, FRoot, Resolve(Path));
  key.FViewDepth = FViewDepth;
  TRegPath regPath = ToRegPath(key.FPath);
  FHive->Change([&](const TKeyNode& Root) -> std::optional<TJournalRecord> {
    if (FindKey(Root, regPath)) return std::nullopt;
    TJournalRecord record;
    record.Op = TJournalRecord::TOp::opCreateKey;
    record.Time = FileTimeNow();
    record.Path = regPath;
    return record;
  });
  return key;
}

bool TRegKey::DeleteSubKey(std::string_view Path) const {
  std::vector<std::string> full = Resolve(Path);
  if (full.size() <= FViewDepth || full.size() == FPath.size()) return false; // never a root or the key itself
  TRegPath regPath = ToRegPath(full);
  return FHive->Change([&](const TKeyNode& Root) -> std::optional<TJournalRecord> {
    const TKeyNode* key = FindKey(Root, regPath);
    if (!key || !key->SubKeys.empty()) return std::nullopt; // as on Windows NT
    TJournalRecord record;
    record.Op = TJournalRecord::TOp::opDeleteKey;
    record.Time = FileTimeNow();
    record.Path = regPath;
    return record;
  });
}

std::vector<std::string> TRegKey::SubKeyNames() const {
  std::vector<std::string> names;
  TRegPath path = ToRegPath(FPath);
  FHive->Read([&](const TKeyNode& Root) {
    if (const TKeyNode* key = FindKey(Root, path))
      for (const auto& [folded, sub] : key->SubKeys) names.push_back(WideToAnsi(sub->Name));
  });
  return names;
}

bool TRegKey::HasSubKeys() const { return !SubKeyNames().empty(); }

std::optional<TRegValue> TRegKey::ReadValue(std::string_view Name) const {
  std::optional<TRegValue> value;
  TRegPath path = ToRegPath(FPath);
  std::u16string wideName = AnsiToWide(Name);
  FHive->Read([&](const TKeyNode& Root) {
    if (const TKeyNode* key = FindKey(Root, path))
      if (const TValueNode* node = key->FindValue(wideName)) value = ToRegValue(*node);
  });
  return value;
}

bool TRegKey::ValueExists(std::string_view Name) const { return ReadValue(Name).has_value(); }

std::optional<std::string> TRegKey::ReadString(std::string_view Name) const {
  auto value = ReadValue(Name);
  if (!value || (value->Type != TRegType::rtString && value->Type != TRegType::rtExpandString)) return std::nullopt;
  return value->Data;
}

std::optional<uint32_t> TRegKey::ReadDWord(std::string_view Name) const {
  auto value = ReadValue(Name);
  if (!value || value->Type != TRegType::rtDWord) return std::nullopt;
  return value->AsDWord();
}

std::vector<TRegValue> TRegKey::Values() const {
  std::vector<TRegValue> values;
  TRegPath path = ToRegPath(FPath);
  FHive->Read([&](const TKeyNode& Root) {
    if (const TKeyNode* key = FindKey(Root, path))
      for (const auto& [folded, node] : key->Values) values.push_back(ToRegValue(node));
  });
  return values;
}

std::vector<std::string> TRegKey::ValueNames() const {
  std::vector<std::string> names;
  for (auto& value : Values()) names.push_back(std::move(value.Name));
  return names;
}

void TRegKey::WriteValue(std::string_view Name, TRegType Type, std::string_view Data) const {
  TJournalRecord record;
  record.Op = TJournalRecord::TOp::opSetValue;
  record.Path = ToRegPath(FPath);
  record.Name = AnsiToWide(Name);
  record.Type = uint32_t(Type);
  record.Data = IsStringType(Type) ? AnsiToRegText(Data) : std::string(Data);
  FHive->Change([&](const TKeyNode& Root) -> std::optional<TJournalRecord> {
    if (!FindKey(Root, record.Path))
      throw ERegistry("Cannot write the value \"" + std::string(Name) + "\": the key " + FullName() +
                      " has been deleted");
    record.Time = FileTimeNow();
    return record;
  });
}

void TRegKey::WriteString(std::string_view Name, std::string_view Text) const {
  WriteValue(Name, TRegType::rtString, Text);
}
void TRegKey::WriteExpandString(std::string_view Name, std::string_view Text) const {
  WriteValue(Name, TRegType::rtExpandString, Text);
}

void TRegKey::WriteMultiString(std::string_view Name, const std::vector<std::string>& Items) const {
  std::string data;
  for (const auto& item : Items) {
    data += item;
    data.push_back('\0');
  }
  WriteValue(Name, TRegType::rtMultiString, data);
}

void TRegKey::WriteDWord(std::string_view Name, uint32_t Value) const {
  std::string data;
  AppendLE32(data, Value);
  WriteValue(Name, TRegType::rtDWord, data);
}

void TRegKey::WriteQWord(std::string_view Name, uint64_t Value) const {
  std::string data;
  AppendLE64(data, Value);
  WriteValue(Name, TRegType::rtQWord, data);
}

void TRegKey::WriteBinary(std::string_view Name, std::string_view Bytes) const {
  WriteValue(Name, TRegType::rtBinary, Bytes);
}

bool TRegKey::DeleteValue(std::string_view Name) const {
  TRegPath path = ToRegPath(FPath);
  std::u16string wideName = AnsiToWide(Name);
  return FHive->Change([&](const TKeyNode& Root) -> std::optional<TJournalRecord> {
    const TKeyNode* key = FindKey(Root, path);
    if (!key || !key->FindValue(wideName)) return std::nullopt;
    TJournalRecord record;
    record.Op = TJournalRecord::TOp::opDeleteValue;
    record.Time = FileTimeNow();
    record.Path = path;
    record.Name = wideName;
    return record;
  });
}

void TRegKey::Flush() const { FHive->Flush(); }

void TRegKey::Edit(TRootKey Root, std::string_view Path, const std::function<void(TRegEdit& Edit)>& Fn) {
  std::vector<std::string> prefix;
  THive* hive = TMachine::Current().Registry().HiveOf(Root, prefix);
  if (!hive) throw ERegistry(std::string("The root key ") + RootKeyName(Root) + " is not available on this machine");
  TRegKey top(hive, Root, prefix);
  std::vector<std::string> path = top.Resolve(Path);
  hive->Edit([&](const TKeyNode& HiveRoot, const THive::TAppend& Append) {
    TRegEdit edit(*hive, HiveRoot, Append, path);
    Fn(edit);
  });
}

// ---- TRegEdit ----

TRegEdit::TRegEdit(THive& Hive, const TKeyNode& Root, const std::function<void(const TJournalRecord&)>& Append,
                   std::vector<std::string> Path)
    : FHive(Hive), FRoot(Root), FAppend(Append), FPath(std::move(Path)) {}

const TKeyNode* TRegEdit::Find(std::string_view SubKey) const {
  std::vector<std::string> full = FPath;
  for (auto& part : SplitKeyPath(SubKey)) full.push_back(std::move(part));
  return FindKey(FRoot, ToRegPath(full));
}

bool TRegEdit::KeyExists(std::string_view SubKey) const { return Find(SubKey) != nullptr; }

std::optional<TRegValue> TRegEdit::ReadValue(std::string_view SubKey, std::string_view Name) const {
  if (const TKeyNode* key = Find(SubKey))
    if (const TValueNode* node = key->FindValue(AnsiToWide(Name))) return ToRegValue(*node);
  return std::nullopt;
}

std::optional<std::string> TRegEdit::ReadString(std::string_view SubKey, std::string_view Name) const {
  auto value = ReadValue(SubKey, Name);
  if (!value || (value->Type != TRegType::rtString && value->Type != TRegType::rtExpandString)) return std::nullopt;
  return value->Data;
}

std::vector<TRegValue> TRegEdit::Values(std::string_view SubKey) const {
  std::vector<TRegValue> values;
  if (const TKeyNode* key = Find(SubKey))
    for (const auto& [folded, node] : key->Values) values.push_back(ToRegValue(node));
  return values;
}

void TRegEdit::WriteString(std::string_view SubKey, std::string_view Name, std::string_view Text) {
  std::vector<std::string> full = FPath;
  for (auto& part : SplitKeyPath(SubKey)) full.push_back(std::move(part));
  TJournalRecord record;
  record.Op = TJournalRecord::TOp::opSetValue; // makes the key and its parents when missing
  record.Time = FileTimeNow();
  record.Path = ToRegPath(full);
  record.Name = AnsiToWide(Name);
  record.Type = uint32_t(TRegType::rtString);
  record.Data = AnsiToRegText(Text);
  FAppend(record);
}

uint64_t TRegEdit::HiveVersion() const { return FHive.Version(); }

// ---- TRegistryHives ----

TRegistryHives::TRegistryHives(TMachine& Machine) : FMachine(Machine) {}
TRegistryHives::~TRegistryHives() = default;

THive* TRegistryHives::HiveOf(TRootKey Root, std::vector<std::string>& ViewPrefix) {
  ViewPrefix.clear();
  switch (Root) {
    case TRootKey::rkClassesRoot: ViewPrefix = {"Software", "Classes"}; break;
    case TRootKey::rkCurrentConfig: ViewPrefix = {"System", "CurrentControlSet", "Hardware Profiles", "Current"}; break;
    case TRootKey::rkLocalMachine: break;
    case TRootKey::rkCurrentUser:
      if (!FUser) FUser = std::make_unique<THive>(FMachine.UserHiveFile(), THive::TKind::hkUser);
      return FUser.get();
    default: return nullptr;
  }
  if (!FSystem) FSystem = std::make_unique<THive>(FMachine.SystemHiveFile(), THive::TKind::hkSystem);
  return FSystem.get();
}

void TRegistryHives::Flush() {
  if (FSystem) FSystem->Flush();
  if (FUser) FUser->Flush();
}

} // namespace qnl
