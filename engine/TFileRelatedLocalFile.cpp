// Where a file-related component's downloaded archive is kept: the install record's "LocalFile".
#include "common/routines_Strings.h"
#include "engine/InstallSession.h"
#include "engine/TFileRelated.h"
#include "platform/files/Files.h"
#include "settings/routines_Registry.h"

namespace qnl {

namespace {

const int kLocalMachine = static_cast<int>(TRootKey::rkLocalMachine);

std::string LocalFileKey(const std::string& ComponentName) {
  return AddBackSlash(InstallSession().InstallRecordKey) + ComponentName;
}

} // namespace

std::optional<std::string> TFileRelated::LookupLocalFile() const {
  if (Trim(Name()).empty()) return std::nullopt;
  std::string path = RegReadString(kLocalMachine, LocalFileKey(Name()), "LocalFile", "");
  if (Trim(path).empty() || !FileExists(path)) return std::nullopt;
  return path;
}

void TFileRelated::StoreLocalFile(const std::string& Path) {
  if (Trim(Name()).empty() || Trim(Path).empty()) return;
  try {
    RegWriteString(kLocalMachine, LocalFileKey(Name()), "LocalFile", Path);
  } catch (const EIRCannotWriteValue&) {
    // The path is only a shortcut for a continued installation; it can be fetched again.
  }
}

bool TFileRelated::HasLocalArchive() {
  if (!Trim(LocalArchive()).empty()) return true;
  return LookupLocalFile().has_value();
}

} // namespace qnl
