// TRegistry: the general registry-access class, one root key and one current key.
#pragma once

#include <optional>
#include <string>

#include "platform/registry/Registry.h"
#include "rtl/Classes.h"
#include "rtl/DateTime.h"
#include "rtl/Strings.h"

namespace qnl {

// A failed value read or write ("Failed to set data for 'X'", "Invalid data type for 'X'").
QNL_EXCEPTION(ERegistryException, Exception);

// Access rights of the current key, as the Windows key access masks.
enum : uint32_t {
  KEY_QUERY_VALUE = 0x0001,
  KEY_SET_VALUE = 0x0002,
  KEY_CREATE_SUB_KEY = 0x0004,
  KEY_ENUMERATE_SUB_KEYS = 0x0008,
  KEY_READ = 0x20019,
  KEY_WRITE = 0x20006,
  KEY_ALL_ACCESS = 0xF003F,
};

// Keeps a root key (HKEY_CURRENT_USER at first) and at most one open current key with
// its path and access rights; values are read and written in the current key.
class TRegistry : public TObject {
public:
  TRegistry();
  ~TRegistry() override; // closes the current key

  TRootKey RootKey() const { return FRootKey; }
  void SetRootKey(TRootKey Value); // closes the current key
  const std::string& CurrentPath() const { return FCurrentPath; }
  bool HasCurrentKey() const { return FCurrentKey.has_value(); }
  const std::optional<TRegKey>& CurrentKey() const { return FCurrentKey; }
  uint32_t Access() const { return FAccess; }
  void SetAccess(uint32_t Value) { FAccess = Value; }
  // False: closing a key writes its hive to disk at once.
  bool LazyWrite() const { return FLazyWrite; }
  void SetLazyWrite(bool Value) { FLazyWrite = Value; }

  virtual bool OpenKey(const std::string& Key, bool CanCreate);
  bool OpenKeyReadOnly(const std::string& Key);
  virtual bool DeleteKey(const std::string& Key);
  virtual bool KeyExists(const std::string& Key);
  void CloseKey();

  bool ValueExists(const std::string& Name) const;
  bool DeleteValue(const std::string& Name);
  bool HasSubKeys() const;
  void GetKeyNames(TStrings& Strings) const;
  void GetValueNames(TStrings& Strings) const;

  std::string ReadString(const std::string& Name) const; // "" when missing
  int32_t ReadInteger(const std::string& Name) const;    // ERegistryException when missing or not a number
  double ReadFloat(const std::string& Name) const;       // an 8-byte binary value
  TDateTime ReadDateTime(const std::string& Name) const { return ReadFloat(Name); }
  std::string ReadBinaryData(const std::string& Name) const;
  void WriteString(const std::string& Name, const std::string& Value);
  void WriteExpandString(const std::string& Name, const std::string& Value);
  void WriteInteger(const std::string& Name, int32_t Value);
  void WriteFloat(const std::string& Name, double Value);
  void WriteDateTime(const std::string& Name, TDateTime Value) { WriteFloat(Name, Value); }
  void WriteBinaryData(const std::string& Name, const std::string& Value);

protected:
  // Makes `key` the current key with its path and rights.
  void ChangeKey(TRegKey Key, const std::string& Path, uint32_t Access);
  // The key a relative path starts from: the current key, else the root.
  std::optional<TRegKey> BaseKey() const;

private:
  void PutValue(const std::string& Name, TRegType Type, const std::string& Data);

  TRootKey FRootKey = TRootKey::rkCurrentUser;
  std::optional<TRegKey> FCurrentKey;
  std::string FCurrentPath;
  uint32_t FAccess = KEY_ALL_ACCESS;
  uint32_t FCurrentAccess = 0;
  bool FLazyWrite = true;
};

} // namespace qnl
