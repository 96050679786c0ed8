// The keys of HKEY_LOCAL_MACHINE an installation writes for the system, and its uninstall reads.
#pragma once

namespace qnl {

// One integer value per shared file, named by its path: the installations that use it.
inline constexpr const char* kSharedDLLsKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
// One string value per help file, named by its file name in upper case: its directory.
inline constexpr const char* kHelpFilesKey = "\\SOFTWARE\\Microsoft\\Windows\\Help";
// The system's list of installed programs: one subkey per product, named by the product.
inline constexpr const char* kUninstallKeyPrefix = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
// The install records of setup programs.
inline constexpr const char* kInstallRecordsKey = "\\SOFTWARE\\Quenloft\\Install";

} // namespace qnl
