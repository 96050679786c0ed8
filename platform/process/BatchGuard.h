// Where the batch interpreter's commands may remove files: a damaged or hostile line removes
// nothing beyond what it names, and never a drive, the Windows folder or the system folder.
#pragma once

#include <string>

namespace qnl {

// What a command is about to remove.
enum class TBatchRemoval {
  brFile,       // ERASE of one named file: never a directory
  brMatches,    // ERASE of the files a wildcard matches, in the directory given
  brTree,       // DELTREE: a directory (or file) below the machine's temporary directory
  brMoveSource, // MOVE's source, which leaves its place
};

// Why Path (a full Windows path) may not be removed as Kind asks; empty when it may. No
// drive root, Windows or system folder, nor a folder holding them, is ever removed or emptied
// by wildcard; DELTREE removes only what lies below the machine's temporary directory, the
// only place the engine makes directories it later removes. Paths are compared as the files
// they reach ("..", letter case, links above the last part and other drives resolved); the
// last part itself is not followed, since removing a link removes the link.
std::string BatchRemovalRefusal(const std::string& Path, TBatchRemoval Kind);

} // namespace qnl
