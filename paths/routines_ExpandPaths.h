// Shell-folder and system-directory lookups, and the expansion of meta variables in texts.
#pragma once

#include <string>

#include "common/exceptions_Quenloft.h"
#include "common/routines_API.h"
#include "paths/IInstallContainer.h"

namespace qnl {

QNL_IEXCEPTION(EQXCannotExpandContainerDirMV, IException);
QNL_IEXCEPTION(EQXCannotExpandInstallDirMV, IException);

// Each lookup reads its registry value, falling back to its default when the key or the
// value is missing or unreadable, and returns it without a trailing backslash.
std::string GetStartMenuDir();
std::string GetProgramsDir();
std::string GetDesktopDir();
std::string GetStartupDir();
std::string GetProgramFilesDir();
std::string GetCommonFilesDir();
// The first ";"-separated field of the BDE "DLLPath", used as read.
std::string GetBDEDir();
// The Windows and system directories are GetWindowsDir and GetSystemDir of routines_API.

// While one lives (an installation's pass holds one), each of the lookups above reads the
// registry once and is then answered from memory: every destination path of every file asks
// for these folders, and an installation takes them as they were when it began.
class TFolderLookupsOnce {
public:
  TFolderLookupsOnce();
  ~TFolderLookupsOnce();
  TFolderLookupsOnce(const TFolderLookupsOnce&) = delete;
  TFolderLookupsOnce& operator=(const TFolderLookupsOnce&) = delete;
};

// Replaces %a %b %c %d %f %i %m %p %s %w (either case) in Text; "%%" gives "%", any other
// "%x" and a "%" at the end are dropped. Component is the installation object whose text it
// is (for %a and %c), or nullptr.
std::string ExpandMetaVariables(const std::string& Text, IInstallContainer* Component);

} // namespace qnl
