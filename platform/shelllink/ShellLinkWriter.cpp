// Saving a shell link: the header, the target's item list and LinkInfo, the string data.
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/OSError.h"
#include "platform/files/WholeFile.h"
#include "platform/files/WinPaths.h"
#include "platform/registry/AnsiText.h"
#include "platform/shelllink/ShellLink.h"
#include "platform/shelllink/ShellLinkFormat.h"
#include "platform/system/CodePage.h"
#include "platform/system/Environment.h"
#include "rtl/SysUtils.h"

namespace qnl {

using namespace shelllink;

namespace {

// IPersistFile::Save takes the file name in a buffer of MAX_PATH characters.
constexpr size_t kMaxPath = 260;

// HRESULT_FROM_WIN32 of the Windows error that stands for a file system's errno.
int32_t HResultOfFileError(int Error) {
  uint32_t win32 = 0;
  switch (Error) {
    case ENOENT:
    case ENOTDIR: win32 = 3; break; // ERROR_PATH_NOT_FOUND
    case EACCES:
    case EPERM:
    case EISDIR: win32 = 5; break; // ERROR_ACCESS_DENIED
    case ENOMEM: return E_OUTOFMEMORY;
    case EROFS: win32 = 19; break; // ERROR_WRITE_PROTECT
    case EWOULDBLOCK:
    case ETXTBSY: win32 = 32; break; // ERROR_SHARING_VIOLATION
    case ENOSPC:
    case EDQUOT:
    case EFBIG: win32 = 112; break;        // ERROR_DISK_FULL
    case ENAMETOOLONG: win32 = 206; break; // ERROR_FILENAME_EXCED_RANGE
    default: return E_FAIL;
  }
  return static_cast<int32_t>(0x80070000u | win32);
}

std::u16string Wide(std::string_view AnsiText) { return Utf8ToWide(AnsiToUtf8(AnsiText)); }

bool IsOnDrive(const std::string& Path) {
  return Path.size() >= 3 && std::isalpha(static_cast<unsigned char>(Path[0])) && Path[1] == ':' && Path[2] == '\\';
}

// A path as SetPath and Save keep it: one from the current directory made absolute.
std::string FullPath(const std::string& Path) {
  std::string path = NormalizeWindowsPath(Path);
  bool unc = path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
  if (IsOnDrive(path) || unc) return path;
  std::string current = GetCurrentDir();
  if (!path.empty() && path[0] == '\\') return NormalizeWindowsPath(current.substr(0, 2) + path);
  return NormalizeWindowsPath(current + "\\" + path);
}

// Target relative to the directory LinkDir ("..\Tools\app.exe", ".\app.exe"); empty when they
// lie on different drives.
std::string RelativePath(const std::string& LinkDir, const std::string& Target) {
  if (!IsOnDrive(LinkDir + "\\") || !SameText(LinkDir.substr(0, 2), Target.substr(0, 2))) return "";
  auto split = [](const std::string& Path) {
    std::vector<std::string> parts;
    size_t start = 3;
    while (start < Path.size()) {
      size_t end = Path.find('\\', start);
      if (end == std::string::npos) end = Path.size();
      if (end > start) parts.push_back(Path.substr(start, end - start));
      start = end + 1;
    }
    return parts;
  };
  std::vector<std::string> from = split(LinkDir), to = split(Target);
  size_t common = 0;
  while (common < from.size() && common + 1 < to.size() && SameText(from[common], to[common])) ++common;
  std::string relative = common == from.size() ? ".\\" : "";
  for (size_t i = common; i < from.size(); ++i) relative += "..\\";
  for (size_t i = common; i < to.size(); ++i) relative += (i > common ? "\\" : "") + to[i];
  return relative;
}

void AddStringData(TByteWriter& Out, const std::string& Text, const char* What) {
  std::u16string wide = Wide(Text);
  if (wide.size() > 0xFFFF) throw EOleSysError(std::string("The shortcut's ") + What + " is too long", E_INVALIDARG);
  Out.U16(static_cast<uint16_t>(wide.size()));
  for (char16_t c : wide) Out.U16(c);
}

std::string LinkBytes(const std::string& LinkPath, const TShellLink& Link) {
  std::string target = FullPath(Link.Target);
  bool onDrive = IsOnDrive(target);
  std::string link = FullPath(LinkPath);
  std::string relative = onDrive ? RelativePath(link.substr(0, link.rfind('\\')), target) : target;
  uint32_t flags = IsUnicode;
  if (onDrive) flags |= HasLinkTargetIDList | HasLinkInfo;
  if (!relative.empty()) flags |= HasRelativePath;
  if (!Link.WorkingDirectory.empty()) flags |= HasWorkingDir;
  if (!Link.Arguments.empty()) flags |= HasArguments;
  if (!Link.IconLocation.empty()) flags |= HasIconLocation;
  TTargetFacts facts = onDrive ? InspectTarget(target) : TTargetFacts{};

  TByteWriter out;
  out.U32(kHeaderSize);
  out.Bytes(kLinkClsid);
  out.U32(flags);
  out.U32(facts.Attributes);
  out.U64(facts.CreationTime);
  out.U64(facts.AccessTime);
  out.U64(facts.WriteTime);
  out.U32(facts.Size);
  out.U32(static_cast<uint32_t>(Link.IconIndex));
  out.U32(static_cast<uint32_t>(Link.ShowCommand));
  out.U16(Link.HotKey);
  out.U16(0);
  out.U32(0);
  out.U32(0);
  if (onDrive) {
    out.Bytes(TargetIDList(target));
    out.Bytes(TargetLinkInfo(target));
  }
  if (flags & HasRelativePath) AddStringData(out, relative, "relative path");
  if (flags & HasWorkingDir) AddStringData(out, Link.WorkingDirectory, "working directory");
  if (flags & HasArguments) AddStringData(out, Link.Arguments, "arguments");
  if (flags & HasIconLocation) AddStringData(out, Link.IconLocation, "icon location");
  out.U32(0); // the terminal extra data block
  return out.Data();
}

} // namespace

void SaveShellLink(const std::string& LinkPath, const TShellLink& Link) {
  // The test hook for a shell whose link object fails: the HRESULT in hexadecimal.
  if (std::optional<std::string> hook = GetEnvironmentVariable("QNL_FAIL_SHELL_LINK"))
    throw EOleSysError("The shell link object failed (QNL_FAIL_SHELL_LINK)",
                       static_cast<int32_t>(std::strtoul(hook->c_str(), nullptr, 16)));
  if (Trim(Link.Target).empty()) throw EOleSysError("The shortcut has no target", E_INVALIDARG);
  if (Wide(LinkPath).size() >= kMaxPath)
    throw EOleSysError("The shortcut's file name is longer than 259 characters: " + LinkPath, E_INVALIDARG);
  std::string bytes = LinkBytes(LinkPath, Link);
  try {
    ReplaceFileContents(LinkPath, bytes);
  } catch (const EOSError& e) {
    throw EOleSysError(e.Message(), HResultOfFileError(e.ErrorCode()));
  }
}

} // namespace qnl
