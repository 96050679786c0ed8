// The program folders that already exist on the machine.
#include "links/ProgramFolders.h"

#include "common/routines_API.h"
#include "links/cmp_TProgramManager.h"
#include "paths/routines_ExpandPaths.h"
#include "platform/files/Files.h"

namespace qnl {

void GetExistingProgramFolders(TStrings& List) {
  int version = GetWindowsVersionClass();
  if (version == wvcWin95 || version == wvcWinNT) {
    std::string programs = GetProgramsDir();
    if (!DirectoryExists(programs)) return;
    for (const TDirEntry& entry : ListDirectory(programs))
      if (entry.Directory) List.Add(entry.Name);
    return;
  }
  // The list only offers names: a Program Manager that does not answer leaves it empty
  // rather than ending the installation.
  try {
    ProgramManager().GetGroups(&List);
  } catch (const EQXPMError&) {}
}

} // namespace qnl
