// The folders an uninstall empties.
#include "uninstall/EmptyFolders.h"

#include <algorithm>
#include <map>

#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/registry/Registry.h"
#include "platform/system/SystemInfo.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";

std::string ParentOf(const std::string& Path) {
  size_t slash = Path.rfind('\\');
  return slash == std::string::npos || slash < 3 ? std::string() : Path.substr(0, slash);
}

void AddStringValues(TRootKey Root, const char* Key, std::vector<std::string>& Folders) {
  if (std::optional<TRegKey> key = TRegKey::Open(Root, Key))
    for (const TRegValue& value : key->Values())
      if (IsStringType(value.Type) && value.Data.size() > 2 && value.Data[1] == ':') Folders.push_back(value.Data);
}

} // namespace

TEmptyFolders::TEmptyFolders() {
  std::vector<std::string> folders = {WindowsDirectory(), SystemDirectory(), TempDirectory()};
  AddStringValues(TRootKey::rkCurrentUser, kShellFolders, folders);
  AddStringValues(TRootKey::rkLocalMachine, kShellFolders, folders);
  for (const char* name : {"ProgramFilesDir", "CommonFilesDir"})
    if (std::optional<std::string> dir = TRegKey::ReadStringAt(TRootKey::rkLocalMachine, kCurrentVersion, name))
      folders.push_back(*dir);
  for (std::string folder : folders) {
    folder = UpperCase(NormalizeWindowsPath(folder));
    while (!folder.empty()) {
      if (!folder.empty() && folder.back() == '\\') folder.pop_back();
      FStandard.insert(folder);
      folder = ParentOf(folder);
    }
  }
}

void TEmptyFolders::Note(const std::string& RemovedFile, TRecordedPlace Place) {
  std::string folder = ParentOf(NormalizeWindowsPath(RemovedFile));
  if (!folder.empty()) FNoted.emplace_back(folder, Place);
}

bool TEmptyFolders::MayRemove(const std::string& Folder, TRecordedPlace Place) const {
  if (Folder.size() <= 3) return false;
  if (Place == TRecordedPlace::rpMachine) return FStandard.count(UpperCase(Folder)) == 0;
  try {
    std::string unixPath = UnixPathOf(Folder);
    size_t at = unixPath.find("/applications/quenloft/");
    return at != std::string::npos && at + std::string("/applications/quenloft/").size() < unixPath.size();
  } catch (const Exception&) {
    return false;
  }
}

void TEmptyFolders::RemoveEmpty(std::vector<std::string>& Removed, std::vector<std::string>& Kept) {
  // Deepest first, so that a parent is looked at once its children are gone.
  std::map<std::string, std::pair<std::string, TRecordedPlace>, std::greater<>> work;
  auto add = [&](const std::string& Folder, TRecordedPlace Place) {
    std::string key = UpperCase(Folder);
    // Sorted by depth, then by name: a deeper folder comes first.
    std::string depth = IntToStr(1000 + static_cast<int64_t>(std::count(key.begin(), key.end(), '\\')));
    work.emplace(depth + key, std::pair{Folder, Place});
  };
  for (const auto& [folder, place] : FNoted) add(folder, place);
  std::set<std::string> kept;
  while (!work.empty()) {
    auto [folder, place] = work.begin()->second;
    work.erase(work.begin());
    if (!MayRemove(folder, place) || !DirectoryExists(folder)) continue;
    if (!ListDirectory(folder).empty()) {
      if (kept.insert(UpperCase(folder)).second) Kept.push_back(folder);
      continue;
    }
    try {
      RemoveDir(folder);
    } catch (const Exception&) {
      continue;
    }
    Removed.push_back(folder);
    add(ParentOf(folder), place);
  }
}

} // namespace qnl
