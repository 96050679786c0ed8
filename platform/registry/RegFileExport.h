// Export of a registry key tree as a .reg file that regedit (Windows and Wine) imports.
#pragma once

#include <string>

#include "platform/registry/Registry.h"

namespace qnl {

enum class TRegFileFormat {
  rfVersion5, // "Windows Registry Editor Version 5.00": UTF-16LE with a BOM, CRLF lines
  rfRegedit4, // "REGEDIT4": ANSI text, CRLF lines
};

// The bytes of a .reg file holding `key`, its values and all its subkeys, depth first.
std::string ExportRegFile(const TRegKey& Key, TRegFileFormat Format);

} // namespace qnl
