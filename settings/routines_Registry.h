// The registry helpers of the engine: root-key codes, value helpers, RunOnce, install records.
#pragma once

#include <optional>
#include <string>

#include "common/exceptions_Quenloft.h"
#include "platform/registry/Registry.h"
#include "rtl/DateTime.h"

namespace qnl {

class TRegistry;

// A registry write failed. Its message is not translated.
class EIRCannotWriteValue : public ECustomQuenloftAbnormal {
public:
  using ECustomQuenloftAbnormal::ECustomQuenloftAbnormal;
};

// Root-key codes 0..5 in the alphabetical order of the predefined keys' names.
std::optional<TRootKey> RootKeyFromCode(int Code);
// The code of a predefined key; `Fallback` for any other.
int RootKeyToCode(std::optional<TRootKey> Key, int Fallback);
// Sets the root key of `Reg` from a code; any other code leaves it unchanged.
void SetRootKeyCode(TRegistry& Reg, int Code);

// Opens Key with creation and writes; EIRCannotWriteValue
// "Cannot install into registry. Key: %s Ident: %s Value %s" on failure.
void RegWriteString(int RootCode, const std::string& Key, const std::string& Ident, const std::string& Value);
// As above; the failure's message is the key.
void RegWriteInteger(int RootCode, const std::string& Key, const std::string& Ident, int32_t Value);
// The value, or Default when the key or value is missing or cannot be read. Never fails.
std::string RegReadString(int RootCode, const std::string& Key, const std::string& Ident, const std::string& Default);
int32_t RegReadInteger(int RootCode, const std::string& Key, const std::string& Ident, int32_t Default);
// Deletes every subkey, recursively, then the key; every failure is ignored.
void RegDeleteKeyTree(int RootCode, const std::string& Key);

// Registers Command to run once at the next start of Windows under HKEY_LOCAL_MACHINE's
// RunOnce key, as Name, or with Unique as the first of Name, Name1, Name2 ... not taken.
// True when written.
bool RegisterRunOnce(const std::string& Name, const std::string& Command, bool Unique);

constexpr const char* kInstallRecordParent = "\\SOFTWARE\\Quenloft\\Install";
constexpr const char* kRunOnceKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// What identifies the running setup program.
struct TInstallRecordQuery {
  std::string ExecutablePath; // the setup program's file (Windows path)
  TDateTime StartTime = 0;    // the start of the installation run
  std::string SelfExtract;    // source folder with "\" and the self-extracting file; "" if not self-extracted
};

// The file date and size of the executable; platform/files by default, replaceable in tests.
struct TFileFacts {
  TDateTime Date = 0;
  int64_t Size = 0;
};
using TFileFactsReader = TFileFacts (*)(const std::string& FileName);
TFileFacts ReadFileFacts(const std::string& FileName);

// The key path (from HKEY_LOCAL_MACHINE) of the install record whose "CreationDate" and
// "Size" match the executable, updating its "LastRunDate" and "Path"; with Create a new
// record "Install<N>" (smallest free N) when none matches. Empty when none is found or
// created; never raises for registry problems.
std::string FindInstallRecord(bool Create, const TInstallRecordQuery& Query, TFileFactsReader Facts = ReadFileFacts);
// Why the last FindInstallRecord found or created no record when it failed (the file and
// the system's reason, e.g. "Cannot write registry file "/m/system.reg": Operation not
// permitted"); empty after a success or when there simply was no record to find.
const std::string& InstallRecordFailure();

} // namespace qnl
