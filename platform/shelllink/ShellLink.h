// Shortcuts: the shell's link object (IShellLinkA with IPersistFile), as one task each way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "rtl/Exceptions.h"

namespace qnl {

// A COM call failed. ErrorCode is its HRESULT; the message is the platform's text for it.
class EOleSysError : public Exception {
public:
  EOleSysError(const std::string& Message, int32_t ErrorCode) : Exception(Message), FErrorCode(ErrorCode) {}
  int32_t ErrorCode() const { return FErrorCode; }

private:
  int32_t FErrorCode;
};

// HRESULTs a shell link call reports, besides HRESULT_FROM_WIN32 of a file error.
constexpr int32_t E_UNEXPECTED = static_cast<int32_t>(0x8000FFFF);
constexpr int32_t E_FAIL = static_cast<int32_t>(0x80004005);
constexpr int32_t CLASS_E_NOAGGREGATION = static_cast<int32_t>(0x80040110);
constexpr int32_t REGDB_E_CLASSNOTREG = static_cast<int32_t>(0x80040154);
constexpr int32_t E_OUTOFMEMORY = static_cast<int32_t>(0x8007000E);
constexpr int32_t E_INVALIDARG = static_cast<int32_t>(0x80070057);

// What a shortcut holds. Paths are Windows paths; all texts are in the machine's code page.
struct TShellLink {
  std::string Target;
  std::string Arguments;
  std::string WorkingDirectory;
  // Low byte the virtual key, high byte the modifiers (1 Shift, 2 Ctrl, 4 Alt); 0 for none.
  uint16_t HotKey = 0;
  std::string IconLocation;
  int32_t IconIndex = 0;
  int32_t ShowCommand = 1; // SW_SHOWNORMAL
};

// IShellLinkA's setters followed by IPersistFile::Save(LinkPath, remember): writes the shell
// link file LinkPath in the [MS-SHLLINK] format, which Windows Explorer and liblnk read: the
// target as an item list from My Computer and as a local path on its drive (with the drive's
// type), the target's attributes, times and size when it exists, its path relative to the
// link, and the arguments, working directory, icon and hot key. A relative Target is taken
// from the current directory, as SetPath does. The file is written whole or not at all, and the
// directory must exist. Failures raise EOleSysError: E_INVALIDARG for an empty Target, a text
// too long for the format, or a LinkPath that does not fit Save's 260-character buffer (Windows
// would save under the cut name); HRESULT_FROM_WIN32 of the file system's error otherwise
// (0x80070070 disk full, 0x80070003 path not found, 0x80070005 access denied ...). With
// QNL_FAIL_SHELL_LINK=<HRESULT in hexadecimal> in the environment every save fails with that
// code (the test hook for a shell whose link object fails).
void SaveShellLink(const std::string& LinkPath, const TShellLink& Link);

// IPersistFile::Load and the getters: the shortcut in LinkPath, or nullopt when the file is
// missing or is no shell link. The target is the link's local path, else its relative path
// taken from the link's directory.
std::optional<TShellLink> LoadShellLink(const std::string& LinkPath);

} // namespace qnl
