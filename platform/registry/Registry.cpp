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
    {TRootKey::ClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},   {TRootKey::CurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
    {TRootKey::CurrentUser, "HKEY_CURRENT_USER", "HKCU"},   {TRootKey::DynData, "HKEY_DYN_DATA", "HKDD"},
    {TRootKey::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"}, {TRootKey::Users, "HKEY_USERS", "HKU"},
};

std::vector<std::string> SplitKeyPath(std::string_view path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t sep = path.find('\\', start);
    if (sep == std::string_view::npos) sep = path.size();
    if (sep > start) parts.emplace_back(path.substr(start, sep - start));
    start = sep + 1;
  }
  return parts;
}

TRegPath ToRegPath(const std::vector<std::string>& path) {
  TRegPath result;
  result.reserve(path.size());
  for (const auto& part : path) result.push_back(AnsiToWide(part));
  return result;
}

TRegValue ToRegValue(const TValueNode& node) {
  TRegValue value;
  value.Name = WideToAnsi(node.Name);
  value.Type = TRegType(node.Type);
  value.Data = IsStringType(value.Type) ? RegTextToAnsi(node.Data) : node.Data;
  return value;
}

} // namespace

const char* RootKeyName(TRootKey root) {
  for (const auto& r : kRootNames)
    if (r.Root == root) return r.Long;
  return "HKEY_UNKNOWN";
}

std::optional<TRootKey> RootKeyFromName(std::string_view name) {
  for (const auto& r : kRootNames)
    if (SameText(name, r.Long) || SameText(name, r.Short)) return r.Root;
  return std::nullopt;
}

bool IsStringType(TRegType type) {
  return type == TRegType::String || type == TRegType::ExpandString || type == TRegType::MultiString;
}

std::optional<uint32_t> TRegValue::AsDWord() const {
  if ((Type != TRegType::DWord && Type != TRegType::Binary) || Data.size() != 4) return std::nullopt;
  return ReadLE32(Data, 0);
}

// ---- TRegKey ----

TRegKey::TRegKey(THive* hive, TRootKey root, std::vector<std::string> path)
    : FHive(hive), FRoot(root), FPath(std::move(path)), FViewDepth(0) {}

std::optional<TRegKey> TRegKey::Open(TRootKey root, std::string_view path) { return Open(TMachine::Current(), root, path); }
TRegKey TRegKey::Create(TRootKey root, std::string_view path) { return Create(TMachine::Current(), root, path); }
bool TRegKey::Exists(TRootKey root, std::string_view path) { return Open(root, path).has_value(); }
bool TRegKey::Delete(TRootKey root, std::string_view path) { return Delete(TMachine::Current(), root, path); }

std::optional<std::string> TRegKey::ReadStringAt(TRootKey root, std::string_view path, std::string_view name) {
  return ReadStringAt(TMachine::Current(), root, path, name);
}

std::optional<std::string> TRegKey::ReadStringAt(TMachine& machine, TRootKey root, std::string_view path,
                                                 std::string_view name) {
  std::vector<std::string> prefix;
  THive* hive = machine.Registry().HiveOf(root, prefix);
  if (!hive) return std::nullopt;
  TRegKey top(hive, root, prefix);
  top.FViewDepth = prefix.size();
  // A missing key reads as a missing value: no separate look for the key first.
  TRegKey key(hive, root, top.Resolve(path));
  key.FViewDepth = top.FViewDepth;
  return key.ReadString(name);
}

std::optional<TRegKey> TRegKey::Open(TMachine& machine, TRootKey root, std::string_view path) {
  std::vector<std::string> prefix;
  THive* hive = machine.Registry().HiveOf(root, prefix);
  if (!hive) return std::nullopt;
  TRegKey top(hive, root, prefix);
  top.FViewDepth = prefix.size();
  return top.OpenSubKey(path);
}

