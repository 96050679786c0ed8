// Which recorded paths an uninstall may remove.
#pragma once

#include <optional>
#include <string>

namespace qnl {

// Where a recorded path lies.
enum class TRecordedPlace {
  rpMachine,    // a file on drive C: of the machine
  rpDesktopMenu // a desktop menu entry, folder file or icon that a shortcut made (any drive)
};

// The place of a path an installation recorded, or nullopt when it is neither: not a full
// Windows path, a "." or ".." step, an empty step, or outside both places.
std::optional<TRecordedPlace> PlaceOfRecordedPath(const std::string& Path);

} // namespace qnl
