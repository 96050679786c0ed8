// TRegistry: the general registry-access class.
#include "settings/TRegistry.h"

#include "common/InstallLog.h"
#include "rtl/ByteOrder.h"

#include <cstring>

namespace qnl {

namespace {

// A value's data as the install log shows it: a text in quotes, a number, or its size.
std::string LoggedData(TRegType Type, const std::string& Data) {
  if (Type == TRegType::rtString || Type == TRegType::rtExpandString) return "\"" + Data + "\"";
  if (Type == TRegType::rtDWord && Data.size() == 4) return std::to_string(int32_t(ReadLE32(Data, 0)));
  return "(" + std::to_string(Data.size()) + " bytes)";
}

} // namespace

TRegistry::TRegistry() = default;

TRegistry::~TRegistry() {
  try {
    CloseKey();
  } catch (...) {
    // A failed flush leaves the journal, which the next open replays.
  }
}

void TRegistry::SetRootKey(TRootKey Value) {
  CloseKey();
  FRootKey = Value;
}

std::optional<TRegKey> TRegistry::BaseKey() const {
  if (FCurrentKey) return FCurrentKey;
  return TRegKey::Open(FRootKey, "");
}

void TRegistry::ChangeKey(TRegKey Key, const std::string& Path, uint32_t Access) {
  CloseKey();
  FCurrentKey = std::move(Key);
  FCurrentPath = Path;
  FCurrentAccess = Access;
}

bool TRegistry::OpenKey(const std::string& Key, bool CanCreate) {
  auto base = BaseKey();
  if (!base) return false;
  std::optional<TRegKey> key = base->OpenSubKey(Key);
  if (!key && CanCreate) key = base->CreateSubKey(Key);
  if (!key) return false;
  std::string path = FCurrentKey && !FCurrentPath.empty() ? FCurrentPath + "\\" + Key : Key;
  ChangeKey(*key, path, FAccess);
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& Key) {
  uint32_t saved = FAccess;
  FAccess = KEY_READ;
  bool ok = OpenKey(Key, false);
  FAccess = saved;
  return ok;
}

bool TRegistry::DeleteKey(const std::string& Key) {
  auto base = BaseKey();
  return base && base->DeleteSubKey(Key);
}

bool TRegistry::KeyExists(const std::string& Key) {
  auto base = BaseKey();
  return base && base->OpenSubKey(Key).has_value();
}

void TRegistry::CloseKey() {
  if (!FCurrentKey) return;
  std::optional<TRegKey> key = std::move(FCurrentKey);
  FCurrentKey.reset();
  FCurrentPath.clear();
  if (!FLazyWrite && (FCurrentAccess & KEY_SET_VALUE)) key->Flush();
}

bool TRegistry::ValueExists(const std::string& Name) const { return FCurrentKey && FCurrentKey->ValueExists(Name); }

bool TRegistry::DeleteValue(const std::string& Name) {
  return FCurrentKey && (FCurrentAccess & KEY_SET_VALUE) && FCurrentKey->DeleteValue(Name);
}

bool TRegistry::HasSubKeys() const { return FCurrentKey && FCurrentKey->HasSubKeys(); }

void TRegistry::GetKeyNames(TStrings& Strings) const {
  Strings.Clear();
  if (FCurrentKey)
    for (const auto& name : FCurrentKey->SubKeyNames()) Strings.Add(name);
}

void TRegistry::GetValueNames(TStrings& Strings) const {
  Strings.Clear();
  if (FCurrentKey)
    for (const auto& name : FCurrentKey->ValueNames()) Strings.Add(name);
}

std::string TRegistry::ReadString(const std::string& Name) const {
  if (!FCurrentKey) return "";
  auto value = FCurrentKey->ReadValue(Name);
  if (!value) return "";
  if (value->Type != TRegType::rtString && value->Type != TRegType::rtExpandString)
    throw ERegistryException("Invalid data type for '" + Name + "'");
  return value->Data;
}

int32_t TRegistry::ReadInteger(const std::string& Name) const {
  auto value = FCurrentKey ? FCurrentKey->ReadValue(Name) : std::nullopt;
  if (!value) throw ERegistryException("Failed to get data for '" + Name + "'");
  auto number = value->AsDWord();
  if (value->Type != TRegType::rtDWord || !number) throw ERegistryException("Invalid data type for '" + Name + "'");
  return int32_t(*number);
}

double TRegistry::ReadFloat(const std::string& Name) const {
  auto value = FCurrentKey ? FCurrentKey->ReadValue(Name) : std::nullopt;
  if (!value) throw ERegistryException("Failed to get data for '" + Name + "'");
  if (value->Type != TRegType::rtBinary || value->Data.size() != sizeof(double))
    throw ERegistryException("Invalid data type for '" + Name + "'");
  return ReadLEDouble(value->Data, 0);
}

std::string TRegistry::ReadBinaryData(const std::string& Name) const {
  auto value = FCurrentKey ? FCurrentKey->ReadValue(Name) : std::nullopt;
  if (!value) throw ERegistryException("Failed to get data for '" + Name + "'");
  return value->Data;
}

void TRegistry::PutValue(const std::string& Name, TRegType Type, const std::string& Data) {
  if (!FCurrentKey || !(FCurrentAccess & KEY_SET_VALUE))
    throw ERegistryException("Failed to set data for '" + Name + "'");
  try {
    FCurrentKey->WriteValue(Name, Type, Data);
  } catch (const ERegistry& e) {
    throw ERegistryException("Failed to set data for '" + Name + "': " + e.Message());
  }
  if (InstallLog().On())
    InstallLog().RegistryValue(std::string(RootKeyName(FRootKey)) + (FCurrentPath.rfind('\\', 0) == 0 ? "" : "\\") +
                                   FCurrentPath,
                               Name, LoggedData(Type, Data));
}

void TRegistry::WriteString(const std::string& Name, const std::string& Value) {
  PutValue(Name, TRegType::rtString, Value);
}
void TRegistry::WriteExpandString(const std::string& Name, const std::string& Value) {
  PutValue(Name, TRegType::rtExpandString, Value);
}

void TRegistry::WriteInteger(const std::string& Name, int32_t Value) {
  std::string data;
  AppendLE32(data, uint32_t(Value));
  PutValue(Name, TRegType::rtDWord, data);
}

void TRegistry::WriteFloat(const std::string& Name, double Value) {
  std::string data;
  AppendLEDouble(data, Value);
  PutValue(Name, TRegType::rtBinary, data);
}

void TRegistry::WriteBinaryData(const std::string& Name, const std::string& Value) {
  PutValue(Name, TRegType::rtBinary, Value);
}

} // namespace qnl
