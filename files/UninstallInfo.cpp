// The install file's entry in the product's uninstall key: one installed path per file, however
// often the product is installed again.
#include "common/routines_Strings.h"
#include "engine/TCustomInstallFile.h"
#include "platform/registry/Registry.h"
#include "settings/routines_Registry.h"

namespace qnl {

namespace {

constexpr int kRoot = static_cast<int>(TRootKey::LocalMachine);
// A "Files" key that cannot take another value (full, or not a key one can write) is followed
// by Files1, Files2 ...; after kUninstallFileKeys of them the last error stands.
constexpr int kUninstallFileKeys = 16;

std::string FilesKey(const std::string& Key, int Index) {
  return Key + "\\Files" + (Index ? IntToStr(Index) : std::string());
}

// Whether one of the values "File1" ... "File<Entries>" of List holds Path (ignoring letter case,
// as Windows paths compare); a flagged list keeps ";" and a flag after each path.
enum class TListKind { lkPaths, lkFlaggedPaths };
bool ListHolds(const TRegKey& List, const std::string& Path, TListKind Kind) {
  int64_t entries = StrToIntDef(List.ReadString("Entries").value_or("0"), 0);
  // One read of the whole key: a product may list thousands of files.
  for (const TRegValue& value : List.Values()) {
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

bool ActiveXListHolds(const std::string& Key, const std::string& Path) {
  std::optional<TRegKey> list = TRegKey::Open(TRootKey::LocalMachine, Key + "\\ActiveX");
  return list && ListHolds(*list, Path, TListKind::lkFlaggedPaths);
}

bool FilesListsHold(const std::string& Key, const std::string& Path) {
  for (int index = 0; index < kUninstallFileKeys; ++index) {
    // Each list is made only when the one before it could not take a value: the first one
    // missing ends them.
    std::optional<TRegKey> list = TRegKey::Open(TRootKey::LocalMachine, FilesKey(Key, index));
    if (!list) return false;
    if (ListHolds(*list, Path, TListKind::lkPaths)) return true;
  }
  return false;
}

} // namespace

void TCustomInstallFile::WriteUninstallInfo(const std::string& Key) {
  std::string dest = InstalledPath();
  if (FActiveX) {
    if (ActiveXListHolds(Key, dest)) return;
    std::string sub = Key + "\\ActiveX";
    int n = StrToIntDef(RegReadString(kRoot, sub, "Entries", "0"), 0) + 1;
    std::string flag = UpperCase(ExtractFileExt(FFileName)) == ".EXE" ? "1" : "0";
    RegWriteString(kRoot, sub, "File" + IntToStr(n), dest + ";" + flag);
    RegWriteString(kRoot, sub, "Entries", IntToStr(n));
    return;
  }
  if (FilesListsHold(Key, dest)) return;
  for (int index = 0;; ++index) {
    std::string sub = FilesKey(Key, index);
    int64_t n = 0;
    try {
      n = StrToInt(RegReadString(kRoot, sub, "Entries", "0")) + 1;
      RegWriteString(kRoot, sub, "File" + IntToStr(n), dest);
    } catch (const std::exception&) {
      if (index + 1 >= kUninstallFileKeys) throw;
      continue;
    }
    RegWriteString(kRoot, sub, "Entries", IntToStr(n));
    return;
  }
}

} // namespace qnl