TRegKey TRegKey::Create(TMachine& machine, TRootKey root, std::string_view path) {
  std::vector<std::string> prefix;
  THive* hive = machine.Registry().HiveOf(root, prefix);
  if (!hive) throw ERegistry(std::string("The root key ") + RootKeyName(root) + " is not available on this machine");
  TRegKey top(hive, root, prefix);
  top.FViewDepth = prefix.size();
  return top.CreateSubKey(path);
}

bool TRegKey::Delete(TMachine& machine, TRootKey root, std::string_view path) {
  auto top = Open(machine, root, "");
  return top && top->DeleteSubKey(path);
}

std::vector<std::string> TRegKey::Resolve(std::string_view subPath) const {
  std::vector<std::string> full = FPath;
  for (auto& part : SplitKeyPath(subPath)) full.push_back(std::move(part));
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
  FHive->Read([&](const TKeyNode& root) { exists = FindKey(root, path) != nullptr; });
  return exists;
}

uint64_t TRegKey::HiveVersion() const {
  uint64_t version = 0;
  FHive->Read([&](const TKeyNode&) { version = FHive->Version(); });
  return version;
}

std::optional<TRegKey> TRegKey::OpenSubKey(std::string_view path) const {
  TRegKey key(FHive, FRoot, Resolve(path));
  key.FViewDepth = FViewDepth;
  if (!key.StillExists()) return std::nullopt;
  return key;
}

TRegKey TRegKey::CreateSubKey(std::string_view path) const {
  TRegKey key(FHive, FRoot, Resolve(path));
  key.FViewDepth = FViewDepth;
  TRegPath regPath = ToRegPath(key.FPath);
  FHive->Change([&](const TKeyNode& root) -> std::optional<TJournalRecord> {
    if (FindKey(root, regPath)) return std::nullopt;
    TJournalRecord record;
    record.Op = TJournalRecord::TOp::CreateKey;
    record.Time = FileTimeNow();
    record.Path = regPath;
    return record;
  });
  return key;
}

bool TRegKey::DeleteSubKey(std::string_view path) const {
  std::vector<std::string> full = Resolve(path);
  if (full.size() <= FViewDepth || full.size() == FPath.size()) return false; // never a root or the key itself
  TRegPath regPath = ToRegPath(full);
  return FHive->Change([&](const TKeyNode& root) -> std::optional<TJournalRecord> {
    const TKeyNode* key = FindKey(root, regPath);
    if (!key || !key->SubKeys.empty()) return std::nullopt; // as on Windows NT
    TJournalRecord record;
    record.Op = TJournalRecord::TOp::DeleteKey;
    record.Time = FileTimeNow();
    record.Path = regPath;
    return record;
  });
}

std::vector<std::string> TRegKey::SubKeyNames() const {
  std::vector<std::string> names;
  TRegPath path = ToRegPath(FPath);
  FHive->Read([&](const TKeyNode& root) {
    if (const TKeyNode* key = FindKey(root, path))
      for (const auto& [folded, sub] : key->SubKeys) names.push_back(WideToAnsi(sub->Name));
  });
  return names;
}

bool TRegKey::HasSubKeys() const { return !SubKeyNames().empty(); }

std::optional<TRegValue> TRegKey::ReadValue(std::string_view name) const {
  std::optional<TRegValue> value;
  TRegPath path = ToRegPath(FPath);
  std::u16string wideName = AnsiToWide(name);
  FHive->Read([&](const TKeyNode& root) {
    if (const TKeyNode* key = FindKey(root, path))
      if (const TValueNode* node = key->FindValue(wideName)) value = ToRegValue(*node);
  });
  return value;
}

bool TRegKey::ValueExists(std::string_view name) const { return ReadValue(name).has_value(); }

std::optional<std::string> TRegKey::ReadString(std::string_view name) const {
  auto value = ReadValue(name);
  if (!value || (value->Type != TRegType::String && value->Type != TRegType::ExpandString)) return std::nullopt;
  return value->Data;
}

std::optional<uint32_t> TRegKey::ReadDWord(std::string_view name) const {
  auto value = ReadValue(name);
  if (!value || value->Type != TRegType::DWord) return std::nullopt;
  return value->AsDWord();
}

