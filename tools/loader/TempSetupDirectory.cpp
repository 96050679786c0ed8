// The loading program's setup directories: made, claimed, marked, removed.
#include "tools/loader/TempSetupDirectory.h"

#include <cctype>
#include <random>
#include <thread>

#include "common/routines_API.h"
#include "common/routines_Strings.h"
#include "platform/files/FileCreation.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "rtl/SysUtils.h"
#include "tools/loader/LoadProgramErrors.h"

namespace qnl {

namespace {

constexpr int kNameAttempts = 200;
constexpr auto kPollInterval = std::chrono::milliseconds(50);
constexpr const char* kNamePrefix = "QNL";
constexpr int kNameDigits = 5;
constexpr std::string_view kMarkerText =
    "QuenloftLoadProgram.exe unpacked an installation program here. A later run removes this directory once no "
    "program uses it.\r\n";

std::string HexDigits(uint32_t Value, int Count) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text(Count, '0');
  for (int i = Count - 1; i >= 0; --i, Value >>= 4) text[i] = digits[Value & 0xF];
  return text;
}

bool IsSetupDirectoryName(const std::string& Name) {
  if (Name.size() != 3 + kNameDigits || Name.compare(0, 3, kNamePrefix) != 0) return false;
  for (size_t i = 3; i < Name.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(Name[i])) && (Name[i] < 'A' || Name[i] > 'F')) return false;
  return true;
}

std::string MarkerOf(const std::string& Dir) { return AddBackSlash(Dir) + kSetupDirectoryMarker; }

bool HasOwnMarker(const std::string& Dir) {
  try {
    TFileStream marker(MarkerOf(Dir), fmOpenRead | fmShareDenyNone);
    return marker.Size() == int64_t(kMarkerText.size()) && marker.ReadString(kMarkerText.size()) == kMarkerText;
  } catch (const Exception&) {
    return false;
  }
}

// Removes Dir when it is an abandoned setup directory. The marker is read again under the
// claim: a run that left its directory to a restart took the marker away before letting go.
void RemoveIfAbandoned(const std::string& Dir) {
  if (!HasOwnMarker(Dir)) return;
  std::unique_ptr<TDirectoryLock> claim = TDirectoryLock::TryLock(Dir, TLockInheritance::liThisProcess);
  if (claim && HasOwnMarker(Dir)) DeleteTree(Dir);
}

} // namespace

std::string TempSetupParent() {
  try {
    return GetTempDir();
  } catch (const Exception& e) {
    throw ELoadProgram(Format("there is no temporary directory to unpack into: %s", {e.Message()}));
  }
}

TTempSetupDirectory::TTempSetupDirectory(const std::string& Parent) {
  // Random names: several loading programs may start at the same moment.
  std::random_device device;
  std::mt19937 generator(device());
  std::uniform_int_distribution<uint32_t> number(0, 0xFFFFF);
  try {
    for (int attempt = 0; attempt < kNameAttempts && FPath.empty(); ++attempt) {
      std::string dir = AddBackSlash(Parent) + kNamePrefix + HexDigits(number(generator), kNameDigits);
      if (CreateNewDirectory(dir)) FPath = dir;
    }
    if (FPath.empty()) throw ELoadProgram(Format("cannot find a free name for a temporary directory in %s", {Parent}));
    // Claimed before it is marked: a marked directory that can be claimed is a leftover.
    FLock = TDirectoryLock::TryLock(FPath, TLockInheritance::liStartedPrograms);
    if (!FLock) throw ELoadProgram(Format("another program holds the new directory %s", {FPath}));
    TFileStream marker(MarkerOf(FPath), fmCreate);
    marker.WriteBuffer(kMarkerText.data(), int64_t(kMarkerText.size()));
  } catch (const ELoadProgram&) {
    Remove();
    throw;
  } catch (const Exception& e) {
    Remove();
    throw ELoadProgram(Format("cannot create a temporary directory in %s: %s", {Parent, e.Message()}));
  }
}

void TTempSetupDirectory::Remove() {
  if (FPath.empty()) return;
  try {
    DeleteTree(FPath);
  } catch (const Exception&) {
    // What cannot be removed stays in the temporary directory; a later run tries again.
  }
}

void TTempSetupDirectory::KeepForRestart() {
  try {
    DeleteFile(MarkerOf(FPath));
  } catch (const Exception&) {
    // The installation has ended and passed its status; a marker that stays only risks the
    // directory being taken for a leftover later.
  }
}

void RemoveAbandonedSetupDirectories(const std::string& Parent) {
  std::vector<TDirEntry> entries;
  try {
    entries = ListDirectory(Parent, "QNL*");
  } catch (const Exception&) {
    return; // no temporary directory: creating ours reports it
  }
  for (const TDirEntry& entry : entries) {
    if (!entry.Directory || !IsSetupDirectoryName(entry.Name)) continue;
    try {
      RemoveIfAbandoned(AddBackSlash(Parent) + entry.Name);
    } catch (const Exception&) {
      // A directory we may not open, or one whose files are in use, stays for now.
    }
  }
}

bool WaitUntilRemoved(const std::string& Dir, std::chrono::milliseconds Limit) {
  auto deadline = std::chrono::steady_clock::now() + Limit;
  while (DirectoryExists(Dir)) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
  return true;
}

} // namespace qnl
