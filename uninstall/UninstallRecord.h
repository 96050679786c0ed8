// A product's uninstall entry, read whole and checked before anything is removed.
#pragma once

#include <string>
#include <vector>

#include "uninstall/RecordedPaths.h"

namespace qnl {

// One path the installation recorded.
struct TRecordedFile {
  std::string Path;      // as recorded (a Windows path)
  std::string ValueName; // where it is recorded, "Files\File3", for messages
  TRecordedPlace Place = TRecordedPlace::rpMachine;
  bool ActiveX = false;        // listed under ActiveX: unregistered before it goes
  bool ActiveXProgram = false; // a server program (" /UNREGSERVER") rather than a library
};

// The entry of one product under HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall.
struct TUninstallRecord {
  std::string Key;                  // the entry's full key path
  std::string DisplayName;          // "DisplayName", else the key's name
  std::string Uninstaller;          // the program of "UninstallString"; empty without one
  std::vector<TRecordedFile> Files; // the ActiveX list first, then Files, Files1 ... in order
};

// Reads the entry of Product (the key's name, or a key whose name trimmed equals it, ignoring
// case). ENotInstalled when there is none; EDamagedRecord naming the value when a list has no
// usable "Entries", a "File<n>" within it is missing, or a path is not one the uninstall may
// remove (see PlaceOfRecordedPath; the uninstaller itself must lie on drive C:).
TUninstallRecord ReadUninstallRecord(const std::string& Product);

} // namespace qnl
