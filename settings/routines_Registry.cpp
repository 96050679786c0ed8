// The registry helpers: root-key codes, value helpers, RunOnce and install records.
#include "settings/routines_Registry.h"

#include <cmath>
#include <set>

#include "platform/files/Files.h"
#include "rtl/Strings.h"
#include "rtl/SysUtils.h"
#include "settings/cmp_TQnlfRegistry.h"

namespace qnl {

namespace {

const TRootKey kCodes[] = {TRootKey::rkClassesRoot, TRootKey::rkCurrentConfig, TRootKey::rkCurrentUser,
                           TRootKey::rkDynData,     TRootKey::rkLocalMachine,  TRootKey::rkUsers};

} // namespace

std::optional<TRootKey> RootKeyFromCode(int Code) {
  if (Code < 0 || Code > 5) return std::nullopt;
  return kCodes[Code];
}

int RootKeyToCode(std::optional<TRootKey> Key, int Fallback) {
  for (int code = 0; code <= 5; ++code)
    if (Key && kCodes[code] == *Key) return code;
  return Fallback;
}

void SetRootKeyCode(TRegistry& Reg, int Code) {
  if (auto root = RootKeyFromCode(Code)) Reg.SetRootKey(*root);
}

void RegWriteString(int RootCode, const std::string& Key, const std::string& Ident, const std::string& Value) {
  TqnlfRegistry reg;
  SetRootKeyCode(reg, RootCode);
  try {
    if (reg.OpenKey(Key, true)) {
      reg.WriteString(Ident, Value);
      return;
    }
  } catch (const Exception&) {}
  throw EIRCannotWriteValue(Format("Cannot install into registry. Key: %s Ident: %s Value %s", {Key, Ident, Value}));
}

void RegWriteInteger(int RootCode, const std::string& Key, const std::string& Ident, int32_t Value) {
  TqnlfRegistry reg;
  SetRootKeyCode(reg, RootCode);
  try {
    if (reg.OpenKey(Key, true)) {
      reg.WriteInteger(Ident, Value);
      return;
    }
  } catch (const Exception&) {}
  throw EIRCannotWriteValue(Key);
}

std::string RegReadString(int RootCode, const std::string& Key, const std::string& Ident, const std::string& Default) {
  try {
    TqnlfRegistry reg;
    SetRootKeyCode(reg, RootCode);
    if (!reg.KeyExists(Key) || !reg.OpenKey(Key, false) || !reg.ValueExists(Ident)) return Default;
    return reg.ReadString(Ident);
  } catch (const Exception&) {
    return Default;
  }
}

int32_t RegReadInteger(int RootCode, const std::string& Key, const std::string& Ident, int32_t Default) {
  try {
    TqnlfRegistry reg;
    SetRootKeyCode(reg, RootCode);
    if (!reg.KeyExists(Key) || !reg.OpenKey(Key, false) || !reg.ValueExists(Ident)) return Default;
    return reg.ReadInteger(Ident);
  } catch (const Exception&) {
    return Default;
  }
}

void RegDeleteKeyTree(int RootCode, const std::string& Key) {
  try {
    TqnlfRegistry reg;
    SetRootKeyCode(reg, RootCode);
    reg.DeleteKey(Key);
  } catch (const Exception&) {}
}

bool RegisterRunOnce(const std::string& Name, const std::string& Command, bool Unique) {
  try {
    TqnlfRegistry reg;
    reg.SetRootKey(TRootKey::rkLocalMachine);
    if (!reg.OpenKey(kRunOnceKey, true)) return false;
    std::string suffix;
    for (int n = 1; Unique && reg.ValueExists(Name + suffix); ++n) suffix = IntToStr(n);
    reg.SetLazyWrite(false);
    reg.WriteString(Name + suffix, Command);
    reg.CloseKey();
    return true;
  } catch (const Exception&) {
    return false;
  }
}

TFileFacts ReadFileFacts(const std::string& FileName) {
  return TFileFacts{FileDateTime(FileName), FileSizeOf(FileName)};
}

namespace {

std::string GInstallRecordFailure;

std::string CannotOpen(const std::string& Key) {
  return "Cannot open or create the registry key HKEY_LOCAL_MACHINE" + Key;
}

std::string SearchInstallRecord(bool Create, const TInstallRecordQuery& Query, const TFileFacts& Facts) {
  TqnlfRegistry reg;
  reg.SetRootKey(TRootKey::rkLocalMachine);
  if (!reg.OpenKey(kInstallRecordParent, true)) throw ERegistry(CannotOpen(kInstallRecordParent));
  TStringList names;
  reg.GetKeyNames(names);
  std::string parent = kInstallRecordParent;
  for (int i = 0; i < names.Count(); ++i) {
    std::string path = parent + "\\" + names[i];
    TqnlfRegistry record;
    record.SetRootKey(TRootKey::rkLocalMachine);
    double date = 0;
    int32_t size = 0;
    try {
      if (!record.OpenKey(path, false)) continue;
      record.ReadString("Path");
      date = record.ReadFloat("CreationDate");
      size = record.ReadInteger("Size");
    } catch (const Exception&) {
      continue;
    }
    if (std::fabs(date - Facts.Date) >= 1e-7 || size != int32_t(Facts.Size)) continue;
    record.WriteDateTime("LastRunDate", Query.StartTime);
    record.WriteString("Path", Query.ExecutablePath);
    record.SetLazyWrite(false);
    return path;
  }
  if (!Create) return "";
  std::set<std::string> taken;
  for (int i = 0; i < names.Count(); ++i) taken.insert(UpperCase(names[i]));
  int n = 0;
  while (taken.count(UpperCase("Install" + IntToStr(n)))) ++n;
  std::string path = parent + "\\Install" + IntToStr(n);
  TqnlfRegistry record;
  record.SetRootKey(TRootKey::rkLocalMachine);
  if (!record.OpenKey(path, true)) throw ERegistry(CannotOpen(path));
  record.WriteString("Path", Query.ExecutablePath);
  record.WriteDateTime("LastRunDate", Query.StartTime);
  record.WriteDateTime("CreationDate", Facts.Date);
  record.WriteInteger("Size", int32_t(Facts.Size));
  if (!Query.SelfExtract.empty()) record.WriteString("SelfExtract", Query.SelfExtract);
  record.SetLazyWrite(false);
  record.CloseKey();
  return path;
}

} // namespace

std::string FindInstallRecord(bool Create, const TInstallRecordQuery& Query, TFileFactsReader Facts) {
  GInstallRecordFailure.clear();
  try {
    // Without the file's identity no record can be matched.
    TFileFacts facts = Facts(Query.ExecutablePath);
    return SearchInstallRecord(Create, Query, facts);
  } catch (const Exception& e) {
    GInstallRecordFailure = e.Message();
    return "";
  }
}

const std::string& InstallRecordFailure() { return GInstallRecordFailure; }

} // namespace qnl
