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

constexpr int kUninstallFileKeys = 16;

std::string FilesKey(int Index) { return "Files" + (Index ? IntToStr(Index) : std::string()); }

// A flagged list keeps ";" and a flag after each path.
enum class TListKind { lkPaths, lkFlaggedPaths };

// A list as last read whole, with its hive's version then: a list gains a path per installed
// file, and reading it whole for each file would make an installation quadratic.
struct TListMemo {
  uint64_t Version = 0;
  std::unordered_set<std::string> Paths; // upper case
};

std::map<std::string, TListMemo>& ListMemos() {
  static std::map<std::string, TListMemo> memos;
  return memos;
}

TListMemo& MemoOf(const std::string& Key, const std::string& List, TListKind Kind) {
  return ListMemos()[UpperCase(Key + "\\" + List) + (Kind == TListKind::lkFlaggedPaths ? "|flagged" : "")];
}

// The "Entries" of a list as a number; "0" when missing or not a string, nullopt when it is no
// number (such a list cannot take another value).
std::optional<int64_t> EntriesOf(const TRegEdit& Edit, const std::string& List) {
  int64_t n = 0;
  if (!TryStrToInt(Edit.ReadString(List, "Entries").value_or("0"), n)) return std::nullopt;
  return n;
}

// Whether one of the values "File1" ... "File<Entries>" of List holds Path (ignoring letter
// case, as Windows paths compare).
bool ListHolds(const TRegEdit& Edit, TListMemo& Memo, const std::string& List, const std::string& Path,
               TListKind Kind) {
  if (Memo.Version != Edit.HiveVersion()) {
    Memo = TListMemo();
    int64_t entries = EntriesOf(Edit, List).value_or(0);
    for (const TRegValue& value : Edit.Values(List)) {
      int64_t n = 0;
      if (value.Type != TRegType::rtString || !StartsText("File", value.Name) ||
          !TryStrToInt(value.Name.substr(4), n) || n < 1 || n > entries)
        continue;
      std::string_view path = value.Data;
      if (Kind == TListKind::lkFlaggedPaths) path = path.substr(0, path.rfind(';'));
      Memo.Paths.insert(UpperCase(path));
    }
    Memo.Version = Edit.HiveVersion();
  }
  return Memo.Paths.count(UpperCase(Path)) != 0;
}

// Appends Text as "File<n>" and n as "Entries" of List; false when its "Entries" is no number,
// EIRCannotWriteValue when a write fails. The memo, read before, stays true: nothing else
// changed the hive since.
bool Append(TRegEdit& Edit, TListMemo& Memo, const std::string& Key, const std::string& List, const std::string& Path,
            const std::string& Text) {
  std::optional<int64_t> entries = EntriesOf(Edit, List);
  if (!entries) return false;
  bool wasTrue = Memo.Version == Edit.HiveVersion();
  std::string n = IntToStr(*entries + 1);
  for (const auto& [name, value] : {std::pair{"File" + n, Text}, std::pair{std::string("Entries"), n}}) {
    try {
      Edit.WriteString(List, name, value);
    } catch (const std::exception&) {
      Memo.Version = 0;
      throw EIRCannotWriteValue(
          Format("Cannot install into registry. Key: %s Ident: %s Value %s", {Key + "\\" + List, name, value}));
    }
  }
  if (!wasTrue) return true;
  Memo.Paths.insert(UpperCase(Path));
  Memo.Version = Edit.HiveVersion();
  return true;
}

} // namespace

void AddUninstallFileEntry(const std::string& Key, const std::string& Path) {
  // One step of the hive for the check and the writes: this runs for every installed file.
  TRegKey::Edit(TRootKey::rkLocalMachine, Key, [&](TRegEdit& Edit) {
    // Each list is made only when the one before it could not take a value: the first one
    // missing ends them.
    for (int index = 0; index < kUninstallFileKeys && Edit.KeyExists(FilesKey(index)); ++index)
      if (ListHolds(Edit, MemoOf(Key, FilesKey(index), TListKind::lkPaths), FilesKey(index), Path, TListKind::lkPaths))
        return;
    for (int index = 0; index < kUninstallFileKeys; ++index) {
      std::string list = FilesKey(index);
      try {
        if (Append(Edit, MemoOf(Key, list, TListKind::lkPaths), Key, list, Path, Path)) return;
      } catch (const EIRCannotWriteValue&) {
        if (index + 1 >= kUninstallFileKeys) throw;
      }
    }
    throw EIRCannotWriteValue(Format("Cannot install into registry. Key: %s Ident: %s Value %s",
                                     {Key + "\\" + FilesKey(kUninstallFileKeys - 1), "Entries", Path}));
  });
}

void AddUninstallActiveXEntry(const std::string& Key, const std::string& Path, bool Program) {
  TRegKey::Edit(TRootKey::rkLocalMachine, Key, [&](TRegEdit& Edit) {
    TListMemo& memo = MemoOf(Key, "ActiveX", TListKind::lkFlaggedPaths);
    if (ListHolds(Edit, memo, "ActiveX", Path, TListKind::lkFlaggedPaths)) return;
    if (!Append(Edit, memo, Key, "ActiveX", Path, Path + (Program ? ";1" : ";0"))) {
      // As before: a list whose count is no number starts again at 1.
      Edit.WriteString("ActiveX", "File1", Path + (Program ? ";1" : ";0"));
      Edit.WriteString("ActiveX", "Entries", "1");
      memo.Version = 0;
    }
  });
}

} // namespace qnl
