// The lists of installed files in a product's uninstall entry.
#include "engine/UninstallFileList.h"

#include <exception>
#include <map>
#include <optional>
#include <unordered_set>

#include "platform/registry/Registry.h"
#include "rtl/SysUtils.h"
#include "settings/routines_Registry.h"

namespace qnl {

namespace {

constexpr int kRoot = static_cast<int>(TRootKey::rkLocalMachine);
constexpr int kUninstallFileKeys = 16;

std::string FilesKey(const std::string& Key, int Index) {
  return Key + "\\Files" + (Index ? IntToStr(Index) : std::string());
}

// A flagged list keeps ";" and a flag after each path.
enum class TListKind { lkPaths, lkFlaggedPaths };

// A list as last read whole, with its hive's version then: a list gains a path per installed
// file, and reading it whole for each file would make an installation quadratic.
struct TListMemo {
  uint64_t Version = 0;
  int64_t Entries = 0;
  std::unordered_set<std::string> Paths; // upper case
};

std::map<std::string, TListMemo>& ListMemos() {
  static std::map<std::string, TListMemo> memos;
  return memos;
}

std::string MemoKey(const std::string& ListKey, TListKind Kind) {
  return UpperCase(ListKey) + (Kind == TListKind::lkFlaggedPaths ? "|flagged" : "");
}

// Whether one of the values "File1" ... "File<Entries>" of List, the open key ListKey, holds Path
// (ignoring letter case, as Windows paths compare).
bool ListHolds(const TRegKey& List, const std::string& ListKey, const std::string& Path, TListKind Kind) {
  TListMemo& memo = ListMemos()[MemoKey(ListKey, Kind)];
  uint64_t version = List.HiveVersion();
  if (memo.Version != version) {
    memo = TListMemo();
    memo.Entries = StrToIntDef(List.ReadString("Entries").value_or("0"), 0);
    for (const TRegValue& value : List.Values()) {
      int64_t n = 0;
      if (value.Type != TRegType::rtString || !StartsText("File", value.Name) ||
          !TryStrToInt(value.Name.substr(4), n) || n < 1 || n > memo.Entries)
        continue;
      std::string_view path = value.Data;
      if (Kind == TListKind::lkFlaggedPaths) path = path.substr(0, path.rfind(';'));
      memo.Paths.insert(UpperCase(path));
    }
    // Read in one go, or known to be out of date at once.
    memo.Version = List.HiveVersion() == version ? version : 0;
  }
  return memo.Paths.count(UpperCase(Path)) != 0;
}

// After "File<n>" = Path and "Entries" = n were written to ListKey: the list's memo takes the
// path when those two writes are all that changed the hive since the memo was read.
void ListGained(const std::string& ListKey, const std::string& Path, int64_t N, uint64_t VersionBefore) {
  auto memo = ListMemos().find(MemoKey(ListKey, TListKind::lkPaths));
  if (memo == ListMemos().end()) return;
  std::optional<TRegKey> list = TRegKey::Open(TRootKey::rkLocalMachine, ListKey);
  uint64_t version = list ? list->HiveVersion() : 0;
  if (memo->second.Version != VersionBefore || memo->second.Entries != N - 1 || version != VersionBefore + 2) {
    ListMemos().erase(memo);
    return;
  }
  memo->second.Version = version;
  memo->second.Entries = N;
  memo->second.Paths.insert(UpperCase(Path));
}

bool FilesListsHold(const std::string& Key, const std::string& Path) {
  for (int index = 0; index < kUninstallFileKeys; ++index) {
    // Each list is made only when the one before it could not take a value: the first one
    // missing ends them.
    std::string listKey = FilesKey(Key, index);
    std::optional<TRegKey> list = TRegKey::Open(TRootKey::rkLocalMachine, listKey);
    if (!list) return false;
    if (ListHolds(*list, listKey, Path, TListKind::lkPaths)) return true;
  }
  return false;
}

} // namespace

void AddUninstallFileEntry(const std::string& Key, const std::string& Path) {
  if (FilesListsHold(Key, Path)) return;
  for (int index = 0;; ++index) {
    std::string sub = FilesKey(Key, index);
    int64_t n = 0;
    uint64_t versionBefore = 0;
    try {
      n = StrToInt(RegReadString(kRoot, sub, "Entries", "0")) + 1;
      if (std::optional<TRegKey> list = TRegKey::Open(TRootKey::rkLocalMachine, sub))
        versionBefore = list->HiveVersion();
      RegWriteString(kRoot, sub, "File" + IntToStr(n), Path);
    } catch (const std::exception&) {
      if (index + 1 >= kUninstallFileKeys) throw;
      continue;
    }
    RegWriteString(kRoot, sub, "Entries", IntToStr(n));
    ListGained(sub, Path, n, versionBefore);
    return;
  }
}

void AddUninstallActiveXEntry(const std::string& Key, const std::string& Path, bool Program) {
  std::string sub = Key + "\\ActiveX";
  std::optional<TRegKey> list = TRegKey::Open(TRootKey::rkLocalMachine, sub);
  if (list && ListHolds(*list, sub, Path, TListKind::lkFlaggedPaths)) return;
  int n = StrToIntDef(RegReadString(kRoot, sub, "Entries", "0"), 0) + 1;
  RegWriteString(kRoot, sub, "File" + IntToStr(n), Path + (Program ? ";1" : ";0"));
  RegWriteString(kRoot, sub, "Entries", IntToStr(n));
}

} // namespace qnl