std::vector<TRegValue> TRegKey::Values() const {
  std::vector<TRegValue> values;
  TRegPath path = ToRegPath(FPath);
  FHive->Read([&](const TKeyNode& root) {
    if (const TKeyNode* key = FindKey(root, path))
      for (const auto& [folded, node] : key->Values) values.push_back(ToRegValue(node));
  });
  return values;
}

std::vector<std::string> TRegKey::ValueNames() const {
  std::vector<std::string> names;
  for (auto& value : Values()) names.push_back(std::move(value.Name));
  return names;
}

void TRegKey::WriteValue(std::string_view name, TRegType type, std::string_view data) const {
  TJournalRecord record;
  record.Op = TJournalRecord::TOp::SetValue;
  record.Path = ToRegPath(FPath);
  record.Name = AnsiToWide(name);
  record.Type = uint32_t(type);
  record.Data = IsStringType(type) ? AnsiToRegText(data) : std::string(data);
  FHive->Change([&](const TKeyNode& root) -> std::optional<TJournalRecord> {
    if (!FindKey(root, record.Path))
      throw ERegistry("Cannot write the value \"" + std::string(name) + "\": the key " + FullName() + " has been deleted");
    record.Time = FileTimeNow();
    return record;
  });
}

void TRegKey::WriteString(std::string_view name, std::string_view text) const { WriteValue(name, TRegType::String, text); }
void TRegKey::WriteExpandString(std::string_view name, std::string_view text) const { WriteValue(name, TRegType::ExpandString, text); }

void TRegKey::WriteMultiString(std::string_view name, const std::vector<std::string>& items) const {
  std::string data;
  for (const auto& item : items) {
    data += item;
    data.push_back('\0');
  }
  WriteValue(name, TRegType::MultiString, data);
}

void TRegKey::WriteDWord(std::string_view name, uint32_t value) const {
  std::string data;
  AppendLE32(data, value);
  WriteValue(name, TRegType::DWord, data);
}

void TRegKey::WriteQWord(std::string_view name, uint64_t value) const {
  std::string data;
  AppendLE64(data, value);
  WriteValue(name, TRegType::QWord, data);
}

void TRegKey::WriteBinary(std::string_view name, std::string_view bytes) const { WriteValue(name, TRegType::Binary, bytes); }

bool TRegKey::DeleteValue(std::string_view name) const {
  TRegPath path = ToRegPath(FPath);
  std::u16string wideName = AnsiToWide(name);
  return FHive->Change([&](const TKeyNode& root) -> std::optional<TJournalRecord> {
    const TKeyNode* key = FindKey(root, path);
    if (!key || !key->FindValue(wideName)) return std::nullopt;
    TJournalRecord record;
    record.Op = TJournalRecord::TOp::DeleteValue;
    record.Time = FileTimeNow();
    record.Path = path;
    record.Name = wideName;
    return record;
  });
}

void TRegKey::Flush() const { FHive->Flush(); }

// ---- TRegistryHives ----

TRegistryHives::TRegistryHives(TMachine& machine) : FMachine(machine) {}
TRegistryHives::~TRegistryHives() = default;

THive* TRegistryHives::HiveOf(TRootKey root, std::vector<std::string>& viewPrefix) {
  viewPrefix.clear();
  switch (root) {
  case TRootKey::ClassesRoot:
    viewPrefix = {"Software", "Classes"};
    break;
  case TRootKey::CurrentConfig:
    viewPrefix = {"System", "CurrentControlSet", "Hardware Profiles", "Current"};
    break;
  case TRootKey::LocalMachine:
    break;
  case TRootKey::CurrentUser:
    if (!FUser) FUser = std::make_unique<THive>(FMachine.UserHiveFile(), THive::TKind::User);
    return FUser.get();
  default:
    return nullptr;
  }
  if (!FSystem) FSystem = std::make_unique<THive>(FMachine.SystemHiveFile(), THive::TKind::System);
  return FSystem.get();
}

void TRegistryHives::Flush() {
  if (FSystem) FSystem->Flush();
  if (FUser) FUser->Flush();
}

} // namespace qnl
