// The directory the loading program unpacks into, and the clean-up of those of earlier runs.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/files/DirectoryLock.h"

namespace qnl {

// The file in a setup directory that says the loading program made it; no member of the
// setup archive may take its name.
constexpr const char* kSetupDirectoryMarker = "QNLLOAD.TXT";

// The machine's temporary directory, where setup directories are made. ELoadProgram when
// there is none.
std::string TempSetupParent();

// A new setup directory of this run: "QNL" and five hexadecimal digits in its parent, with
// the marker inside. While the object lives the directory is claimed by this process, and by
// the installation program and what that starts, so that no other run takes it for a
// leftover; the claim ends with them even when they are killed.
class TTempSetupDirectory {
public:
  // Creates the directory in Parent; a name that exists already is never taken.
  // ELoadProgram when no directory can be made there.
  explicit TTempSetupDirectory(const std::string& Parent);
  const std::string& Path() const { return FPath; }
  // Removes the directory with everything in it; what cannot be removed stays behind.
  void Remove();
  // Leaves the directory to the installation's continuation after a restart, which runs the
  // program in it: the marker goes, so that no later run removes it.
  void KeepForRestart();

private:
  std::string FPath;
  std::unique_ptr<TDirectoryLock> FLock;
};

// Removes the setup directories that earlier runs left in Parent (killed, or ended without
// removing theirs) and that nobody works in any more: a name of the pattern above, the
// marker with the loading program's text, and a claim that can be taken. Anything else in
// Parent stays untouched; a directory that cannot be removed is passed over.
void RemoveAbandonedSetupDirectories(const std::string& Parent);

// Returns once Dir no longer exists, or when Limit has passed; True when it is gone.
bool WaitUntilRemoved(const std::string& Dir, std::chrono::milliseconds Limit);

} // namespace qnl
