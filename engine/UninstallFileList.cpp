// The lists of installed files in a product's uninstall entry.
#include "engine/UninstallFileList.h"

#include <exception>
#include <optional>

#include "platform/registry/Registry.h"
#include "rtl/SysUtils.h"
#include "settings/routines_Registry.h"

namespace qnl {

namespace {

constexpr int kRoot = static_cast<int>(TRootKey::LocalMachine);
constexpr int kUninstallFileKeys = 16;

std::string FilesKey(const std::string& Key, int Index) {
  return Key + "\\Files" + (Index ? IntToStr(Index) : std::string());
}

// Whether one of the values "File1" ... "File<Entries>" of the list ListKey holds Path (ignoring
// letter case, as Windows paths compare); a flagged list keeps ";" and a flag after each path.
enum class TListKind { lkPaths, lkFlaggedPaths };
bool ListHolds(const std::string& ListKey, const std::string& Path, TListKind Kind) {
  std::optional<TRegKey> list = TRegKey::Open(TRootKey::LocalMachine, ListKey);
  if (!list) return false;
  int64_t entries = StrToIntDef(list->ReadString("Entries").value_or("0"), 0);
  // One read of the whole key: a product may list thousands of files.
  for (const TRegValue& value : list->Values()) {
    int64_t n = 0;
    if (value.Type != TRegType::String || !StartsText("File", value.Name) ||
        !TryStrToInt(value.Name.substr(4), n) || n < 1 || n > entries)
      continue;
    std::string_view path = value.Data;
    if (Kind == TListKind::lkFlaggedPaths) path = path.substr(0, path.rfind(';'));
    if (SameText(path, Path)) return true;
  }
  return false;
}

bool FilesListsHold(const std::string& Key, const std::string& Path) {
  for (int index = 0; index < kUninstallFileKeys; ++index) {
    // Each list is made only when the one before it could not take a value: the first one
    // missing ends them.
    if (!TRegKey::Open(TRootKey::LocalMachine, FilesKey(Key, index))) return false;
    if (ListHolds(FilesKey(Key, index), Path, TListKind::lkPaths)) return true;
  }
  return false;
}

} // namespace

void AddUninstallFileEntry(const std::string& Key, const std::string& Path) {
  if (FilesListsHold(Key, Path)) return;
  for (int index = 0;; ++index) {
    std::string sub = FilesKey(Key, index);
    int64_t n = 0;
    try {
      n = StrToInt(RegReadString(kRoot, sub, "Entries", "0")) + 1;
      RegWriteString(kRoot, sub, "File" + IntToStr(n), Path);
    } catch (const std::exception&) {
      if (index + 1 >= kUninstallFileKeys) throw;
      continue;
    }
    RegWriteString(kRoot, sub, "Entries", IntToStr(n));
    return;
  }
}

void AddUninstallActiveXEntry(const std::string& Key, const std::string& Path, bool Program) {
  std::string sub = Key + "\\ActiveX";
  if (ListHolds(sub, Path, TListKind::lkFlaggedPaths)) return;
  int n = StrToIntDef(RegReadString(kRoot, sub, "Entries", "0"), 0) + 1;
  RegWriteString(kRoot, sub, "File" + IntToStr(n), Path + (Program ? ";1" : ";0"));
  RegWriteString(kRoot, sub, "Entries", IntToStr(n));
}

} // namespace qnl
