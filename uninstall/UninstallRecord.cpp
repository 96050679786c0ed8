// A product's uninstall entry, read whole and checked before anything is removed.
#include "uninstall/UninstallRecord.h"

#include "engine/SystemRegistryKeys.h"
#include "platform/registry/Registry.h"
#include "rtl/SysUtils.h"
#include "uninstall/UninstallErrors.h"

namespace qnl {

namespace {

// The installation writes Files, then Files1 ... when a list is full (see AddUninstallFileEntry).
constexpr int kFileLists = 16;

std::string FilesListName(int Index) { return "Files" + (Index ? IntToStr(Index) : std::string()); }

[[noreturn]] void Damaged(const std::string& Key, const std::string& Value, const std::string& Problem) {
  throw EDamagedRecord("The uninstall entry " + Key + " is damaged: " + Value + " " + Problem +
                       "; nothing was removed");
}

std::string FindProductKey(const std::string& Product) {
  std::string key = kUninstallKeyPrefix + Product;
  if (TRegKey::Exists(TRootKey::rkLocalMachine, key)) return key;
  // The command line loses the spaces around a name; the key keeps them.
  if (std::optional<TRegKey> list = TRegKey::Open(TRootKey::rkLocalMachine, kUninstallKeyPrefix))
    for (const std::string& name : list->SubKeyNames())
      if (SameText(Trim(name), Trim(Product))) return kUninstallKeyPrefix + name;
  throw ENotInstalled(Trim(Product) + " is not installed on this machine (it has no entry under HKLM" +
                      kUninstallKeyPrefix + ")");
}

// Reads the list List of the entry: "Entries" and File1 ... File<Entries>.
void ReadList(const TRegKey& Entry, const std::string& List, bool ActiveX, std::vector<TRecordedFile>& Files) {
  std::optional<TRegKey> key = Entry.OpenSubKey(List);
  if (!key) return;
  std::string keyName = Entry.FullName();
  std::optional<std::string> entries = key->ReadString("Entries");
  int64_t count = 0;
  if (!entries) Damaged(keyName, List + "\\Entries", "is missing");
  if (!TryStrToInt(Trim(*entries), count) || count < 0 || count > 1000000)
    Damaged(keyName, List + "\\Entries", "= \"" + *entries + "\" is not a number of entries");
  for (int64_t n = 1; n <= count; ++n) {
    TRecordedFile file;
    file.ValueName = List + "\\File" + IntToStr(n);
    std::optional<std::string> value = key->ReadString("File" + IntToStr(n));
    if (!value) Damaged(keyName, file.ValueName, "is missing");
    file.Path = *value;
    if (ActiveX) {
      size_t semicolon = value->rfind(';');
      std::string flag = semicolon == std::string::npos ? "" : value->substr(semicolon + 1);
      if (flag != "0" && flag != "1")
        Damaged(keyName, file.ValueName, "= \"" + *value + "\" does not end in \";0\" or \";1\"");
      file.Path = value->substr(0, semicolon);
      file.ActiveX = true;
      file.ActiveXProgram = flag == "1";
    }
    std::optional<TRecordedPlace> place = PlaceOfRecordedPath(file.Path);
    if (!place || (ActiveX && *place != TRecordedPlace::rpMachine))
      Damaged(keyName, file.ValueName, "= \"" + *value + "\" is not a file on drive C: of this machine");
    file.Place = *place;
    Files.push_back(std::move(file));
  }
}

} // namespace

TUninstallRecord ReadUninstallRecord(const std::string& Product) {
  TUninstallRecord record;
  record.Key = FindProductKey(Product);
  std::optional<TRegKey> entry = TRegKey::Open(TRootKey::rkLocalMachine, record.Key);
  if (!entry) throw ENotInstalled(Trim(Product) + " is not installed on this machine");
  std::string keyName = entry->FullName();
  std::string product = Trim(record.Key.substr(std::string(kUninstallKeyPrefix).size()));
  record.DisplayName = entry->ReadString("DisplayName").value_or(product);
  if (std::optional<std::string> command = entry->ReadString("UninstallString")) {
    // "<path> <product>", unquoted: the path is what comes before the product's name.
    std::string suffix = " " + product;
    std::string path = command->size() > suffix.size() && EndsText(suffix, *command)
                           ? command->substr(0, command->size() - suffix.size())
                           : std::string();
    if (PlaceOfRecordedPath(path) != TRecordedPlace::rpMachine)
      Damaged(keyName, "UninstallString", "= \"" + *command + "\" does not name a program on drive C: and the product");
    record.Uninstaller = path;
  }
  ReadList(*entry, "ActiveX", true, record.Files);
  for (int index = 0; index < kFileLists; ++index) ReadList(*entry, FilesListName(index), false, record.Files);
  return record;
}

} // namespace qnl
