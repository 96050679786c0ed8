// The program folders that already exist on the machine, offered to the user to add the
// product's shortcuts to.
#pragma once

namespace qnl {

class TStrings;

// Adds to List the folders of the Programs menu: the subdirectories of the programs folder
// where the shell keeps the menu as folders (Windows 95 family, NT 4 and later), otherwise
// Program Manager's groups. Nothing when Program Manager cannot be reached.
void GetExistingProgramFolders(TStrings& List);

} // namespace qnl
