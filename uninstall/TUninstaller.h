// The removal of one installed product, step by step, from its uninstall entry.
#pragma once

#include <string>
#include <vector>

#include "uninstall/EmptyFolders.h"
#include "uninstall/SharedCounts.h"
#include "uninstall/UninstallRecord.h"

namespace qnl {

// What the uninstall asks while it works; the program answers (a person, a command, defaults).
class IUninstallQuestions {
public:
  virtual ~IUninstallQuestions() = default;
  // No other installation uses the shared file Path any more: whether it goes too.
  virtual bool RemoveSharedFile(const std::string& Path) = 0;
};

// What an uninstall did, for the person and the exit status.
struct TUninstallOutcome {
  std::vector<std::string> Removed;   // files and folders
  std::vector<std::string> Kept;      // "<path> (<why>)"
  std::vector<std::string> AtRestart; // files in use: deleted at the machine's next start
  std::vector<std::string> Warnings;  // what could not be undone (an unregistration that failed)
};

// Removes what the record names and nothing else, in an order that a rerun after a killed run
// completes: every file (a shared file only when its count reaches 0 and the questions agree;
// an ActiveX server unregistered first; a help file's registration with it; a file in use at
// the next restart), the uninstaller itself, the folders left empty, then the entry itself.
// Removing a file twice is harmless and counts go down once (TSharedCounts), so the entry,
// deleted last, is what makes a second run find nothing.
class TUninstaller {
public:
  TUninstaller(TUninstallRecord Record, IUninstallQuestions& Questions);

  TUninstallOutcome Run();

private:
  void RemoveRecorded(const TRecordedFile& File);
  void RemoveFile(const std::string& Path, TRecordedPlace Place);
  void ForgetHelpFile(const std::string& Path);
  void Kept(const std::string& Path, const std::string& Why);

  TUninstallRecord FRecord;
  IUninstallQuestions& FQuestions;
  TSharedCounts FCounts;
  TEmptyFolders FFolders;
  TUninstallOutcome FOutcome;
};

} // namespace qnl
