// The machine's registry (advapi32's keys and values) over Wine's hive files.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rtl/Exceptions.h"

namespace qnl {

class TMachine;
class THive;
struct TKeyNode;
struct TJournalRecord;
class TRegEdit;

// A registry operation failed: an OS error on a hive file (the message names the
// operation and the file), a key used after it was deleted, or a root key that this
// machine does not emulate.
QNL_EXCEPTION(ERegistry, EOSError);
// A hive file could not be parsed; the message names the file and the line. The layer
// never writes over such a hive.
QNL_EXCEPTION(EHiveDamaged, ERegistry);

// The predefined keys, numbered in the alphabetical order of their names.
enum class TRootKey : int {
  rkClassesRoot = 0,   // HKEY_CLASSES_ROOT: the view of HKEY_LOCAL_MACHINE\Software\Classes
  rkCurrentConfig = 1, // HKEY_CURRENT_CONFIG: the view of HKLM\System\CurrentControlSet\Hardware Profiles\Current
  rkCurrentUser = 2,   // HKEY_CURRENT_USER: user.reg
  rkDynData = 3,       // HKEY_DYN_DATA: not emulated (Windows 9x only)
  rkLocalMachine = 4,  // HKEY_LOCAL_MACHINE: system.reg
  rkUsers = 5,         // HKEY_USERS: not emulated
};

// "HKEY_LOCAL_MACHINE" ...
const char* RootKeyName(TRootKey Root);
// Accepts the long names and the short forms HKLM, HKCU, HKCR, HKU, HKCC, HKDD (any case).
std::optional<TRootKey> RootKeyFromName(std::string_view Name);

// Value types with their Windows numbers; any other number is kept as it is.
enum class TRegType : uint32_t {
  rtNone = 0,
  rtString = 1,         // REG_SZ
  rtExpandString = 2,   // REG_EXPAND_SZ
  rtBinary = 3,         // REG_BINARY
  rtDWord = 4,          // REG_DWORD, little-endian
  rtDWordBigEndian = 5, // REG_DWORD_BIG_ENDIAN
  rtLink = 6,           // REG_LINK
  rtMultiString = 7,    // REG_MULTI_SZ
  rtResourceList = 8,
  rtFullResourceDescriptor = 9,
  rtResourceRequirementsList = 10,
  rtQWord = 11, // REG_QWORD, little-endian
};

// True for the types whose data is text (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ).
bool IsStringType(TRegType Type);

// One value as the engine sees it: for the text types the data is ANSI text (the machine's
// code page) without the terminating NUL, a multi-string being "a\0b\0"; for the other
// types the data is the raw bytes. The empty name is the key's default value.
struct TRegValue {
  std::string Name;
  TRegType Type = TRegType::rtNone;
  std::string Data;

  // The data as a 32-bit number; nullopt unless the type is DWord (or Binary of 4 bytes).
  std::optional<uint32_t> AsDWord() const;
};

// An open key of a machine's registry. It names the key by its path, so it stays valid
// while other processes change the hive; once the key is deleted, reads find nothing and
// writes raise ERegistry. Every change outlives this process when the call returns.
class TRegKey {
public:
  // Opens root\path on the current machine; nullopt when the key does not exist or the
  // root is not emulated. Path components are separated by "\"; empty ones are ignored.
  static std::optional<TRegKey> Open(TRootKey Root, std::string_view Path);
  static std::optional<TRegKey> Open(TMachine& Machine, TRootKey Root, std::string_view Path);
  // Opens root\path, creating it and its missing parents; ERegistry for a root that is not emulated.
  static TRegKey Create(TRootKey Root, std::string_view Path);
  static TRegKey Create(TMachine& Machine, TRootKey Root, std::string_view Path);
  static bool Exists(TRootKey Root, std::string_view Path);
  // The text of the String or ExpandString value name of root\path, as Open then ReadString
  // give it, in one read of the hive: nullopt when the key or the value is missing or the
  // value has another type.
  static std::optional<std::string> ReadStringAt(TRootKey Root, std::string_view Path, std::string_view Name);
  static std::optional<std::string> ReadStringAt(TMachine& Machine, TRootKey Root, std::string_view Path,
                                                 std::string_view Name);
  // Deletes root\path; false when it does not exist or still has subkeys (as on Windows NT).
  static bool Delete(TRootKey Root, std::string_view Path);
  static bool Delete(TMachine& Machine, TRootKey Root, std::string_view Path);

  TRootKey Root() const { return FRoot; }
  // The path below the root as it was opened, components joined with "\".
  std::string Path() const;
  // "HKEY_LOCAL_MACHINE\Software\..."
  std::string FullName() const;
  // False once the key was deleted (by this or another process).
  bool StillExists() const;
  // The version of the key's hive, brought up to date: it differs from an earlier answer once
  // anything in the hive changed since, through this process or another. A caller that keeps
  // what it read can trust it while the version stays the same.
  uint64_t HiveVersion() const;

