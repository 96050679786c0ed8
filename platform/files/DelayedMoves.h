// Renames the machine performs at its next start: MoveFileEx(DELAY_UNTIL_REBOOT) and WININIT.INI.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/files/Files.h"

namespace qnl {

// One recorded rename; an empty Dest means "delete Source".
struct TPendingRename {
  std::string Source;
  std::string Dest;
  bool Replace = false; // the destination may be replaced ("!" prefix)
};

// MoveFileEx with MOVEFILE_DELAY_UNTIL_REBOOT: appends the pair to the multi-string
// HKLM\System\CurrentControlSet\Control\Session Manager "PendingFileRenameOperations"
// ("\??\" before each path, "!" before a destination that may be replaced). An empty Dest
// deletes Source at the restart. Like Windows, nothing is checked until the restart. Fails
// (EInOutError, access denied) only when QNL_FAIL_DELAYED_MOVE=1 is set in the environment (the
// test hook for a system that refuses the request).
void MoveFileDelayed(std::string_view Source, std::string_view Dest, TExisting Existing);
// The recorded pairs in order, with "\??\" and "!" taken off.
std::vector<TPendingRename> PendingFileRenames();

// Writes "Dest=Source" into the [Rename] section of C:\windows\WININIT.INI (the Windows 95
// way), as WritePrivateProfileString does: an entry with the same Dest is replaced, except
// "NUL" (Dest "NUL" deletes Source), of which there may be many.
void AddWininitRename(std::string_view Dest, std::string_view Source);
// The [Rename] entries of C:\windows\WININIT.INI in file order (Dest, Source); empty when the
// file or section is missing.
std::vector<TPendingRename> WininitRenames();

} // namespace qnl