  std::optional<TRegKey> OpenSubKey(std::string_view Path) const;
  TRegKey CreateSubKey(std::string_view Path) const;
  // Deletes a subkey that has no subkeys; false when missing or not empty.
  bool DeleteSubKey(std::string_view Path) const;
  // Subkey names sorted case-insensitively, the order in which Windows enumerates them.
  std::vector<std::string> SubKeyNames() const;
  bool HasSubKeys() const;

  // nullopt when the value does not exist.
  std::optional<TRegValue> ReadValue(std::string_view Name) const;
  bool ValueExists(std::string_view Name) const;
  // The text of a String or ExpandString value; nullopt for a missing value or another type.
  std::optional<std::string> ReadString(std::string_view Name) const;
  // A DWord value; nullopt for a missing value or another type.
  std::optional<uint32_t> ReadDWord(std::string_view Name) const;
  // Values in the order of their names ignoring case, as Wine keeps them.
  std::vector<TRegValue> Values() const;
  std::vector<std::string> ValueNames() const;

  // Creates or replaces a value (see TRegValue for the data of each type).
  void WriteValue(std::string_view Name, TRegType Type, std::string_view Data) const;
  void WriteString(std::string_view Name, std::string_view Text) const;
  void WriteExpandString(std::string_view Name, std::string_view Text) const;
  void WriteMultiString(std::string_view Name, const std::vector<std::string>& Items) const;
  void WriteDWord(std::string_view Name, uint32_t Value) const;
  void WriteQWord(std::string_view Name, uint64_t Value) const;
  void WriteBinary(std::string_view Name, std::string_view Bytes) const;
  // False when the value does not exist.
  bool DeleteValue(std::string_view Name) const;

  // Writes the key's hive into its .reg file now (RegFlushKey), so that Wine sees it.
  void Flush() const;

  // Runs Fn on root\path under one lock of its hive (see TRegEdit); the key need not exist.
  // ERegistry for a root that is not emulated.
  static void Edit(TRootKey Root, std::string_view Path, const std::function<void(TRegEdit& Edit)>& Fn);

private:
  TRegKey(THive* Hive, TRootKey Root, std::vector<std::string> Path);
  std::vector<std::string> Resolve(std::string_view SubPath) const;

  THive* FHive;
  TRootKey FRoot;
  std::vector<std::string> FPath; // below the hive's top, including a view's prefix (ANSI)
  size_t FViewDepth;              // leading components of FPath that belong to the view
};

// Reads and writes below one key as one step: no other process changes the hive between
// them, and each write is durable and seen by the next read when its call returns. Costs one
// look at the hive for all of them, where each TRegKey call looks on its own. SubKey is
// relative to the edited key ("" for the key itself).
class TRegEdit {
public:
  bool KeyExists(std::string_view SubKey) const;
  std::optional<TRegValue> ReadValue(std::string_view SubKey, std::string_view Name) const;
  // The text of a String or ExpandString value; nullopt for a missing value or another type.
  std::optional<std::string> ReadString(std::string_view SubKey, std::string_view Name) const;
  std::vector<TRegValue> Values(std::string_view SubKey) const;
  // Creates the key and its missing parents as needed.
  void WriteString(std::string_view SubKey, std::string_view Name, std::string_view Text);
  // As TRegKey::HiveVersion, including this edit's own writes so far.
  uint64_t HiveVersion() const;

private:
  friend class TRegKey;
  TRegEdit(THive& Hive, const TKeyNode& Root, const std::function<void(const TJournalRecord&)>& Append,
           std::vector<std::string> Path);
  const TKeyNode* Find(std::string_view SubKey) const;

  THive& FHive;
  const TKeyNode& FRoot;
  const std::function<void(const TJournalRecord&)>& FAppend;
  std::vector<std::string> FPath;
};

// The hives of one machine (HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER), open in this
// process. Owned by its TMachine.
class TRegistryHives {
public:
  explicit TRegistryHives(TMachine& Machine);
  ~TRegistryHives();
  TRegistryHives(const TRegistryHives&) = delete;
  TRegistryHives& operator=(const TRegistryHives&) = delete;

  // The hive of a root key with the view prefix of that root; nullptr when not emulated.
  THive* HiveOf(TRootKey Root, std::vector<std::string>& ViewPrefix);
  // Compacts the journals into the .reg files.
  void Flush();

private:
  TMachine& FMachine;
  std::unique_ptr<THive> FSystem;
  std::unique_ptr<THive> FUser;
};

} // namespace qnl
